#pragma once
// The whole-page capture of a web view: ask the page how far it scrolls, enlarge the view by
// that much so that the whole page fits without scrolling, render the view into one picture,
// and put the view's size and scroll position back.
//
//   switch (CaptureWholePage(view, picture)) { case WebCaptureResult::Captured: ... }
#include "CScreenImage.h"
#include "IWebView.h"

// How far the page is asked to scroll; it clamps the offsets to what it has.
constexpr int kWebScrollProbe = 200000;
// The view's scroll-bar strips, left out of the picture on the right and at the bottom.
constexpr int kWebScrollBarWidth = 18;
constexpr int kWebScrollBarHeight = 20;

enum class WebCaptureResult {
    Captured,          // the picture holds the whole page
    NothingToCapture,  // no page, or no document taller than the view
    TooLarge,          // the page is larger than any picture can be (see CScreenImage::kMaxSide)
    Failed,            // no picture could be made, or the page could not be rendered
};

// The document whose root element scrolls the page: of the page and its frames, the one whose
// body is the tallest, provided it is taller than the view; the earlier on equal heights.
// -1 when there is none.
int FindScrollingDocument(IWebView& view, int viewHeight);

// Renders the whole page into `target` ((view width + horizontal scroll range - 18) x (view
// height + vertical scroll range - 20) pixels). The view's size and scroll position are as
// before afterwards, whatever the result. Anything but Captured leaves `target` unchanged.
WebCaptureResult CaptureWholePage(IWebView& view, CScreenImage& target);

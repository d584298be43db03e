#include "WebPageCapture.h"
#include "DeviceContext.h"

int FindScrollingDocument(IWebView& view, int viewHeight) {
    // The widths are gathered too, but only the height decides: the page is scrolled through
    // one root element, the tallest one's.
    long maxWidth = 0, maxHeight = 0;
    int result = -1;
    const int count = view.GetDocumentCount();
    for (int document = 0; document < count; ++document) {
        SIZE body{};
        if (!view.GetBodyScrollSize(document, body)) continue;
        if (maxWidth < body.cx) maxWidth = body.cx;
        if (maxHeight < body.cy) {
            if (viewHeight < body.cy) result = document;
            maxHeight = body.cy;
        }
    }
    return result;
}

WebCaptureResult CaptureWholePage(IWebView& view, CScreenImage& target) {
    SIZE viewSize{};
    if (view.GetDocumentCount() <= 0 || !view.GetViewSize(viewSize)) return WebCaptureResult::NothingToCapture;
    const int document = FindScrollingDocument(view, viewSize.cy);
    if (document < 0) return WebCaptureResult::NothingToCapture;

    POINT saved{};
    view.GetScrollPosition(document, saved);
    view.SetScrollPosition(document, POINT{kWebScrollProbe, kWebScrollProbe});
    POINT range{};
    view.GetScrollPosition(document, range);
    view.SetScrollPosition(document, POINT{0, 0});

    // 64-bit sums: the probe plus a view of any size must not wrap before the size check.
    const long long fullWidth = static_cast<long long>(range.x) + viewSize.cx;
    const long long fullHeight = static_cast<long long>(range.y) + viewSize.cy;
    const long long pictureWidth = fullWidth - kWebScrollBarWidth;
    const long long pictureHeight = fullHeight - kWebScrollBarHeight;
    // A page larger than any picture is refused before the view is enlarged to it: the
    // drawing would fail half-way, or leave a blank picture to be saved.
    if (pictureWidth > CScreenImage::kMaxSide || pictureHeight > CScreenImage::kMaxSide ||
        !CScreenImage::IsPossibleSize(static_cast<int>(pictureWidth), static_cast<int>(pictureHeight))) {
        view.SetScrollPosition(document, saved);
        return pictureWidth > 0 && pictureHeight > 0 ? WebCaptureResult::TooLarge : WebCaptureResult::Failed;
    }

    CScreenImage picture;
    if (!picture.CreateBlank(RECT{0, 0, static_cast<int>(pictureWidth), static_cast<int>(pictureHeight)})) {
        view.SetScrollPosition(document, saved);
        return WebCaptureResult::Failed;
    }
    // The pixels the page does not draw are white, as an empty page is.
    HDC dc = picture.GetDC();
    RECT all{0, 0, static_cast<int>(pictureWidth), static_cast<int>(pictureHeight)};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    view.SetViewSize(SIZE{static_cast<int>(fullWidth), static_cast<int>(fullHeight)});
    const HRESULT rendered = view.RenderView(dc);
    picture.ReleaseDC();

    view.SetViewSize(viewSize);
    view.SetScrollPosition(document, saved);
    if (FAILED(rendered)) return WebCaptureResult::Failed;
    target.Attach(picture.Detach());
    return WebCaptureResult::Captured;
}

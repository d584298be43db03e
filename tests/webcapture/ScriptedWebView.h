#pragma once
// A stand-in web view for the capture tests: a scripted page with its frames, each document with
// a body of a given size (or none) and a root element whose scroll offsets the page clamps to
// its range. Rendering paints what a real page at the current view size would show in a way a
// test can check: the top band, the bottom band and the right-hand band in colours of their
// own, the rest in the page colour. Every call is recorded.
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "IWebView.h"

class ScriptedWebView : public IWebView {
public:
    static constexpr COLORREF kPage = RGB(250, 250, 240);
    static constexpr COLORREF kTop = RGB(200, 0, 0);
    static constexpr COLORREF kBottom = RGB(0, 0, 200);
    static constexpr COLORREF kRight = RGB(0, 160, 0);
    static constexpr int kBand = 10;

    struct Document {
        bool hasBody = true;
        SIZE body{0, 0};
        POINT scrollRange{0, 0};  // the largest offsets the root element takes
        POINT scroll{0, 0};
    };
    std::vector<Document> documents;  // empty: no page
    SIZE viewSize{1000, 700};
    HRESULT renderResult = S_OK;

    // Records.
    std::vector<std::wstring> navigations;
    int backs = 0;
    int forwards = 0;
    std::vector<SIZE> resizes;
    SIZE renderedAt{0, 0};
    int renders = 0;
    IWebViewEvents* events = nullptr;

    // Ends the navigation under way at `address`, as the engine would report it.
    void Complete(const std::wstring& address) {
        location = address;
        if (events) events->OnNavigateComplete();
    }
    std::wstring location;

    void SetEvents(IWebViewEvents* e) override { events = e; }
    HRESULT Navigate(const std::wstring& address) override {
        navigations.push_back(address);
        if (events) events->OnBeforeNavigate();
        return S_OK;
    }
    HRESULT GoBack() override { ++backs; return S_OK; }
    HRESULT GoForward() override { ++forwards; return S_OK; }
    std::wstring GetLocationURL() override { return location; }
    bool GetViewSize(SIZE& size) override { size = viewSize; return true; }
    bool SetViewSize(SIZE size) override {
        resizes.push_back(size);
        viewSize = size;
        return true;
    }
    int GetDocumentCount() override { return static_cast<int>(documents.size()); }
    bool GetBodyScrollSize(int document, SIZE& size) override {
        if (!Valid(document) || !documents[document].hasBody) return false;
        size = documents[document].body;
        return true;
    }
    bool GetScrollPosition(int document, POINT& position) override {
        if (!Valid(document)) return false;
        position = documents[document].scroll;
        return true;
    }
    bool SetScrollPosition(int document, POINT position) override {
        if (!Valid(document)) return false;
        Document& d = documents[document];
        d.scroll.x = std::max(0L, std::min<LONG>(position.x, d.scrollRange.x));
        d.scroll.y = std::max(0L, std::min<LONG>(position.y, d.scrollRange.y));
        return true;
    }
    HRESULT RenderView(HDC dc) override {
        ++renders;
        renderedAt = viewSize;
        Fill(dc, RECT{0, 0, viewSize.cx, viewSize.cy}, kPage);
        Fill(dc, RECT{0, 0, viewSize.cx, kBand}, kTop);
        Fill(dc, RECT{0, viewSize.cy - 20 - kBand, viewSize.cx, viewSize.cy - 20}, kBottom);
        Fill(dc, RECT{viewSize.cx - 18 - kBand, kBand, viewSize.cx - 18, viewSize.cy - 20 - kBand}, kRight);
        return renderResult;
    }

private:
    bool Valid(int document) const { return document >= 0 && document < static_cast<int>(documents.size()); }
    static void Fill(HDC dc, const RECT& rect, COLORREF colour) {
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
    }
};

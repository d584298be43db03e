#pragma once
// What the web page capture needs of a browser engine, and nothing more: navigation with the
// back and forward states, the events before and after a navigation, the current address, the
// scroll extents of the page and of its frames, the view's size, and the whole view rendered
// into a bitmap. The system's web browser control stands behind it in the program
// (CWebBrowser2); tests stand a scripted page behind it.
#include <windows.h>
#include <string>

// The events a view raises while it navigates.
class IWebViewEvents {
public:
    virtual void OnBeforeNavigate() = 0;
    virtual void OnNavigateComplete() = 0;
    // Going back or forward became possible or impossible.
    virtual void OnBackEnabled(bool enabled) = 0;
    virtual void OnForwardEnabled(bool enabled) = 0;

protected:
    ~IWebViewEvents() = default;
};

class IWebView {
public:
    virtual ~IWebView() = default;

    virtual void SetEvents(IWebViewEvents* events) = 0;

    // Starts a navigation: no history entry, no reading from or writing to the cache.
    virtual HRESULT Navigate(const std::wstring& address) = 0;
    virtual HRESULT GoBack() = 0;
    virtual HRESULT GoForward() = 0;
    virtual std::wstring GetLocationURL() = 0;

    // The view's size in pixels (scroll bars included); FALSE when there is no view.
    virtual bool GetViewSize(SIZE& size) = 0;
    virtual bool SetViewSize(SIZE size) = 0;

    // The documents shown: 0 none (nothing loaded, or not an HTML page); otherwise the page
    // itself (index 0) and then its frames in order.
    virtual int GetDocumentCount() = 0;
    // The scroll size of a document's body; false when the document has no body that holds
    // text (none, a frameset, a frame without a document).
    virtual bool GetBodyScrollSize(int document, SIZE& size) = 0;
    // The scroll offsets of a document's root element (the page clamps what is set).
    virtual bool GetScrollPosition(int document, POINT& position) = 0;
    virtual bool SetScrollPosition(int document, POINT position) = 0;

    // Draws the page's whole view at its natural scale from the DC's top-left corner; what
    // falls outside the DC's bitmap is cut off.
    virtual HRESULT RenderView(HDC dc) = 0;

    // Offers a key message meant for the view's window to the page (Tab between its fields,
    // Enter in its forms, its shortcuts); true when the page took it. A view without keys of
    // its own takes none.
    virtual bool TranslateKey(MSG* msg) {
        (void)msg;
        return false;
    }
};

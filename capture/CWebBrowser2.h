#pragma once
// The system's web browser control (class id {8856F961-340A-11D0-A96B-00C04FD705A2}) hosted in
// a child window with plain COM: a small site object gives the control its window and place and
// hears its navigation events; the page is reached through the control's automation object and
// the HTML document interfaces. This is the program's IWebView.
//
//   CWebBrowser2 browser;
//   if (browser.Create(dialog, place, IDC_WEB_BROWSER)) browser.Navigate(L"file:///C:/Pages/start.html");
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <string>
#include "CUniqueAny.h"
#include "CWnd.h"
#include "IWebView.h"

class CWebBrowserSite;

class CWebBrowser2 : public CWnd, public IWebView {
public:
    CWebBrowser2();
    ~CWebBrowser2() override;

    // Makes the host window and activates the control in it. FALSE, with nothing left behind,
    // when the system has no such control (or it cannot be activated).
    BOOL Create(HWND parent, const RECT& place, UINT id);

    void SetEvents(IWebViewEvents* events) override { m_events = events; }
    HRESULT Navigate(const std::wstring& address) override;
    HRESULT GoBack() override;
    HRESULT GoForward() override;
    std::wstring GetLocationURL() override;
    bool GetViewSize(SIZE& size) override;
    bool SetViewSize(SIZE size) override;
    int GetDocumentCount() override;
    bool GetBodyScrollSize(int document, SIZE& size) override;
    bool GetScrollPosition(int document, POINT& position) override;
    bool SetScrollPosition(int document, POINT position) override;
    HRESULT RenderView(HDC dc) override;
    bool TranslateKey(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CWebBrowserSite;
    // From the site: the control's events and its wish for another place.
    void OnEvent(DISPID id, DISPPARAMS* params);
    void OnPosRectChange(const RECT& rect);

    bool ActivateControl();
    void CloseControl();
    // The page's document (0) or a frame's (1 ...); null when there is none.
    CUniqueComPtr<IHTMLDocument2> GetDocument(int document);
    CUniqueComPtr<IHTMLElement2> GetRootElement(int document);

    CWebBrowserSite* m_site = nullptr;  // one reference held
    CUniqueComPtr<IOleObject> m_object;
    CUniqueComPtr<IOleInPlaceObject> m_inPlace;
    CUniqueComPtr<IOleInPlaceActiveObject> m_active;  // takes the keys meant for the page
    CUniqueComPtr<IWebBrowser2> m_browser;
    CUniqueComPtr<IConnectionPoint> m_eventSource;
    DWORD m_eventCookie = 0;
    IWebViewEvents* m_events = nullptr;
};

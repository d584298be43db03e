#pragma once
// "Tovrix - WebCapture": a resizable dialog around a web view, with Back, Forward, an address
// box and Go, and Capture, which renders the whole page (beyond the visible part) into the
// target picture and asks the save window to save it like a screen capture. The dialog stays
// open, so that several pages can be captured in turn. Where the system has no web browser
// control, the dialog still opens and says that page capture is not available.
//
//   CWebBrowserDlg web(&mainFrame);
//   web.SetTarget(&mainFrame.GetPicture(), mainFrame.m_hWnd);
//   web.SetStartAddress(settings.webUrl);
//   web.DoModal();
#include <windows.h>
#include <memory>
#include <string>
#include "CDialog.h"
#include "CScreenImage.h"
#include "CStatic.h"
#include "IWebView.h"

class CWebBrowserDlg : public CDialog, private IWebViewEvents {
public:
    static constexpr const wchar_t* kNothingToCaptureText = L"캡처할 개체가 존재하지 않습니다.";
    static constexpr const wchar_t* kUnavailableText =
        L"이 시스템에는 웹 브라우저 컨트롤이 없어 웹페이지를 보이거나 캡처할 수 없습니다.";
    static constexpr const wchar_t* kTooLargeText =
        L"페이지가 너무 커서 한 장의 그림으로 캡처할 수 없습니다. "
        L"(가로, 세로 각각 32767 픽셀, 모두 268435456 픽셀까지)";
    static constexpr const wchar_t* kRenderFailedText = L"페이지를 그림으로 그리지 못했습니다.";
    // Flags of every navigation: no history entry, no reading from and no writing to the cache.
    static constexpr long kNavigateFlags = 14;
    static constexpr int kMinWidth = 600;
    static constexpr int kMinHeight = 500;

    explicit CWebBrowserDlg(CWnd* parent = nullptr);
    ~CWebBrowserDlg() override;

    // The picture a capture fills (not owned) and the window told to save it by WM_SAVE_CAPTURE.
    void SetTarget(CScreenImage* picture, HWND saveWindow) {
        m_target = picture;
        m_saveWindow = saveWindow;
    }
    void SetStartAddress(const std::wstring& address) { m_startAddress = address; }
    const std::wstring& GetStartAddress() const { return m_startAddress; }

    // Null while the dialog is closed, or when the system has no browser control.
    IWebView* GetView() const { return m_view.get(); }

protected:
    // The browser engine, hosted in a child window of `dialog` at `place` with id `id`; null
    // when the system has none.
    virtual std::unique_ptr<IWebView> CreateView(HWND dialog, const RECT& place, UINT id);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnBeforeNavigate() override;
    void OnNavigateComplete() override;
    void OnBackEnabled(bool enabled) override;
    void OnForwardEnabled(bool enabled) override;

    void OnCapture();
    void OnSize(int width, int height);
    void Navigate(const std::wstring& address);
    void TellUnavailable();

    std::unique_ptr<IWebView> m_view;
    CStatic m_unavailable;  // in the view's place when there is no view
    CScreenImage* m_target = nullptr;
    HWND m_saveWindow = nullptr;
    std::wstring m_startAddress;
    HICON m_icon = nullptr;
};

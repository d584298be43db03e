#pragma once
// A small topmost window with a caption showing the percentage done, a line of text, a progress
// bar and a cancel button, for a long job on the user-interface thread. The job drives it: it
// sets a range, steps the bar and, between steps, lets the window pump the waiting messages so
// that the program stays responsive. The window keeps its last position in the application
// profile. Its sizes are pixels at 100 % scaled to its monitor's DPI, and its font is the
// system's message font for that DPI.
//
//   CProgressWnd progress(owner, L"Progress", TRUE);
//   progress.SetRange(0, count, 1);
//   progress.SetText(L"Save......");
//   for (...) { progress.StepIt(); progress.PumpMessages(TRUE); WriteOne(); }
#include <windows.h>
#include <string>
#include "CWnd.h"
#include "Dpi.h"
#include "GdiObject.h"

class CProgressWnd : public CWnd {
public:
    // A null parent means the application's main window.
    CProgressWnd(CWnd* parent, const wchar_t* title, BOOL smooth = FALSE);
    ~CProgressWnd() override;

    void SetRange(int lower, int upper, int step = 1);
    // printf-style; the text is cut at 511 characters.
    void SetText(const wchar_t* format, ...);
    // Returns the bar's previous position (the stored position without a window).
    int SetPos(int position);
    int StepIt();
    // Dispatches the waiting messages until none is left or the user cancels; Esc cancels when
    // cancelOnEsc.
    void PumpMessages(BOOL cancelOnEsc = TRUE);
    void Show();
    void Hide();

    BOOL Cancelled() const { return m_cancelled; }
    int GetPos() const { return m_position; }
    UINT GetDpi() const { return m_dpi; }
    HFONT GetTextFont() const { return m_font.get(); }

    // Child ids.
    static constexpr int kCancelId = 10;
    static constexpr int kTextId = 11;
    static constexpr int kBarId = 12;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL Create(HWND parent, BOOL smooth);
    // The text lines and their width at 100 %, for the window's DPI.
    void Layout(int textLines, int textWidth100);
    BOOL CreateTextFont();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnCancel();
    BOOL OnEraseBkgnd(HDC dc);
    void SavePosition() const;
    void RestorePosition();
    void CentreOverParent();

    HWND m_parent = nullptr;
    BOOL m_cancelled = FALSE;
    BOOL m_rememberPosition = TRUE;
    int m_position = 0;
    int m_lastPercent = 0;
    int m_step = 1;
    int m_upper = 100;
    int m_lower = 0;
    int m_textLines = 4;
    HWND m_text = nullptr;
    HWND m_bar = nullptr;
    HWND m_cancelButton = nullptr;
    std::wstring m_title = L"Progress";
    std::wstring m_cancelLabel = L" Cancel ";
    CFont m_font;
    UINT m_dpi = kDefaultDpi;
};

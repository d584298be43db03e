#pragma once
// A dialog from a resource template, modal (DoModal) or modeless (Create), with data exchange
// between its controls and members through DoDataExchange.
#include "CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally, in a loop of the framework's own so that accelerators and
    // PreTranslateMessage work as in the application's loop: the owner is disabled until the
    // dialog ends. Returns the value given to EndDialog; IDCANCEL if the dialog ended otherwise
    // (WM_QUIT, which is posted again for the loops outside, or its window destroyed); -1 if it
    // could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; it lives until EndDialog or DestroyWindow.
    BOOL Create(UINT templateId = 0, CWnd* parent = nullptr);
    void EndDialog(INT_PTR result);
    BOOL IsModal() const { return m_modal; }

    // The dialog keys (Tab, Enter, Esc, arrows, mnemonics) through IsDialogMessage, after the
    // window's accelerators. Dialogs nested as child pages leave the keys to their top-level
    // dialog, which reaches into them (DS_CONTROL).
    BOOL PreTranslateMessage(MSG* msg) override;

    // TRUE: controls to members, with validation; FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT GetTemplateId() const { return m_templateId; }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // WM_COMMAND; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // For a dialog "default" means: let the dialog manager do its own processing.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Dispatches until EndDialog, the window's end or WM_QUIT.
    void RunModalLoop();
    bool m_modal = false;
    bool m_endModal = false;
    INT_PTR m_modalResult = IDCANCEL;
    bool* m_defaulted = nullptr;  // set by DefWindowProc for the message being dispatched
};

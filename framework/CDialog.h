#pragma once
// A dialog from a resource template, modal (DoModal) or modeless (Create), with data exchange
// between its controls and members through DoDataExchange.
#include "CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; the value given to EndDialog, or -1 if it could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; it lives until EndDialog or DestroyWindow.
    BOOL Create(UINT templateId = 0, CWnd* parent = nullptr);
    void EndDialog(INT_PTR result);
    BOOL IsModal() const { return m_modal; }

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
    bool m_modal = false;
    bool* m_defaulted = nullptr;  // set by DefWindowProc for the message being dispatched
};

#pragma once
// The capture editor's floating pen toolbar: six pen sizes, six tools, sixteen colour swatches,
// the colour dialog, the text tool, undo, redo and finish. It keeps the current choices, which
// the editor reads whenever it draws, and passes its commands on to the editor.
#include <windows.h>
#include "CDialog.h"
#include "CHoverButton.h"
#include "CxSkinButton.h"

class CEpicPenDlg : public CDialog {
public:
    static const COLORREF penColors[16];

    // `editor` receives the toolbar's commands and gets the keyboard focus back after a click.
    explicit CEpicPenDlg(CWnd* editor);

    // Creates the toolbar as a popup owned by the editor, hidden.
    BOOL Create();

    int GetPenWidth() const { return 3 * penSizeIndex + 2; }
    int GetToolIndex() const { return toolIndex; }
    COLORREF GetPenColor() const { return m_color; }
    int GetPenSizeIndex() const { return penSizeIndex; }

    // These change what the editor draws with, not the marks on the buttons.
    void SetPenSizeIndex(int index);
    void SetToolIndex(int index);
    void SetColorIndex(int index);

    void EnableUndo(bool enable) const;
    void EnableRedo(bool enable) const;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Enter and Esc belong to the editor; the toolbar never ends itself.
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void GiveFocusToEditor() const;
    void ChoosePenColor();
    // The "C" square shows the colour the editor draws with after a click or the colour dialog.
    void ShowColorSquare();
    BOOL OnEraseBkgnd(HDC dc);

    CWnd* m_editor;
    CxSkinButton m_sizeButtons[6];
    CxSkinButton m_toolButtons[6];
    CxSkinButton m_swatchButtons[16];
    CHoverButton m_textButton;
    CHoverButton m_colorButton;
    CHoverButton m_undoButton;
    CHoverButton m_redoButton;
    CHoverButton m_finishButton;
    int penSizeIndex = 0;
    int toolIndex = 0;
    COLORREF m_color;
    HBITMAP m_background = nullptr;  // loaded from the resources: freed with the module
};

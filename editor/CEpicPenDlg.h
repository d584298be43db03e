#pragma once
// The capture editor's floating pen toolbar: six pen sizes, six tools, sixteen colour swatches,
// the colour dialog, the text tool, undo, redo and finish. It keeps the current choices, which
// the editor reads whenever it draws, and passes its commands on to the editor. Its size is its
// background picture's and its buttons lie where the picture has room for them, both in pixels
// at 100 % times its monitor's scale (the template's dialog units only make the controls).
#include <windows.h>
#include "CDialog.h"
#include "CHoverButton.h"
#include "CxSkinButton.h"
#include "Dpi.h"
#include "GdiObject.h"

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

    // The client area at 100 % (the background picture's size), and a control's place in it.
    static SIZE ClientSize100();
    static RECT ControlRect100(int id);
    UINT GetDpi() const { return m_dpi; }

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
    // Pictures and places for the DPI.
    void LayOut();
    void OnDpiChanged(UINT dpi, const RECT& suggested);

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
    CBitmap m_background;
    UINT m_dpi = kDefaultDpi;
};

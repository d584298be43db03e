#pragma once
// The capture editor: a borderless window laid exactly over the captured rectangle, showing the
// picture at 1:1 so that the screen seems frozen, on which the user draws strokes, shapes and
// outlined text with unlimited undo and redo. The finish command burns the drawing into the
// picture, leaves it on the clipboard and ends with IDOK; Esc ends with IDCANCEL.
//
//   CPresentDlg editor;
//   editor.captureRect = rect;
//   editor.picture = &picture;
//   if (editor.DoModal() == IDOK) ...save picture...
#include <windows.h>
#include <memory>
#include <string>
#include "CDialog.h"
#include "CActivePicture.h"
#include "CEpicPenDlg.h"
#include "CScaledCursor.h"
#include "CScreenImage.h"
#include "CUniqueAny.h"
#include "DeviceContext.h"
#include "EditorItems.h"
#include "GdiObject.h"
#include "OutlineTextRenderer.h"

class CPresentDlg : public CDialog {
public:
    // `owner` waits under the editor (disabled) while it runs; none for a capture of the screen.
    explicit CPresentDlg(CWnd* owner = nullptr);
    ~CPresentDlg() override;

    // Set by the caller between construction and the modal run.
    RECT captureRect{};                 // screen rectangle covered; its size is the picture's
    CScreenImage* picture = nullptr;    // not owned; changed only by the finish command
    DWORD styleToAdd = 0;               // bit 0x80 also makes the window a tool window
    DWORD styleToRemove = 0;
    bool showPenToolbar = true;
    int penSizeIndex = 0;
    int toolIndex = 0;
    int colorIndex = 1;

    // Draws the active items (not the undone ones) onto a device context, as the finish command
    // draws them onto the picture.
    void DrawActiveItems(HDC dc);

    // What the editor holds now, for its callers and tests.
    const EditorItems& GetItems() const { return m_items; }
    CEpicPenDlg* GetPenToolbar() { return m_toolbar.get(); }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Enter does nothing: only the finish command ends the editor with OK.
    void OnOK() override {}
    void OnCancel() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Asks for a text and its look (the text tool dialog); false when the user gave none.
    virtual bool RunTextTool(TextItemSettings& settings, std::wstring& text);

private:
    enum class CursorMode { Normal, TextPlacement };

    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnPaint();
    BOOL OnSetCursor();
    // A key-down while the editor has the focus; true when it was used up.
    bool OnKeyDown(WPARAM key, LPARAM flags);
    // The single-key shortcuts; true when the key was swallowed.
    bool OnEditorKey(UINT key);

    void OnUndo();
    void OnRedo();
    void OnFinish();
    void OnTextTool();

    // The text as the pointer, or the pen when the text shows nothing (only spaces): the
    // pointer never disappears while a text waits to be placed.
    HCURSOR PlacementCursor() { return m_textCursor ? m_textCursor.get() : m_penCursor.AtPointer(); }
    void FinishStroke();
    void PlaceText(POINT point);
    int CurrentKind() const;
    void UpdateUndoButtons();
    // Drops the undone items before something new is drawn.
    void TruncateRedoTail();
    // The memory picture on the window, with the grey frame that only the display shows.
    void ShowMemoryPicture(HDC window);
    void ShowMemoryPicture();
    // Brings the memory picture to the active items and shows it.
    void Repaint();
    void CopyToClipboard();
    void EndEditor(INT_PTR result);
    int Width() const { return captureRect.right - captureRect.left; }
    int Height() const { return captureRect.bottom - captureRect.top; }

    EditorItems m_items;
    CActivePicture m_memory;
    std::unique_ptr<CEpicPenDlg> m_toolbar;

    std::unique_ptr<CVectorData> m_current;
    POINT m_start{}, m_last{}, m_previous{};
    bool m_drawing = false;
    int m_kind = ShapeFreehand;

    bool m_placingText = false;
    CursorMode m_cursorMode = CursorMode::Normal;
    CUniqueCursor m_textCursor;
    std::unique_ptr<TextItemSettings> m_pendingText;
    std::wstring m_pendingString;

    OutlineTextRenderer m_renderer;
    HACCEL m_accelerators = nullptr;
    // At the scale of the monitor under the pointer.
    CScaledCursor m_penCursor;
    CScaledCursor m_drawCursor;
};

#pragma once
// The text tool: asks for a text and its look (fill colour, font, outline colour, thickness and
// transparency) with a live preview, and hands the editor a TextItemSettings with its own copy
// of the text.
#include <windows.h>
#include <memory>
#include <string>
#include "CColorButton.h"
#include "CDialog.h"
#include "CMyScrollView.h"
#include "TextItemSettings.h"

class CTextForm : public CDialog {
public:
    // The owner is the window the tool must stay above (the editor, a topmost window).
    explicit CTextForm(CWnd* owner = nullptr);

    // After IDOK: everything but the place, which the editor chooses; the text is GetText().
    const TextItemSettings& GetSettings() const { return m_settings; }
    const std::wstring& GetText() const { return m_text; }
    CMyScrollView* GetPreview() const { return m_preview.get(); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}  // Enter in the text does not end the tool: "그리기" does

private:
    void OnTextChanged();
    void OnThicknessChanged();
    void OnAlphaChanged();
    void OnTextColor();
    void OnOutlineColor();
    void OnFont();
    void OnDraw();
    int EditNumber(int id) const;

    CColorButton m_textColor;
    CColorButton m_outlineColor;
    std::unique_ptr<CMyScrollView> m_preview;
    LOGFONTW m_font{};
    TextItemSettings m_settings;
    std::wstring m_text;
};

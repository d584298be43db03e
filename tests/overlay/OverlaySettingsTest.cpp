// The overlay keys of section "AniGif" through a real settings file: missing keys give their
// defaults, stored values reach the live state (the outline alpha as its low byte, the angle in
// tenths), the caption font comes only with BuildCaptionFont, and what is saved reads back.
#include <gtest/gtest.h>
#include <cstring>
#include "OverlayTestSupport.h"

using overlay_test::LoadedOverlay;
using overlay_test::ReadFileText;

namespace {

const char kEveryKey[] =
    "LogoIs=1\r\nLogoPath=C:\\nowhere\\logo.png\r\nLogoPosX=33\r\nLogoPosY=44\r\nLogoPos=5\r\n"
    "LetterIs=yes\r\nLetter=Hello overlay\r\nThickness=7\r\nOutLineAlpha=300\r\nTextPosX=21\r\n"
    "TextPosY=22\r\nAngle=45\r\nTextPos=8\r\nTextColor=65280\r\nOutlineColor=16711680\r\n"
    "FontName=Tahoma\r\nFontDesc=-27:0:0:0:700:1:0:0:0:3:2:1:34\r\n";

TEST(OverlaySettings, MissingKeysGiveTheDefaults) {
    LoadedOverlay loaded("Recorder=1\r\n");
    const OverlaySettings& s = loaded.overlay.GetSettings();
    EXPECT_FALSE(s.LogoIs);
    EXPECT_EQ(s.LogoPath, L"");
    EXPECT_EQ(s.LogoPosX, 10);
    EXPECT_EQ(s.LogoPosY, 10);
    EXPECT_EQ(s.LogoPos, 0);
    EXPECT_FALSE(s.LetterIs);
    EXPECT_EQ(s.Letter, L"Tovrix(Tovrix)");
    EXPECT_EQ(s.Thickness, 2);
    EXPECT_EQ(s.OutLineAlpha, 255);
    EXPECT_EQ(s.TextPosX, 10);
    EXPECT_EQ(s.TextPosY, 10);
    EXPECT_EQ(s.Angle, 0);
    EXPECT_EQ(s.TextPos, 0);
    EXPECT_EQ(s.TextColor, RGB(200, 0, 0));
    EXPECT_EQ(s.OutlineColor, RGB(100, 0, 0));
    EXPECT_EQ(s.FontName, L"Arial");
    EXPECT_EQ(s.FontDesc, L"-13:0:0:0:400:0:0:0:0:3:2:1:34");
    EXPECT_FALSE(loaded.overlay.IsLogoOn());
    EXPECT_FALSE(loaded.overlay.IsCaptionOn());

    const CLogoDoc& doc = loaded.overlay.GetDocument();
    EXPECT_EQ(doc.m_thickness, 2);
    EXPECT_EQ(doc.m_outlineAlpha, 255);
    EXPECT_EQ(doc.m_textColor, RGB(200, 0, 0));
    EXPECT_EQ(doc.m_font.lfHeight, -13);
    EXPECT_STREQ(doc.m_font.lfFaceName, L"Arial");
    EXPECT_FALSE(doc.HasLogo());
}

TEST(OverlaySettings, StoredValuesReachTheLiveState) {
    LoadedOverlay loaded(kEveryKey);
    const OverlaySettings& s = loaded.overlay.GetSettings();
    EXPECT_TRUE(loaded.overlay.IsLogoOn());
    EXPECT_TRUE(loaded.overlay.IsCaptionOn());
    EXPECT_EQ(s.OutLineAlpha, 300);  // kept as stored...
    const CLogoDoc& doc = loaded.overlay.GetDocument();
    EXPECT_EQ(doc.m_outlineAlpha, 44);  // ...and drawn with its low byte
    EXPECT_TRUE(doc.m_logoOn);
    EXPECT_FALSE(doc.HasLogo());  // the path names no file
    EXPECT_EQ(doc.m_logoMarginX, 33);
    EXPECT_EQ(doc.m_logoMarginY, 44);
    EXPECT_EQ(doc.m_logoPosition, 5);
    EXPECT_TRUE(doc.m_captionOn);
    EXPECT_EQ(doc.m_text, L"Hello overlay");
    EXPECT_EQ(doc.m_thickness, 7);
    EXPECT_EQ(doc.m_textMarginX, 21);
    EXPECT_EQ(doc.m_textMarginY, 22);
    EXPECT_EQ(doc.m_angle, 450);
    EXPECT_EQ(doc.m_textPosition, 8);
    EXPECT_EQ(doc.m_textColor, RGB(0, 255, 0));
    EXPECT_EQ(doc.m_outlineColor, RGB(0, 0, 255));
    EXPECT_EQ(doc.m_font.lfHeight, -27);
    EXPECT_EQ(doc.m_font.lfWeight, 700);
    EXPECT_EQ(doc.m_font.lfItalic, 1);
    EXPECT_STREQ(doc.m_font.lfFaceName, L"Tahoma");
    HDC screen = ::GetDC(nullptr);
    const int expectedPoints = -::MulDiv(-27, 72, ::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(loaded.overlay.GetPointSize(), expectedPoints);
}

TEST(OverlaySettings, ReloadingLeavesTheCaptionFontAlone) {
    LoadedOverlay loaded(kEveryKey);
    overlay_test::WriteIni(loaded.iniPath, "FontName=Courier New\r\nFontDesc=-50:0:0:0:400:0:0:0:0:3:2:1:34\r\nThickness=3\r\n");
    loaded.overlay.LoadOverlaySettings();
    const CLogoDoc& doc = loaded.overlay.GetDocument();
    EXPECT_EQ(doc.m_thickness, 3);
    EXPECT_EQ(doc.m_font.lfHeight, -27);
    EXPECT_STREQ(doc.m_font.lfFaceName, L"Tahoma");
    HDC screen = ::GetDC(nullptr);
    loaded.overlay.BuildCaptionFont(screen);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(doc.m_font.lfHeight, -50);
    EXPECT_STREQ(doc.m_font.lfFaceName, L"Courier New");
}

TEST(OverlaySettings, SavedKeysReadBackAsTheyWere) {
    LoadedOverlay loaded(kEveryKey);
    const std::wstring copyPath = loaded.folder.File(L"copy.ini");
    loaded.overlay.GetIni().SetPath(copyPath);
    ASSERT_TRUE(loaded.overlay.SaveOverlaySettings());

    const std::string text = ReadFileText(copyPath);
    for (const char* line : {"[AniGif]", "LogoIs=1", "LetterIs=1", "OutLineAlpha=300", "Angle=45",
                             "TextColor=65280", "OutlineColor=16711680", "Letter=Hello overlay",
                             "FontDesc=-27:0:0:0:700:1:0:0:0:3:2:1:34"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

    CTestOutlineTextDlg again;
    again.GetIni().SetPath(copyPath);
    again.LoadOverlaySettings();
    const OverlaySettings& a = loaded.overlay.GetSettings();
    const OverlaySettings& b = again.GetSettings();
    EXPECT_EQ(a.LogoIs, b.LogoIs);
    EXPECT_EQ(a.LogoPath, b.LogoPath);
    EXPECT_EQ(a.LogoPosX, b.LogoPosX);
    EXPECT_EQ(a.LogoPosY, b.LogoPosY);
    EXPECT_EQ(a.LogoPos, b.LogoPos);
    EXPECT_EQ(a.LetterIs, b.LetterIs);
    EXPECT_EQ(a.Letter, b.Letter);
    EXPECT_EQ(a.Thickness, b.Thickness);
    EXPECT_EQ(a.OutLineAlpha, b.OutLineAlpha);
    EXPECT_EQ(a.TextPosX, b.TextPosX);
    EXPECT_EQ(a.TextPosY, b.TextPosY);
    EXPECT_EQ(a.Angle, b.Angle);
    EXPECT_EQ(a.TextPos, b.TextPos);
    EXPECT_EQ(a.TextColor, b.TextColor);
    EXPECT_EQ(a.OutlineColor, b.OutlineColor);
    EXPECT_EQ(a.FontName, b.FontName);
    EXPECT_EQ(a.FontDesc, b.FontDesc);
}

// The profile functions trim blanks and one pair of enclosing quotes from what they read: a
// caption keeps both through a save.
TEST(OverlaySettings, CaptionsKeepTheirBlanksAndQuotes) {
    for (const char* caption : {"  REC  ", "\"quoted\"", "'single'", "plain text"}) {
        LoadedOverlay loaded("LetterIs=1\r\n");
        const std::wstring wide(caption, caption + strlen(caption));
        loaded.overlay.GetSettings().Letter = wide;
        ASSERT_TRUE(loaded.overlay.SaveOverlaySettings());
        CTestOutlineTextDlg again;
        again.GetIni().SetPath(loaded.iniPath);
        again.LoadOverlaySettings();
        EXPECT_EQ(again.GetSettings().Letter, wide) << caption;
        EXPECT_EQ(again.GetDocument().m_text, wide) << caption;
    }
}

// Every kept frame has the caption drawn into it: a longer caption in the file (hand-edited, or
// from an older version) is cut to the limit, and never between the halves of a surrogate pair.
TEST(OverlaySettings, ALongerStoredCaptionIsCutToTheLimit) {
    const size_t limit = OverlaySettings::kMaxLetterLength;
    LoadedOverlay loaded("LetterIs=1\r\nLetter=" + std::string(5000, 'x') + "\r\n");
    EXPECT_EQ(loaded.overlay.GetSettings().Letter, std::wstring(limit, L'x'));
    EXPECT_EQ(loaded.overlay.GetDocument().m_text, std::wstring(limit, L'x'));

    const std::wstring pair = L"\xD83D\xDE00";  // one character outside the basic plane
    const std::wstring fits(limit - 2, L'a');
    EXPECT_EQ(OverlaySettings::CutLetter(fits + pair + L"b"), fits + pair);
    EXPECT_EQ(OverlaySettings::CutLetter(fits + L"a" + pair), fits + L"a");
    EXPECT_EQ(OverlaySettings::CutLetter(L"short"), L"short");
}

}  // namespace

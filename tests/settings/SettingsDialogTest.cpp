// The settings dialog driven in-process by messages, with its file in a test folder.
#include <gtest/gtest.h>
#include "CIni.h"
#include "SettingsFile.h"
#include "SettingsTestSupport.h"
#include "ShellOpenRecorder.h"
#include "TestSupport.h"

using testing_support::MessageBoxRecorder;
using testing_support::TempFolder;

namespace {

class SettingsDialog : public testing::Test {
protected:
    TempFolder folder;
    TempFolder shots;
    std::wstring iniPath() { return folder.File(L"Tovrix.ini"); }

    // A file as a previous OK would have left it.
    void StoreSettings(const std::function<void(CaptureSettings&)>& change) {
        CaptureSettings s;
        ApplyFirstRunDefaults(s, shots.Path());
        s.prefix = L"TX_";
        s.webUrl = kDefaultWebUrl;
        change(s);
        CIni ini;
        ini.SetPath(iniPath());
        ASSERT_TRUE(WriteSettingsFile(ini, s));
    }
    CaptureSettings StoredSettings() {
        CIni ini;
        ini.SetPath(iniPath());
        CaptureSettings s;
        EXPECT_TRUE(LoadSettingsFile(ini, s, L"C:\\fallback"));
        return s;
    }
};

TEST_F(SettingsDialog, FirstRunShowsTheDefaultsAndOkWritesEveryKey) {
    TestSettingsDlg dlg(iniPath());
    dlg.onOpen = [&](TestSettingsDlg& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), L"캡쳐영역(전체영역)");
        EXPECT_EQ(d.ComboCount(IDC_AREA_COMBO), 5) << "one monitor: no monitor entry";
        EXPECT_EQ(d.ComboText(IDC_AREA_COMBO, 1), L"선택영역");
        EXPECT_EQ(d.ComboCount(IDC_FORMAT_COMBO), 4);
        EXPECT_EQ(d.ComboCount(IDC_QUALITY_COMBO), 5);
        EXPECT_EQ(d.GetDlgItemText(IDC_PREFIX), L"TX_");
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_KEY_PRINT), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_SHUTTER_ON), BST_CHECKED);
        EXPECT_FALSE(::IsWindowEnabled(d.GetDlgItem(IDC_RESIZE_WIDTH)));
        EXPECT_EQ(d.GetDlgItemText(IDC_TRAY_NOTE), L"※ OK 누르면 백그라운드로 실행( Tray Icon )");
        d.SetDlgItemText(IDC_SAVE_FOLDER, shots.Path());
        d.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_FALSE(testing_support::FileExists(iniPath()));
    EXPECT_EQ(dlg.DoModal(), IDOK);

    CIni ini;
    ini.SetPath(iniPath());
    for (const wchar_t* key : {L"Region", L"SaveType", L"JpgQuality", L"HotKey", L"Shutter", L"SaveFolder",
                               L"Prefix", L"Postfix", L"Resize", L"WIDTH", L"HEIGHT", L"WebURL",
                               L"CheckEdit", L"CheckCursor"})
        EXPECT_NE(ini.GetString(kSettingsSection, key, L"<missing>"), L"<missing>") << key;
    EXPECT_EQ(ini.GetString(kSettingsSection, L"Region", L""), L"0:0:0:0:0:0");
    EXPECT_EQ(StoredSettings().saveFolder, shots.Path());
    EXPECT_EQ(dlg.NextSerial, 1);
}

// The banner opens the guide that comes with the program (there is no web site), or says where
// the guide belongs when it is missing.
TEST_F(SettingsDialog, TheBannerOpensTheGuideBesideTheProgram) {
    for (const bool present : {true, false}) {
        testing_support::ShellOpenRecorder shell;
        ASSERT_TRUE(shell.PlaceGuide(present));
        MessageBoxRecorder boxes;
        TestSettingsDlg dlg(iniPath());
        dlg.onOpen = [](TestSettingsDlg& d) {
            d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BANNER, STN_CLICKED),
                          reinterpret_cast<LPARAM>(d.GetDlgItem(IDC_BANNER)));
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        dlg.DoModal();
        if (present) {
            EXPECT_EQ(shell.Opened(), std::vector<std::wstring>{UserGuidePath()});
            EXPECT_TRUE(boxes.Texts().empty());
        } else {
            EXPECT_TRUE(shell.Opened().empty());
            EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{MissingUserGuideText()});
        }
    }
}

TEST_F(SettingsDialog, ChoicesAreStoredOnOk) {
    StoreSettings([](CaptureSettings&) {});
    TestSettingsDlg dlg(iniPath());
    dlg.onOpen = [](TestSettingsDlg& d) {
        d.Choose(IDC_AREA_COMBO, 2);  // "최상위 윈도우" is the third entry with one monitor
        EXPECT_EQ(d.area, AreaForegroundWindow);
        EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), L"캡쳐영역(최상위)");
        d.Choose(IDC_FORMAT_COMBO, Jpg);
        d.Choose(IDC_QUALITY_COMBO, 3);
        d.Click(IDC_KEY_F11);
        d.Click(IDC_SHUTTER_OFF);
        d.Click(IDC_NAME_SERIAL);
        d.Click(IDC_EDIT_AFTER);
        d.Click(IDC_WITH_CURSOR);
        d.SetDlgItemText(IDC_PREFIX, L"shot-");
        d.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CaptureSettings s = StoredSettings();
    EXPECT_EQ(s.area, AreaForegroundWindow);
    EXPECT_EQ(s.saveType, Jpg);
    EXPECT_EQ(s.jpgQuality, 3);
    EXPECT_EQ(s.hotKey, 1);
    EXPECT_EQ(s.shutter, 0);
    EXPECT_EQ(s.postfix, 1);
    EXPECT_TRUE(s.checkEdit);
    EXPECT_TRUE(s.checkCursor);
    EXPECT_EQ(s.prefix, L"shot-");
    // The live settings are the dialog's members.
    EXPECT_EQ(dlg.hotKey, 1);
}

TEST_F(SettingsDialog, AreaLabelsFollowTheStoredArea) {
    struct Case { int area; int entry; const wchar_t* label; };
    const Case cases[] = {
        {AreaFixedRect, 1, L"캡쳐영역(400X300)"},
        {AreaRegionAtCapture, 3, L"캡쳐영역(캡쳐시자르기)"},
        {AreaControlAtCapture, 4, L"캡쳐영역(컨트롤선택)"},
    };
    for (const Case& c : cases) {
        StoreSettings([&](CaptureSettings& s) {
            s.area = c.area;
            s.areaRect = RECT{100, 100, 500, 400};
        });
        TestSettingsDlg dlg(iniPath());
        dlg.onOpen = [&](TestSettingsDlg& d) {
            EXPECT_EQ(::SendDlgItemMessageW(d.m_hWnd, IDC_AREA_COMBO, CB_GETCURSEL, 0, 0), c.entry);
            EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), c.label);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
}

TEST_F(SettingsDialog, OtherFormatsHideTheQualityListAndWidenTheFormatList) {
    StoreSettings([](CaptureSettings& s) { s.saveType = Jpg; });
    TestSettingsDlg dlg(iniPath());
    dlg.onOpen = [](TestSettingsDlg& d) {
        HWND format = d.GetDlgItem(IDC_FORMAT_COMBO), quality = d.GetDlgItem(IDC_QUALITY_COMBO);
        RECT jpegFormat, qualityRect;
        ::GetWindowRect(format, &jpegFormat);
        ::GetWindowRect(quality, &qualityRect);
        // The dialog itself is not shown yet: look at the lists' own visibility.
        auto shown = [](HWND w) { return (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; };
        EXPECT_TRUE(shown(quality));

        d.Choose(IDC_FORMAT_COMBO, Png);
        RECT wide;
        ::GetWindowRect(format, &wide);
        EXPECT_FALSE(shown(quality));
        EXPECT_FALSE(::IsWindowEnabled(quality));
        EXPECT_EQ(wide.left, jpegFormat.left);
        EXPECT_EQ(wide.right, qualityRect.right);

        d.Choose(IDC_FORMAT_COMBO, Jpg);
        RECT back;
        ::GetWindowRect(format, &back);
        EXPECT_TRUE(shown(quality));
        EXPECT_EQ(back.right, jpegFormat.right);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    dlg.DoModal();
}

TEST_F(SettingsDialog, RefusedValuesKeepTheDialogOpenWithTheirMessages) {
    struct Case {
        bool resize;
        const wchar_t* width;
        const wchar_t* height;
        bool missingFolder;
        const wchar_t* message;  // null: accepted
    };
    const Case cases[] = {
        {true, L"5", L"600", false, L"저장 그림 가로크기 오류"},
        {true, L"800", L"9000", false, L"저장 그림 세로크기 오류"},
        {false, L"5", L"600", false, nullptr},
        {false, L"800", L"600", true, L"저장 폴더가 유효하지 않습니다."},
        {false, L"8x", L"600", false, L"정수를 입력하십시오."},
    };
    for (const Case& c : cases) {
        StoreSettings([](CaptureSettings&) {});
        MessageBoxRecorder boxes;
        TestSettingsDlg dlg(iniPath());
        dlg.onOpen = [&](TestSettingsDlg& d) {
            if (c.resize) d.Click(IDC_RESIZE);
            EXPECT_EQ(::IsWindowEnabled(d.GetDlgItem(IDC_RESIZE_WIDTH)) != FALSE, c.resize);
            d.SetDlgItemText(IDC_RESIZE_WIDTH, c.width);
            d.SetDlgItemText(IDC_RESIZE_HEIGHT, c.height);
            if (c.missingFolder) d.SetDlgItemText(IDC_SAVE_FOLDER, shots.File(L"없는 폴더"));
            d.SendMessage(WM_COMMAND, IDOK);
            // A refused OK leaves the dialog running: only this Cancel ends it.
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        INT_PTR result = dlg.DoModal();
        if (c.message) {
            EXPECT_EQ(result, IDCANCEL) << c.width;
            ASSERT_EQ(boxes.Texts().size(), 1u);
            EXPECT_EQ(boxes.Texts()[0], c.message);
            EXPECT_EQ(StoredSettings().width, 800) << "nothing is written";
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_TRUE(boxes.Texts().empty());
            EXPECT_EQ(StoredSettings().width, 5) << "with resize off the width is not checked";
        }
    }
}

TEST_F(SettingsDialog, CancelRestoresTheFilesValues) {
    StoreSettings([](CaptureSettings& s) {
        s.area = AreaFixedRect;
        s.areaRect = RECT{10, 20, 330, 260};
        s.hotKey = 2;
    });
    TestSettingsDlg dlg(iniPath());
    dlg.onOpen = [](TestSettingsDlg& d) {
        d.Choose(IDC_AREA_COMBO, 0);
        d.Choose(IDC_FORMAT_COMBO, Bmp);
        EXPECT_EQ(d.area, AreaAllMonitors);
        EXPECT_EQ(d.saveType, Bmp);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.area, AreaFixedRect);
    EXPECT_EQ(dlg.areaRect.right, 330);
    EXPECT_EQ(dlg.saveType, Png);
    EXPECT_EQ(dlg.hotKey, 2);
}

TEST_F(SettingsDialog, ThePrefixIsFilteredAsTypedWithTheCaretKept) {
    StoreSettings([](CaptureSettings&) {});
    TestSettingsDlg dlg(iniPath());
    dlg.onOpen = [](TestSettingsDlg& d) {
        HWND edit = d.GetDlgItem(IDC_PREFIX);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 3, 3);  // after "TX_"
        for (wchar_t c : std::wstring(L"a\\b|")) ::SendMessageW(edit, WM_CHAR, c, 0);
        EXPECT_EQ(d.GetDlgItemText(IDC_PREFIX), L"TX_a_b_");
        DWORD start = 0, end = 0;
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 7u);
        EXPECT_EQ(end, 7u);
        d.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(StoredSettings().prefix, L"TX_a_b_");
}

TEST_F(SettingsDialog, EditsGoLiveOnlyWhenOkAcceptsThem) {
    StoreSettings([](CaptureSettings&) {});
    TestSettingsDlg dlg(iniPath());
    dlg.onOpen = [](TestSettingsDlg& d) { d.PostMessage(WM_COMMAND, IDOK); };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(dlg.GetLiveSettings().prefix, L"TX_");
    const std::wstring aFile = shots.File(L"plain.txt");
    FILE* f = _wfopen(aFile.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fclose(f);

    // How each opening ends after a new prefix was typed (and a capture was asked for meanwhile).
    struct Case {
        const char* what;
        bool resize;
        const wchar_t* width;
        const wchar_t* folder;  // null: as stored
        const wchar_t* message;  // of the refused OK; null when OK is not pressed or accepted
        int end;
        const wchar_t* live;
    } cases[] = {
        {"cancelled", false, L"800", nullptr, nullptr, IDCANCEL, L"TX_"},
        {"width not a number", true, L"abc", nullptr, L"정수를 입력하십시오.", IDCANCEL, L"TX_"},
        {"width out of range", true, L"5", nullptr, L"저장 그림 가로크기 오류", IDCANCEL, L"TX_"},
        {"folder gone", false, L"800", L"missing", L"저장 폴더가 유효하지 않습니다.", IDCANCEL, L"TX_"},
        {"folder is a file", false, L"800", L"file", L"저장 폴더가 유효하지 않습니다.", IDCANCEL, L"TX_"},
        {"accepted", false, L"800", nullptr, nullptr, IDOK, L"new_"},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        dlg.onOpen = [&](TestSettingsDlg& d) {
            d.SetDlgItemText(IDC_PREFIX, L"new_");
            // A key release while the dialog is open names the file by the live settings.
            EXPECT_EQ(d.BuildOutputPath().rfind(shots.File(L"TX_["), 0), 0u) << c.what;
            if (c.resize) d.Click(IDC_RESIZE);
            d.SetDlgItemText(IDC_RESIZE_WIDTH, c.width);
            if (c.folder) {
                d.SetDlgItemText(IDC_SAVE_FOLDER,
                                 std::wstring(c.folder) == L"file" ? aFile : shots.File(L"없는 폴더"));
            }
            if (c.message || c.end == IDOK) d.SendMessage(WM_COMMAND, IDOK);
            EXPECT_EQ(dlg.GetLiveSettings().prefix, c.end == IDOK ? L"new_" : L"TX_") << c.what;
            if (c.end != IDOK) d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), c.end) << c.what;
        EXPECT_EQ(boxes.Texts(), c.message ? std::vector<std::wstring>{c.message} : std::vector<std::wstring>{})
            << c.what;
        EXPECT_EQ(dlg.GetLiveSettings().prefix, c.live) << c.what;
        EXPECT_EQ(dlg.prefix, c.live) << c.what << ": the dialog shows the live settings again";
        EXPECT_EQ(StoredSettings().prefix, c.live) << c.what;
    }
}

TEST_F(SettingsDialog, SettingsThatCannotBeWrittenSaySoAndStayInForceForTheRun) {
    struct Case {
        const char* what;
        std::wstring iniPath;
        bool folderInItsPlace;
    } cases[] = {
        {"a folder in the file's place", folder.File(L"Tovrix.ini"), true},
        // As a read-only program folder without a settings file: nothing can be created there.
        {"no folder to write into", folder.File(L"gone\\Tovrix.ini"), false},
    };
    for (const Case& c : cases) {
        if (c.folderInItsPlace) {
            ASSERT_TRUE(::CreateDirectoryW(c.iniPath.c_str(), nullptr));
        }
        MessageBoxRecorder boxes;
        TestSettingsDlg dlg(c.iniPath);
        // The first start: first-run defaults; OK goes on as after any OK, so the program starts.
        dlg.onOpen = [&](TestSettingsDlg& d) {
            EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_KEY_PRINT), BST_CHECKED) << c.what;
            d.SetDlgItemText(IDC_SAVE_FOLDER, shots.Path());
            d.Click(IDC_KEY_F11);
            d.SetDlgItemText(IDC_PREFIX, L"run_");
            d.PostMessage(WM_COMMAND, IDOK);
        };
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.what;
        EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{CTovrixDlg::kNotStoredText}) << c.what;
        EXPECT_EQ(dlg.GetLiveSettings().hotKey, 1) << c.what;
        EXPECT_EQ(dlg.GetLiveSettings().saveFolder, shots.Path()) << c.what;
        EXPECT_EQ(dlg.BuildOutputPath().rfind(shots.File(L"run_["), 0), 0u) << c.what;

        // Reopened during the run: the choices in force, not the defaults; Cancel keeps them.
        dlg.onOpen = [&](TestSettingsDlg& d) {
            EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_KEY_F11), BST_CHECKED) << c.what;
            EXPECT_EQ(d.GetDlgItemText(IDC_SAVE_FOLDER), shots.Path()) << c.what;
            EXPECT_EQ(d.GetDlgItemText(IDC_PREFIX), L"run_") << c.what;
            d.Click(IDC_KEY_F12);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.what;
        EXPECT_EQ(dlg.GetLiveSettings().hotKey, 1) << c.what;
        EXPECT_EQ(dlg.hotKey, 1) << c.what;
        EXPECT_EQ(dlg.GetLiveSettings().saveFolder, shots.Path()) << c.what;
        EXPECT_EQ(boxes.Texts().size(), 1u) << c.what;
    }
}

TEST_F(SettingsDialog, StoredAreasAreShownAsTheyWillBeCaptured) {
    struct Case {
        const wchar_t* region;
        const wchar_t* label;
    } cases[] = {
        {L"2:0:1240:700:880:100", L"캡쳐영역(360X600)"},  // was "(-360X-600)"
        {L"1:255:0:0:10:10", L"캡쳐영역(1모니터)"},       // was "256모니터" on one monitor
        {L"2:0:0:0:40000:100", L"캡쳐영역(전체영역)"},     // no picture can be that wide
    };
    for (const Case& c : cases) {
        StoreSettings([](CaptureSettings&) {});
        CIni ini;
        ini.SetPath(iniPath());
        ASSERT_TRUE(ini.WriteString(kSettingsSection, L"Region", c.region));
        TestSettingsDlg dlg(iniPath());
        dlg.onOpen = [&](TestSettingsDlg& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), c.label) << c.region;
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        dlg.DoModal();
    }
}

TEST_F(SettingsDialog, OkRescansTheFolderForTheSerialCounter) {
    for (const wchar_t* name : {L"TX_5.png", L"TX_12.jpg"}) {
        FILE* f = _wfopen(shots.File(name).c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fclose(f);
    }
    StoreSettings([](CaptureSettings& s) { s.postfix = 1; });
    TestSettingsDlg dlg(iniPath());
    EXPECT_EQ(dlg.NextSerial, -1);
    dlg.onOpen = [](TestSettingsDlg& d) { d.PostMessage(WM_COMMAND, IDOK); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.NextSerial, 13);
    EXPECT_EQ(dlg.BuildOutputPath(), shots.File(L"TX_13.png"));
    EXPECT_EQ(dlg.NextSerial, 14);
}

}  // namespace

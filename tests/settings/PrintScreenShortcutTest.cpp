// Windows' own Print Screen shortcut: the answer from the real (Wine) registry for given system
// versions, the settings dialog's line and button, and the start balloon. Every test puts the
// user's value (or its absence) back afterwards.
#include <gtest/gtest.h>
#include <optional>
#include <vector>
#include "CMainFrame.h"
#include "CaptureSettings.h"
#include "PrintScreenShortcut.h"
#include "SettingsFile.h"
#include "SettingsTestSupport.h"
#include "TestSupport.h"

using testing_support::MessageBoxRecorder;
using testing_support::TempFolder;

namespace {

const SystemVersion kWindows7{6, 1, 7601};
const SystemVersion kWindows10{10, 0, 19045};
const SystemVersion kWindows11{10, 0, 22000};
const SystemVersion kWindows11Later{10, 0, 26100};

// The value as Windows' settings would have left it: a DWORD, a value of another type, or none.
struct ValueState {
    const char* name;
    std::optional<DWORD> dword;
    const wchar_t* string = nullptr;
};

class PrintScreenShortcut : public testing::Test {
protected:
    void SetUp() override {
        DWORD size = 0;
        m_hadValue = ::RegGetValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue, RRF_RT_ANY,
                                    &m_savedType, nullptr, &size) == ERROR_SUCCESS;
        if (!m_hadValue) return;
        m_saved.resize(size);
        ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue, RRF_RT_ANY,
                                 &m_savedType, m_saved.data(), &size),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        if (m_hadValue)
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue, m_savedType,
                              m_saved.data(), static_cast<DWORD>(m_saved.size()));
        else
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue);
    }

    static void Store(const ValueState& state) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue);
        if (state.dword) {
            DWORD value = *state.dword;
            ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue, REG_DWORD,
                                        &value, sizeof(value)),
                      ERROR_SUCCESS);
        } else if (state.string) {
            ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue, REG_SZ,
                                        state.string,
                                        static_cast<DWORD>((wcslen(state.string) + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
    }
    static void StoreDword(DWORD value) { Store({"dword", value}); }
    // The stored DWORD, or nothing when there is none.
    static std::optional<DWORD> StoredDword() {
        DWORD value = 0, size = sizeof(value);
        if (::RegGetValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue, RRF_RT_REG_DWORD,
                           nullptr, &value, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return value;
    }

    static bool Shown(HWND dialog, int id) {
        return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
    }

    // A settings file whose capture key is `hotKey` (0 Print, 1 F11, 2 F12).
    std::wstring SettingsWithKey(int hotKey) {
        CaptureSettings s;
        ApplyFirstRunDefaults(s, m_folder.Path());
        s.webUrl = kDefaultWebUrl;
        s.hotKey = hotKey;
        CIni ini;
        ini.SetPath(m_folder.File(L"Tovrix.ini"));
        EXPECT_TRUE(WriteSettingsFile(ini, s));
        return m_folder.File(L"Tovrix.ini");
    }

    TempFolder m_folder;

private:
    bool m_hadValue = false;
    DWORD m_savedType = 0;
    std::vector<BYTE> m_saved;
};

TEST_F(PrintScreenShortcut, FollowsTheValueAndWithoutOneTheSystemVersion) {
    struct Case {
        ValueState state;
        bool onWindows7, onWindows10, onWindows11, onWindows11Later;
    } cases[] = {
        {{"missing", std::nullopt}, false, false, true, true},
        {{"zero", 0u}, false, false, false, false},
        {{"one", 1u}, true, true, true, true},
        {{"other non-zero", 2u}, true, true, true, true},
        {{"a string", std::nullopt, L"0"}, false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state.name);
        Store(c.state);
        EXPECT_EQ(IsWindowsPrintScreenShortcutOn(kWindows7), c.onWindows7);
        EXPECT_EQ(IsWindowsPrintScreenShortcutOn(kWindows10), c.onWindows10);
        EXPECT_EQ(IsWindowsPrintScreenShortcutOn(kWindows11), c.onWindows11);
        EXPECT_EQ(IsWindowsPrintScreenShortcutOn(kWindows11Later), c.onWindows11Later);
    }
}

TEST_F(PrintScreenShortcut, WithoutAValueWinesOwnVersionCountsAsOff) {
    Store({"missing", std::nullopt});
    const SystemVersion version = CurrentSystemVersion();
    EXPECT_GE(version.major, 6u) << "the system's version was not read";
    if (version.major == 10 && version.build >= 22000) GTEST_SKIP() << "this Wine reports Windows 11";
    EXPECT_FALSE(IsWindowsPrintScreenShortcutOn(version));
}

TEST_F(PrintScreenShortcut, TurningOffWritesZeroForTheUser) {
    for (const ValueState& before : {ValueState{"one", 1u}, ValueState{"missing", std::nullopt},
                                     ValueState{"a string", std::nullopt, L"1"}}) {
        SCOPED_TRACE(before.name);
        Store(before);
        EXPECT_EQ(TurnOffWindowsPrintScreenShortcut(), ERROR_SUCCESS);
        EXPECT_EQ(StoredDword(), std::optional<DWORD>(0));
        EXPECT_FALSE(IsWindowsPrintScreenShortcutOn(kWindows11Later));
    }
}

TEST_F(PrintScreenShortcut, DialogShowsTheLineAndButtonOnlyForPrintWhileTheShortcutIsOn) {
    struct Case {
        int hotKey;
        DWORD value;
        bool shown;
    } cases[] = {{0, 1, true}, {0, 0, false}, {1, 1, false}, {2, 1, false}, {2, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.hotKey) + ", value " + std::to_string(c.value));
        StoreDword(c.value);
        TestSettingsDlg dlg(SettingsWithKey(c.hotKey));
        dlg.onOpen = [&](TestSettingsDlg& d) {
            EXPECT_EQ(Shown(d.m_hWnd, IDC_PRINTSCREEN_NOTE), c.shown);
            EXPECT_EQ(Shown(d.m_hWnd, IDC_PRINTSCREEN_OFF), c.shown);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
}

TEST_F(PrintScreenShortcut, DialogLineFollowsTheKeyChoice) {
    StoreDword(1);
    TestSettingsDlg dlg(SettingsWithKey(0));
    dlg.onOpen = [&](TestSettingsDlg& d) {
        const std::wstring note = d.GetDlgItemText(IDC_PRINTSCREEN_NOTE);
        EXPECT_NE(note.find(L"접근성 > 키보드"), std::wstring::npos) << "where to switch it off";
        EXPECT_NE(note.find(L"F11"), std::wstring::npos) << "the simpler way out";
        EXPECT_TRUE(Shown(d.m_hWnd, IDC_PRINTSCREEN_NOTE));
        for (int key : {IDC_KEY_F11, IDC_KEY_PRINT, IDC_KEY_F12}) {
            d.Click(key);
            EXPECT_EQ(Shown(d.m_hWnd, IDC_PRINTSCREEN_NOTE), key == IDC_KEY_PRINT) << key;
            EXPECT_EQ(Shown(d.m_hWnd, IDC_PRINTSCREEN_OFF), key == IDC_KEY_PRINT) << key;
        }
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(StoredDword(), std::optional<DWORD>(1)) << "choosing a key changes nothing in Windows";
}

TEST_F(PrintScreenShortcut, DialogButtonSwitchesTheShortcutOffAndTheLineGoes) {
    StoreDword(1);
    MessageBoxRecorder boxes;
    TestSettingsDlg dlg(SettingsWithKey(0));
    dlg.onOpen = [&](TestSettingsDlg& d) {
        ASSERT_TRUE(Shown(d.m_hWnd, IDC_PRINTSCREEN_OFF));
        d.Click(IDC_PRINTSCREEN_OFF);
        EXPECT_EQ(StoredDword(), std::optional<DWORD>(0));
        EXPECT_FALSE(Shown(d.m_hWnd, IDC_PRINTSCREEN_NOTE));
        EXPECT_FALSE(Shown(d.m_hWnd, IDC_PRINTSCREEN_OFF));
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_NE(boxes.Messages()[0].text.find(L"껐습니다"), std::wstring::npos) << "success is reported";
    EXPECT_NE(boxes.Messages()[0].text.find(L"다시 로그인"), std::wstring::npos) << "when it takes effect";
    EXPECT_EQ(StoredDword(), std::optional<DWORD>(0)) << "Cancel does not undo Windows' setting";
}

TEST_F(PrintScreenShortcut, StartBalloonAddsTheHintOnlyWhenItApplies) {
    struct Case {
        int hotKey;
        DWORD value;
        std::wstring balloon;
    } cases[] = {
        {0, 1, std::wstring(L"PrintScreen 버튼으로 캡쳐\n") + kPrintScreenBalloonHint},
        {0, 0, L"PrintScreen 버튼으로 캡쳐"},
        {1, 1, L"F11 버튼으로 캡쳐"},
        {2, 1, L"F12 버튼으로 캡쳐"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.hotKey) + ", value " + std::to_string(c.value));
        StoreDword(c.value);
        MessageBoxRecorder boxes;
        CaptureSettings settings;
        ApplyFirstRunDefaults(settings, m_folder.Path());
        settings.hotKey = c.hotKey;
        auto* frame = new CMainFrame(settings, [] { return std::wstring(); }, nullptr);
        ASSERT_TRUE(frame->CreateHidden());
        const HWND hwnd = frame->m_hWnd;
        EXPECT_EQ(std::wstring(frame->GetTrayIcon().GetBalloonText()), c.balloon);
        ::DestroyWindow(hwnd);
    }
}

// The current user's registry seen through a key this process may only read: writing fails
// as it would where a policy forbids changing Windows' keyboard settings.
class ReadOnlyUserRegistry {
public:
    ReadOnlyUserRegistry() {
        HKEY created = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr) != ERROR_SUCCESS)
            return;
        ::RegCloseKey(created);
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &m_readOnly) != ERROR_SUCCESS) return;
        m_active = ::RegOverridePredefKey(HKEY_CURRENT_USER, m_readOnly) == ERROR_SUCCESS;
    }
    ~ReadOnlyUserRegistry() {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (m_readOnly) ::RegCloseKey(m_readOnly);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kScratch);
    }
    ReadOnlyUserRegistry(const ReadOnlyUserRegistry&) = delete;
    ReadOnlyUserRegistry& operator=(const ReadOnlyUserRegistry&) = delete;
    bool Active() const { return m_active; }

private:
    static constexpr wchar_t kScratch[] = L"Software\\Tovrix read-only test";
    HKEY m_readOnly = nullptr;
    bool m_active = false;
};

TEST_F(PrintScreenShortcut, DialogButtonReportsAFailureToWrite) {
    StoreDword(1);
    MessageBoxRecorder boxes;
    TestSettingsDlg dlg(SettingsWithKey(0));
    dlg.onOpen = [&](TestSettingsDlg& d) {
        ASSERT_TRUE(Shown(d.m_hWnd, IDC_PRINTSCREEN_OFF));
        {
            ReadOnlyUserRegistry readOnly;
            ASSERT_TRUE(readOnly.Active());
            d.Click(IDC_PRINTSCREEN_OFF);
        }
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    const std::wstring& text = boxes.Messages()[0].text;
    EXPECT_NE(text.find(L"끄지 못했습니다 (오류 "), std::wstring::npos) << "the failure and its code are reported";
    EXPECT_EQ(text.find(L"껐습니다."), std::wstring::npos) << "no success is claimed";
    EXPECT_NE(text.find(L"접근성 > 키보드"), std::wstring::npos) << "where to do it by hand";
    EXPECT_EQ(StoredDword(), std::optional<DWORD>(1)) << "the user's real value is untouched";
}

}  // namespace

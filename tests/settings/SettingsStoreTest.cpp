// The settings file: CIni's reading rules, section "Settings" with its defaults and ranges, and
// writing that keeps what else the file holds.
#include <gtest/gtest.h>
#include <cstdio>
#include "CIni.h"
#include "ModulePath.h"
#include "SettingsFile.h"
#include "TestSupport.h"

using testing_support::TempFolder;

namespace {

class IniFile : public testing::Test {
protected:
    TempFolder folder;
    CIni ini;
    void SetUp() override { ini.SetPath(folder.File(L"Tovrix.ini")); }
    // Writes the file's text as the user would by hand (UTF-8 without a byte-order mark).
    void WriteText(const std::string& text) {
        FILE* f = _wfopen(ini.GetPath().c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
};

TEST_F(IniFile, PathToModuleIsTheProgramWithItsExtensionReplaced) {
    CIni module;
    ASSERT_TRUE(module.SetPathToModule());
    std::wstring program = GetModulePath();
    EXPECT_EQ(module.GetPath(), program.substr(0, program.size() - 4) + L".ini");
}

TEST_F(IniFile, IntegersAndBooleansAreReadAsTheProgramAlwaysHas) {
    WriteText("[S]\nneg=-5\nword=abc\nlead=12px\nempty=\nyes=Yes\ntrue=TRUE\nzero=0\nno=no\ntwo=2\n"
              "huge=99999999999\n");
    struct IntCase { const wchar_t* key; int expected; };
    for (IntCase c : {IntCase{L"neg", -5}, {L"word", 0}, {L"lead", 12}, {L"empty", 77}, {L"missing", 77}})
        EXPECT_EQ(ini.GetInt(L"S", c.key, 77), c.expected) << c.key;
    struct BoolCase { const wchar_t* key; bool fallback; bool expected; };
    for (BoolCase c : {BoolCase{L"yes", false, true}, {L"true", false, true}, {L"two", false, true},
                       {L"zero", true, false}, {L"no", true, false}, {L"empty", true, true},
                       {L"missing", false, false}})
        EXPECT_EQ(ini.GetBool(L"S", c.key, c.fallback), c.expected) << c.key;
    // Past the unsigned range the number saturates, as the C library reads it.
    EXPECT_EQ(ini.GetInt(L"S", L"huge", 0), -1);
}

TEST_F(IniFile, StringsOfAnyLengthRoundTrip) {
    for (size_t length : {0, 1, 510, 511, 512, 513, 1100, 5000}) {
        std::wstring value(length, L'가');
        for (size_t i = 0; i < length; i += 7) value[i] = L'a' + static_cast<wchar_t>(i % 26);
        ASSERT_TRUE(ini.WriteString(L"S", L"long", value.c_str()));
        EXPECT_EQ(ini.GetString(L"S", L"long", L"x"), value) << length;
    }
    EXPECT_EQ(ini.GetString(L"S", L"missing", nullptr), L"");
    EXPECT_EQ(ini.GetString(L"S", L"missing", L"기본"), L"기본");
}

TEST_F(IniFile, WritingNullsFollowsTheRules) {
    EXPECT_TRUE(ini.WriteString(L"S", L"k", nullptr));
    EXPECT_EQ(ini.GetString(L"S", L"k", L"default"), L"");
    EXPECT_FALSE(ini.WriteString(nullptr, L"k", L"v"));
    EXPECT_FALSE(ini.WriteString(L"S", nullptr, L"v"));
    EXPECT_EQ(ini.GetString(L"S", L"k", L"default"), L"");
    EXPECT_TRUE(ini.WriteInt(L"S", L"n", -42));
    EXPECT_EQ(ini.GetString(L"S", L"n", L""), L"-42");
    EXPECT_TRUE(ini.WriteBool(L"S", L"b", true));
    EXPECT_EQ(ini.GetString(L"S", L"b", L""), L"1");
}

class SettingsSection : public IniFile {
protected:
    std::wstring programFolder() { return folder.Path(); }
};

TEST_F(SettingsSection, AMissingFileChangesNothing) {
    CaptureSettings s;
    s.area = 4;
    EXPECT_FALSE(LoadSettingsFile(ini, s, programFolder()));
    EXPECT_EQ(s.area, 4);
}

TEST_F(SettingsSection, EveryKeyRoundTrips) {
    TempFolder shots;
    CaptureSettings out;
    out.area = AreaFixedRect;
    out.monitorIndex = 1;
    out.areaRect = RECT{-1280, 10, 500, 400};
    out.saveType = Jpg;
    out.jpgQuality = 4;
    out.hotKey = 2;
    out.shutter = 0;
    out.saveFolder = shots.Path();
    out.prefix = L"화면_";
    out.postfix = 1;
    out.resize = true;
    out.width = 640;
    out.height = 480;
    out.webUrl = std::wstring(700, L'w');
    out.checkEdit = true;
    out.checkCursor = true;
    ASSERT_TRUE(WriteSettingsFile(ini, out));

    CaptureSettings in;
    ASSERT_TRUE(LoadSettingsFile(ini, in, programFolder()));
    EXPECT_EQ(in.area, out.area);
    EXPECT_EQ(in.monitorIndex, out.monitorIndex);
    EXPECT_TRUE(::EqualRect(&in.areaRect, &out.areaRect));
    EXPECT_EQ(in.saveType, out.saveType);
    EXPECT_EQ(in.jpgQuality, out.jpgQuality);
    EXPECT_EQ(in.hotKey, out.hotKey);
    EXPECT_EQ(in.shutter, out.shutter);
    EXPECT_EQ(in.saveFolder, out.saveFolder);
    EXPECT_EQ(in.prefix, out.prefix);
    EXPECT_EQ(in.postfix, out.postfix);
    EXPECT_EQ(in.resize, out.resize);
    EXPECT_EQ(in.width, out.width);
    EXPECT_EQ(in.height, out.height);
    EXPECT_EQ(in.webUrl, out.webUrl);
    EXPECT_EQ(in.checkEdit, out.checkEdit);
    EXPECT_EQ(in.checkCursor, out.checkCursor);
    EXPECT_EQ(ini.GetString(kSettingsSection, L"Region", L""), L"2:1:-1280:10:500:400");
}

TEST_F(SettingsSection, MissingKeysTakeTheirDefaults) {
    WriteText("[Settings]\nRegion=3\nHotKey=abc\n");
    CaptureSettings s;
    ASSERT_TRUE(LoadSettingsFile(ini, s, programFolder()));
    EXPECT_EQ(s.area, AreaForegroundWindow);
    EXPECT_EQ(s.monitorIndex, 0);
    EXPECT_TRUE(::IsRectEmpty(&s.areaRect));
    EXPECT_EQ(s.hotKey, 0);
    EXPECT_EQ(s.shutter, 1);
    EXPECT_EQ(s.saveType, Png);
    EXPECT_EQ(s.jpgQuality, 2);
    EXPECT_EQ(s.prefix, L"TX_");
    EXPECT_EQ(s.postfix, 0);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_EQ(s.webUrl, kDefaultWebUrl);
    EXPECT_EQ(s.saveFolder, programFolder());
    EXPECT_FALSE(s.resize);
}

TEST_F(SettingsSection, ValuesOutsideTheirRangesReadAsDefaults) {
    WriteText("[Settings]\nRegion=9:-3:1:2:3:4\nSaveType=7\nJpgQuality=-1\nHotKey=5\nShutter=2\n"
              "Postfix=-9\nWIDTH=99999999\nHEIGHT=-20\nSaveFolder=C:\\no\\such\\folder\n");
    CaptureSettings s;
    ASSERT_TRUE(LoadSettingsFile(ini, s, programFolder()));
    EXPECT_EQ(s.area, AreaAllMonitors);
    EXPECT_EQ(s.monitorIndex, 0);
    EXPECT_EQ(s.saveType, Png);
    EXPECT_EQ(s.jpgQuality, 2);
    EXPECT_EQ(s.hotKey, 0);
    EXPECT_EQ(s.shutter, 1);
    EXPECT_EQ(s.postfix, 0);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_EQ(s.saveFolder, programFolder());
}

TEST_F(SettingsSection, ADamagedFileLoadsWithDefaults) {
    std::string garbage = "\xFF\xFE[Settings\x01\x02\nRegion==::\n\x01\x7F binary \x80\x81\n[Settings]\nSaveType=\n";
    garbage += std::string(20000, 'x');
    WriteText(garbage);
    CaptureSettings s;
    EXPECT_TRUE(LoadSettingsFile(ini, s, programFolder()));
    EXPECT_GE(s.area, AreaAllMonitors);
    EXPECT_LE(s.area, AreaControlAtCapture);
    EXPECT_GE(s.saveType, Bmp);
    EXPECT_LE(s.saveType, Gif);
    EXPECT_EQ(s.saveFolder, programFolder());
}

TEST_F(SettingsSection, ARegionValueFillsWhatItHas) {
    CaptureSettings s;
    ParseRegion(L"2:0:100:100:500:400", s);
    EXPECT_EQ(s.area, AreaFixedRect);
    EXPECT_EQ(s.areaRect.right - s.areaRect.left, 400);
    EXPECT_EQ(s.areaRect.bottom - s.areaRect.top, 300);
    ParseRegion(L"1:1", s);
    EXPECT_EQ(s.area, AreaMonitor);
    EXPECT_EQ(s.monitorIndex, 1);
    EXPECT_TRUE(::IsRectEmpty(&s.areaRect));
    ParseRegion(L"", s);
    EXPECT_EQ(s.area, 0);
    EXPECT_EQ(FormatRegion(s), L"0:0:0:0:0:0");
}

TEST_F(SettingsSection, WritingKeepsTheFilesOtherSectionsAndLeavesNoStagingFile) {
    ASSERT_TRUE(ini.WriteString(L"AniGif", L"Fps", L"15"));
    CaptureSettings s;
    ApplyFirstRunDefaults(s, programFolder());
    ASSERT_TRUE(WriteSettingsFile(ini, s));
    EXPECT_EQ(ini.GetString(L"AniGif", L"Fps", L""), L"15");
    EXPECT_EQ(testing_support::ListFiles(folder.Path()), std::vector<std::wstring>{L"Tovrix.ini"});
}

TEST_F(SettingsSection, AWriteThatCannotFinishKeepsThePreviousSettings) {
    CaptureSettings before;
    ApplyFirstRunDefaults(before, programFolder());
    before.hotKey = 1;
    ASSERT_TRUE(WriteSettingsFile(ini, before));
    // The file is held open by someone who lets nobody read it: the staging copy cannot be
    // made and the write stops before anything is replaced.
    HANDLE held = ::CreateFileW(ini.GetPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CaptureSettings after = before;
    after.hotKey = 2;
    EXPECT_FALSE(WriteSettingsFile(ini, after));
    ::CloseHandle(held);
    EXPECT_EQ(testing_support::ListFiles(folder.Path()), std::vector<std::wstring>{L"Tovrix.ini"});
    CaptureSettings read;
    ASSERT_TRUE(LoadSettingsFile(ini, read, programFolder()));
    EXPECT_EQ(read.hotKey, 1);
}

TEST_F(SettingsSection, ValidationRefusesWithTheExactMessages) {
    CaptureSettings s;
    ApplyFirstRunDefaults(s, programFolder());
    EXPECT_EQ(ValidateSettings(s), nullptr);
    s.width = 9;
    EXPECT_EQ(ValidateSettings(s), nullptr) << "sizes only count with resize on";
    s.resize = true;
    EXPECT_STREQ(ValidateSettings(s), L"저장 그림 가로크기 오류");
    s.width = 8000;
    s.height = 8001;
    EXPECT_STREQ(ValidateSettings(s), L"저장 그림 세로크기 오류");
    s.height = 10;
    s.saveFolder = folder.File(L"deleted");
    EXPECT_STREQ(ValidateSettings(s), L"저장 폴더가 유효하지 않습니다.");
    // An ordinary file is no folder to save into.
    s.saveFolder = ini.GetPath();
    WriteText("[Settings]\n");
    EXPECT_STREQ(ValidateSettings(s), L"저장 폴더가 유효하지 않습니다.");
}

TEST_F(SettingsSection, HandEditedPrefixesAndFoldersThatCannotWorkAreMendedWhenRead) {
    TempFolder shots;
    const std::wstring file = shots.File(L"plain.txt");
    FILE* f = _wfopen(file.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    auto utf8 = [](const std::wstring& text) {
        std::string out;
        for (wchar_t c : text) out += static_cast<char>(c);  // the paths here are ASCII
        return out;
    };
    struct Case {
        std::string text;
        std::wstring prefix;
        std::wstring folder;
    } cases[] = {
        {"Prefix=a:b/c*?\n", L"a_b_c__", programFolder()},
        {"Prefix=p|q\nSaveFolder=" + utf8(shots.Path()) + "\n", L"p_q", shots.Path()},
        {"Prefix=<TX>\nSaveFolder=" + utf8(file) + "\n", L"_TX_", programFolder()},
        // (Quotes around a whole value are the profile functions' own and are taken off.)
        {"Prefix=a\"b\n", L"a_b", programFolder()},
    };
    for (const Case& c : cases) {
        WriteText("[Settings]\n" + c.text);
        CaptureSettings s;
        ASSERT_TRUE(LoadSettingsFile(ini, s, programFolder()));
        EXPECT_EQ(s.prefix, c.prefix) << c.text;
        EXPECT_EQ(s.saveFolder, c.folder) << c.text;
    }
}

TEST_F(SettingsSection, StoredAreasThatCaptureNothingAreMendedForThePresentMonitors) {
    const std::vector<RECT> one{{0, 0, 1280, 800}};
    // The primary monitor (the one holding 0, 0) is the second in the list.
    const std::vector<RECT> two{{-1280, 0, 0, 1024}, {0, 0, 1920, 1080}};
    struct Case {
        const char* region;
        const std::vector<RECT>* monitors;
        int area;
        int monitorIndex;
        RECT rect;
        bool changed;
    } cases[] = {
        // An inverted fixed rectangle, label "(-360X-600)": turned the right way round.
        {"2:0:1240:700:880:100", &one, AreaFixedRect, 0, {880, 100, 1240, 700}, true},
        // A monitor that is not there, label "256모니터": the primary monitor.
        {"1:255:0:0:10:10", &one, AreaMonitor, 0, {0, 0, 1280, 800}, true},
        {"1:7:5:5:6:6", &two, AreaMonitor, 1, {0, 0, 1920, 1080}, true},
        // A monitor that is there keeps its stored rectangle, unless no picture can have it.
        {"1:0:-1280:0:0:1024", &two, AreaMonitor, 0, {-1280, 0, 0, 1024}, false},
        {"1:0:0:0:40000:10", &two, AreaMonitor, 0, {-1280, 0, 0, 1024}, true},
        // Rectangles no picture can have: all monitors instead.
        {"2:0:0:0:40000:100", &one, AreaAllMonitors, 0, {0, 0, 0, 0}, true},
        {"2:0:2147483647:0:-2147483648:100", &one, AreaAllMonitors, 0, {0, 0, 0, 0}, true},
        {"2:0:0:0:20000:20000", &one, AreaAllMonitors, 0, {0, 0, 0, 0}, true},
        // Nothing placed yet stays so (the key release then says why it captures nothing).
        {"2:0:0:0:0:0", &one, AreaFixedRect, 0, {0, 0, 0, 0}, false},
        {"2:0:100:100:500:400", &one, AreaFixedRect, 0, {100, 100, 500, 400}, false},
        {"3:9:1:2:3:4", &one, AreaForegroundWindow, 9, {1, 2, 3, 4}, false},
    };
    for (const Case& c : cases) {
        WriteText(std::string("[Settings]\nRegion=") + c.region + "\n");
        CaptureSettings s;
        ASSERT_TRUE(LoadSettingsFile(ini, s, programFolder()));
        EXPECT_EQ(NormaliseArea(s, *c.monitors), c.changed) << c.region;
        EXPECT_EQ(s.area, c.area) << c.region;
        EXPECT_EQ(s.monitorIndex, c.monitorIndex) << c.region;
        EXPECT_TRUE(::EqualRect(&s.areaRect, &c.rect)) << c.region << ": " << s.areaRect.left << ","
                                                         << s.areaRect.top << "," << s.areaRect.right
                                                         << "," << s.areaRect.bottom;
    }
    CaptureSettings none;
    none.area = AreaMonitor;
    EXPECT_TRUE(NormaliseArea(none, {}));
    EXPECT_EQ(none.area, AreaAllMonitors);
}

}  // namespace

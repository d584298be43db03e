// Names of saved pictures over a real folder: date-and-time and serial names, collisions, the
// serial rescan and the prefix filter.
#include <gtest/gtest.h>
#include <cstdio>
#include "OutputNaming.h"
#include "TestSupport.h"

using testing_support::TempFolder;

namespace {

void Touch(const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fclose(f);
}

const SYSTEMTIME kNow = {2019, 4, 3, 24, 13, 47, 20, 0};  // 2019-04-24 13:47:20

class Naming : public testing::Test {
protected:
    TempFolder folder;
    CaptureSettings settings;
    void SetUp() override {
        settings.saveFolder = folder.Path();
        settings.prefix = L"TX_";
        settings.saveType = Png;
    }
};

TEST_F(Naming, DateAndTimeNamesCountUpOnCollision) {
    int serial = -1;
    const std::wstring first = folder.File(L"TX_[20190424-134720].png");
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), first);
    Touch(first);
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_[20190424-134720]_1.png"));
    Touch(folder.File(L"TX_[20190424-134720]_1.png"));
    // A folder of that name is in the way too.
    ASSERT_TRUE(::CreateDirectoryW(folder.File(L"TX_[20190424-134720]_2.png").c_str(), nullptr));
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_[20190424-134720]_3.png"));
    EXPECT_EQ(serial, -1) << "date-and-time names use no serial";
}

TEST_F(Naming, EveryFormatHasItsExtension) {
    const std::pair<int, const wchar_t*> cases[] = {{Bmp, L".bmp"}, {Jpg, L".jpg"}, {Png, L".png"}, {Gif, L".gif"}};
    settings.postfix = 1;
    for (auto [type, ext] : cases) {
        settings.saveType = type;
        int serial = 7;
        EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(std::wstring(L"TX_7") + ext));
        EXPECT_EQ(serial, 8);
    }
}

TEST_F(Naming, EmptyPrefixAndTrailingBackslashAreUsedAsStored) {
    settings.prefix = L"";
    int serial = 14;
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"[20190424-134720].png"));
    settings.postfix = 1;
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"14.png"));
    settings.saveFolder = folder.Path() + L"\\";
    settings.prefix = L"TX_";
    std::wstring doubled = BuildOutputPath(settings, serial, kNow);
    EXPECT_EQ(doubled, folder.Path() + L"\\\\TX_15.png");
    Touch(doubled);  // the system accepts the doubled backslash
    EXPECT_TRUE(testing_support::FileExists(folder.File(L"TX_15.png")));
}

TEST_F(Naming, SerialNamesSkipExistingFilesAndConsumeTheirNumber) {
    settings.postfix = 1;
    settings.saveType = Bmp;
    int serial = RescanNextSerial(folder.Path(), settings.prefix);
    EXPECT_EQ(serial, 1);
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_1.bmp"));
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_2.bmp"));
    Touch(folder.File(L"TX_3.bmp"));  // made by hand after the rescan
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_4.bmp"));
    EXPECT_EQ(serial, 5);
}

TEST_F(Naming, TheRescanReadsEveryExtensionAndOnlyTheExactPrefix) {
    struct Case {
        std::vector<const wchar_t*> files;
        int next;
    };
    const Case cases[] = {
        {{}, 1},
        {{L"TX_5.png", L"TX_12.jpg"}, 13},
        {{L"TX_12_old.png"}, 13},
        {{L"TX_12.copy.png"}, 13},
        {{L"tx_7.png"}, 1},                 // the wildcard matches, the exact prefix does not
        {{L"TX_.png", L"TX_noext"}, 1},
        {{L"TX_[20190424-134720].png"}, 1},  // date-and-time names never count
        // Numbers too large to count on from are ignored instead of saturating the counter.
        {{L"TX_99999999999999.png"}, 1},
        {{L"TX_99999999999.png", L"TX_41.png"}, 42},
        {{L"TX_999999999.png"}, 1000000000},
    };
    for (const Case& c : cases) {
        TempFolder scan;
        for (const wchar_t* name : c.files) Touch(scan.File(name));
        EXPECT_EQ(RescanNextSerial(scan.Path(), L"TX_"), c.next) << (c.files.empty() ? L"" : c.files[0]);
    }
    TempFolder withFolder;
    ASSERT_TRUE(::CreateDirectoryW(withFolder.File(L"TX_50.png").c_str(), nullptr));
    EXPECT_EQ(RescanNextSerial(withFolder.Path(), L"TX_"), 1) << "folders do not count";

    TempFolder anyName;
    Touch(anyName.File(L"14.png"));
    Touch(anyName.File(L"3abc.jpg"));
    EXPECT_EQ(RescanNextSerial(anyName.Path(), L""), 15) << "an empty prefix counts every file";
}

TEST_F(Naming, SerialNamesNeverGoNegativeOrRepeat) {
    // With TX_99999999999.png in the folder the names used to go on as TX_2147483647,
    // TX_-2147483648, ...: that file is ignored now.
    Touch(folder.File(L"TX_99999999999.png"));
    settings.postfix = 1;
    int serial = RescanNextSerial(folder.Path(), settings.prefix);
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_1.png"));
    // The largest number that counts is used once; after it there are no more serial names,
    // and no name is made up.
    Touch(folder.File(L"TX_999999998.png"));
    serial = RescanNextSerial(folder.Path(), settings.prefix);
    EXPECT_EQ(BuildOutputPath(settings, serial, kNow), folder.File(L"TX_999999999.png"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(BuildOutputPath(settings, serial, kNow), L"");
    int negative = -5;
    EXPECT_EQ(BuildOutputPath(settings, negative, kNow), folder.File(L"TX_0.png"));
}

TEST(PrefixFilter, ReplacesWhatAFileNameCannotHold) {
    struct Case { const wchar_t* typed; const wchar_t* filtered; bool replaced; };
    const Case cases[] = {
        {L"a\\b", L"a_b", true},
        {L"/:*?\"<>", L"_______", true},
        {L"a|b", L"a_b", true},
        {L"tab\there", L"tab_here", true},
        {L"a\x01\x1F b", L"a__ b", true},
        {L"화면_", L"화면_", false},
        {L"", L"", false},
    };
    for (const Case& c : cases) {
        std::wstring prefix = c.typed;
        EXPECT_EQ(FilterPrefix(prefix), c.replaced) << c.typed;
        EXPECT_EQ(prefix, c.filtered);
    }
}

}  // namespace

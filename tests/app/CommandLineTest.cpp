// The command line as a table of cases: tokens, classic getopt rules, the rectangle arithmetic
// and the diagnostics on standard error.
#include <gtest/gtest.h>
#include "CommandLine.h"

namespace {

const OptionRect kUnion{-1280, 0, 1920, 1080};  // a two-monitor union with a negative left

struct Case {
    const wchar_t* commandLine;
    OptionRect rectangle;
    bool capture;
    bool editor;
    const wchar_t* outputPath;
    const char* errors;
    bool rejected = false;  // the run must end without capturing
};

class CommandLineCases : public testing::TestWithParam<Case> {};

TEST_P(CommandLineCases, ParsesAsClassicGetopt) {
    const Case& c = GetParam();
    std::string errors;
    CommandLineOptions options = ParseCommandLine(c.commandLine, kUnion, errors);
    EXPECT_EQ(options.rectangle.left, c.rectangle.left);
    EXPECT_EQ(options.rectangle.top, c.rectangle.top);
    EXPECT_EQ(options.rectangle.right, c.rectangle.right);
    EXPECT_EQ(options.rectangle.bottom, c.rectangle.bottom);
    EXPECT_EQ(options.captureToFile, c.capture);
    EXPECT_EQ(options.openEditor, c.editor);
    EXPECT_EQ(options.outputPath, c.outputPath);
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(options.rejected, c.rejected) << errors;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineCases,
    testing::Values(
        Case{L"", kUnion, false, false, L"", ""},
        Case{L"-c", kUnion, true, false, L"", ""},
        Case{L"-c -x 100 -y 50 -w 300 -h 200", {100, 50, 400, 250}, true, false, L"", ""},
        Case{L"-c -x 0 -y 0 -w 100 -h 100", {1, 1, 101, 101}, true, false, L"", ""},
        // -w uses the left that is current when it is met.
        Case{L"-c -w 100 -x 10", {10, 0, -1180, 1080}, true, false, L"", ""},
        Case{L"-x10 -y20 -w30 -h40", {10, 20, 40, 60}, false, false, L"", ""},
        Case{L"-cd", kUnion, true, true, L"", ""},
        Case{L"-c -f C:\\shots\\a.jpg", kUnion, true, false, L"C:\\shots\\a.jpg", ""},
        Case{L"-cfC:\\a.jpg", kUnion, true, false, L"C:\\a.jpg", ""},
        // An empty token (two spaces) ends option scanning: -f is never seen, and the tokens left
        // over are operands, which the program does not take.
        Case{L"-c  -f out.jpg", kUnion, true, false, L"",
             "unexpected argument ''\n", true},
        Case{L"-c -- -d", kUnion, true, false, L"", "unexpected argument '-d'\n", true},
        Case{L"-c --", kUnion, true, false, L"", ""},
        Case{L"-c --anything -d", kUnion, true, false, L"",
             "unknown option '--anything'\nunexpected argument '-d'\n", true},
        Case{L"- -c", kUnion, true, false, L"", ""},
        Case{L"-c file -d", kUnion, true, false, L"", "unexpected argument 'file'\n", true},
        Case{L"-c ", kUnion, true, false, L"", "unexpected argument ''\n", true},
        // A missing value no longer swallows the next option unnoticed.
        Case{L"-c -x -y 5 -w 10 -h 10 -f out.jpg", kUnion, true, false, L"",
             "option -x needs a number, not '-y'\nunexpected argument '5'\n", true},
        Case{L"-c -x", kUnion, true, false, L"", "option requires an argument -- x\n"},
        Case{L"-q -c", kUnion, true, false, L"", "illegal option -- q\n"},
        Case{L"-c:", kUnion, true, false, L"", "illegal option -- :\n"},
        Case{L"-qz", kUnion, false, false, L"", "illegal option -- q\nillegal option -- z\n"},
        // Numbers read as the C library's atoi: white space, sign, digits, then anything.
        Case{L"-x -5 -y 7px -w +3", {-5, 7, -2, 1080}, false, false, L"", ""},
        Case{L"-x -5 -y 7px -w abc", {-5, 7, 1920, 1080}, false, false, L"",
             "option -w needs a number, not 'abc'\n", true},
        Case{L"-x 99999999999 -w 99999999999", {2147483647, 0, 2147483647, 1080}, false, false, L"", ""}));

TEST(CommandLine, EditorOptionsAreKept) {
    std::string errors;
    CommandLineOptions options = ParseCommandLine(L"-d -e -k 2 -i 5 -s 3", kUnion, errors);
    EXPECT_TRUE(options.openEditor);
    EXPECT_TRUE(options.showPenToolbar);
    EXPECT_EQ(options.toolIndex, 2);
    EXPECT_EQ(options.colorIndex, 5);
    EXPECT_EQ(options.penSizeIndex, 3);

    CommandLineOptions defaults = ParseCommandLine(L"-d", kUnion, errors);
    EXPECT_FALSE(defaults.showPenToolbar);
    EXPECT_EQ(defaults.colorIndex, 1);
    EXPECT_EQ(defaults.toolIndex, 0);
    EXPECT_EQ(defaults.penSizeIndex, 0);
}

TEST(CommandLine, OutputPathLongerThanThePathLimitIsRefused) {
    std::string errors;
    std::wstring fits(kMaxOutputPathLength, L'a');
    CommandLineOptions ok = ParseCommandLine(L"-c -f " + fits, kUnion, errors);
    EXPECT_FALSE(ok.outputPathTooLong);
    EXPECT_EQ(ok.outputPath, fits);

    CommandLineOptions tooLong = ParseCommandLine(L"-c -f " + fits + L"a", kUnion, errors);
    EXPECT_TRUE(tooLong.outputPathTooLong);
    EXPECT_TRUE(tooLong.outputPath.empty());
}

TEST(CommandLine, SplitsAtEverySpace) {
    EXPECT_EQ(SplitCommandLine(L"").size(), 1u);
    EXPECT_EQ(SplitCommandLine(L"a b").size(), 2u);
    std::vector<std::wstring> tokens = SplitCommandLine(L" a  b ");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0], L"");
    EXPECT_EQ(tokens[1], L"a");
    EXPECT_EQ(tokens[2], L"");
    EXPECT_EQ(tokens[3], L"b");
    EXPECT_EQ(tokens[4], L"");
}

}  // namespace

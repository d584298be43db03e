#pragma once
// The command line of the program: tokens split at every space and read with a classic getopt
// over "x:y:w:h:cdei:s:k:f:-". Free of the Windows API so that it also builds natively.
#include <string>
#include <vector>

// Left, top, right, bottom in virtual-screen pixels, as a Windows RECT.
struct OptionRect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

struct CommandLineOptions {
    OptionRect rectangle;          // -x -y -w -h; starts as the union of the monitors
    bool captureToFile = false;    // -c
    bool openEditor = false;       // -d (wins over -c)
    bool showPenToolbar = false;   // -e
    std::wstring outputPath;       // -f
    bool outputPathTooLong = false;  // -f longer than the system's path limit allows
    int penSizeIndex = 0;          // -s
    int toolIndex = 0;             // -k
    int colorIndex = 1;            // -i
    // Arguments the program cannot take: an operand (the program takes none; an empty token from
    // two spaces in a row is one too), an option spelled with "--" other than "--" itself, or a
    // number option whose value has no digits. The run must end without capturing.
    bool rejected = false;
};

// Longest -f value that fits a MAX_PATH buffer with its terminator.
constexpr size_t kMaxOutputPathLength = 259;

// Splits at every U+0020: n spaces give n + 1 tokens, with no quoting and no collapsing.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// Decimal integer as the C library's atoi reads it (white space, sign, digits), saturated to int.
int ParseDecimal(const std::wstring& text);

// Parses the command line (without the program name) over the given defaults. Diagnostics are
// appended to errors (UTF-8, one line each): unknown option letters and a missing last value
// are reported and ignored; what sets `rejected` is reported as well.
CommandLineOptions ParseCommandLine(const std::wstring& commandLine, const OptionRect& defaultRect,
                                    std::string& errors);

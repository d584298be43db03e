#include "CommandLine.h"
#include <climits>
#include "Utf8.h"

namespace {
const wchar_t kOptionString[] = L"x:y:w:h:cdei:s:k:f:-";

// True when a number option's value has digits where the C library's atoi looks for them.
bool HasLeadingDigits(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    return i < text.size() && text[i] >= L'0' && text[i] <= L'9';
}

// The classic getopt state machine over a token list.
class Getopt {
public:
    Getopt(const std::vector<std::wstring>& tokens, std::string& errors)
        : m_tokens(tokens), m_errors(errors) {}

    // The next option letter, '?' for a bad one, or 0 at the end of the options.
    wchar_t Next(std::wstring& value) {
        value.clear();
        if (m_place == nullptr || *m_place == L'\0') {
            if (m_index >= m_tokens.size() || m_tokens[m_index].empty() || m_tokens[m_index][0] != L'-')
                return 0;
            m_place = m_tokens[m_index].c_str();
            if (m_place[1] == L'-') {  // "--" ends the options; "--name" is no option of ours
                if (m_place[2] != L'\0') {
                    m_errors += "unknown option '" + ToUtf8(m_tokens[m_index]) + "'\n";
                    m_rejected = true;
                }
                ++m_index;
                m_place = nullptr;
                return 0;
            }
            if (m_place[1] != L'\0') ++m_place;  // a lone "-" is itself the option '-'
        }
        wchar_t option = *m_place++;
        const wchar_t* entry = option == L':' ? nullptr : wcschr(kOptionString, option);
        if (!entry) {
            if (*m_place == L'\0') ++m_index;
            m_errors += "illegal option -- " + ToUtf8(option) + "\n";
            return L'?';
        }
        if (entry[1] != L':') {
            if (*m_place == L'\0') ++m_index;
            return option;
        }
        if (*m_place != L'\0') {
            value = m_place;
        } else if (++m_index >= m_tokens.size()) {
            m_place = nullptr;
            m_errors += "option requires an argument -- " + ToUtf8(option) + "\n";
            return L'?';
        } else {
            value = m_tokens[m_index];
        }
        m_place = nullptr;
        ++m_index;
        return option;
    }

    // Where scanning stopped: the tokens from here on were not read as options.
    size_t Index() const { return m_index; }
    bool Rejected() const { return m_rejected; }

private:
    static const wchar_t* wcschr(const wchar_t* s, wchar_t c) {
        for (; *s; ++s)
            if (*s == c) return s;
        return nullptr;
    }

    const std::vector<std::wstring>& m_tokens;
    std::string& m_errors;
    size_t m_index = 0;
    const wchar_t* m_place = nullptr;
    bool m_rejected = false;
};
}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> tokens;
    size_t start = 0;
    for (;;) {
        size_t space = commandLine.find(L' ', start);
        if (space == std::wstring::npos) {
            tokens.push_back(commandLine.substr(start));
            return tokens;
        }
        tokens.push_back(commandLine.substr(start, space - start));
        start = space + 1;
    }
}

int ParseDecimal(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

namespace {
bool IsNumberOption(wchar_t option) {
    for (const wchar_t* letter = L"xywhsik"; *letter; ++letter)
        if (*letter == option) return true;
    return false;
}

// A RECT coordinate is 32 bits on Windows; absurd -w/-h values must not overflow it.
long AddClamped(long base, int delta) {
    long long sum = static_cast<long long>(base) + delta;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<long>(sum);
}
}  // namespace

CommandLineOptions ParseCommandLine(const std::wstring& commandLine, const OptionRect& defaultRect,
                                    std::string& errors) {
    CommandLineOptions options;
    options.rectangle = defaultRect;
    // No arguments at all is no operand, though splitting gives one empty token.
    std::vector<std::wstring> tokens;
    if (!commandLine.empty()) tokens = SplitCommandLine(commandLine);
    Getopt getopt(tokens, errors);
    std::wstring value;
    for (wchar_t option; (option = getopt.Next(value)) != 0;) {
        // A value without digits is most often the next option taken as this one's value
        // (-x -y 5): reading it as 0 would capture somewhere the user never asked for.
        if (option != L'?' && IsNumberOption(option) && !HasLeadingDigits(value)) {
            errors += "option -" + ToUtf8(option) + " needs a number, not '" + ToUtf8(value) + "'\n";
            options.rejected = true;
            continue;
        }
        switch (option) {
        case L'x': {
            int n = ParseDecimal(value);
            options.rectangle.left = n == 0 ? 1 : n;
            break;
        }
        case L'y': {
            int n = ParseDecimal(value);
            options.rectangle.top = n == 0 ? 1 : n;
            break;
        }
        case L'w': options.rectangle.right = AddClamped(options.rectangle.left, ParseDecimal(value)); break;
        case L'h': options.rectangle.bottom = AddClamped(options.rectangle.top, ParseDecimal(value)); break;
        case L'c': options.captureToFile = true; break;
        case L'd': options.openEditor = true; break;
        case L'e': options.showPenToolbar = true; break;
        case L'f':
            options.outputPathTooLong = value.size() > kMaxOutputPathLength;
            options.outputPath = options.outputPathTooLong ? std::wstring() : value;
            break;
        case L's': options.penSizeIndex = ParseDecimal(value); break;
        case L'k': options.toolIndex = ParseDecimal(value); break;
        case L'i': options.colorIndex = ParseDecimal(value); break;
        default: break;  // '-' and bad options are ignored
        }
    }
    if (getopt.Rejected()) options.rejected = true;
    // The first operand is named: the rest usually follows from it (an empty token swallows
    // every option after it).
    if (getopt.Index() < tokens.size()) {
        errors += "unexpected argument '" + ToUtf8(tokens[getopt.Index()]) + "'\n";
        options.rejected = true;
    }
    return options;
}

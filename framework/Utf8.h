#pragma once
// Conversion between the program's wide strings (UTF-16 on Windows, UTF-32 where wchar_t is
// wider) and UTF-8 (console output, files that other programs read). Broken sequences become
// U+FFFD. Needs no Windows API, so the portable code uses it too.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace utf8_detail {
constexpr char32_t kReplacement = 0xFFFD;

inline void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

inline void Append(std::wstring& out, char32_t c) {
    if (sizeof(wchar_t) >= 4 || c < 0x10000) {
        out.push_back(static_cast<wchar_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    }
}

inline bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
}  // namespace utf8_detail

inline std::string ToUtf8(std::wstring_view text) {
    using namespace utf8_detail;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            char32_t low = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                Append(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        Append(out, IsSurrogate(c) || c > 0x10FFFF ? kReplacement : c);
    }
    return out;
}

inline std::string ToUtf8(wchar_t c) {
    return ToUtf8(std::wstring_view(&c, 1));
}

inline std::wstring FromUtf8(std::string_view text) {
    using namespace utf8_detail;
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        int extra = 0;
        if (byte < 0x80) extra = 0;
        else if (byte >= 0xC2 && byte <= 0xDF) extra = 1;
        else if (byte >= 0xE0 && byte <= 0xEF) extra = 2;
        else if (byte >= 0xF0 && byte <= 0xF4) extra = 3;
        else {
            Append(out, kReplacement);
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? byte : byte & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= text.size()) { ok = false; break; }
            auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || c < smallest[extra] || IsSurrogate(c) || c > 0x10FFFF) {
            Append(out, kReplacement);
            ++i;
            continue;
        }
        Append(out, c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

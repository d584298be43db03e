// The one UTF-16/UTF-8 conversion agrees with the system's converter on good text and turns
// broken text into U+FFFD instead of dropping or inventing characters.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "Utf8.h"

namespace {

std::string SystemUtf8(const std::wstring& text) {
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                          nullptr);
    return out;
}

TEST(Utf8, AgreesWithTheSystemAndComesBackUnchanged) {
    const std::wstring texts[] = {
        L"",
        L"Tovrix",
        L"이미 실행중입니다.",
        L"C:\\캡쳐\\그림 001.png",
        std::wstring(L"\xD83D\xDCF7 사진"),  // a character outside the basic plane (surrogate pair)
        std::wstring(L"\x00E9\x0800\xFFFC"),  // two- and three-byte boundaries
    };
    for (const std::wstring& text : texts) {
        std::string utf8 = ToUtf8(text);
        EXPECT_EQ(utf8, SystemUtf8(text));
        EXPECT_EQ(FromUtf8(utf8), text);
    }
    EXPECT_EQ(ToUtf8(L'한'), "\xED\x95\x9C");
}

TEST(Utf8, BrokenInputBecomesReplacementCharacters) {
    // Lone surrogate halves cannot be encoded.
    EXPECT_EQ(ToUtf8(std::wstring(L"a\xD800" L"b")), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(ToUtf8(std::wstring(L"\xDC00")), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::wstring(L"x\xD83D")), "x\xEF\xBF\xBD");
    struct Case {
        const char* utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"\xC0\x80", L"\xFFFD\xFFFD"},        // an overlong NUL: no character at all
        {"\xE2\x82", L"\xFFFD\xFFFD"},        // cut short at the end
        {"a\x80z", L"a\xFFFDz"},              // a stray continuation byte
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},  // an encoded surrogate
        {"\xF5\x80\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},  // past U+10FFFF
        {"\xE2\x82" "A", L"\xFFFD\xFFFD" L"A"},   // the next character survives
    };
    for (const Case& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.wide) << c.utf8;
}

}  // namespace

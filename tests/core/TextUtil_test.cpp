#include "engine/core/TextUtil.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(TextUtil, WideConversionRoundTripsUtf8) {
    const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x80\x84"; // é, €, a mahjong tile
    const std::wstring wide = stringToWide(text);
    ASSERT_EQ(wide.size(), 8U);
    EXPECT_EQ(wide[3], L'\u00E9');
    EXPECT_EQ(wide[5], L'\u20AC');
    EXPECT_EQ(static_cast<std::uint32_t>(wide[7]), 0x1F004U);
    EXPECT_EQ(wideToString(wide), text);
}

TEST(TextUtil, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(stringToWide("a\xFF"
                           "b"),
              L"a\uFFFDb");
    EXPECT_EQ(stringToWide("\xC3"), L"\uFFFD");           // cut short
    EXPECT_EQ(stringToWide("\xC0\xAF"), L"\uFFFD\uFFFD"); // overlong
    EXPECT_EQ(wideToString(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

struct GroupCase {
    std::uint32_t value;
    const wchar_t* separator;
    const wchar_t* expected;
};

TEST(TextUtil, GroupDigits) {
    const GroupCase cases[] = {{0, L",", L"0"},
                               {999, L",", L"999"},
                               {1000, L".", L"1.000"},
                               {1234567, L",", L"1,234,567"},
                               {4294967295U, L"'", L"4'294'967'295"},
                               {123456, L", ", L"123, 456"}};
    for (const GroupCase& c : cases) {
        std::wstring out = L"junk";
        EXPECT_EQ(groupDigits(c.value, out, c.separator), c.expected) << c.value;
    }
}

struct TimeCase {
    std::uint32_t ms;
    bool showZeroMinutes;
    bool padMinutes;
    const wchar_t* expected;
};

TEST(TextUtil, FormatTime) {
    const TimeCase cases[] = {
        {65000, false, false, L"1:05"},     {5000, false, false, L"05"},
        {5000, true, false, L"0:05"},       {5000, true, true, L"00:05"},
        {59999, false, false, L"59"},       {60000, false, false, L"1:00"},
        {3725000, false, false, L"1:2:05"}, {3725000, false, true, L"1:02:05"},
        {3600000, false, false, L"1:0:00"}};
    for (const TimeCase& c : cases) {
        EXPECT_EQ(formatTime(c.ms, c.showZeroMinutes, c.padMinutes), c.expected) << c.ms;
    }
}

TEST(TextUtil, SplitString) {
    std::vector<std::wstring> kept;
    splitString(L"a,,b,", kept, L",", true);
    EXPECT_EQ(kept, (std::vector<std::wstring>{L"a", L"", L"b"}));

    std::vector<std::wstring> dropped;
    splitString(L",a,,b,", dropped, L",", false);
    EXPECT_EQ(dropped, (std::vector<std::wstring>{L"a", L"b"}));

    std::vector<std::wstring> appended{L"x"};
    splitString(L"1--2", appended, L"--", false);
    EXPECT_EQ(appended, (std::vector<std::wstring>{L"x", L"1", L"2"}));
}

TEST(TextUtil, Trim) {
    std::wstring text = L"\t  word \t";
    EXPECT_TRUE(trimWhitespace(text, true, false));
    EXPECT_EQ(text, L"word \t");
    EXPECT_TRUE(trimWhitespace(text, true, true));
    EXPECT_EQ(text, L"word");
    EXPECT_FALSE(trimWhitespace(text, true, true));

    std::wstring only = L"xxyx";
    EXPECT_TRUE(trimChars(only, L"xy", true, true));
    EXPECT_EQ(only, L"");
}

TEST(TextUtil, ReplaceAllDoesNotSearchWhatItInserted) {
    std::wstring text = L"50% of 20%";
    EXPECT_TRUE(replaceAll(text, L"%", L"%%", true));
    EXPECT_EQ(text, L"50%% of 20%%");

    std::wstring once = L"a-b-c";
    EXPECT_TRUE(replaceAll(once, L"-", L"+", false));
    EXPECT_EQ(once, L"a+b-c");
    EXPECT_FALSE(replaceAll(once, L"?", L"!", true));
    EXPECT_FALSE(replaceAll(once, L"", L"!", true));
}

TEST(TextUtil, HashString) {
    EXPECT_EQ(hashString(""), 0xDEADBEEFU);
    EXPECT_EQ(hashString("a"), 0xDEADBEEFU + 0x61U);
    EXPECT_EQ(hashString("\x80"), 0xDEADBEEFU - 0x80U); // high bytes count as negative
    // 16 bytes: step 2, so only the even positions count.
    EXPECT_EQ(hashString("aXaXaXaXaXaXaXaX"), hashString("aYaYaYaYaYaYaYaY"));
    EXPECT_NE(hashString("abcdefghijklmno"), hashString("abcdefghijklmnp"));
}

} // namespace
} // namespace orv

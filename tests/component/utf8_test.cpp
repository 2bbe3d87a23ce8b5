#include "component/utf8.h"

#include <gtest/gtest.h>

#include "component/wstr.h"

TEST(Utf8, SequencesAndTheirCodePoints) {
    char32_t cp = 0;
    EXPECT_EQ(Utf8SequenceAt("A", 0, &cp), 1u);
    EXPECT_EQ(cp, U'A');
    EXPECT_EQ(Utf8SequenceAt("\xC3\xA9", 0, &cp), 2u);
    EXPECT_EQ(cp, U'\u00E9');
    EXPECT_EQ(Utf8SequenceAt("x\xE5\xAD\x97", 1, &cp), 3u);
    EXPECT_EQ(cp, U'\u5B57');
    EXPECT_EQ(Utf8SequenceAt("\xF0\x9F\x92\xA9", 0, &cp), 4u);
    EXPECT_EQ(cp, U'\U0001F4A9');
    EXPECT_EQ(Utf8SequenceAt("\xF4\x8F\xBF\xBF", 0), 4u);  // U+10FFFF
}

TEST(Utf8, MalformedBytesFormNoSequence) {
    for (std::string_view bad : {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80" /* surrogate */,
                                 "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",
                                 "\xC3", "\xE5\xAD", "\xC3\x41"})
        EXPECT_EQ(Utf8SequenceAt(bad, 0), 0u) << testing::PrintToString(std::string(bad));
}

TEST(Utf8, WidenReplacesEachStrayByteAndKeepsPairs) {
    EXPECT_EQ(Widen("a\xFF" "b\xE5\xAD"), std::wstring(L"a\uFFFDb\uFFFD\uFFFD"));
    EXPECT_EQ(Widen("\xF0\x9F\x92\xA9"), std::wstring(L"\xD83D\xDCA9"));
    EXPECT_EQ(Narrow(Widen("\xE5\xAD\x97\xF0\x9F\x92\xA9")), "\xE5\xAD\x97\xF0\x9F\x92\xA9");
}

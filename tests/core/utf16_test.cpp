#include "core/utf16.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using srt::ByteOrder;

namespace {

// UTF-16 bytes of units in the given order.
std::string Units(std::u16string_view units, ByteOrder order) {
    std::string s;
    for (char16_t u : units) {
        char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        s += order == ByteOrder::LittleEndian ? std::string{lo, hi} : std::string{hi, lo};
    }
    return s;
}

TEST(Utf16, TheMarkNamesTheByteOrder) {
    EXPECT_EQ(srt::FindUtf16Mark("\xFF\xFE"), ByteOrder::LittleEndian);
    EXPECT_EQ(srt::FindUtf16Mark("\xFE\xFF" "a"), ByteOrder::BigEndian);
    EXPECT_FALSE(srt::FindUtf16Mark("\xFF"));
    EXPECT_FALSE(srt::FindUtf16Mark("\xEF\xBB\xBF" "1"));
    EXPECT_FALSE(srt::FindUtf16Mark("1\xFF\xFE"));
    EXPECT_FALSE(srt::DecodeUtf16File("00:00:01,000 --> 00:00:02,000"));
}

TEST(Utf16, CharactersDecodeToUtf8InBothOrders) {
    const std::u16string text = u"1\n00:00:01,000 --> 00:00:02,000\r\n字幕 é \U0001F4A9\n";
    const std::string utf8 = "1\n00:00:01,000 --> 00:00:02,000\r\n字幕 é \xF0\x9F\x92\xA9\n";
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        EXPECT_EQ(srt::Utf16ToUtf8(Units(text, order), order), utf8);
        EXPECT_EQ(srt::Utf8ToUtf16(utf8, order), Units(text, order));
    }
    EXPECT_EQ(Units(u"\u5B57", ByteOrder::LittleEndian), "\x57\x5B");
}

TEST(Utf16, UnpairedSurrogatesAndAnOddByteComeBackAsTheyWere) {
    const std::u16string cases[] = {
        u"a\xD800",          // high surrogate at the end
        u"\xD83D" "b",       // high surrogate before a plain unit
        u"\xDCA9" "c",       // low surrogate alone
        u"\xD800\xD800\xDC00", u"\xDC00\xD800", u"\xDBFF\xDFFF\xDFFF",
    };
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        for (const auto& units : cases) {
            std::string bytes = Units(units, order);
            std::string text = srt::Utf16ToUtf8(bytes, order);
            EXPECT_EQ(srt::Utf8ToUtf16(text, order), bytes);
            for (const std::string& tail : {std::string(), std::string("\n"), std::string(1, '\0'), std::string("\xD8")}) {
                std::string file = (order == ByteOrder::LittleEndian ? "\xFF\xFE" : "\xFE\xFF") + bytes + tail;
                auto decoded = srt::DecodeUtf16File(file);
                ASSERT_TRUE(decoded);
                EXPECT_EQ(decoded->order, order);
                EXPECT_EQ(decoded->tail, tail);
                EXPECT_EQ(decoded->text, text);
                EXPECT_EQ(srt::EncodeUtf16File(decoded->order, decoded->text, decoded->tail), file);
            }
        }
    }
    // An unpaired unit never reads as a line break or as "-->".
    EXPECT_EQ(srt::Utf16ToUtf8(Units(u"\xD800\n", ByteOrder::BigEndian), ByteOrder::BigEndian), "\xED\xA0\x80\n");
}

TEST(Utf16, RandomFilesComeBackByteForByte) {
    std::mt19937 rng(12);
    // Units drawn near the surrogate ranges and the ASCII line bytes.
    const char16_t bases[] = {0x000A, 0x000D, 0x0041, 0x00E9, 0x5B57, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFF};
    for (int round = 0; round < 2000; ++round) {
        std::u16string units;
        int n = rng() % 40;
        for (int i = 0; i < n; ++i) units += static_cast<char16_t>(bases[rng() % 10] + (rng() % 3) - 1);
        ByteOrder order = rng() % 2 ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
        std::string file = (order == ByteOrder::LittleEndian ? "\xFF\xFE" : "\xFE\xFF") + Units(units, order);
        if (rng() % 2) file += static_cast<char>(rng());
        auto decoded = srt::DecodeUtf16File(file);
        ASSERT_TRUE(decoded);
        ASSERT_EQ(srt::EncodeUtf16File(decoded->order, decoded->text, decoded->tail), file) << round;
    }
}

TEST(Utf16, BytesThatAreNoCharacterBecomeReplacements) {
    // A stray continuation, an overlong form, a cut sequence, bytes past U+10FFFF.
    EXPECT_EQ(srt::Utf8ToUtf16("\x80" "a", ByteOrder::BigEndian), Units(u"\xFFFD" "a", ByteOrder::BigEndian));
    EXPECT_EQ(srt::Utf8ToUtf16("\xC0\xAF", ByteOrder::LittleEndian), Units(u"\xFFFD\xFFFD", ByteOrder::LittleEndian));
    EXPECT_EQ(srt::Utf8ToUtf16("\xE5\xAD", ByteOrder::LittleEndian), Units(u"\xFFFD\xFFFD", ByteOrder::LittleEndian));
    EXPECT_EQ(srt::Utf8ToUtf16("\xF4\x90\x80\x80", ByteOrder::LittleEndian).size(), 8u);
    EXPECT_EQ(srt::EncodeUtf16File(ByteOrder::BigEndian, ""), "\xFE\xFF");
}

}  // namespace

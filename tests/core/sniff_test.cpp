#include "core/sniff.h"

#include <gtest/gtest.h>

#include <string>

using srt::ByteOrder;

namespace {

std::string Units(std::u16string_view units, ByteOrder order) {
    std::string s;
    for (char16_t u : units) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        s += order == ByteOrder::LittleEndian ? std::string{lo, hi} : std::string{hi, lo};
    }
    return s;
}

constexpr std::u16string_view kCue = u"1\r\n00:00:01,000 --> 00:00:02,000\r\n字幕\r\n";

TEST(Sniff, UnmarkedUtf16IsToldByItsTimeLineInEitherOrder) {
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        const std::string bytes = Units(kCue, order);
        EXPECT_EQ(srt::FindUnmarkedUtf16(bytes), order);
        EXPECT_TRUE(srt::HoldsSubtitleTiming(bytes));
        // With a mark it is not "unmarked", but still subtitle timing.
        const std::string marked = Units(u"\uFEFF", order) + bytes;
        EXPECT_FALSE(srt::FindUnmarkedUtf16(marked));
        EXPECT_TRUE(srt::HoldsSubtitleTiming(marked));
    }
}

TEST(Sniff, EightBitTextAndBinaryAreNotUtf16) {
    EXPECT_FALSE(srt::FindUnmarkedUtf16("1\r\n00:00:01,000 --> 00:00:02,000\r\n"));
    // An 8-bit arrow first decides for 8-bit text.
    EXPECT_FALSE(srt::FindUnmarkedUtf16(
        std::string("a --> b\n").append(Units(u"00:00:01,000 --> 00:00:02,000", ByteOrder::LittleEndian))));
    // A lone arrow in units, with nothing or binary before it on its line.
    EXPECT_FALSE(srt::FindUnmarkedUtf16(Units(u"-->", ByteOrder::LittleEndian)));
    EXPECT_FALSE(srt::FindUnmarkedUtf16(std::string("\x01\x9F").append(Units(u"-->", ByteOrder::LittleEndian))));
    // Odd offset: not the units of a little-endian file.
    EXPECT_FALSE(srt::FindUnmarkedUtf16(std::string("\x01").append(Units(u"a-->", ByteOrder::LittleEndian))) ==
                 ByteOrder::LittleEndian);
    EXPECT_FALSE(srt::FindUnmarkedUtf16(""));
    EXPECT_FALSE(srt::FindUnmarkedUtf16(std::string(5000, '-')));
}

TEST(Sniff, TimingNeedsAnArrowSomewhere) {
    EXPECT_TRUE(srt::HoldsTimeLine("x\n-->"));
    EXPECT_FALSE(srt::HoldsTimeLine("1\r\n00:00:01,000 -- 00:00:02,000\r\n"));
    EXPECT_FALSE(srt::HoldsTimeLine(""));
    EXPECT_FALSE(srt::HoldsSubtitleTiming(std::string("\x1A\x45\xDF\xA3\0\0\0\0", 8)));
    EXPECT_TRUE(srt::HoldsSubtitleTiming("\xEF\xBB\xBF" "00:00:01,000 --> 00:00:02,000"));
    // A marked UTF-16 file whose arrow is split across units holds none.
    EXPECT_FALSE(srt::HoldsSubtitleTiming(std::string("\xFF\xFE").append(Units(u"--", ByteOrder::LittleEndian)).append(">")));
    EXPECT_FALSE(srt::HoldsSubtitleTiming("\xFF\xFE" "-\0-\0>"));
}

}  // namespace

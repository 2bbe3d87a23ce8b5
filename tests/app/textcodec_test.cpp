#include "textcodec.h"

#include <gtest/gtest.h>

using srt::DecodeText;
using srt::EncodeText;
using srt::TextEncoding;

namespace {
std::string AllBytes() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}
}  // namespace

TEST(TextCodec, DetectsUtf8OnlyWhenValidAndNotAscii) {
    EXPECT_EQ(srt::DetectEncoding("plain ascii"), TextEncoding::Ansi);
    EXPECT_EQ(srt::DetectEncoding("\xEF\xBB\xBF" "abc"), TextEncoding::Utf8);
    EXPECT_EQ(srt::DetectEncoding("字幕"), TextEncoding::Utf8);
    EXPECT_EQ(srt::DetectEncoding("\xD7\xD6\xC4\xBB"), TextEncoding::Ansi);  // GBK
    EXPECT_EQ(srt::DetectEncoding("\xED\xA0\x80"), TextEncoding::Ansi);      // encoded surrogate
    EXPECT_EQ(srt::DetectEncoding("\xC0\xAF"), TextEncoding::Ansi);          // overlong
}

TEST(TextCodec, Utf8DecodesToTheCharacters) {
    EXPECT_EQ(DecodeText("字幕 \xF0\x9F\x98\x80", TextEncoding::Utf8), L"字幕 \U0001F600");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFx", TextEncoding::Utf8), L"\xFEFFx");
}

TEST(TextCodec, GbkDecodesToTheCharacters) {
    EXPECT_EQ(DecodeText("\xD7\xD6\xC4\xBB", TextEncoding::Ansi, 936), L"字幕");
}

TEST(TextCodec, EveryByteComesBackInEveryCodePage) {
    std::string bytes = AllBytes() + "\x81" + "\xD7" + "ab\xFF\xFE\x80\xD7\xD6\xC4";
    for (UINT cp : {936u, 1252u, 1251u, 932u, 437u}) {
        std::wstring text = DecodeText(bytes, TextEncoding::Ansi, cp);
        EXPECT_EQ(EncodeText(text, TextEncoding::Ansi, cp), bytes) << cp;
    }
    std::wstring text = DecodeText(bytes, TextEncoding::Utf8);
    EXPECT_EQ(EncodeText(text, TextEncoding::Utf8), bytes);
}

TEST(TextCodec, TypedTextTheCodePageLacksIsReported) {
    bool lossy = false;
    EXPECT_EQ(EncodeText(L"字幕", TextEncoding::Ansi, 936, &lossy), "\xD7\xD6\xC4\xBB");
    EXPECT_FALSE(lossy);
    EncodeText(L"字幕", TextEncoding::Ansi, 1252, &lossy);
    EXPECT_TRUE(lossy);
}

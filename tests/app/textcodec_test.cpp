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

TEST(TextCodec, NulBytesSurviveAndNeverReachTheMemo) {
    const std::string bytes("a\0b\r\n\0\xD7\xD6\0", 9);
    for (TextEncoding e : {TextEncoding::Ansi, TextEncoding::Utf8}) {
        std::wstring text = DecodeText(bytes, e, 936);
        EXPECT_EQ(text.find(L'\0'), std::wstring::npos);
        EXPECT_EQ(EncodeText(text, e, 936), bytes);
    }
}

TEST(TextCodec, PairsWhoseLowHalfLooksLikeAnEscapeStayCharacters) {
    // U+1F4A9 is D83D DCA9: its low half lies in the escape range.
    const std::string utf8 = "\xF0\x9F\x92\xA9 \xF0\x90\x82\x80";
    std::wstring text = DecodeText(utf8, TextEncoding::Utf8);
    EXPECT_EQ(text, L"\U0001F4A9 \U00010080");
    EXPECT_EQ(EncodeText(text, TextEncoding::Utf8), utf8);
    bool lossy = false;
    // Not representable in GBK: replaced, never written as a raw byte.
    EXPECT_EQ(EncodeText(L"x\U0001F4A9", TextEncoding::Ansi, 936, &lossy).find('\xA9'), std::string::npos);
    EXPECT_TRUE(lossy);
    // An escape after an escape, or first, is still a byte.
    EXPECT_EQ(EncodeText(std::wstring{0xDCA9, 0xDCA9, L'a', 0xDC00}, TextEncoding::Utf8), std::string("\xA9\xA9" "a\0", 4));
}

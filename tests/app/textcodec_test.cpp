#include "textcodec.h"

#include <gtest/gtest.h>

#include <optional>

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
    // The mark names UTF-8 even when some bytes are not: those are escaped.
    EXPECT_EQ(srt::DetectEncoding("\xEF\xBB\xBF\xD7\xD6"), TextEncoding::Utf8);
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

TEST(TextCodec, AnUnpairedSurrogateIsNoUtf8Character) {
    bool lossy = false;
    EncodeText(std::wstring{L'a', static_cast<wchar_t>(0xD800), L'b'}, TextEncoding::Utf8, CP_ACP, &lossy);
    EXPECT_TRUE(lossy);
    EXPECT_EQ(EncodeText(L"a\U0001F4A9", TextEncoding::Utf8, CP_ACP, &lossy), "a\xF0\x9F\x92\xA9");
    EXPECT_FALSE(lossy);
}

// The document model over the platform's code pages: GB2312 and UTF-8 files
// both show their characters under 936 and keep their bytes under any.
TEST(TextCodec, MixedDocumentsUnderTwoCodePages) {
    const std::string gbk = "00:00:01,000 --> 00:00:02,000\n\xD7\xD6\xC4\xBB\n";
    const std::string utf8 = "\xE5\xAD\x97\xE5\xB9\x95\n", invalid = "\x81\xFF\n";
    for (UINT cp : {936u, 1252u}) {
        srt::WindowsTextCodec codec(cp);
        srt::Document doc(codec);
        ASSERT_FALSE(doc.Append(gbk));
        ASSERT_FALSE(doc.Append(utf8));
        ASSERT_FALSE(doc.Append(invalid));
        if (cp == 936) {
            EXPECT_EQ(doc.Text(), L"00:00:01,000 --> 00:00:02,000\r\n字幕\r\n字幕\r\n\xDC81\xDCFF\r\n");
        }
        ASSERT_FALSE(doc.Shift(1000));
        doc.Update(doc.Text() + L"字");
        std::string bytes;
        std::optional<std::string> refused = doc.Save(bytes);
        if (cp == 936) {
            ASSERT_FALSE(refused) << *refused;
            EXPECT_EQ(bytes, "00:00:02,000 --> 00:00:03,000\r\n\xD7\xD6\xC4\xBB\r\n\xE5\xAD\x97\xE5\xB9\x95\r\n\x81\xFF\r\n"
                             "\xD7\xD6\r\n");
        } else {
            EXPECT_EQ(refused, "Line 5 holds characters that code page 1252 cannot hold; nothing was saved");
        }
    }
}

// A file is decoded in one piece: a lead byte that ends a line must not take
// the line break, or the next line's bytes, as its second half.
TEST(TextCodec, ALeadByteAtALineEndStaysOnItsLine) {
    srt::WindowsTextCodec codec(936);
    srt::Document doc(codec);
    ASSERT_FALSE(doc.Append("a\xC4\r\n\xC4\xE3\n\xD7\n\xC4\xBB\x1A\xC4"));
    EXPECT_EQ(doc.Text(), L"a\xDCC4\r\n\x4F60\r\n\xDCD7\r\n\x5E55\r\n");
    std::string bytes;
    ASSERT_FALSE(doc.Save(bytes));
    EXPECT_EQ(bytes, "a\xC4\r\n\xC4\xE3\r\n\xD7\r\n\xC4\xBB\r\n");
}

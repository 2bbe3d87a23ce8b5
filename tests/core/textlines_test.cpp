#include "core/textlines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace srt {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitTextLines, LineEnds) {
    EXPECT_EQ(SplitTextLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitTextLines("a\n\n\nb"), (Lines{"a", "", "", "b"}));
}

TEST(SplitTextLines, FinalLineBreakAddsNoLine) {
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("\n"), Lines{""});
    EXPECT_EQ(SplitTextLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitTextLines("last"), Lines{"last"});
    EXPECT_EQ(SplitTextLines("a\n\n"), (Lines{"a", ""}));
}

TEST(SplitTextLines, LoneCarriageReturnsAreDropped) {
    EXPECT_EQ(SplitTextLines("a\rb\r\nc"), (Lines{"ab", "c"}));
    EXPECT_EQ(SplitTextLines("a\r\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("one\rtwo\rthree\r"), Lines{"onetwothree"});
    EXPECT_EQ(SplitTextLines("a\n\r"), (Lines{"a", ""}));
}

TEST(SplitTextLines, CtrlZEndsTheFile) {
    EXPECT_EQ(SplitTextLines("a\r\nb\x1a" "c\r\nd\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\n\x1a"), Lines{"a"});
    EXPECT_EQ(SplitTextLines("\x1a" "a"), Lines{});
}

TEST(SplitTextLines, BytesAreBytes) {
    const std::string nul("x\0y", 3);
    EXPECT_EQ(SplitTextLines(nul + "\n\xef\xbb\xbf\xff\x80"), (Lines{nul, "\xef\xbb\xbf\xff\x80"}));
}

TEST(TextLineReader, ViewsStayValidUntilTheNextLine) {
    TextLineReader reader("plain\nwith\rcr\nend");
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "plain");
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "withcr");
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "end");
    EXPECT_FALSE(reader.Next(line));
    EXPECT_FALSE(reader.Next(line));
}

TEST(JoinLinesCRLF, EveryLineEndsWithCRLF) {
    EXPECT_EQ(JoinLinesCRLF({}), "");
    EXPECT_EQ(JoinLinesCRLF({""}), "\r\n");
    EXPECT_EQ(JoinLinesCRLF({"a", "", "b"}), "a\r\n\r\nb\r\n");
    const Lines lines{"1", "00:00:01,000 --> 00:00:02,000", "text", ""};
    EXPECT_EQ(SplitTextLines(JoinLinesCRLF(lines)), lines);
}

// The file rules written plainly, to hold the vector scan against.
Lines ReferenceLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1a'));
    Lines lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (bytes[i] != '\r') {
            line += bytes[i];
        }
    }
    if (!bytes.empty() && bytes.back() != '\n') lines.push_back(line);
    return lines;
}

TEST(SplitTextLines, AgreesWithThePlainRulesAcrossVectorBlocks) {
    // Line ends, CRs and byte 26 land on every position of the sixteen-byte
    // blocks, next to each other and at the very end.
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\r', '\n', '>', '-', '\x1a', '\0', '\xff'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 80, ' ');
        const std::size_t kinds = round % 10 == 0 ? 8 : 5;  // byte 26 now and then
        for (char& c : bytes) c = alphabet[random() % kinds];
        ASSERT_EQ(SplitTextLines(bytes), ReferenceLines(bytes)) << testing::PrintToString(bytes);
    }
}

}  // namespace
}  // namespace srt

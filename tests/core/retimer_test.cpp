// The streaming re-timer against an independent line-at-a-time reading,
// whatever the sizes of the pieces the text arrives in.
#include "core/retimer.h"

#include "core/textlines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace srt {
namespace {

struct Result {
    std::string out;
    std::string error;  // "line N: MESSAGE"
    bool operator==(const Result&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Result& r) {
    return os << ::testing::PrintToString(r.out) << " / " << r.error;
}

Result Streamed(std::string_view bytes, const TimeMap& map, const TimeRange& range, std::size_t piece) {
    Result r;
    StreamRetimer retimer(map, range, [&](std::string_view b) { r.out += b; });
    try {
        while (!bytes.empty()) {
            const std::size_t n = std::min(piece, bytes.size());
            retimer.Feed(bytes.substr(0, n));
            bytes.remove_prefix(n);
        }
        retimer.Finish();
    } catch (const LineError& e) {
        return {"", "line " + std::to_string(e.line()) + ": " + e.what()};
    }
    return r;
}

// An independent reading: the text cut into lines, each with its own end
// (CR LF, LF or a lone CR), and each time line's first 29 columns replaced
// by the rule's result.
Result LineByLine(std::string_view bytes, const TimeMap& map, const TimeRange& range) {
    Result r;
    if (bytes.starts_with(kUtf8Bom)) {
        r.out += kUtf8Bom;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::uint64_t timeLines = 0, number = 0;
    while (!bytes.empty()) {
        std::size_t size = 0;
        while (size < bytes.size() && bytes[size] != '\r' && bytes[size] != '\n') ++size;
        std::size_t endSize = size < bytes.size() ? 1 : 0;
        if (bytes.substr(size, 2) == "\r\n") endSize = 2;
        const std::string line(bytes.substr(0, size));
        const std::string_view end = bytes.substr(size, endSize);
        bytes.remove_prefix(size + endSize);
        ++number;
        try {
            if (line.find("-->") != std::string::npos) {
                ++timeLines;
                bool selected = range.IndexSelected(timeLines);
                if (range.HasTimeBound()) selected = range.StartSelected(ReadTimeLineStart(line)) && selected;
                if (selected) {
                    AppendRetimedLine(r.out, line, map);
                    r.out += line.substr(std::min<std::size_t>(line.size(), 29));
                    r.out += end;
                    continue;
                }
            }
        } catch (const EConvertError& e) {
            return {"", "line " + std::to_string(number) + ": " + e.what()};
        }
        r.out += line;
        r.out += end;
    }
    return r;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(StreamRetimer, CorpusFilesInPiecesOfAnySize) {
    const std::filesystem::path root = std::filesystem::path(SRT_CORPUS_DIR) / "srt";
    if (!std::filesystem::is_directory(root)) {
        if (const char* ci = std::getenv("CI"); ci && std::string_view(ci) == "true") FAIL() << "no corpus at " << root;
        GTEST_SKIP() << "no corpus";
    }
    const TimeMap maps[] = {TimeMap::Offset(1500), TimeMap::Offset(-3000), TimeMap::Scale(25, 24),
                            TimeMap::Sync(1000, 2000, 60000, 59000)};
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "MANIFEST.txt") continue;
        ++files;
        const std::string bytes = ReadFile(entry.path());
        for (const TimeMap& map : maps) {
            const Result expected = LineByLine(bytes, map, {});
            for (std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(4096), bytes.size() + 1})
                ASSERT_EQ(Streamed(bytes, map, {}, piece), expected) << entry.path() << " in pieces of " << piece;
        }
    }
    EXPECT_GT(files, 30);
}

TEST(StreamRetimer, RandomTextWithEveryKindOfLineEnd) {
    std::mt19937 random(2026);
    const char* pieces[] = {"\r", "\n", "\r\n", "-", ">", "-->", "--\r>", "0", ":", ",", "x", " ", "\x1a",
                            "00:00:01,000 --> 00:00:02,000", "12:34:56,789 --> 12:34:57,000 X1:1",
                            "00:00:01.000 --> 00:00:02.00", "\xEF\xBB\xBF", "\xE4\xBD\xA0"};
    const TimeRange ranges[] = {{}, {std::nullopt, std::nullopt, 2, 3}};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = int(random() % 40);
        for (int k = 0; k < count; ++k) {
            const std::size_t pick = random() % std::size(pieces);
            if (pick == 12 && random() % 4) continue;  // byte 26 only now and then
            text += pieces[pick];
            if (random() % 3 == 0) text += "\r\n";
        }
        const TimeRange& range = ranges[round % 2];
        const Result expected = LineByLine(text, TimeMap::Offset(250), range);
        for (std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(5), std::size_t(64)})
            ASSERT_EQ(Streamed(text, TimeMap::Offset(250), range, piece), expected)
                << ::testing::PrintToString(text) << " in pieces of " << piece;
    }
}

TEST(StreamRetimer, LongLinesGrowTheBuffer) {
    std::string line(3u << 20, 'x');
    const std::string text = "00:00:01,000 --> 00:00:02,000\n" + line + "\n" + line + "-->";
    Result r = Streamed(text, TimeMap::Offset(1), {}, 1u << 16);
    EXPECT_EQ(r.error, "line 3: 'xxx' is not a valid integer value");
    r = Streamed(text.substr(0, text.size() - 3), TimeMap::Offset(1), {}, 1u << 16);
    EXPECT_EQ(r.out, "00:00:01,001 --> 00:00:02,001\n" + line + "\n" + line);
}

TEST(StreamRetimer, EveryByteButTheTimeFieldsStays) {
    // Each line keeps its own end; what follows column 29 stays; byte 26 and
    // NUL are ordinary bytes; the last line keeps having no end.
    using namespace std::string_literals;
    const std::string text = "1\r\n00:00:01,000 --> 00:00:02,000 X1:40 X2:600\rA\x1a\0B\n\r\n"s +
                             "00:00:03,000 --> 00:00:04,000  \r\n" + "00:00:05.000 --> 00:00:06,00";
    const std::string expected = "1\r\n00:00:01,100 --> 00:00:02,100 X1:40 X2:600\rA\x1a\0B\n\r\n"s +
                                 "00:00:03,100 --> 00:00:04,100  \r\n" + "00:00:05,100 --> 00:00:06,100";
    for (std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(100)})
        EXPECT_EQ(Streamed(text, TimeMap::Offset(100), {}, piece), (Result{expected, ""}));
    // Line numbers count every kind of line end.
    EXPECT_EQ(Streamed("a\rb\r\nc\n\r-->", TimeMap::Offset(1), {}, 2).error,
              "line 5: '' is not a valid integer value");
}

TEST(StreamRetimer, LineNumbersAcrossManyBuffers) {
    // Mixed line ends over several megabytes, the bad line last: its number
    // counts every end, CR LF pairs split between buffers included.
    std::mt19937 random(7);
    const char* ends[] = {"\r\n", "\n", "\r"};
    std::string text;
    std::uint64_t lines = 0;
    while (text.size() < (5u << 20)) {
        text += std::string(1 + random() % 40, 'a');
        text += ends[random() % 3];
        ++lines;
    }
    text += "99:00:00,000 --> 00:00:01,000";
    for (std::size_t piece : {std::size_t(4093), std::size_t(1) << 20})
        EXPECT_EQ(Streamed(text, TimeMap::Offset(1), {}, piece).error,
                  "line " + std::to_string(lines + 1) + ": '99:00:00' is not a valid time");
}

const std::string kThreeCues =
    "1\n00:00:01,000 --> 00:00:02,000\nA\n\n"
    "2\n00:00:03,000 --> 00:00:04,000\nB\n\n"
    "3\n00:00:05,000 --> 00:00:06,000\nC\n";

TEST(StreamRetimer, RangesSelectByNumberOrStart) {
    TimeRange second;
    second.fromIndex = 2;
    second.toIndex = 2;
    EXPECT_EQ(Streamed(kThreeCues, TimeMap::Offset(100), second, 5).out,
              "1\n00:00:01,000 --> 00:00:02,000\nA\n\n"
              "2\n00:00:03,100 --> 00:00:04,100\nB\n\n"
              "3\n00:00:05,000 --> 00:00:06,000\nC\n");
    TimeRange fromThree;
    fromThree.from = 3000;  // inclusive
    EXPECT_EQ(Streamed(kThreeCues, TimeMap::Offset(-100), fromThree, 5).out,
              "1\n00:00:01,000 --> 00:00:02,000\nA\n\n"
              "2\n00:00:02,900 --> 00:00:03,900\nB\n\n"
              "3\n00:00:04,900 --> 00:00:05,900\nC\n");
    TimeRange upToThree;
    upToThree.to = 3000;  // inclusive
    upToThree.fromIndex = 2;
    EXPECT_EQ(Streamed(kThreeCues, TimeMap::Offset(-100), upToThree, 5).out,
              "1\n00:00:01,000 --> 00:00:02,000\nA\n\n"
              "2\n00:00:02,900 --> 00:00:03,900\nB\n\n"
              "3\n00:00:05,000 --> 00:00:06,000\nC\n");
}

TEST(StreamRetimer, UnselectedLinesAreReadOnlyForTimeBounds) {
    const std::string text = "xx:00:00,000 --> 00:00:01,000\n00:00:05,000 --> 00:00:06,000\n";
    TimeRange byNumber;
    byNumber.fromIndex = 2;
    EXPECT_EQ(Streamed(text, TimeMap::Offset(1000), byNumber, 3).out,
              "xx:00:00,000 --> 00:00:01,000\n00:00:06,000 --> 00:00:07,000\n");
    TimeRange byTime;
    byTime.from = 4000;
    EXPECT_EQ(Streamed(text, TimeMap::Offset(1000), byTime, 3).error, "line 1: 'xx:00:00' is not a valid time");
    // An end that does not read is no concern of an unselected line.
    const std::string badEnd = "00:00:01,000 --> 00:00:0x,000\n00:00:05,000 --> 00:00:06,000\n";
    EXPECT_EQ(Streamed(badEnd, TimeMap::Offset(1000), byTime, 3).out,
              "00:00:01,000 --> 00:00:0x,000\n00:00:06,000 --> 00:00:07,000\n");
}

TEST(StreamRetimer, CollectsTheSelectedCues) {
    std::vector<CueTimes> cues;
    TimeRange range;
    range.fromIndex = 2;
    StreamRetimer reader(range, cues);
    reader.Feed(kThreeCues);
    reader.Finish();
    ASSERT_EQ(cues.size(), 2u);
    EXPECT_EQ(cues[0].start, 3000);
    EXPECT_EQ(cues[1].end, 6000);
    EXPECT_EQ(reader.timeLines(), 3u);
    EXPECT_EQ(reader.selected(), 2u);
}

}  // namespace
}  // namespace srt

// Every subtitle file of the shared corpus through srt-retime: it either
// re-times the file or fails cleanly on one line, never anything between.
#include "run_program.h"

#include "core/textlines.h"
#include "core/timeshift.h"
#include "core/utf16.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    const fs::path root = fs::path(SRT_CORPUS_DIR) / "srt";
    if (!fs::is_directory(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != "MANIFEST.txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Corpus, EveryFileRetimesOrFailsOnOneLine) {
    const auto files = CorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus in " << SRT_CORPUS_DIR;
    const std::regex failure(R"(line ([0-9]+): '[^\n]*' (is not a valid (integer value|time)|shifted by \+1500 ms is outside 00:00:00,000 to 23:59:59,999)\n)");
    int retimed = 0, refused = 0, utf16Files = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        const std::string input = ReadFile(path);
        const auto utf16 = srt::DecodeUtf16File(input);
        utf16Files += utf16.has_value();
        // A UTF-8 mark stands in front of the first line and comes back there.
        std::string_view body = utf16 ? std::string_view(utf16->text) : std::string_view(input);
        const bool bom = !utf16 && body.starts_with(srt::kUtf8Bom);
        if (bom) body.remove_prefix(srt::kUtf8Bom.size());
        const auto lines = srt::SplitTextLines(body);
        auto r = srt::test::RunProgram(SRT_RETIME, {"--offset", "+1500", path.string()});
        ASSERT_EQ(r.signal, 0);
        if (r.status == 1) {
            ++refused;
            EXPECT_EQ(r.out, "");
            std::smatch m;
            ASSERT_TRUE(std::regex_match(r.err, m, failure)) << r.err;
            const std::size_t number = std::stoul(m[1]);
            ASSERT_TRUE(number >= 1 && number <= lines.size());
            EXPECT_NE(lines[number - 1].find("-->"), std::string::npos) << r.err;
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err;
        ++retimed;
        EXPECT_EQ(r.err, "");
        std::string text = r.out;
        if (bom) {
            ASSERT_TRUE(text.starts_with(srt::kUtf8Bom));
            text.erase(0, srt::kUtf8Bom.size());
        }
        if (utf16) {
            const auto back = srt::DecodeUtf16File(r.out);
            ASSERT_TRUE(back) << "the byte-order mark is kept";
            EXPECT_EQ(back->order, utf16->order);
            EXPECT_EQ(back->tail, utf16->tail);
            text = back->text;
        }
        const auto out = srt::SplitTextLines(text);
        ASSERT_EQ(out.size(), lines.size());
        EXPECT_EQ(text, srt::JoinLinesCRLF(out)) << "every line ends with CR LF";
        int timeLines = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find("-->") == std::string::npos) {
                EXPECT_EQ(out[i], lines[i]) << "line " << i + 1;
            } else {
                ++timeLines;
                EXPECT_EQ(out[i], srt::ShiftTimeLine(lines[i], 1500)) << "line " << i + 1;
            }
        }
        EXPECT_GT(timeLines, 0) << "re-timed without a single time line";
    }
    EXPECT_GT(retimed, 10);
    EXPECT_GT(refused, 0);
    EXPECT_GE(utf16Files, 4);
}

// UTF-16 split into lines as raw units: LF units end lines, CR units are
// dropped, a U+001A unit ends the text. Independent of the tool's decoder.
std::vector<std::string> Utf16Lines(std::string_view units, bool little) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const std::string_view unit = units.substr(i, 2);
        const char low = little ? unit[0] : unit[1], high = little ? unit[1] : unit[0];
        if (high == 0 && low == '\x1a') break;
        if (high == 0 && low == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            if (!(high == 0 && low == '\r')) line += unit;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

std::string Narrow16(std::string_view units, bool little) {
    std::string s;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) s += units[little ? i : i + 1];
    return s;
}

std::string Widen16(std::string_view ascii, bool little) {
    std::string s;
    for (char c : ascii) s += little ? std::string{c, '\0'} : std::string{'\0', c};
    return s;
}

// What srt-retime must write for a UTF-16 file: the mark, every line's own
// units with the time lines shifted, UTF-16 CR LF after each, the odd last
// byte; nothing when a time line fails.
std::optional<std::string> ExpectedUtf16(const std::string& input, bool little, int offset) {
    std::string expected = input.substr(0, 2);
    for (const std::string& line : Utf16Lines(std::string_view(input).substr(2), little)) {
        const std::string ascii = Narrow16(line, little);
        if (ascii.find("-->") == std::string::npos) {
            expected += line;
        } else {
            try {
                expected += Widen16(srt::ShiftTimeLine(ascii, offset), little);
            } catch (const srt::EConvertError&) {
                return std::nullopt;
            }
        }
        expected += Widen16("\r\n", little);
    }
    if (input.size() % 2 == 1) expected += input.back();
    return expected;
}

TEST(Corpus, Utf16FilesKeepEveryUnitButTheTimeLinesAndLineEnds) {
    int retimed = 0, refused = 0;
    for (const fs::path& path : CorpusFiles()) {
        const std::string input = ReadFile(path);
        const auto order = srt::FindUtf16Mark(input);
        if (!order) continue;
        SCOPED_TRACE(path.string());
        const bool little = *order == srt::ByteOrder::LittleEndian;
        for (int offset : {1500, 0}) {
            auto r = srt::test::RunProgram(SRT_RETIME, {"--offset", std::to_string(offset), path.string()});
            const auto expected = ExpectedUtf16(input, little, offset);
            if (!expected) {
                ++refused;
                EXPECT_EQ(r.status, 1);
                EXPECT_NE(r.err.find("is not a valid"), std::string::npos) << r.err;
                continue;
            }
            ++retimed;
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out, *expected) << "offset " << offset;
        }
    }
    EXPECT_GE(retimed, 6);
    EXPECT_GE(refused, 2);
}

}  // namespace

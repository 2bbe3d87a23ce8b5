// Every subtitle file of the shared corpus through srt-retime: it either
// re-times the file or fails cleanly on one line, never anything between.
#include "run_program.h"

#include "core/textlines.h"
#include "core/timeshift.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

TEST(Corpus, EveryFileRetimesOrFailsOnOneLine) {
    const fs::path root = fs::path(SRT_CORPUS_DIR) / "srt";
    if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
    const std::regex failure(R"(line ([0-9]+): '[^\n]*' (is not a valid (integer value|time)|shifted by \+1500 ms is outside 00:00:00,000 to 23:59:59,999)\n)");
    int retimed = 0, refused = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "MANIFEST.txt") continue;
        SCOPED_TRACE(entry.path().string());
        const std::string input = ReadFile(entry.path());
        const auto lines = srt::SplitTextLines(input);
        auto r = srt::test::RunProgram(SRT_RETIME, {"--offset", "+1500", entry.path().string()});
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
        const auto out = srt::SplitTextLines(r.out);
        ASSERT_EQ(out.size(), lines.size());
        EXPECT_EQ(r.out, srt::JoinLinesCRLF(out)) << "every line ends with CR LF";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find("-->") == std::string::npos) {
                EXPECT_EQ(out[i], lines[i]) << "line " << i + 1;
            } else {
                EXPECT_EQ(out[i], srt::ShiftTimeLine(lines[i], 1500)) << "line " << i + 1;
            }
        }
    }
    EXPECT_GT(retimed, 10);
    EXPECT_GT(refused, 0);
}

}  // namespace

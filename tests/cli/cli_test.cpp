// srt-retime through its real binary: exit codes, messages, streams, files.
#include "files.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using srt::test::RunProgram;
using srt::test::RunResult;

namespace {

RunResult Retime(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProgram(SRT_RETIME, args, input);
}

// A fresh folder per test, removed afterwards.
class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("srt-retime-test-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

const std::string kCue =
    "1\r\n00:01:02,345 --> 00:01:04,567\r\nHello\r\n\r\n";
const std::string kCueShifted =
    "1\r\n00:01:03,845 --> 00:01:06,067\r\nHello\r\n\r\n";

TEST(Cli, WorkedExamplesGiveTheListedResults) {
    struct Example {
        const char* offset;
        const char* line;
        const char* result;
    };
    const Example examples[] = {
        {"1500", "00:01:02,345 --> 00:01:04,567", "00:01:03,845 --> 00:01:06,067"},
        {"+250", "00:59:59,800 --> 01:00:02,000", "01:00:00,050 --> 01:00:02,250"},
        {"-300", "00:00:05,100 --> 00:00:07,900", "00:00:04,800 --> 00:00:07,600"},
        {"-1300", "00:00:05,100 --> 00:00:07,900", "00:00:03,800 --> 00:00:06,600"},
        {"90000", "00:00:10,000 --> 00:00:12,000", "00:01:40,000 --> 00:01:42,000"},
        {"1000", "10:00:00,000 --> 10:00:01,000", "10:00:01,000 --> 10:00:02,000"},
        {"0", "00:00:01,000 --> 00:00:02,000 X1:40 X2:600", "00:00:01,000 --> 00:00:02,000 X1:40 X2:600"},
        {"0", "00:00:01.000 --> 00:00:02.000", "00:00:01,000 --> 00:00:02,000"},
        {"0", "00:00:01,000 --> 00:00:02,00", "00:00:01,000 --> 00:00:02,000"},
        {"777", "12\n00:00:00,000 --> 00:00:00,001", "12\n00:00:00,777 --> 00:00:00,778"},
    };
    for (const auto& e : examples) {
        RunResult r = Retime({"--offset", e.offset}, std::string(e.line) + "\n");
        EXPECT_EQ(r.status, 0) << e.line;
        EXPECT_EQ(r.out, std::string(e.result) + "\n") << e.line;
        EXPECT_EQ(r.err, "");
    }
}

TEST(Cli, EveryByteOutsideTheTimeFieldsStays) {
    // Each line keeps its own end (CR LF, LF, lone CR, none); Ctrl-Z and NUL
    // are ordinary bytes; what follows column 29 stays.
    using namespace std::string_literals;
    const std::string in = "a\nb\r\nc\rd\x1a\0\x80\xff\n\r\n00:00:01,000 --> 00:00:02,000  X1:40\r\r\n"
                           "e\n00:00:03,000 --> 00:00:04,000"s;
    const std::string out = "a\nb\r\nc\rd\x1a\0\x80\xff\n\r\n00:00:01,005 --> 00:00:02,005  X1:40\r\r\n"
                            "e\n00:00:03,005 --> 00:00:04,005"s;
    RunResult r = Retime({"--offset", "5"}, in);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(Retime({"--offset", "0"}, in).out, in);
}

TEST(Cli, InputWithoutATimeLineIsRefused) {
    for (const std::string& text : {std::string(), std::string("a\nb"), std::string("1\r\n00:00:01,000 -- x\r\n")}) {
        RunResult r = Retime({"--offset", "100"}, text);
        EXPECT_EQ(r.status, 1) << text;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "srt-retime: standard input: no subtitle timing found\n");
    }
}

TEST(Cli, Utf8MarkStaysInFrontOfTheFirstLine) {
    const std::string bom = "\xEF\xBB\xBF";
    RunResult r = Retime({"--offset", "1000"}, bom + "00:00:01,000 --> 00:00:02,000\nA\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, bom + "00:00:02,000 --> 00:00:03,000\nA\n");
    // Only at the start of the file: elsewhere the bytes belong to the line.
    r = Retime({"--offset", "1000"}, "A\n" + bom + "00:00:01,000 --> 00:00:02,000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("line 2: ", 0), 0u) << r.err;
}

// Each char of ascii as one UTF-16 unit, little- or big-endian.
std::string Utf16(std::string_view ascii, bool little) {
    std::string s;
    for (char c : ascii) s += little ? std::string{c, '\0'} : std::string{'\0', c};
    return s;
}

TEST(Cli, Utf16IsRetimedAndWrittenInItsOwnByteOrder) {
    for (bool little : {true, false}) {
        const std::string mark = little ? "\xFF\xFE" : "\xFE\xFF";
        const std::string in = mark + Utf16("1\n00:01:02,345 --> 00:01:04,567\nHello\n", little);
        RunResult r = Retime({"--offset", "1500"}, in);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, mark + Utf16("1\n00:01:03,845 --> 00:01:06,067\nHello\n", little));
        // Without a mark: told by its time line, written back without one.
        RunResult unmarked = Retime({"--offset", "1500"}, in.substr(2));
        EXPECT_EQ(unmarked.status, 0) << unmarked.err;
        EXPECT_EQ(unmarked.out, r.out.substr(2));

        // A bad line is named in UTF-8, whatever the file's encoding.
        const std::string bad = mark + Utf16("1\nxx:01:02,345 --> 00:01:04,567\n", little);
        RunResult refused = Retime({"--offset", "1500"}, bad);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, "line 2: 'xx:01:02' is not a valid time\n");
    }
    // An odd last byte stays last; an unpaired surrogate and a character
    // beyond U+FFFF pass unchanged.
    const std::string text = Utf16("00:00:01,000 --> 00:00:02,000\nA", true);
    const std::string odd = "\xFF\xFE" + text + std::string("\x00\xD8\x3D\xD8\xA9\xDC", 6) + "\x0A";
    RunResult r = Retime({"--offset", "-1000"}, odd);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "\xFF\xFE" + Utf16("00:00:00,000 --> 00:00:01,000\nA", true) +
                         std::string("\x00\xD8\x3D\xD8\xA9\xDC", 6) + "\x0A");
}

TEST(Cli, OffsetSyntax) {
    const std::string line = "00:00:01,000 --> 00:00:02,000\n";
    EXPECT_EQ(Retime({"--offset", "  -300"}, line).out, "00:00:00,700 --> 00:00:01,700\n");
    EXPECT_EQ(Retime({"--offset=$10"}, line).out, "00:00:01,016 --> 00:00:02,016\n");
    EXPECT_EQ(Retime({"--offset", "0x10"}, line).out, "00:00:01,016 --> 00:00:02,016\n");
    for (const char* bad : {"abc", "300 ", "", "1.5", "2147483648"}) {
        RunResult r = Retime({"--offset", bad}, line);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(std::string("srt-retime: '") + bad + "' is not a valid integer value\n"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("Usage: srt-retime --offset MS"), std::string::npos);
    }
}

TEST(Cli, FirstBadLineStopsEverything) {
    const std::string input = kCue + "2\r\n24:00:00,000 --> 24:00:01,000\r\nx\r\n3\r\nbad --> line\r\n";
    RunResult r = Retime({"--offset", "1500"}, input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "line 6: '24:00:00' is not a valid time\n");

    RunResult arrow = Retime({"--offset", "0"}, "-->");
    EXPECT_EQ(arrow.status, 1);
    EXPECT_EQ(arrow.err, "line 1: '' is not a valid integer value\n");

    RunResult early = Retime({"--offset", "-2000"}, "\n00:00:01,000 --> 00:00:02,000\n");
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.err,
              "line 2: '00:00:01,000' shifted by -2000 ms is outside 00:00:00,000 to 23:59:59,999\n");
}

TEST(Cli, UsageErrors) {
    const std::vector<std::vector<std::string>> calls = {
        {},
        {"in.srt"},
        {"--offset"},
        {"--offset", "1", "--bogus"},
        {"--offset", "1", "a.srt", "b.srt"},
        {"--offset", "1", "--in-place"},
        {"--offset", "1", "--in-place", "-"},
        {"--offset", "1", "--in-place", "-o", "out.srt", "in.srt"},
        {"--offset", "1", "-o"},
    };
    for (const auto& args : calls) {
        RunResult r = Retime(args, kCue);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: srt-retime --offset MS [-o OUTPUT | --in-place] [INPUT]"),
                  std::string::npos);
    }
}

TEST(Cli, HelpAndVersion) {
    RunResult help = Retime({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: srt-retime --offset MS", 0), 0u);
    EXPECT_NE(help.out.find("--in-place"), std::string::npos);
    RunResult version = Retime({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("srt-retime ", 0), 0u);
}

TEST_F(CliFiles, InputFileToOutputFile) {
    WriteFile(dir_ / "in.srt", kCue);
    RunResult r = Retime({"--offset", "1500", "-o", (dir_ / "out.srt").string(), (dir_ / "in.srt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(dir_ / "out.srt"), kCueShifted);
    EXPECT_EQ(ReadFile(dir_ / "in.srt"), kCue);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.srt", "out.srt"}));

    // "--" ends the options: a file may be named like a negative number.
    WriteFile(dir_ / "-5", kCue);
    RunResult dashed = Retime({"--offset", "1500", "--", (dir_ / "-5").string()});
    EXPECT_EQ(dashed.out, kCueShifted);
}

TEST_F(CliFiles, FailedRunWritesNoOutputFile) {
    WriteFile(dir_ / "in.srt", kCue + "99:00:00,000 --> 00:00:01,000\r\n");
    RunResult fresh = Retime({"--offset", "1", "-o", (dir_ / "new.srt").string(), (dir_ / "in.srt").string()});
    EXPECT_EQ(fresh.status, 1);
    EXPECT_FALSE(fs::exists(dir_ / "new.srt"));

    WriteFile(dir_ / "old.srt", "keep me");
    RunResult old = Retime({"--offset", "1", "--output=" + (dir_ / "old.srt").string(), (dir_ / "in.srt").string()});
    EXPECT_EQ(old.status, 1);
    EXPECT_EQ(ReadFile(dir_ / "old.srt"), "keep me");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.srt", "old.srt"}));
}

TEST_F(CliFiles, InPlaceReplacesAtomicallyAndKeepsTheMode) {
    const fs::path file = dir_ / "movie.srt";
    WriteFile(file, kCue);
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    RunResult r = Retime({"--in-place", "--offset", "1500", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(file), kCueShifted);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"movie.srt"});

    const std::string broken = kCue + "00:00:01,000 --> 00:00:0x,000\r\n";
    WriteFile(file, broken);
    RunResult bad = Retime({"--in-place", "--offset", "1500", file.string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "line 5: '00:00:0x' is not a valid time\n");
    EXPECT_EQ(ReadFile(file), broken);
    EXPECT_EQ(Entries(), std::vector<std::string>{"movie.srt"});
}

TEST_F(CliFiles, InPlaceThroughALinkReplacesTheFileItNames) {
    WriteFile(dir_ / "real.srt", kCue);
    fs::create_symlink("real.srt", dir_ / "link.srt");
    RunResult r = Retime({"--offset", "1500", "--in-place", (dir_ / "link.srt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.srt"));
    EXPECT_EQ(ReadFile(dir_ / "real.srt"), kCueShifted);
}

TEST_F(CliFiles, FileErrorsUseTheErrorTexts) {
    const std::string missing = (dir_ / "missing.srt").string();
    RunResult notFound = Retime({"--offset", "1", missing});
    EXPECT_EQ(notFound.status, 3);
    EXPECT_EQ(notFound.err, "srt-retime: " + missing + ": File not found\n");

    RunResult folder = Retime({"--offset", "1", dir_.string()});
    EXPECT_EQ(folder.status, 3);
    EXPECT_EQ(folder.err, "srt-retime: " + dir_.string() + ": File access denied\n");

    const std::string nowhere = (dir_ / "no" / "such" / "out.srt").string();
    RunResult badPath = Retime({"--offset", "1", "-o", nowhere}, kCue);
    EXPECT_EQ(badPath.status, 3);
    EXPECT_EQ(badPath.err, "srt-retime: " + nowhere + ": Invalid filename\n");

    if (fs::exists("/dev/full")) {
        RunResult full = RunProgram("/bin/sh", {"-c", std::string(SRT_RETIME) + " --offset 1 > /dev/full"}, kCue);
        EXPECT_EQ(full.status, 3);
        EXPECT_EQ(full.err, "srt-retime: standard output: Disk full\n");
    }
}

TEST_F(CliFiles, HugeSingleLinePassesThrough) {
    std::string line(100u << 20, 'x');
    WriteFile(dir_ / "big.srt", line + "\n00:00:00,000 --> 00:00:00,001");
    RunResult r = Retime({"--offset", "1", "-o", (dir_ / "out.srt").string(), (dir_ / "big.srt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(dir_ / "out.srt"), line.size() + 30);

    line.replace(line.size() / 2, 3, "-->");
    WriteFile(dir_ / "big.srt", line);
    RunResult arrow = Retime({"--offset", "1", "-o", (dir_ / "arrow.srt").string(), (dir_ / "big.srt").string()});
    EXPECT_EQ(arrow.status, 1);
    EXPECT_EQ(arrow.err, "line 1: 'xxx' is not a valid integer value\n");
    EXPECT_FALSE(fs::exists(dir_ / "arrow.srt"));
}

TEST(Cli, BinaryGarbageEndsCleanly) {
    std::mt19937 random(2026);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(std::size_t(random() % 200000), '\0');
        for (auto& b : bytes) b = char(random());
        // Sprinkle arrows and time-like text so that some rounds reach the fields.
        for (int i = 0; i < round; ++i) bytes.insert(random() % (bytes.size() + 1), "\n00:00:01,000 -->");
        RunResult r = Retime({"--offset", "1"}, bytes);
        EXPECT_EQ(r.signal, 0);
        ASSERT_TRUE(r.status == 0 || r.status == 1) << r.status;
        if (r.status == 1) {
            EXPECT_EQ(r.out, "");
            EXPECT_TRUE(r.err.rfind("line ", 0) == 0 || r.err == "srt-retime: standard input: no subtitle timing found\n")
                << r.err;
        }
    }
}

}  // namespace

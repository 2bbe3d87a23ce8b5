// srt-retime at the edges, as a hostile user would run it: each refusal
// says why, exits non-zero and leaves every file as it was.
#include "files.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using srt::test::RunProgram;
using srt::test::RunResult;

namespace {

const std::string kCue = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n2\r\n00:00:05,000 --> 00:00:06,000\r\nBye\r\n";
const std::string kCueLater = "1\r\n00:00:01,100 --> 00:00:02,100\r\nHello\r\n\r\n2\r\n00:00:05,100 --> 00:00:06,100\r\nBye\r\n";

RunResult Retime(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProgram(SRT_RETIME, args, input);
}

// A shell line; $R stands for srt-retime.
RunResult Shell(const std::string& script, const std::string& input = {}) {
    return RunProgram("/bin/sh", {"-c", "R='" + std::string(SRT_RETIME) + "'; " + script}, input);
}

class Safety : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("srt-retime-safety-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        chmod(dir_.c_str(), 0777);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The folder's names: no temporary file may stay behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string At(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(Safety, AFileWithoutSubtitleTimingIsLeftAlone) {
    std::string movie(1 << 20, '\0');
    for (std::size_t i = 0; i < movie.size(); ++i) movie[i] = char((i * 7919) >> 3);
    for (std::size_t i = 1000; i < movie.size(); i += 4099) movie[i] = '\x1a', movie[i + 1] = '\r';
    WriteFile(dir_ / "movie.mkv", movie);
    RunResult r = Retime({"--offset", "100", "--in-place", At("movie.mkv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "srt-retime: " + At("movie.mkv") + ": no subtitle timing found\n");
    EXPECT_TRUE(ReadFile(dir_ / "movie.mkv") == movie);
    EXPECT_EQ(Entries(), std::vector<std::string>{"movie.mkv"});
}

TEST_F(Safety, UnmarkedUtf16IsRetimedInItsOwnForm) {
    std::string in, out;
    for (char c : kCue) in += std::string{c, '\0'};
    for (char c : kCueLater) out += std::string{c, '\0'};
    WriteFile(dir_ / "u16.srt", in);
    RunResult r = Retime({"--offset", "100", "--in-place", At("u16.srt")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "u16.srt"), out);
}

TEST_F(Safety, DescriptorNamesWriteThroughTheDescriptor) {
    WriteFile(dir_ / "a.srt", kCue);
    WriteFile(dir_ / "log", "old log\n");
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "-"}) {
        RunResult r = Shell("$R --offset 100 -o " + std::string(name) + " '" + At("a.srt") + "' >> '" + At("log") + "'");
        EXPECT_EQ(r.status, 0) << name << r.err;
    }
    EXPECT_EQ(ReadFile(dir_ / "log"), "old log\n" + kCueLater + kCueLater + kCueLater);
    RunResult err = Shell("$R --offset 100 -o /dev/stderr '" + At("a.srt") + "' 2>> '" + At("log") + "'");
    EXPECT_EQ(err.status, 0);
    EXPECT_EQ(ReadFile(dir_ / "log"), "old log\n" + kCueLater + kCueLater + kCueLater + kCueLater);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.srt", "log"}));
}

TEST_F(Safety, OutputThatIsTheInputIsRefused) {
    WriteFile(dir_ / "s.srt", kCue);
    RunResult appended = Shell("$R --offset 0 '" + At("s.srt") + "' >> '" + At("s.srt") + "'");
    EXPECT_EQ(appended.status, 3);
    EXPECT_EQ(appended.err, "srt-retime: standard output: input file is output file\n");
    RunResult named = Retime({"--offset", "1", "-o", At("s.srt"), At("s.srt")});
    EXPECT_EQ(named.status, 3);
    EXPECT_EQ(named.err, "srt-retime: " + At("s.srt") + ": input file is output file\n");
    RunResult viaStdin = Shell("$R --offset 1 < '" + At("s.srt") + "' 1<> '" + At("s.srt") + "'");
    EXPECT_EQ(viaStdin.status, 3);
    EXPECT_EQ(ReadFile(dir_ / "s.srt"), kCue);
    EXPECT_EQ(Entries(), std::vector<std::string>{"s.srt"});
}

TEST_F(Safety, ClosedStandardDescriptorsFailCleanly) {
    WriteFile(dir_ / "a.srt", kCue);
    RunResult out = Shell("cd '" + dir_.string() + "' && $R --offset 1 a.srt >&-");
    EXPECT_EQ(out.status, 3);
    EXPECT_EQ(out.err, "srt-retime: standard output is closed\n");
    RunResult in = Shell("$R --offset 1 <&-");
    EXPECT_EQ(in.status, 3);
    EXPECT_EQ(in.err, "srt-retime: standard input is closed\n");
    // With errors closed the run itself is fine, and the scratch file is not fd 2.
    RunResult err = Shell("$R --offset 100 '" + At("a.srt") + "' 2>&-");
    EXPECT_EQ(err.status, 0);
    EXPECT_EQ(err.out, kCueLater);
    EXPECT_EQ(Entries(), std::vector<std::string>{"a.srt"});
}

TEST_F(Safety, PipesDevicesAndFoldersAreRefusedAtOnce) {
    ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    WriteFile(dir_ / "a.srt", kCue);
    const std::vector<std::vector<std::string>> calls = {
        {"--offset", "1", "--in-place", At("fifo")},
        {"--offset", "1", "-o", At("fifo"), At("a.srt")},
        {"--offset", "1", "-o", dir_.string(), At("a.srt")},
        {"--offset", "1", "--in-place", dir_.string()},
        {"--offset", "1", "-o", "/dev/null", At("a.srt")},
        {"--offset", "1", "--in-place", "/dev/null"},
    };
    for (const auto& args : calls) {
        std::string line = "timeout 10 $R";
        for (const auto& a : args) line += " '" + a + "'";
        RunResult r = Shell(line);
        EXPECT_EQ(r.status, 3) << line;
        EXPECT_NE(r.err.find(": not a regular file\n"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFile(dir_ / "a.srt"), kCue);
}

TEST_F(Safety, LongNamesGetTemporaryNamesThatFit) {
    const std::string name = std::string(250, 'n') + ".srt";  // 254 bytes
    WriteFile(dir_ / name, kCue);
    RunResult r = Retime({"--offset", "100", "--in-place", At(name)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir_ / name), kCueLater);
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

TEST_F(Safety, InPlaceKeepsOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give files away";
    const fs::path file = dir_ / "theirs.srt";
    WriteFile(file, kCue);
    ASSERT_EQ(chown(file.c_str(), 1234, 2345), 0);
    ASSERT_EQ(chmod(file.c_str(), 06754), 0);
    RunResult r = Retime({"--offset", "100", "--in-place", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 2345u);
    EXPECT_EQ(st.st_mode & 07777, 06754u);

    // Someone who may write the file but not give it away: set-ID bits go.
    ASSERT_EQ(chown(file.c_str(), 0, 0), 0);
    ASSERT_EQ(chmod(file.c_str(), 06666), 0);
    RunResult other = Shell("setpriv --reuid=1234 --regid=1234 --clear-groups $R --offset 100 --in-place '" +
                            file.string() + "'");
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_NE(other.err.find("owner and group could not be kept"), std::string::npos) << other.err;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(ReadFile(file), "1\r\n00:00:01,200 --> 00:00:02,200\r\nHello\r\n\r\n2\r\n00:00:05,200 --> 00:00:06,200\r\nBye\r\n");
}

TEST_F(Safety, AFailedRunThroughReadWriteOutputCutsNothing) {
    // The bad line comes after a megabyte of good ones: output is under way.
    std::string bad;
    while (bad.size() < (1u << 20)) bad += kCue;
    WriteFile(dir_ / "bad.srt", bad + "24:00:00,000 --> 00:00:01,000\n");
    WriteFile(dir_ / "target", "precious contents");
    RunResult r = Shell("$R --offset 1 '" + At("bad.srt") + "' 1<> '" + At("target") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadFile(dir_ / "target"), "precious contents");
    // A good run writes from where the descriptor stands, as cat would.
    WriteFile(dir_ / "a.srt", kCue);
    WriteFile(dir_ / "target", std::string(kCue.size() + 5, '#'));
    RunResult good = Shell("$R --offset 100 '" + At("a.srt") + "' 1<> '" + At("target") + "'");
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(ReadFile(dir_ / "target"), kCueLater + "#####");
}

TEST_F(Safety, OutOfMemoryIsReportedAndCleansUp) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer cannot reserve its shadow memory under a memory limit";
#endif
    // One line longer than the memory the run may have.
    {
        std::ofstream out(dir_ / "huge.srt", std::ios::binary);
        out << "00:00:01,000 --> 00:00:02,000\n";
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 160; ++i) out << block;
    }
    RunResult r = Shell("ulimit -v 120000; $R --offset 1 --in-place '" + At("huge.srt") + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "srt-retime: Not enough memory\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"huge.srt"});
    EXPECT_EQ(fs::file_size(dir_ / "huge.srt"), 30u + (160u << 20));
}

TEST_F(Safety, SignalsRemoveTheTemporaryFile) {
    WriteFile(dir_ / "out.srt", "old output");
    for (const char* signal : {"INT", "TERM", "HUP"}) {
        // The input stays open until the signal comes: the run is mid-way.
        // (A background job starts with SIGINT ignored; env gives it back.)
        RunResult r = Shell("cd '" + dir_.string() + "'; { printf '" + "00:00:01,000 --> 00:00:02,000\\n" +
                            "'; sleep 3; } 2>/dev/null | env --default-signal=INT $R --offset 1 -o out.srt & sleep 1; ls -a '" + dir_.string() +
                            "' | grep -c '^\\.out\\.srt\\.'; kill -" + signal + " $!; wait $!; echo \"status $?\"");
        EXPECT_EQ(r.out, "1\nstatus " + std::to_string(128 + (std::string(signal) == "INT" ? 2 : std::string(signal) == "TERM" ? 15 : 1)) + "\n") << signal << r.err;
        EXPECT_EQ(Entries(), std::vector<std::string>{"out.srt"}) << signal;
        EXPECT_EQ(ReadFile(dir_ / "out.srt"), "old output");
    }
}

TEST(SafetyRuns, NothingSensibleIsNotSuccess) {
    const std::string file = kCue;
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"--offset", "1", "--from", "#999"}, 1, "--from #999 lies past the last time line (#2)"},
        {{"--offset", "1", "--to", "#3"}, 1, "--to #3 lies past the last time line (#2)"},
        {{"--offset", "1", "--from", "01:00:00,000"}, 1, "no time line lies in the range"},
        {{"--sync", "00:00:01,000=00:00:05,000", "--sync", "00:00:02,000=00:00:04,000"}, 2, "reverse time"},
        {{"--sync", "00:00:01,000=00:00:05,000", "--sync", "00:00:02,000=00:00:05,000"}, 2, "two times to one"},
        {{"--offset", "1", "--offset", "2"}, 2, "--offset is given twice"},
        {{"--offset=1", "--in-place", "--in-place", "x"}, 2, "--in-place is given twice"},
        {{"--match", "/dev/stdin"}, 2, "REF and INPUT cannot both be standard input"},
        {{"--match", "-", "-"}, 2, "REF and INPUT cannot both be standard input"},
    };
    for (const Case& c : cases) {
        RunResult r = Retime(c.args, file);
        EXPECT_EQ(r.status, c.status) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST_F(Safety, MatchWithNoOverlapAndTheSameFileTwiceAreRefused) {
    WriteFile(dir_ / "ref.srt", "1\n00:00:01,000 --> 00:00:01,000\n");  // empty cue: nothing can overlap it
    WriteFile(dir_ / "a.srt", kCue);
    RunResult match = Retime({"--match", At("ref.srt"), "--in-place", At("a.srt")});
    EXPECT_EQ(match.status, 1);
    EXPECT_NE(match.err.find("no cue overlaps one of"), std::string::npos) << match.err;
    fs::create_symlink("a.srt", dir_ / "link.srt");
    RunResult twice = Retime({"--offset", "1", "--in-place", At("a.srt"), At("link.srt")});
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("are the same file"), std::string::npos) << twice.err;
    EXPECT_EQ(ReadFile(dir_ / "a.srt"), kCue);
}

TEST(SafetyRuns, HelpAndVersionReportAFailedWrite) {
    if (!fs::exists("/dev/full")) GTEST_SKIP();
    for (const char* option : {"--help", "--version"}) {
        RunResult r = Shell("$R " + std::string(option) + " > /dev/full");
        EXPECT_EQ(r.status, 3) << option;
        EXPECT_EQ(r.err, "srt-retime: standard output: write failed\n");
    }
}

TEST(SafetyRuns, FrameRatesHoweverSpelled) {
    const std::string line = "00:00:01,000 --> 00:00:02,000\n";
    const std::string expected = Retime({"--fps", "29.97:25"}, line).out;
    EXPECT_EQ(expected, "00:00:01,199 --> 00:00:02,398\n");
    for (const char* spelled : {"29.970:25", "029.97:25.000"}) EXPECT_EQ(Retime({"--fps", spelled}, line).out, expected);
}

}  // namespace

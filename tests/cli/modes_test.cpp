// srt-retime's modes, ranges, several files, dry runs and refusals through
// the real binary, over files of the shared corpus. Expected bytes are
// worked out by hand, or by the small reading below, which knows nothing of
// the tool's code: it splits at LF, drops the CR of CR LF and re-times
// canonical time lines with 128-bit integers.
#include "corpus.h"
#include "files.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using srt::test::RunProgram;
using srt::test::RunResult;

namespace {

RunResult Retime(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProgram(SRT_RETIME, args, input);
}

const fs::path kCorpus = fs::path(SRT_CORPUS_DIR) / "srt";
const fs::path kAscii = kCorpus / "cdown-srt/srt_tools/tests/files/ascii.srt";
const fs::path kSample = kCorpus / "glut23-webvtt-py/tests/subtitles/sample.srt";
// A whole episode's subtitles, wherever its collection keeps them.
const fs::path kFilm = [] {
    if (!fs::is_directory(kCorpus)) return kCorpus / "bsg-s01e01.srt";
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus))
        if (entry.path().filename() == "bsg-s01e01.srt") return entry.path();
    return kCorpus / "bsg-s01e01.srt";
}();
const fs::path kLongLF = kCorpus / "byroot-pysrt/tests/static/utf-8.srt";
const fs::path kLongCRLF = kCorpus / "byroot-pysrt/tests/static/windows-1252.srt";

// --- the independent reading ---

using Wide = __int128;

// round(n / d), halves away from zero, d > 0.
Wide RoundDiv(Wide n, Wide d) {
    const Wide twice = 2 * (n < 0 ? -n : n) + d;
    const Wide q = twice / (2 * d);
    return n < 0 ? -q : q;
}

long long ReadClock(const std::string& s) {
    int h, m, sec, ms;
    if (std::sscanf(s.c_str(), "%2d:%2d:%2d,%3d", &h, &m, &sec, &ms) != 4) ADD_FAILURE() << s;
    return ((h * 60LL + m) * 60 + sec) * 1000 + ms;
}

std::string Clock(long long t) {
    char s[64];
    std::snprintf(s, sizeof s, "%02lld:%02lld:%02lld,%03lld", t / 3600000, t / 60000 % 60, t / 1000 % 60, t % 1000);
    return s;
}

// The file with each time line's two times re-timed by f (for the time
// lines that pick selects, counted from 1); every other byte as it was.
std::string Expected(const std::string& bytes, const std::function<long long(long long)>& f,
                     const std::function<bool(int, long long)>& pick = {}) {
    std::string out;
    int number = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t end = bytes.find('\n', i);
        end = end == std::string::npos ? bytes.size() : end + 1;
        std::string line = bytes.substr(i, end - i);
        i = end;
        if (line.find("-->") != std::string::npos) {
            const long long start = ReadClock(line.substr(0, 12)), stop = ReadClock(line.substr(17, 12));
            ++number;
            if (!pick || pick(number, start)) line.replace(0, 29, Clock(f(start)) + " --> " + Clock(f(stop)));
        }
        out += line;
    }
    return out;
}

// --- hand-worked examples ---

TEST(CorpusModes, SyncOnTheAsciiFileWorkedByHand) {
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    // A = 27,000 -> B = 28,000 and C = 36,570 -> D = 38,570: t -> 28000 + (t - 27000) * 10570 / 9570.
    // 30730: 3730 * 10570 / 9570 = 4119.76 -> 4120; 31500: 4970.22 -> 4970; 34100: 7841.90 -> 7842.
    const RunResult r = Retime({"--sync", "00:00:27,000=00:00:28,000", "--sync=00:00:36.570=00:00:38,570",
                                kAscii.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "2\n00:00:28,000 --> 00:00:32,120\nascii\n\n"
              "4\n00:00:32,970 --> 00:00:35,842\noh look\n\n"
              "6\n00:00:35,842 --> 00:00:38,570\nascii everywhere\n\n");
    // The points may come in either order.
    EXPECT_EQ(Retime({"--sync", "00:00:36,570=00:00:38,570", "--sync", "00:00:27,000=00:00:28,000",
                      kAscii.string()}).out,
              r.out);
}

TEST(CorpusModes, FrameRateOnTheSampleFileWorkedByHand) {
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    // 25 -> 23.976 (24000/1001): t -> t * 25 * 1001 / 24000 = t * 1001 / 960.
    // 500 -> 521.35; 7000 -> 7298.96; 11890 -> 12397.80; 16320 -> 17017;
    // 21580 -> 22501.65; 23880 -> 24899.875.
    const RunResult r = Retime({"--fps", "25:23.976", kSample.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "1\n00:00:00,521 --> 00:00:07,299\nCaption text #1\n\n"
              "2\n00:00:07,299 --> 00:00:12,398\nCaption text #2\n\n"
              "3\n00:00:12,398 --> 00:00:17,017\nCaption text #3\n\n"
              "4\n00:00:17,017 --> 00:00:22,502\nCaption text #4\n\n"
              "5\n00:00:22,502 --> 00:00:24,900\nCaption text #5");
    // Halves go away from zero: 1 / 2 = 0.5 -> 1 and 3 / 2 = 1.5 -> 2.
    EXPECT_EQ(Retime({"--fps", "1:2"}, "00:00:00,001 --> 00:00:00,003\n").out, "00:00:00,001 --> 00:00:00,002\n");
}

TEST(CorpusModes, RangesOnTheSampleFileWorkedByHand) {
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    const std::string head = "1\n00:00:00,500 --> 00:00:07,000\nCaption text #1\n\n";
    const std::string tail = "5\n00:00:21,580 --> 00:00:23,880\nCaption text #5";
    RunResult r = Retime({"--offset", "1000", "--from", "#2", "--to", "#3", kSample.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, head +
                         "2\n00:00:08,000 --> 00:00:12,890\nCaption text #2\n\n"
                         "3\n00:00:12,890 --> 00:00:17,320\nCaption text #3\n\n"
                         "4\n00:00:16,320 --> 00:00:21,580\nCaption text #4\n\n" +
                         tail);
    // Time bounds include both ends: starts 7,000, 11,890 and 16,320.
    r = Retime({"--offset=-500", "--from=00:00:07,000", "--to", "00:00:16.320", kSample.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, head +
                         "2\n00:00:06,500 --> 00:00:11,390\nCaption text #2\n\n"
                         "3\n00:00:11,390 --> 00:00:15,820\nCaption text #3\n\n"
                         "4\n00:00:15,820 --> 00:00:21,080\nCaption text #4\n\n" +
                         tail);
    // With a time bound every start must read, selected or not.
    r = Retime({"--offset", "1", "--from", "00:00:05,000"}, "x\n00:0a:00,000 --> 00:00:01,000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "line 2: '00:0a:00' is not a valid time\n");
    r = Retime({"--offset", "1", "--from", "#2"}, "x\n00:0a:00,000 --> 00:00:01,000\n00:00:01,000 --> 00:00:02,000");
    EXPECT_EQ(r.out, "x\n00:0a:00,000 --> 00:00:01,000\n00:00:01,001 --> 00:00:02,001");
}

// --- long corpus files against the independent reading ---

TEST(CorpusModes, LongFilesAgreeWithAnIndependentReading) {
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    for (const fs::path& path : {kLongLF, kLongCRLF, kFilm}) {
        SCOPED_TRACE(path.string());
        const std::string bytes = ReadFile(path);
        ASSERT_FALSE(bytes.empty());
        // 00:00:30,000 -> 00:00:31,000 and 00:40:00,000 -> 00:40:03,500.
        RunResult r = Retime({"--sync", "00:00:30,000=00:00:31,000", "--sync", "00:40:00,000=00:40:03,500",
                              path.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        // t -> 31000 + (t - 30000) * (2403500 - 31000) / (2400000 - 30000)
        EXPECT_EQ(r.out, Expected(bytes, [](long long t) {
                      return (long long)RoundDiv(Wide(31000) * 2370000 + Wide(t - 30000) * 2372500, 2370000);
                  }));
        r = Retime({"--fps", "23.976:25", path.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, Expected(bytes, [](long long t) { return (long long)RoundDiv(Wide(t) * 24000, 25025); }));
        r = Retime({"--offset", "-750", "--from", "#10", "--to", "00:20:00,000", path.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, Expected(
                             bytes, [](long long t) { return t - 750; },
                             [](int n, long long start) { return n >= 10 && start <= 1200000; }));
    }
}

// --- the offset search ---

TEST(CorpusModes, MatchFindsTheShiftOfARealFilm) {
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    const std::string film = ReadFile(kFilm);
    const std::string late = Expected(film, [](long long t) { return t + 2500; });
    const fs::path dir = fs::temp_directory_path() / ("srt-match-" + std::to_string(getpid()));
    fs::create_directories(dir);
    WriteFile(dir / "late.srt", late);
    int cues = 0, nonEmpty = 0;
    for (std::size_t at = film.find("-->"); at != std::string::npos; at = film.find("-->", at + 1)) {
        ++cues;
        nonEmpty += ReadClock(film.substr(at + 4, 12)) > ReadClock(film.substr(at - 13, 12));
    }
    const std::string report =
        "offset: -2500 ms (" + std::to_string(nonEmpty) + " of " + std::to_string(cues) + " cues overlap)\n";

    RunResult r = Retime({"--match", kFilm.string(), (dir / "late.srt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, report);
    EXPECT_EQ(r.out, Expected(film, [](long long t) { return t; }));

    // From standard input, and a dry run that writes nothing.
    r = Retime({"--match", kFilm.string()}, late);
    EXPECT_EQ(r.err, report);
    EXPECT_EQ(r.out, Expected(film, [](long long t) { return t; }));
    r = Retime({"--match", kFilm.string(), "--dry-run", "--in-place", (dir / "late.srt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, report);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(dir / "late.srt"), late);

    // Only the range takes part, and only it moves.
    r = Retime({"--match", kFilm.string(), "--from", "#1", "--to", "#1"}, late);
    EXPECT_EQ(r.err, "offset: -2500 ms (1 of 1 cues overlap)\n");
    EXPECT_EQ(r.out, Expected(film, [](long long t) { return t + 2500; },
                              [](int n, long long) { return n != 1; }));
    // A bad line in REF names REF.
    WriteFile(dir / "bad.srt", "1\n00:00:01,000 --> 00:00:0x,000\n");
    r = Retime({"--match", (dir / "bad.srt").string()}, late);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, (dir / "bad.srt").string() + ": line 2: '00:00:0x' is not a valid time\n");
    fs::remove_all(dir);
}

// --- several files, dry runs, standard output ---

class CorpusManyFiles : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_OR_FAIL_WITHOUT_CORPUS();
        dir_ = fs::temp_directory_path() / ("srt-many-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(CorpusManyFiles, InPlaceGoesInOrderAndStopsAtTheFirstFailure) {
    const std::string sample = ReadFile(kSample), ascii = ReadFile(kAscii);
    const std::string broken = ascii + "7\n00:00:40,000 --> 00:00:4x,000\n";
    WriteFile(dir_ / "a.srt", sample);
    WriteFile(dir_ / "b.srt", broken);
    WriteFile(dir_ / "c.srt", ascii);
    const std::string a = (dir_ / "a.srt").string(), b = (dir_ / "b.srt").string(), c = (dir_ / "c.srt").string();
    RunResult r = Retime({"--offset", "100", "--in-place", a, b, c});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, b + ": line 14: '00:00:4x' is not a valid time\n");
    EXPECT_EQ(ReadFile(dir_ / "a.srt"), Expected(sample, [](long long t) { return t + 100; }));
    EXPECT_EQ(ReadFile(dir_ / "b.srt"), broken);
    EXPECT_EQ(ReadFile(dir_ / "c.srt"), ascii);

    WriteFile(dir_ / "b.srt", ascii);
    r = Retime({"--fps", "24:25", "--in-place", a, b, c});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto scaled = [](long long t) { return (long long)RoundDiv(Wide(t) * 24, 25); };
    EXPECT_EQ(ReadFile(dir_ / "b.srt"), Expected(ascii, scaled));
    EXPECT_EQ(ReadFile(dir_ / "c.srt"), Expected(ascii, scaled));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);

    // A missing file is a file error; those before it stay replaced.
    r = Retime({"--offset", "1", "--in-place", a, (dir_ / "gone.srt").string(), c});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "srt-retime: " + (dir_ / "gone.srt").string() + ": File not found\n");
    EXPECT_EQ(ReadFile(dir_ / "c.srt"), Expected(ascii, scaled));
}

TEST_F(CorpusManyFiles, DryRunChecksAndWritesNothing) {
    WriteFile(dir_ / "a.srt", ReadFile(kSample));
    RunResult r = Retime({"--offset", "100", "--dry-run", "--in-place", (dir_ / "a.srt").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "5 of 5 time lines would be re-timed\n");
    EXPECT_EQ(ReadFile(dir_ / "a.srt"), ReadFile(kSample));
    r = Retime({"--offset", "-1000", "--dry-run", "-o", (dir_ / "b.srt").string(), (dir_ / "a.srt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "line 2: '00:00:00,500' shifted by -1000 ms is outside 00:00:00,000 to 23:59:59,999\n");
    EXPECT_FALSE(fs::exists(dir_ / "b.srt"));
}

TEST_F(CorpusManyFiles, StandardOutputToAFileIsCutBackOnFailure) {
    const fs::path out = dir_ / "out.srt";
    WriteFile(out, "before\n");
    const std::string call = std::string("'") + SRT_RETIME + "' --offset 100 >> '" + out.string() + "' 2>/dev/null";
    WriteFile(dir_ / "bad.srt", ReadFile(kSample) + "\n00:00:0x,000 --> 00:00:01,000\n");
    EXPECT_NE(std::system((call + " '" + (dir_ / "bad.srt").string() + "'").c_str()), 0);
    EXPECT_EQ(ReadFile(out), "before\n");
    EXPECT_EQ(std::system((call + " '" + kAscii.string() + "'").c_str()), 0);
    EXPECT_EQ(ReadFile(out), "before\n" + Expected(ReadFile(kAscii), [](long long t) { return t + 100; }));
}

// --- refusals ---

TEST(Modes, UsageErrors) {
    const std::vector<std::vector<std::string>> calls = {
        {"--offset", "1", "--fps", "25:24"},
        {"--sync", "00:00:01,000=00:00:02,000", "--offset", "5"},
        {"--match", "ref.srt", "--fps", "25:24"},
        {"--sync", "00:00:01,000=00:00:02,000"},
        {"--sync", "00:00:01,000=00:00:02,000", "--sync", "00:00:01,000=00:00:05,000"},
        {"--sync", "00:00:01,000=00:00:02,000", "--sync", "00:00:03,000"},
        {"--sync", "0:00:01,000=00:00:02,000", "--sync", "00:00:03,000=00:00:04,000"},
        {"--sync", "a=b", "--sync", "c=d", "--sync", "e=f"},
        {"--fps", "25"},
        {"--fps", "0:25"},
        {"--fps", "25:-24"},
        {"--fps", "25:24fps"},
        {"--offset", "1", "--from", "5"},
        {"--offset", "1", "--from", "#0"},
        {"--offset", "1", "--to", "#x"},
        {"--offset", "1", "--from", "00:00:05,000", "--to", "00:00:04,999"},
        {"--offset", "1", "--from", "#5", "--to", "#4"},
        {"--match", "-"},
        {"--offset", "1", "a.srt", "b.srt"},
        {"--offset", "1", "--in-place", "a.srt", "-"},
    };
    for (const auto& args : calls) {
        const RunResult r = Retime(args, "00:00:01,000 --> 00:00:02,000\n");
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: srt-retime"), std::string::npos) << r.err;
    }
}

TEST(Modes, OutOfTheDayIsRefused) {
    RunResult r = Retime({"--fps", "1:2"}, "1\n\n23:00:00,000 --> 23:59:59,999\n");
    EXPECT_EQ(r.status, 0);
    r = Retime({"--fps", "2:1"}, "1\n\n12:00:00,000 --> 12:00:01,000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "line 3: '12:00:00,000' re-timed is outside 00:00:00,000 to 23:59:59,999\n");
}

TEST(Modes, HelpShowsEveryModeWithAnExample) {
    const RunResult r = Retime({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* example : {"srt-retime --offset -2500", "srt-retime --sync 00:00:05,000=00:00:06,200",
                                "srt-retime --fps 25:23.976", "srt-retime --match english.srt",
                                "--from 00:42:00,000", "--from '#120'", "--dry-run", "--in-place"})
        EXPECT_NE(r.out.find(example), std::string::npos) << example;
}

}  // namespace

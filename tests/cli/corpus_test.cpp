// The byte-faithful contract of srt-retime, through its real binary, checked
// against an independent reading written here: every file of the shared
// corpus (as it is, and UTF-16 ones without their mark) and generated files
// with every kind of line end.
#include "corpus.h"
#include "files.h"
#include "run_program.h"

#include "core/timeshift.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The corpus files; a missing corpus fails under CI and skips elsewhere.
std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    const fs::path root = srt::test::CorpusRoot();
    if (!fs::is_directory(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != "MANIFEST.txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// What srt-retime must do with a file: its output and exit status, or the
// message it fails with.
struct Expected {
    int status = 0;
    std::string out;
    std::string err;
};

// One character per code unit: 1 byte, or 2 in the given order.
struct Units {
    int width = 1;
    bool little = true;
    std::size_t count(std::string_view s) const { return s.size() / std::size_t(width); }
    // The unit's value when it is ASCII, else -1.
    int Ascii(std::string_view s, std::size_t i) const {
        if (width == 1) return static_cast<unsigned char>(s[i]) < 0x80 ? s[i] : -1;
        const auto a = static_cast<unsigned char>(s[2 * i]), b = static_cast<unsigned char>(s[2 * i + 1]);
        const unsigned v = little ? (a | b << 8) : (b | a << 8);
        return v < 0x80 ? int(v) : -1;
    }
    std::string Widen(std::string_view ascii) const {
        if (width == 1) return std::string(ascii);
        std::string s;
        for (char c : ascii) s += little ? std::string{c, '\0'} : std::string{'\0', c};
        return s;
    }
};

// The reading: cut at CR LF, LF or lone CR units; a line holding "-->" gets
// its first 29 columns from the rule, the rest of it and everything else is
// copied. Column counts are the file's units (time lines are ASCII).
Expected Reading(std::string_view body, const Units& u, const std::string& head, int offset, const std::string& name) {
    Expected e;
    e.out = head;
    const std::size_t n = u.count(body);
    std::size_t number = 0, timeLines = 0;
    for (std::size_t i = 0; i < n;) {
        std::size_t end = i;
        while (end < n && u.Ascii(body, end) != '\n' && u.Ascii(body, end) != '\r') ++end;
        std::size_t next = end;
        if (next < n) next += (u.Ascii(body, end) == '\r' && next + 1 < n && u.Ascii(body, end + 1) == '\n') ? 2 : 1;
        ++number;
        std::string ascii;  // the line's units, non-ASCII ones as '?'
        for (std::size_t k = i; k < end; ++k) ascii += char(u.Ascii(body, k) < 0 ? '?' : u.Ascii(body, k));
        const std::string_view line = body.substr(i * u.width, (end - i) * u.width);
        if (ascii.find("-->") != std::string::npos) {
            ++timeLines;
            try {
                e.out += u.Widen(srt::ShiftTimeLine(ascii, offset));
            } catch (const srt::EConvertError& error) {
                return {1, "", "line " + std::to_string(number) + ": " + error.what() + "\n"};
            }
            e.out += line.substr(std::min<std::size_t>(line.size(), 29 * std::size_t(u.width)));
        } else {
            e.out += line;
        }
        e.out += body.substr(end * u.width, (next - end) * u.width);
        i = next;
    }
    if (body.size() % std::size_t(u.width)) e.out += body.back();
    if (timeLines == 0) return {1, "", "srt-retime: " + name + ": no subtitle timing found\n"};
    return e;
}

Expected ExpectedFor(const std::string& bytes, int offset, const std::string& name) {
    std::string_view body = bytes;
    if (body.starts_with("\xFF\xFE") || body.starts_with("\xFE\xFF")) {
        const Units u{2, body[0] == '\xFF'};
        return Reading(body.substr(2), u, bytes.substr(0, 2), offset, name);
    }
    std::string head;
    if (body.starts_with("\xEF\xBB\xBF")) {
        head = "\xEF\xBB\xBF";
        body.remove_prefix(3);
    }
    return Reading(body, Units{}, head, offset, name);
}

void ExpectRun(const fs::path& path, int offset, const Expected& expected) {
    auto r = srt::test::RunProgram(SRT_RETIME, {"--offset", std::to_string(offset), path.string()});
    ASSERT_EQ(r.signal, 0);
    EXPECT_EQ(r.status, expected.status) << r.err;
    EXPECT_EQ(r.err, expected.err);
    EXPECT_TRUE(r.out == expected.out) << "output differs from the independent reading, offset " << offset;
}

TEST(Corpus, EveryFileAgreesWithAnIndependentReading) {
    const auto files = CorpusFiles();
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    int retimed = 0, refused = 0, utf16 = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        const std::string bytes = ReadFile(path);
        for (int offset : {1500, 0}) {
            const Expected expected = ExpectedFor(bytes, offset, path.string());
            (expected.status ? refused : retimed)++;
            ExpectRun(path, offset, expected);
        }
        utf16 += bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    }
    EXPECT_GT(retimed, 30);
    EXPECT_GT(refused, 0);
    EXPECT_GE(utf16, 4);
}

TEST(Corpus, Utf16FilesWithoutTheirMarkAreTheSameFiles) {
    const auto files = CorpusFiles();
    SKIP_OR_FAIL_WITHOUT_CORPUS();
    const fs::path dir = fs::temp_directory_path() / ("srt-retime-corpus-" + std::to_string(getpid()));
    fs::create_directories(dir);
    int checked = 0;
    for (const fs::path& path : files) {
        const std::string bytes = ReadFile(path);
        if (!bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF")) continue;
        SCOPED_TRACE(path.string());
        const fs::path bare = dir / "unmarked.srt";
        std::ofstream(bare, std::ios::binary) << bytes.substr(2);
        Expected expected = ExpectedFor(bytes, 1500, bare.string());
        if (expected.status == 0) expected.out.erase(0, 2);
        ExpectRun(bare, 1500, expected);
        ++checked;
    }
    fs::remove_all(dir);
    EXPECT_GE(checked, 4);
}

// Generated files: cues with every kind of line end, coordinates after
// column 29, Ctrl-Z and NUL bytes, long enough to cross the tool's buffers.
TEST(Corpus, GeneratedFilesWithMixedLineEnds) {
    const fs::path dir = fs::temp_directory_path() / ("srt-retime-mixed-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::mt19937 random(25);
    const char* ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
    const char* extras[] = {"", "  X1:40 X2:600 Y1:20 Y2:50", " ", "\x1a", std::string("\0x", 2).c_str()};
    for (int round = 0; round < 12; ++round) {
        std::string text = round % 3 == 0 ? "\xEF\xBB\xBF" : "";
        const int cues = round < 10 ? 1 + int(random() % 50) : 20000;
        for (int k = 0; k < cues; ++k) {
            const int t = k * 3000 + int(random() % 1000);
            char line[40];
            std::snprintf(line, sizeof line, "%02d:%02d:%02d,%03d --> %02d:%02d:%02d,%03d", t / 3600000,
                          t / 60000 % 60, t / 1000 % 60, t % 1000, (t + 1500) / 3600000, (t + 1500) / 60000 % 60,
                          (t + 1500) / 1000 % 60, (t + 1500) % 1000);
            text += std::to_string(k + 1) + ends[random() % 5];
            text += std::string(line) + extras[random() % 4];
            text += ends[random() % 5];
            text += "Text " + std::to_string(random()) + ends[random() % 5];
            if (k + 1 < cues || random() % 2) text += ends[random() % 5];
        }
        const fs::path file = dir / ("mixed" + std::to_string(round) + ".srt");
        std::ofstream(file, std::ios::binary) << text;
        SCOPED_TRACE(file.string());
        for (int offset : {250, -1, 0}) ExpectRun(file, offset, ExpectedFor(text, offset, file.string()));
    }
    fs::remove_all(dir);
}

}  // namespace

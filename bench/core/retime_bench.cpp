// Throughput of the re-timing rule, of srt-retime end to end and of a plain
// file copy (the floor) on a generated 100,000-cue file, in UTF-8 and in
// UTF-16.
// Usage: retime_bench [CUES]
#include "core/textlines.h"
#include "core/timeshift.h"
#include "core/utf16.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;
namespace fs = std::filesystem;

namespace {

std::string Time(long ms) {
    char s[32];
    std::snprintf(s, sizeof s, "%02ld:%02ld:%02ld,%03ld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return s;
}

std::string MakeFile(int cues) {
    const char* texts[] = {"The tide comes in at dawn.", "<i>Somewhere a bell rings twice.</i>",
                           "潮水在黎明时涨起。", "我们出发吧，不管风怎么说。",
                           "Then we sail, whatever the wind says."};
    std::string s;
    s.reserve(std::size_t(cues) * 90);
    for (int i = 0; i < cues; ++i) {
        long start = 1000L + i * 800L;  // 100,000 cues fit in the day
        s += std::to_string(i + 1) + "\r\n";
        s += Time(start) + " --> " + Time(start + 700) + "\r\n";
        s += texts[i % 5];
        s += "\r\n";
        if (i % 3 == 0) s += std::string(texts[(i + 2) % 5]) + "\r\n";
        s += "\r\n";
    }
    return s;
}

// Best of several runs, in seconds.
double Best(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void Spawn(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int cues = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path dir = fs::temp_directory_path() / ("retime-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path in = dir / "in.srt", out = dir / "out.srt", copy = dir / "copy.srt";
    const std::string text = MakeFile(cues);
    std::ofstream(in, std::ios::binary) << text;
    const double mb = double(text.size()) / 1e6;
    std::printf("input: %d cues, %.2f MB, CR LF, UTF-8 Chinese lines\n", cues, mb);

    std::size_t sink = 0;
    auto retime = [](std::string_view bytes) {
        std::string result;
        result.reserve(bytes.size() + 64);
        srt::TextLineReader reader(bytes);
        std::string_view line;
        while (reader.Next(line)) {
            srt::AppendShiftedLine(result, line, 1500);
            result += "\r\n";
        }
        return result;
    };
    const double rule = Best(10, [&] { sink += retime(text).size(); });

    const std::string wide = srt::EncodeUtf16File(srt::ByteOrder::LittleEndian, text);
    const double wideMb = double(wide.size()) / 1e6;
    const fs::path in16 = dir / "in16.srt";
    std::ofstream(in16, std::ios::binary) << wide;
    const double decode = Best(10, [&] { sink += srt::DecodeUtf16File(wide)->text.size(); });
    const std::string narrow = srt::DecodeUtf16File(wide)->text;
    const double encode = Best(10, [&] { sink += srt::EncodeUtf16File(srt::ByteOrder::LittleEndian, narrow).size(); });
    const double rule16 = Best(10, [&] {
        auto file = srt::DecodeUtf16File(wide);
        sink += srt::EncodeUtf16File(file->order, retime(file->text), file->tail).size();
    });
    const double cli16 = Best(10, [&] { Spawn({SRT_RETIME, "--offset", "1500", "-o", out.string(), in16.string()}); });
    const double cli = Best(10, [&] { Spawn({SRT_RETIME, "--offset", "1500", "-o", out.string(), in.string()}); });
    const double cp = Best(10, [&] { Spawn({"/bin/cp", in.string(), copy.string()}); });
    const double rw = Best(10, [&] {
        std::ifstream f(in, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(f)), {});
        std::ofstream(copy, std::ios::binary) << bytes;
    });
    std::printf("rule (read lines, shift, join CR LF, in memory): %8.1f MB/s\n", mb / rule);
    std::printf("srt-retime end to end (process, file to file):   %8.1f MB/s\n", mb / cli);
    std::printf("plain copy, /bin/cp (process):                   %8.1f MB/s\n", mb / cp);
    std::printf("plain copy, read + write in this process:        %8.1f MB/s\n", mb / rw);
    std::printf("srt-retime / cp: %.2f\n", cp / cli);
    std::printf("UTF-16LE input: %.2f MB\n", wideMb);
    std::printf("UTF-16 to 8-bit text:                            %8.1f MB/s of UTF-16\n", wideMb / decode);
    std::printf("8-bit text to UTF-16:                            %8.1f MB/s of UTF-16\n", wideMb / encode);
    std::printf("rule on UTF-16 (decode, shift, encode):          %8.1f MB/s of UTF-16\n", wideMb / rule16);
    std::printf("srt-retime end to end on UTF-16:                 %8.1f MB/s of UTF-16\n", wideMb / cli16);
    fs::remove_all(dir);
    return sink == 0;
}

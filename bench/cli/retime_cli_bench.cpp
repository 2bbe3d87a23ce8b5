// srt-retime as whole processes against baselines measured in the same run:
// cat of the same file, and ffmpeg and Python's srt module where installed.
// Prints speed ratios (baseline time / srt-retime time, best of several
// runs), the peak resident memory of srt-retime on a ~94 MB file, what
// flushing to disk costs a save, and the offset search on 2,000 x 2,000 cues.
// Usage: retime_cli_bench [RUNS]
#include "core/atomicfile.h"
#include "core/match.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
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

// cues cues, step ms apart, CR LF, Latin and Chinese lines.
std::string MakeFile(int cues, long step) {
    const char* texts[] = {"The tide comes in at dawn.", "<i>Somewhere a bell rings twice.</i>",
                           "潮水在黎明时涨起。", "我们出发吧，不管风怎么说。",
                           "Then we sail, whatever the wind says."};
    std::string s;
    s.reserve(std::size_t(cues) * 90);
    for (int i = 0; i < cues; ++i) {
        const long start = 1000L + i * step;
        s += std::to_string(i + 1) + "\r\n";
        s += Time(start) + " --> " + Time(start + step * 7 / 8) + "\r\n";
        s += texts[i % 5];
        s += "\r\n";
        if (i % 3 == 0) s += std::string(texts[(i + 2) % 5]) + "\r\n";
        s += "\r\n";
    }
    return s;
}

struct Run {
    double seconds = 0;
    long maxRssKb = 0;
    bool ok = false;
};

// One process, its standard output sent to outPath (or /dev/null).
Run Spawn(std::vector<std::string> args, const std::string& outPath = "/dev/null") {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return run;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    run.maxRssKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Best of runs; 0 when the program failed or is missing.
double Best(int runs, const std::vector<std::string>& args, const std::string& out = "/dev/null") {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const Run r = Spawn(args, out);
        if (!r.ok) return 0;
        best = std::min(best, r.seconds);
    }
    return best;
}

double BestInProcess(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

// The same bytes written beside the target and renamed, without the flush.
void ReplaceWithoutFlush(const fs::path& target, const std::string& bytes) {
    const fs::path temp = target.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary);
        out << bytes;
    }
    fs::rename(temp, target);
}

bool Available(const std::string& check) { return std::system((check + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const fs::path dir = fs::temp_directory_path() / ("retime-cli-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string in = (dir / "in.srt").string(), out = (dir / "out.srt").string();
    const std::string text = MakeFile(100000, 800);
    std::ofstream(in, std::ios::binary) << text;
    std::printf("input: 100,000 cues, %.2f MB, CR LF; best of %d runs, whole processes\n", text.size() / 1e6, runs);

    const double cat = Best(runs, {"cat", in}, out);
    const double retime = Best(runs, {SRT_RETIME, "--offset", "1500", in}, out);
    const double retimeFile = Best(runs, {SRT_RETIME, "--offset", "1500", "-o", out, in});
    std::printf("cat big.srt > out                          %7.1f ms\n", cat * 1e3);
    std::printf("srt-retime --offset 1500 big.srt > out     %7.1f ms\n", retime * 1e3);
    std::printf("srt-retime --offset 1500 -o out big.srt    %7.1f ms  (atomic writer, flushed)\n", retimeFile * 1e3);
    std::printf("speed of srt-retime / speed of cat:          %.2f  (goal 0.50)\n", cat / retime);

    if (Available("ffmpeg -version")) {
        const double ffmpeg = Best(std::min(runs, 3), {"ffmpeg", "-v", "error", "-y", "-itsoffset", "1.5", "-i", in,
                                                       (dir / "ff.srt").string()});
        if (ffmpeg > 0)
            std::printf("ffmpeg -itsoffset 1.5: %7.1f ms; srt-retime is %.1fx as fast\n", ffmpeg * 1e3,
                        ffmpeg / retime);
    } else {
        std::printf("ffmpeg: not installed\n");
    }
    if (Available("python3 -c 'import srt'")) {
        const std::string script =
            "import datetime,srt,sys\n"
            "subs=list(srt.parse(open(sys.argv[1],encoding='utf-8').read()))\n"
            "d=datetime.timedelta(milliseconds=1500)\n"
            "for s in subs:\n s.start+=d\n s.end+=d\n"
            "sys.stdout.write(srt.compose(subs,reindex=False))\n";
        const double python = Best(std::min(runs, 3), {"python3", "-c", script, in}, out);
        if (python > 0)
            std::printf("python3 srt (parse, shift, compose): %7.1f ms; srt-retime is %.1fx as fast\n",
                        python * 1e3, python / retime);
    } else {
        std::printf("python3 srt: not installed\n");
    }

    // Peak memory on a ~94 MB file: steps of 79 ms keep 1.09 million cues in the day.
    {
        const std::string bigPath = (dir / "big.srt").string();
        {
            std::ofstream big(bigPath, std::ios::binary);
            big << MakeFile(1090000, 79);
        }
        const Run r = Spawn({SRT_RETIME, "--offset", "1500", bigPath}, out);
        const Run c = Spawn({"cat", bigPath}, out);
        std::printf("~94 MB file (%.1f MB): srt-retime %.0f ms, peak RSS %.1f MB (%s); cat %.0f ms, %.1f MB\n",
                    fs::file_size(bigPath) / 1e6, r.seconds * 1e3, r.maxRssKb / 1024.0, r.ok ? "ok" : "FAILED",
                    c.seconds * 1e3, c.maxRssKb / 1024.0);
        fs::remove(bigPath);
    }

    // What the flush costs a save: the shared writer against the same steps
    // without fsync, for the 100,000-cue file and a small one.
    for (const std::size_t size : {std::size_t(2000), text.size()}) {
        const std::string bytes = text.substr(0, size);
        const fs::path target = dir / "save.srt";
        const double flushed = BestInProcess(runs, [&] { srt::ReplaceFileContents(target, bytes); });
        const double unflushed = BestInProcess(runs, [&] { ReplaceWithoutFlush(target, bytes); });
        std::printf("save of %8zu bytes: flushed %7.2f ms, without flush %7.2f ms: the flush costs %.2f ms\n", size,
                    flushed * 1e3, unflushed * 1e3, (flushed - unflushed) * 1e3);
    }

    // The offset search, 2,000 x 2,000 cues over two hours.
    {
        std::mt19937 random(9);
        std::vector<srt::CueTimes> a, b;
        for (int i = 0; i < 2000; ++i) {
            const auto s = std::int64_t(random() % 7200000), t = std::int64_t(random() % 7200000);
            a.push_back({s, s + 500 + std::int64_t(random() % 5000)});
            b.push_back({t, t + 500 + std::int64_t(random() % 5000)});
        }
        srt::OffsetMatch best;
        const double took = BestInProcess(3, [&] { best = srt::FindBestOffset(a, b); });
        std::printf("--match search, 2,000 x 2,000 cues: %.0f ms (offset %+lld)\n", took * 1e3,
                    (long long)best.offset);
    }
    fs::remove_all(dir);
    return 0;
}

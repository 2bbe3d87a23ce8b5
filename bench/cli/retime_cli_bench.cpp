// srt-retime as whole processes against baselines measured in the same run:
// cat of the same file, and ffmpeg and Python's srt module where installed.
// Prints speed ratios (baseline time / srt-retime time, best of several
// runs), the peak resident memory of srt-retime on a ~94 MB file, what
// flushing to disk costs a save, and --match on 60,000 x 60,000 cues against
// --offset on the same file.
// Usage: retime_cli_bench [RUNS]
#include "core/atomicfile.h"
#include "core/retimer.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
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
    double cpuSeconds = 0;  // user + system
    long maxRssKb = 0;
    bool ok = false;
};

double CpuSeconds(const struct rusage& u) {
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

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
    run.cpuSeconds = CpuSeconds(usage);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Best of runs, wall and processor time; 0 when the program failed or is missing.
struct Timing {
    double wall = 0, cpu = 0;
};
Timing Best(int runs, const std::vector<std::string>& args, const std::string& out = "/dev/null") {
    Timing best{1e9, 1e9};
    for (int i = 0; i < runs; ++i) {
        const Run r = Spawn(args, out);
        if (!r.ok) return {};
        best.wall = std::min(best.wall, r.seconds);
        best.cpu = std::min(best.cpu, r.cpuSeconds);
    }
    return best;
}

// The peak resident memory of a command, measured from a small process of
// its own: a child's peak counts its parent's memory at the time it was
// spawned, and this program holds large files.
long PeakKb(const std::vector<std::string>& args, const std::string& out) {
    std::vector<std::string> call = {"/proc/self/exe", "--peak", out};
    call.insert(call.end(), args.begin(), args.end());
    const std::string report = out + ".peak";
    if (!Spawn(call, report).ok) return -1;
    std::ifstream in(report);
    long kb = -1;
    in >> kb;
    return kb;
}

// --peak OUT COMMAND...: runs COMMAND with standard output to OUT, prints its peak in KB.
int PeakMode(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

// Processor time of this thread, in seconds.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double BestProcessorTime(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const double t0 = ThreadSeconds();
        work();
        best = std::min(best, ThreadSeconds() - t0);
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
    if (argc > 3 && std::string(argv[1]) == "--peak") return PeakMode(argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const fs::path dir = fs::temp_directory_path() / ("retime-cli-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string in = (dir / "in.srt").string(), out = (dir / "out.srt").string();
    const std::string text = MakeFile(100000, 800);
    std::ofstream(in, std::ios::binary) << text;
    std::printf("input: 100,000 cues, %.2f MB, CR LF; best of %d runs, whole processes\n", text.size() / 1e6, runs);

    const Timing cat = Best(runs, {"cat", in}, out);
    const Timing retime = Best(runs, {SRT_RETIME, "--offset", "1500", in}, out);
    const Timing retimeFile = Best(runs, {SRT_RETIME, "--offset", "1500", "-o", out, in});
    std::printf("                                            wall       processor\n");
    std::printf("cat big.srt > out                          %7.1f ms  %7.1f ms\n", cat.wall * 1e3, cat.cpu * 1e3);
    std::printf("srt-retime --offset 1500 big.srt > out     %7.1f ms  %7.1f ms\n", retime.wall * 1e3,
                retime.cpu * 1e3);
    std::printf("srt-retime --offset 1500 -o out big.srt    %7.1f ms  %7.1f ms  (atomic writer, flushed)\n",
                retimeFile.wall * 1e3, retimeFile.cpu * 1e3);
    std::printf("speed of srt-retime / speed of cat: %.2f wall, %.2f processor time (goal 0.50)\n",
                cat.wall / retime.wall, cat.cpu / retime.cpu);

    // The re-timer alone, in this process: text in memory to a sink that only counts.
    {
        std::size_t written = 0;
        const double inProcess = BestProcessorTime(runs, [&] {
            srt::StreamRetimer retimer(srt::TimeMap::Offset(1500), {}, [&](std::string_view b) { written += b.size(); });
            retimer.Feed(text);
            retimer.Finish();
        });
        std::printf("the re-timer alone, in memory (processor): %7.1f ms  (%.0f MB/s)\n", inProcess * 1e3,
                    text.size() / 1e6 / inProcess);
    }

    if (Available("ffmpeg -version")) {
        const Timing ffmpeg = Best(std::min(runs, 3), {"ffmpeg", "-v", "error", "-y", "-itsoffset", "1.5", "-i", in,
                                                       (dir / "ff.srt").string()});
        if (ffmpeg.wall > 0)
            std::printf("ffmpeg -itsoffset 1.5: %7.1f ms; srt-retime is %.1fx as fast (wall), %.1fx (processor)\n",
                        ffmpeg.wall * 1e3, ffmpeg.wall / retime.wall, ffmpeg.cpu / retime.cpu);
    } else {
        std::printf("ffmpeg: not installed\n");
    }
    std::string python;
    for (const char* candidate : {"python3", "/usr/bin/python3"})
        if (python.empty() && Available(std::string(candidate) + " -c 'import srt'")) python = candidate;
    if (!python.empty()) {
        const std::string script =
            "import datetime,srt,sys\n"
            "subs=list(srt.parse(open(sys.argv[1],encoding='utf-8').read()))\n"
            "d=datetime.timedelta(milliseconds=1500)\n"
            "for s in subs:\n s.start+=d\n s.end+=d\n"
            "sys.stdout.write(srt.compose(subs,reindex=False))\n";
        const Timing py = Best(std::min(runs, 3), {python, "-c", script, in}, out);
        if (py.wall > 0)
            std::printf("python3 srt (parse, shift, compose): %7.1f ms; srt-retime is %.1fx as fast (wall), %.1fx "
                        "(processor)\n",
                        py.wall * 1e3, py.wall / retime.wall, py.cpu / retime.cpu);
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
        std::printf("~94 MB file (%.1f MB): srt-retime %.0f ms (%s), cat %.0f ms\n", fs::file_size(bigPath) / 1e6,
                    r.seconds * 1e3, r.ok ? "ok" : "FAILED", c.seconds * 1e3);
        std::printf("peak resident memory: srt-retime %.1f MB, cat %.1f MB\n",
                    PeakKb({SRT_RETIME, "--offset", "1500", bigPath}, out) / 1024.0,
                    PeakKb({"cat", bigPath}, out) / 1024.0);
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

    // The offset search through the whole program: 60,000 cues against a
    // reference of 60,000 (the same cues 2.5 s later), against --offset on
    // the same file.
    {
        const std::string cues = (dir / "cues.srt").string(), reference = (dir / "reference.srt").string();
        std::ofstream(cues, std::ios::binary) << MakeFile(60000, 800);
        Spawn({SRT_RETIME, "--offset", "2500", "-o", reference, cues});
        const Timing offset = Best(runs, {SRT_RETIME, "--offset", "-2500", "-o", out, cues});
        const Timing match = Best(1, {SRT_RETIME, "--match", reference, "-o", out, cues});
        std::printf("--match, 60,000 x 60,000 cues: %.0f ms wall, %.0f ms processor; --offset on the same file "
                    "%.1f ms: --match takes %.0fx as long\n",
                    match.wall * 1e3, match.cpu * 1e3, offset.wall * 1e3, match.wall / offset.wall);
    }
    fs::remove_all(dir);
    return 0;
}

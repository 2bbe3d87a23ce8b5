// srt-retime: re-times SubRip files from the command line by the same rule
// as the main window, streaming through fixed buffers. All or nothing: a bad
// line writes no output at all.
#include "core/atomicfile.h"
#include "core/ioerror.h"
#include "core/match.h"
#include "core/nativepath.h"
#include "core/platformfile.h"
#include "core/retime.h"
#include "core/retimer.h"
#include "core/timeshift.h"
#include "core/utf16.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum ExitCode { kExitOk = 0, kExitBadLine = 1, kExitUsage = 2, kExitFileError = 3 };

constexpr char kUsage[] =
    "Usage: srt-retime --offset MS [-o OUTPUT | --in-place] [INPUT]\n"
    "       srt-retime --sync A=B --sync C=D | --fps FROM:TO | --match REF\n"
    "                  [--from WHEN] [--to WHEN] [--dry-run] [-o OUTPUT] [INPUT]\n"
    "       srt-retime MODE [RANGE] --in-place FILE...\n";

constexpr char kHelp[] =
    "Re-times a SubRip (.srt) subtitle file. Every line that holds \"-->\" is a\n"
    "time line: its start (columns 1-12) and end (columns 18-29) are re-timed and\n"
    "it is rewritten as hh:mm:ss,mmm --> hh:mm:ss,mmm; every other line passes\n"
    "through unchanged. Reads INPUT, or standard input when INPUT is missing or\n"
    "\"-\"; writes OUTPUT, or standard output. Lines end at LF or CR LF and are\n"
    "written with CR LF; bytes pass through unconverted. A file that starts with a\n"
    "UTF-16 byte-order mark (FF FE or FE FF) is read as UTF-16 and written back as\n"
    "UTF-16 in the same byte order, with the mark.\n"
    "\n"
    "Modes, exactly one:\n"
    "  --offset MS        move every time by MS milliseconds (positive delays,\n"
    "                     negative brings forward): decimal, or hexadecimal after\n"
    "                     \"$\", \"x\" or \"0x\"; a sign may lead\n"
    "                       srt-retime --offset -2500 film.srt > fixed.srt\n"
    "  --sync A=B --sync C=D\n"
    "                     time A becomes B and C becomes D, times in between and\n"
    "                     beyond stretched in proportion\n"
    "                       srt-retime --sync 00:00:05,000=00:00:06,200 \\\n"
    "                                  --sync 01:30:00,000=01:32:10,500 film.srt\n"
    "  --fps FROM:TO      subtitles timed for FROM frames per second, video at TO:\n"
    "                     every time t becomes t*FROM/TO (23.976, 29.97, 47.952,\n"
    "                     59.94 and 119.88 stand for 24000/1001 and so on)\n"
    "                       srt-retime --fps 25:23.976 -o film.23976.srt film.srt\n"
    "  --match REF        find the offset that lines the cues up best with those of\n"
    "                     REF, a correctly timed subtitle file, print it on standard\n"
    "                     error and apply it as --offset would\n"
    "                       srt-retime --match english.srt --in-place french.srt\n"
    "Times A, B, C and D are hh:mm:ss,mmm (or hh:mm:ss.mmm). Sync and frame-rate\n"
    "results are rounded to the nearest millisecond, halves away from zero.\n"
    "\n"
    "Range (with any mode): only time lines whose start lies in [FROM, TO] are\n"
    "re-timed, the others are copied as they are. WHEN is a time, or #N, the N-th\n"
    "time line of the input. With a time bound every time line's start must read.\n"
    "  --from WHEN, --to WHEN\n"
    "                       srt-retime --offset 1000 --from 00:42:00,000 film.srt\n"
    "                       srt-retime --offset -500 --from '#120' --to '#180' film.srt\n"
    "\n"
    "  -o, --output FILE  write FILE (\"-\": standard output)\n"
    "  --in-place         replace each INPUT FILE with its re-timed text, in order\n"
    "  --dry-run          read and check everything, write nothing\n"
    "  --help             show this help\n"
    "  --version          show the version\n"
    "\n"
    "Nothing is written when a line fails: the first bad line is reported as\n"
    "\"line N: MESSAGE\" (\"FILE: line N: MESSAGE\" with several files; the files\n"
    "before it stay replaced, it and the later ones are untouched) and the exit\n"
    "status is 1. Exit status 2 is a usage error, 3 a file error. Files are\n"
    "replaced through a temporary file beside them, flushed to disk before the\n"
    "rename, so a failure never leaves one half written.\n";

struct Options {
    std::optional<std::string> offset, fps, match, from, to, output;
    std::vector<std::string> sync;
    std::vector<std::string> inputs;
    bool inPlace = false;
    bool dryRun = false;
};

// What a run does to each file, read from the options.
struct Plan {
    srt::TimeMap map = srt::TimeMap::Offset(0);
    srt::TimeRange range;
    bool match = false;
    std::vector<srt::CueTimes> reference;
};

// A file operation that failed: which file, and the error code.
struct FileFailure {
    std::string what;
    int code;
};

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

int UsageError(std::string_view message) {
    std::string text = "srt-retime: ";
    text += message;
    text += '\n';
    text += kUsage;
    text += "Try 'srt-retime --help' for more.\n";
    Print(stderr, text);
    return kExitUsage;
}

int FileError(const FileFailure& failure) {
    Print(stderr, "srt-retime: " + failure.what + ": " + srt::IOErrorText(failure.code) + "\n");
    return kExitFileError;
}

void Check(int code, const std::string& what) {
    if (code) throw FileFailure{what, code};
}

srt::NativePath PathOf(const std::string& argument) {
#ifdef _WIN32
    // Arguments come in the ANSI code page.
    std::wstring wide(argument.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, argument.data(), int(argument.size()), wide.data(),
                                      int(wide.size()));
    wide.resize(std::size_t(n > 0 ? n : 0));
    return wide;
#else
    return argument;
#endif
}

bool IsStdio(const std::string& name) { return name == "-"; }

// Parses the command line; returns an exit code when the program is done.
std::optional<int> ParseArguments(int argc, char** argv, Options& options) {
    bool optionsEnd = false;
    int modes = 0;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-') {
            options.inputs.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "--help") {
            Print(stdout, kUsage);
            Print(stdout, kHelp);
            return kExitOk;
        }
        if (arg == "--version") {
            Print(stdout, "srt-retime " SRT_VERSION "\n");
            return kExitOk;
        }
        if (arg == "--in-place") {
            options.inPlace = true;
            continue;
        }
        if (arg == "--dry-run") {
            options.dryRun = true;
            continue;
        }
        // Options with a value: "--name VALUE" or "--name=VALUE".
        std::optional<std::string>* slot = nullptr;
        const std::string_view name = arg.substr(0, arg.find('='));
        if (name == "--offset") slot = &options.offset;
        if (name == "--fps") slot = &options.fps;
        if (name == "--match") slot = &options.match;
        if (name == "--from") slot = &options.from;
        if (name == "--to") slot = &options.to;
        if (name == "-o" || name == "--output") slot = &options.output;
        if (!slot && name != "--sync") return UsageError("unknown option '" + std::string(arg) + "'");
        std::string value;
        if (name.size() < arg.size()) {
            value = std::string(arg.substr(name.size() + 1));
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return UsageError(std::string(name) + " needs a value");
        }
        if (slot) {
            *slot = value;
        } else {
            options.sync.push_back(value);
        }
    }
    modes = int(options.offset.has_value()) + int(!options.sync.empty()) + int(options.fps.has_value()) +
            int(options.match.has_value());
    if (modes == 0) return UsageError("one of --offset, --sync, --fps and --match is required");
    if (modes > 1) return UsageError("--offset, --sync, --fps and --match exclude each other");
    if (!options.sync.empty() && options.sync.size() != 2) return UsageError("--sync is given exactly twice");
    if (options.inPlace && options.output) return UsageError("--in-place and -o exclude each other");
    if (options.inPlace) {
        if (options.inputs.empty()) return UsageError("--in-place needs an INPUT file");
        for (const auto& input : options.inputs)
            if (IsStdio(input)) return UsageError("--in-place needs an INPUT file");
    } else if (options.inputs.size() > 1) {
        return UsageError("more than one INPUT");
    }
    return std::nullopt;
}

std::optional<std::int64_t> ClockArgument(std::string_view text) { return srt::ParseClockTime(text); }

// A range bound: a time, or #N.
bool ParseBound(const std::string& text, std::optional<std::int64_t>& time, std::optional<std::uint64_t>& index) {
    if (text.starts_with("#")) {
        std::uint64_t n = 0;
        if (text.size() < 2 || text.size() > 19) return false;
        for (char c : std::string_view(text).substr(1)) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + unsigned(c - '0');
        }
        if (n == 0) return false;
        index = n;
        return true;
    }
    time = ClockArgument(text);
    return time.has_value();
}

// Reads the mode and range; a usage error's exit code when they do not read.
std::optional<int> MakePlan(const Options& options, Plan& plan) {
    if (options.offset) {
        const auto offset = srt::TryStrToInt(*options.offset);
        if (!offset) return UsageError("'" + *options.offset + "' is not a valid integer value");
        plan.map = srt::TimeMap::Offset(*offset);
    }
    if (!options.sync.empty()) {
        std::int64_t points[4];
        for (int k = 0; k < 2; ++k) {
            const std::string& pair = options.sync[std::size_t(k)];
            const std::size_t eq = pair.find('=');
            const auto from = ClockArgument(std::string_view(pair).substr(0, eq));
            const auto to = eq == std::string::npos ? std::nullopt : ClockArgument(std::string_view(pair).substr(eq + 1));
            if (!from || !to) return UsageError("'" + pair + "' is not A=B with times hh:mm:ss,mmm");
            points[2 * k] = *from;
            points[2 * k + 1] = *to;
        }
        if (points[0] == points[2]) return UsageError("the two --sync points start at the same time");
        plan.map = srt::TimeMap::Sync(points[0], points[1], points[2], points[3]);
    }
    if (options.fps) {
        const std::size_t colon = options.fps->find(':');
        const auto from = srt::ParseFrameRate(std::string_view(*options.fps).substr(0, colon));
        const auto to = colon == std::string::npos ? std::nullopt
                                                   : srt::ParseFrameRate(std::string_view(*options.fps).substr(colon + 1));
        if (!from || !to) return UsageError("'" + *options.fps + "' is not FROM:TO with frame rates such as 25 or 23.976");
        // t * FROM / TO = t * (fromNum / fromDen) / (toNum / toDen)
        plan.map = srt::TimeMap::Scale(from->num * to->den, from->den * to->num);
    }
    if (options.from && !ParseBound(*options.from, plan.range.from, plan.range.fromIndex))
        return UsageError("'" + *options.from + "' is not a time hh:mm:ss,mmm or #N");
    if (options.to && !ParseBound(*options.to, plan.range.to, plan.range.toIndex))
        return UsageError("'" + *options.to + "' is not a time hh:mm:ss,mmm or #N");
    if ((plan.range.from && plan.range.to && *plan.range.from > *plan.range.to) ||
        (plan.range.fromIndex && plan.range.toIndex && *plan.range.fromIndex > *plan.range.toIndex))
        return UsageError("--from lies after --to");
    plan.match = options.match.has_value();
    if (plan.match && IsStdio(*options.match) && (options.inputs.empty() || IsStdio(options.inputs[0])))
        return UsageError("REF and INPUT cannot both be standard input");
    return std::nullopt;
}

// Where the re-timed text goes; a failed run leaves it as it was.
class Output {
public:
    virtual ~Output() = default;
    virtual void Write(std::string_view bytes) = 0;
    virtual void Commit() = 0;
};

// Nothing at all: --dry-run.
class NoOutput : public Output {
public:
    void Write(std::string_view) override {}
    void Commit() override {}
};

// A file replaced through the atomic writer.
class FileOutput : public Output {
public:
    explicit FileOutput(const std::string& name) : name_(name) { Check(file_.Open(PathOf(name)), name_); }
    void Write(std::string_view bytes) override { Check(file_.Write(bytes), name_); }
    void Commit() override { Check(file_.Commit(), name_); }

private:
    std::string name_;
    srt::AtomicFile file_;
};

// Standard output. A file on disk is written as the text comes and cut back
// if the run fails; a pipe or terminal gets the text only when it is whole,
// kept meanwhile in a scratch file.
class StandardOutput : public Output {
public:
    StandardOutput() : out_(srt::PlatformFile::StandardOutput()) {
        if (out_.IsDiskFile() && out_.WritePosition(start_) == 0) {
            direct_ = true;
        } else {
            Check(scratch_.OpenScratch(), "temporary file");
        }
    }
    ~StandardOutput() override {
        if (direct_ && written_ && !committed_) {
            out_.Truncate(start_);
            out_.Seek(start_);
        }
    }
    void Write(std::string_view bytes) override {
        if (direct_) {
            written_ = true;
            Check(out_.Write(bytes), "standard output");
        } else {
            Check(scratch_.Write(bytes), "temporary file");
        }
    }
    void Commit() override {
        if (!direct_) {
            Check(scratch_.Seek(0), "temporary file");
            std::string buffer(std::size_t(1) << 20, '\0');
            for (;;) {
                std::size_t got = 0;
                Check(scratch_.Read(buffer.data(), buffer.size(), got), "temporary file");
                if (got == 0) break;
                Check(out_.Write(std::string_view(buffer.data(), got)), "standard output");
            }
        }
        committed_ = true;
    }

private:
    srt::PlatformFile out_, scratch_;
    std::uint64_t start_ = 0;
    bool direct_ = false;
    bool written_ = false;
    bool committed_ = false;
};

// Re-encodes the re-timed text as UTF-16, whole lines at a time.
class Utf16Sink {
public:
    Utf16Sink(srt::ByteOrder order, Output& out) : order_(order), out_(out) {}
    void Write(std::string_view text) {
        const std::size_t cut = text.rfind('\n');
        if (cut == std::string_view::npos) {
            pending_ += text;
            return;
        }
        pending_ += text.substr(0, cut + 1);
        out_.Write(srt::Utf8ToUtf16(pending_, order_));
        pending_.assign(text.substr(cut + 1));
    }
    void Finish(std::string_view tail) {
        out_.Write(srt::Utf8ToUtf16(pending_, order_));
        pending_.clear();
        out_.Write(tail);
    }

private:
    srt::ByteOrder order_;
    Output& out_;
    std::string pending_;
};

// An input file, or standard input; read once, or twice for --match (a pipe
// is first copied to a scratch file).
class Input {
public:
    explicit Input(const std::string& name) : name_(IsStdio(name) ? "standard input" : name) {
        if (IsStdio(name)) {
            file_ = srt::PlatformFile::StandardInput();
        } else {
            Check(file_.OpenRead(PathOf(name)), name_);
        }
    }
    const std::string& name() const { return name_; }
    srt::PlatformFile& file() { return file_; }

    // Makes the input readable a second time.
    void Rewindable() {
        if (file_.IsDiskFile() && file_.Position(start_) == 0) return;
        srt::PlatformFile scratch;
        Check(scratch.OpenScratch(), "temporary file");
        std::string buffer(std::size_t(1) << 20, '\0');
        for (;;) {
            std::size_t got = 0;
            Check(file_.Read(buffer.data(), buffer.size(), got), name_);
            if (got == 0) break;
            Check(scratch.Write(std::string_view(buffer.data(), got)), "temporary file");
        }
        file_ = std::move(scratch);
        start_ = 0;
        Rewind();
    }
    void Rewind() { Check(file_.Seek(start_), name_); }

private:
    std::string name_;
    srt::PlatformFile file_;
    std::uint64_t start_ = 0;
};

// Streams one input through a retimer: 8-bit text straight into its buffer,
// UTF-16 decoded in blocks that never split a surrogate pair. The sink
// receives the output and, for UTF-16, the order of the mark (the caller
// writes the mark and the odd last byte).
struct Streamed {
    std::optional<srt::ByteOrder> utf16;
    std::string tail;  // an odd last byte of UTF-16
};

Streamed StreamInto(Input& input, srt::StreamRetimer& retimer,
                    const std::function<void(srt::ByteOrder)>& onUtf16 = {}) {
    Streamed result;
    srt::PlatformFile& file = input.file();
    // The first two bytes tell UTF-16 from 8-bit text.
    std::string head;
    char two[2];
    while (head.size() < 2) {
        std::size_t got = 0;
        Check(file.Read(two, 2 - head.size(), got), input.name());
        if (got == 0) break;
        head.append(two, got);
    }
    result.utf16 = srt::FindUtf16Mark(head);
    if (!result.utf16) {
        retimer.SetUtf8MarkAllowed(true);
        retimer.Feed(head);
        for (;;) {
            std::size_t room = 0, got = 0;
            char* space = retimer.Space(room);
            Check(file.Read(space, room, got), input.name());
            if (got == 0) break;
            retimer.Commit(got);
        }
        retimer.Finish();
        return result;
    }
    if (onUtf16) onUtf16(*result.utf16);
    retimer.SetUtf8MarkAllowed(false);
    const bool little = *result.utf16 == srt::ByteOrder::LittleEndian;
    std::string units(std::size_t(1) << 19, '\0');
    std::size_t kept = 0;  // bytes carried to the next block
    for (;;) {
        std::size_t got = 0;
        Check(file.Read(units.data() + kept, units.size() - kept, got), input.name());
        const bool end = got == 0;
        std::size_t size = kept + got;
        std::size_t usable = size & ~std::size_t(1);
        if (!end && usable >= 2) {
            // A high surrogate at the end waits for its partner.
            const auto hi = static_cast<unsigned char>(units[usable - (little ? 1 : 2)]);
            if (hi >= 0xD8 && hi <= 0xDB) usable -= 2;
        }
        retimer.Feed(srt::Utf16ToUtf8(std::string_view(units.data(), usable), *result.utf16));
        if (end) {
            if (size > usable) result.tail.assign(units.data() + usable, size - usable);
            break;
        }
        kept = size - usable;
        std::copy(units.begin() + std::ptrdiff_t(usable), units.begin() + std::ptrdiff_t(size), units.begin());
    }
    retimer.Finish();
    return result;
}

// The cues of a file, everything selected or by range.
std::vector<srt::CueTimes> ReadCues(Input& input, const srt::TimeRange& range) {
    std::vector<srt::CueTimes> cues;
    srt::StreamRetimer reader(range, cues);
    StreamInto(input, reader);
    return cues;
}

std::string Signed(std::int64_t value) { return (value < 0 ? "" : "+") + std::to_string(value); }

// Re-times one input into its output. Throws LineError and FileFailure.
void RetimeOne(const Options& options, const Plan& plan, const std::string& name, const std::string& prefix) {
    Input input(name);
    srt::TimeMap map = plan.map;
    if (plan.match) {
        input.Rewindable();
        const std::vector<srt::CueTimes> cues = ReadCues(input, plan.range);
        const srt::OffsetMatch best = srt::FindBestOffset(cues, plan.reference);
        Print(stderr, prefix + "offset: " + Signed(best.offset) + " ms (" + std::to_string(best.overlapping) +
                          " of " + std::to_string(cues.size()) + " cues overlap)\n");
        if (options.dryRun) return;
        map = srt::TimeMap::Offset(std::int32_t(best.offset));
        input.Rewind();
    }
    std::unique_ptr<Output> output;
    if (options.dryRun) {
        output = std::make_unique<NoOutput>();
    } else if (options.inPlace) {
        output = std::make_unique<FileOutput>(name);
    } else if (options.output && !IsStdio(*options.output)) {
        output = std::make_unique<FileOutput>(*options.output);
    } else {
        output = std::make_unique<StandardOutput>();
    }
    std::optional<Utf16Sink> utf16;
    srt::StreamRetimer::Sink sink;
    if (!options.dryRun) {
        sink = [&](std::string_view bytes) {
            if (utf16) {
                utf16->Write(bytes);
            } else {
                output->Write(bytes);
            }
        };
    }
    srt::StreamRetimer retimer(map, plan.range, sink);
    const Streamed streamed = StreamInto(input, retimer, [&](srt::ByteOrder order) {
        output->Write(order == srt::ByteOrder::LittleEndian ? "\xFF\xFE" : "\xFE\xFF");
        utf16.emplace(order, *output);
    });
    if (utf16) utf16->Finish(streamed.tail);
    // Windows renames nothing over a file that is still open.
    Check(input.file().Close(), input.name());
    output->Commit();
    if (options.dryRun)
        Print(stderr, prefix + std::to_string(retimer.selected()) + " of " + std::to_string(retimer.timeLines()) +
                          " time lines would be re-timed\n");
}

int Run(const Options& options) {
    Plan plan;
    if (auto done = MakePlan(options, plan)) return *done;
    std::vector<std::string> inputs = options.inputs;
    if (inputs.empty()) inputs.push_back("-");
    const bool several = inputs.size() > 1;
    if (plan.match) {
        try {
            Input reference(*options.match);
            plan.reference = ReadCues(reference, srt::TimeRange{});
        } catch (const srt::LineError& e) {
            Print(stderr, *options.match + ": line " + std::to_string(e.line()) + ": " + e.what() + "\n");
            return kExitBadLine;
        } catch (const FileFailure& failure) {
            return FileError(failure);
        }
    }
    for (const std::string& name : inputs) {
        const std::string prefix = several ? name + ": " : "";
        try {
            RetimeOne(options, plan, name, prefix);
        } catch (const srt::LineError& e) {
            Print(stderr, prefix + "line " + std::to_string(e.line()) + ": " + e.what() + "\n");
            return kExitBadLine;
        } catch (const FileFailure& failure) {
            return FileError(failure);
        }
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (auto done = ParseArguments(argc, argv, options)) return *done;
    return Run(options);
}

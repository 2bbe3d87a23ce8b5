// srt-retime: re-times SubRip files from the command line by the same rule
// as the main window, streaming through fixed buffers. Byte for byte
// faithful outside the time fields, and all or nothing: a bad line, or a
// file that is no subtitle file, writes no output at all.
#include "cli/process.h"
#include "cli/streams.h"
#include "core/ioerror.h"
#include "core/match.h"
#include "core/nativepath.h"
#include "core/platformfile.h"
#include "core/retime.h"
#include "core/retimer.h"
#include "core/timeshift.h"
#include "core/utf16.h"

#include <new>


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

using cli::Check;
using cli::FileFailure;
using cli::PathOf;

enum ExitCode { kExitOk = 0, kExitBadLine = 1, kExitUsage = 2, kExitFileError = 3 };

constexpr char kUsage[] =
    "Usage: srt-retime --offset MS [-o OUTPUT | --in-place] [INPUT]\n"
    "       srt-retime --sync A=B --sync C=D | --fps FROM:TO | --match REF\n"
    "                  [--from WHEN] [--to WHEN] [--dry-run] [-o OUTPUT] [INPUT]\n"
    "       srt-retime MODE [RANGE] --in-place FILE...\n";

constexpr char kHelp[] =
    "Re-times a SubRip (.srt) subtitle file. Every line that holds \"-->\" is a\n"
    "time line: its start (columns 1-12) and end (columns 18-29) are re-timed and\n"
    "its first 29 columns become hh:mm:ss,mmm --> hh:mm:ss,mmm; whatever follows\n"
    "column 29 (position coordinates such as X1:40 X2:600 Y1:20 Y2:50, or blanks)\n"
    "is kept as it was. Nothing else changes, byte for byte: lines end at CR LF,\n"
    "LF or a lone CR and each keeps its own end, a last line without one stays\n"
    "so, and every other byte (Ctrl-Z and NUL included) passes through. Reads\n"
    "INPUT, or standard input when INPUT is missing or \"-\"; writes OUTPUT, or\n"
    "standard output. UTF-16 (after a byte-order mark FF FE or FE FF, or without\n"
    "one, told by its time lines) is written back in its own byte order and form.\n"
    "Input without a time line is no subtitle file and is refused.\n"
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
    "  -o, --output FILE  write FILE (\"-\", /dev/stdout, /dev/fd/N: through that\n"
    "                     descriptor); never a folder, pipe or device\n"
    "  --in-place         replace each INPUT FILE with its re-timed text, in order\n"
    "  --dry-run          read and check everything, write nothing\n"
    "  --help             show this help\n"
    "  --version          show the version\n"
    "\n"
    "Nothing is written when a line fails: the first bad line is reported as\n"
    "\"line N: MESSAGE\" (\"FILE: line N: MESSAGE\" with several files; the files\n"
    "before it stay replaced, it and the later ones are untouched) and the exit\n"
    "status is 1; so it is for input with no time line, a range past the last\n"
    "time line and --match with no overlap at any offset. Exit status 2 is a\n"
    "usage error (also: an option given twice, --sync points that reverse time,\n"
    "one file named twice), 3 a file error (also: output that is the input,\n"
    "\"Not enough memory\"). Files are replaced through a temporary file beside\n"
    "them, flushed to disk before the rename, keeping mode, owner and group, so\n"
    "a failure or an interrupt never leaves one half written.\n";

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

// False when the text could not be written.
bool Print(std::FILE* stream, std::string_view text) {
    const bool put = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && put && !std::ferror(stream);
}

// --help and --version: a failed write is a failed run.
int Show(std::string_view text) {
    if (Print(stdout, text)) return kExitOk;
    Print(stderr, "srt-retime: standard output: write failed\n");
    return kExitFileError;
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
        if (arg == "--help") return Show(std::string(kUsage) + kHelp);
        if (arg == "--version") return Show("srt-retime " SRT_VERSION "\n");
        if (arg == "--in-place" || arg == "--dry-run") {
            bool& flag = arg == "--in-place" ? options.inPlace : options.dryRun;
            if (flag) return UsageError(std::string(arg) + " is given twice");
            flag = true;
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
            if (slot->has_value()) return UsageError(std::string(name) + " is given twice");
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
        // The later point must stay later: no reversal, no two times made one.
        if ((points[0] < points[2]) != (points[1] < points[3]) || points[1] == points[3])
            return UsageError("the --sync points reverse time or map two times to one");
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
    return std::nullopt;
}

// A run that must not go on: the message, and the exit status.
struct Refusal {
    std::string message;
    int exit;
};

// The descriptor a name stands for: "-" (as an output), /dev/stdout,
// /dev/stderr, /dev/stdin, /dev/fd/N, /proc/self/fd/N.
std::optional<int> DescriptorOf(const std::string& name, bool output) {
    if (name == "-") return output ? 1 : 0;
#ifndef _WIN32
    if (name == "/dev/stdin") return 0;
    if (name == "/dev/stdout") return 1;
    if (name == "/dev/stderr") return 2;
    for (std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!name.starts_with(prefix) || name.size() == prefix.size() || name.size() > prefix.size() + 6) continue;
        int fd = 0;
        for (char c : std::string_view(name).substr(prefix.size())) {
            if (c < '0' || c > '9') return std::nullopt;
            fd = fd * 10 + (c - '0');
        }
        return fd;
    }
#endif
    return std::nullopt;
}

srt::PlatformFile DescriptorFile(int fd) {
    if (fd == 0) return srt::PlatformFile::StandardInput();
    if (fd == 1) return srt::PlatformFile::StandardOutput();
#ifdef _WIN32
    return {};
#else
    return srt::PlatformFile::Descriptor(fd);
#endif
}

// What the process found at start, and what the runs share.
struct Context {
    unsigned closedAtStart = 0;  // bit n: standard descriptor n
};

// The cues of a file, everything selected or by range.
std::vector<srt::CueTimes> ReadCues(cli::Input& input, const srt::TimeRange& range) {
    std::vector<srt::CueTimes> cues;
    srt::StreamRetimer reader(range, cues);
    cli::StreamInto(input, reader);
    if (reader.timeLines() == 0) throw Refusal{input.name() + ": no subtitle timing found", kExitBadLine};
    return cues;
}

std::string Signed(std::int64_t value) {
    std::string text = value < 0 ? std::string() : std::string(1, '+');
    text += std::to_string(value);
    return text;
}

// The input's identity when it is a file on disk.
std::optional<srt::FileIdentity> DiskIdentity(srt::PlatformFile& file) {
    srt::FileIdentity id;
    if (file.IsDiskFile() && file.Identity(id) == 0) return id;
    return std::nullopt;
}

// The output of one run; refuses one that is the input itself.
std::unique_ptr<cli::Output> OpenOutput(const Options& options, const Context& context, cli::Input& input,
                                        const std::string& name) {
    if (options.dryRun) return std::make_unique<cli::NoOutput>();
    if (options.inPlace) return std::make_unique<cli::FileOutput>(name);
    const auto inputId = DiskIdentity(input.file());
    const std::string target = options.output.value_or("-");
    if (auto fd = DescriptorOf(target, true)) {
        const std::string what = *fd == 1 ? "standard output" : target;
        if (*fd < 3 && (context.closedAtStart >> *fd & 1)) throw Refusal{what + " is closed", kExitFileError};
        srt::PlatformFile out = DescriptorFile(*fd);
        if (inputId && DiskIdentity(out) == inputId) throw Refusal{what + ": input file is output file", kExitFileError};
        return std::make_unique<cli::DescriptorOutput>(std::move(out), *fd, what);
    }
    srt::FileIdentity id;
    if (srt::KindOfPath(PathOf(target), &id) == srt::FileKind::Regular && inputId && id == *inputId)
        throw Refusal{target + ": input file is output file", kExitFileError};
    return std::make_unique<cli::FileOutput>(target);
}

// After the whole input: refuses what re-timed nothing sensible.
void CheckResult(const srt::StreamRetimer& retimer, const srt::TimeRange& range, const std::string& name) {
    const std::uint64_t count = retimer.timeLines();
    if (count == 0) throw Refusal{name + ": no subtitle timing found", kExitBadLine};
    const std::string last = " lies past the last time line (#" + std::to_string(count) + ")";
    if (range.fromIndex && *range.fromIndex > count)
        throw Refusal{name + ": --from #" + std::to_string(*range.fromIndex) + last, kExitBadLine};
    if (range.toIndex && *range.toIndex > count)
        throw Refusal{name + ": --to #" + std::to_string(*range.toIndex) + last, kExitBadLine};
    if (retimer.selected() == 0) throw Refusal{name + ": no time line lies in the range", kExitBadLine};
}

// Re-times one input into its output. Throws LineError, FileFailure and Refusal.
void RetimeOne(const Options& options, const Plan& plan, const Context& context, const std::string& name,
               const std::string& prefix) {
    if (name == "-" && (context.closedAtStart & 1)) throw Refusal{"standard input is closed", kExitFileError};
    cli::Input input(name);
    srt::TimeMap map = plan.map;
    if (plan.match) {
        input.Rewindable();
        const std::vector<srt::CueTimes> cues = ReadCues(input, plan.range);
        const srt::OffsetMatch best = srt::FindBestOffset(cues, plan.reference);
        if (best.overlapping == 0)
            throw Refusal{input.name() + ": no cue overlaps one of " + *options.match + " at any offset", kExitBadLine};
        Print(stderr, prefix + "offset: " + Signed(best.offset) + " ms (" + std::to_string(best.overlapping) +
                          " of " + std::to_string(cues.size()) + " cues overlap)\n");
        if (options.dryRun) return;
        map = srt::TimeMap::Offset(std::int32_t(best.offset));
        input.Rewind();
    }
    std::unique_ptr<cli::Output> output = OpenOutput(options, context, input, name);
    std::optional<cli::Utf16Sink> utf16;
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
    const cli::Streamed streamed = cli::StreamInto(input, retimer, [&](srt::ByteOrder order, bool marked) {
        if (marked) output->Write(order == srt::ByteOrder::LittleEndian ? "\xFF\xFE" : "\xFE\xFF");
        utf16.emplace(order, *output);
    });
    if (utf16) utf16->Finish(streamed.tail);
    CheckResult(retimer, plan.range, input.name());
    // Windows renames nothing over a file that is still open.
    Check(input.file().Close(), input.name());
    output->Commit();
    if (auto* file = dynamic_cast<cli::FileOutput*>(output.get()); file && !file->ownerKept())
        Print(stderr, "srt-retime: " + name +
                          ": its owner and group could not be kept; set-user-ID and set-group-ID bits cleared\n");
    if (options.dryRun)
        Print(stderr, prefix + std::to_string(retimer.selected()) + " of " + std::to_string(retimer.timeLines()) +
                          " time lines would be re-timed\n");
}

// Checks that need no reading: files replaced in place and output files
// must be regular files, named once; REF cannot be the input's pipe.
void CheckFiles(const Options& options, const std::vector<std::string>& inputs) {
    if (options.inPlace) {
        std::vector<std::pair<srt::FileIdentity, std::string>> seen;
        for (const std::string& name : inputs) {
            srt::FileIdentity id;
            const srt::FileKind kind = srt::KindOfPath(PathOf(name), &id);
            if (kind == srt::FileKind::Other) throw Refusal{name + ": not a regular file", kExitFileError};
            if (kind == srt::FileKind::Missing) continue;
            for (const auto& [other, otherName] : seen)
                if (other == id) throw Refusal{otherName + " and " + name + " are the same file", kExitUsage};
            seen.emplace_back(id, name);
        }
    }
    if (options.output && !options.dryRun && !DescriptorOf(*options.output, true) &&
        srt::KindOfPath(PathOf(*options.output)) == srt::FileKind::Other)
        throw Refusal{*options.output + ": not a regular file", kExitFileError};
    if (options.match && inputs[0] == "-") {
        bool same = DescriptorOf(*options.match, false) == 0;
        srt::FileIdentity ref, in;
        srt::PlatformFile standardInput = srt::PlatformFile::StandardInput();
        if (!same && srt::KindOfPath(PathOf(*options.match), &ref) != srt::FileKind::Missing &&
            standardInput.Identity(in) == 0)
            same = ref == in;
        if (same) throw Refusal{"REF and INPUT cannot both be standard input", kExitUsage};
    }
}

int Refuse(const Refusal& refusal) {
    if (refusal.exit == kExitUsage) return UsageError(refusal.message);
    Print(stderr, "srt-retime: " + refusal.message + "\n");
    return refusal.exit;
}

int Run(const Options& options, const Context& context) {
    Plan plan;
    if (auto done = MakePlan(options, plan)) return *done;
    std::vector<std::string> inputs = options.inputs;
    if (inputs.empty()) inputs.push_back("-");
    const bool several = inputs.size() > 1;
    try {
        CheckFiles(options, inputs);
        if (plan.match) {
            cli::Input reference(*options.match);
            plan.reference = ReadCues(reference, srt::TimeRange{});
        }
    } catch (const srt::LineError& e) {
        Print(stderr, *options.match + ": line " + std::to_string(e.line()) + ": " + e.what() + "\n");
        return kExitBadLine;
    } catch (const FileFailure& failure) {
        return FileError(failure);
    } catch (const Refusal& refusal) {
        return Refuse(refusal);
    }
    for (const std::string& name : inputs) {
        const std::string prefix = several ? name + ": " : "";
        try {
            RetimeOne(options, plan, context, name, prefix);
        } catch (const srt::LineError& e) {
            Print(stderr, prefix + "line " + std::to_string(e.line()) + ": " + e.what() + "\n");
            return kExitBadLine;
        } catch (const FileFailure& failure) {
            return FileError(failure);
        } catch (const Refusal& refusal) {
            return Refuse(refusal);
        }
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    Context context;
    context.closedAtStart = cli::ReopenClosedStandardDescriptors();
    cli::InstallSignalCleanup();
    try {
        Options options;
        if (auto done = ParseArguments(argc, argv, options)) return *done;
        return Run(options, context);
    } catch (const std::bad_alloc&) {
        // The outputs are gone by now, and their temporary files with them.
        Print(stderr, "srt-retime: Not enough memory\n");
        return kExitFileError;
    }
}

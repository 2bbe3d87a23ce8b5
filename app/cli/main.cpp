// srt-retime: re-times a SubRip file from the command line by the same rule
// as the main window. All or nothing: a bad line writes no output at all.
#include "cli/fileio.h"
#include "core/ioerror.h"
#include "core/textlines.h"
#include "core/timeshift.h"
#include "core/utf16.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

enum ExitCode { kExitOk = 0, kExitBadLine = 1, kExitUsage = 2, kExitFileError = 3 };

constexpr char kUsage[] = "Usage: srt-retime --offset MS [-o OUTPUT | --in-place] [INPUT]\n";

constexpr char kHelp[] =
    "Re-times a SubRip (.srt) subtitle file: both times of every line that holds\n"
    "\"-->\" move by MS milliseconds (positive delays, negative brings forward);\n"
    "every other line passes through unchanged. Reads INPUT, or standard input\n"
    "when INPUT is missing or \"-\"; writes OUTPUT, or standard output. Lines end\n"
    "at LF or CR LF and are written with CR LF; bytes pass through unconverted.\n"
    "A file that starts with a UTF-16 byte-order mark (FF FE or FE FF) is read\n"
    "as UTF-16 and written back as UTF-16 in the same byte order, with the mark;\n"
    "what does not decode (an unpaired surrogate, an odd last byte) is kept.\n"
    "\n"
    "  --offset MS        the shift in milliseconds: decimal, or hexadecimal\n"
    "                     after \"$\", \"x\" or \"0x\"; a sign may lead\n"
    "  -o, --output FILE  write FILE (\"-\": standard output)\n"
    "  --in-place         replace INPUT with the re-timed text\n"
    "  --help             show this help\n"
    "  --version          show the version\n"
    "\n"
    "Nothing is written when a line fails: the first bad line is reported as\n"
    "\"line N: MESSAGE\" and the exit status is 1. Exit status 2 is a usage\n"
    "error, 3 a file error. Files are replaced through a temporary file, so a\n"
    "failure never leaves one half written.\n";

struct Options {
    std::optional<std::string> offset;
    std::optional<std::string> output;
    std::optional<std::string> input;
    bool inPlace = false;
};

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
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

int FileError(std::string_view what, int code) {
    std::string text = "srt-retime: ";
    text += what;
    text += ": ";
    text += srt::IOErrorText(code);
    text += '\n';
    Print(stderr, text);
    return kExitFileError;
}

// Parses the command line; returns an exit code when the program is done.
std::optional<int> ParseArguments(int argc, char** argv, Options& options) {
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-') {
            if (options.input) return UsageError("more than one INPUT");
            options.input = std::string(arg);
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
        // Options with a value: "--name VALUE" or "--name=VALUE".
        std::optional<std::string>* slot = nullptr;
        std::string_view name = arg.substr(0, arg.find('='));
        if (name == "--offset") slot = &options.offset;
        if (name == "-o" || name == "--output") slot = &options.output;
        if (!slot) return UsageError("unknown option '" + std::string(arg) + "'");
        if (name.size() < arg.size()) {
            *slot = std::string(arg.substr(name.size() + 1));
        } else if (i + 1 < argc) {
            *slot = std::string(argv[++i]);
        } else {
            return UsageError(std::string(name) + " needs a value");
        }
    }
    if (!options.offset) return UsageError("--offset is required");
    if (options.inPlace && options.output) return UsageError("--in-place and -o exclude each other");
    if (options.inPlace && (!options.input || *options.input == "-"))
        return UsageError("--in-place needs an INPUT file");
    return std::nullopt;
}

int Run(const Options& options) {
    const auto offset = srt::TryStrToInt(*options.offset);
    if (!offset) return UsageError("'" + *options.offset + "' is not a valid integer value");

    const bool fromStdin = !options.input || *options.input == "-";
    std::string input;
    if (int error = fromStdin ? srt::cli::ReadStdinBytes(input) : srt::cli::ReadFileBytes(*options.input, input))
        return FileError(fromStdin ? "standard input" : *options.input, error);

    // UTF-16 goes through the line rules as UTF-8 and back.
    std::optional<srt::Utf16Text> utf16 = srt::DecodeUtf16File(input);
    if (utf16) input = std::move(utf16->text);

    std::string output;
    output.reserve(input.size() + input.size() / 8 + 64);
    std::string_view body = input;
    if (!utf16 && body.starts_with(srt::kUtf8Bom)) {
        output += srt::kUtf8Bom;
        body.remove_prefix(srt::kUtf8Bom.size());
    }
    srt::TextLineReader reader(body);
    std::string_view line;
    for (std::uint64_t number = 1; reader.Next(line); ++number) {
        try {
            srt::AppendShiftedLine(output, line, *offset);
        } catch (const srt::EConvertError& e) {
            Print(stderr, "line " + std::to_string(number) + ": " + e.what() + "\n");
            return kExitBadLine;
        }
        output += "\r\n";
    }
    if (utf16) output = srt::EncodeUtf16File(utf16->order, output, utf16->tail);

    if (options.inPlace) {
        if (int error = srt::cli::ReplaceFileBytes(*options.input, output))
            return FileError(*options.input, error);
    } else if (options.output && *options.output != "-") {
        if (int error = srt::cli::ReplaceFileBytes(*options.output, output))
            return FileError(*options.output, error);
    } else if (int error = srt::cli::WriteStdoutBytes(output)) {
        return FileError("standard output", error);
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (auto done = ParseArguments(argc, argv, options)) return *done;
    return Run(options);
}

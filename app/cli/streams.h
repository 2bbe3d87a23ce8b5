// Where srt-retime reads and writes: an input file or standard input, and
// the outputs a run can have, each leaving its target as it was unless the
// run commits. Failures are thrown as FileFailure.
#pragma once

#include "core/atomicfile.h"
#include "core/platformfile.h"
#include "core/retimer.h"
#include "core/utf16.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// A file operation that failed: which file, and the error code.
struct FileFailure {
    std::string what;
    int code;
};

inline void Check(int code, const std::string& what) {
    if (code) throw FileFailure{what, code};
}

srt::NativePath PathOf(const std::string& argument);

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

// A file replaced through the atomic writer; its temporary file goes on a
// signal too.
class FileOutput : public Output {
public:
    explicit FileOutput(const std::string& name);
    ~FileOutput() override;
    void Write(std::string_view bytes) override;
    void Commit() override;
    bool ownerKept() const { return file_.ownerKept(); }

private:
    std::string name_;
    srt::AtomicFile file_;
};

// An inherited descriptor (standard output, or /dev/fd/N). A file on disk
// written at its end gets the text as it comes and is cut back if the run
// fails; anything else (a pipe, a terminal, a file written from within)
// gets it only when it is whole, kept meanwhile in a scratch file.
class DescriptorOutput : public Output {
public:
    DescriptorOutput(srt::PlatformFile out, int number, std::string name);
    ~DescriptorOutput() override;
    void Write(std::string_view bytes) override;
    void Commit() override;

private:
    srt::PlatformFile out_, scratch_;
    int number_;
    std::string name_;
    std::uint64_t start_ = 0;
    bool direct_ = false;
    bool written_ = false;
    bool committed_ = false;
};

// Re-encodes the re-timed text as UTF-16, cut only before ASCII bytes so
// that no character is split.
class Utf16Sink {
public:
    Utf16Sink(srt::ByteOrder order, Output& out) : order_(order), out_(out) {}
    void Write(std::string_view text);
    void Finish(std::string_view tail);

private:
    srt::ByteOrder order_;
    Output& out_;
    std::string pending_;
};

// An input file, or standard input ("-"); read once, or twice for --match
// (a pipe is first copied to a scratch file).
class Input {
public:
    explicit Input(const std::string& name);
    const std::string& name() const { return name_; }
    srt::PlatformFile& file() { return file_; }
    void Rewindable();
    void Rewind();

private:
    std::string name_;
    srt::PlatformFile file_;
    std::uint64_t start_ = 0;
};

// How an input was read: 8-bit text, or UTF-16 with or without its mark
// and the odd last byte, if any.
struct Streamed {
    std::optional<srt::ByteOrder> utf16;
    bool marked = false;
    std::string tail;
};

// Streams one input through a retimer: 8-bit text straight into its buffer,
// UTF-16 (after a mark, or recognised without one) decoded in blocks that
// never split a surrogate pair. onUtf16 hears of UTF-16 before any output.
Streamed StreamInto(Input& input, srt::StreamRetimer& retimer,
                    const std::function<void(srt::ByteOrder, bool marked)>& onUtf16 = {});

}  // namespace cli

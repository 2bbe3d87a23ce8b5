#include "cli/streams.h"

#include "cli/process.h"
#include "core/sniff.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <cstring>

namespace cli {
namespace {

bool IsStdio(const std::string& name) { return name == "-"; }

// Enough of a file's start to tell its encoding by a time line.
constexpr std::size_t kHead = std::size_t(1) << 16;

}  // namespace

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

FileOutput::FileOutput(const std::string& name) : name_(name) {
    Check(file_.Open(PathOf(name)), name_);
    RegisterTemporary(file_.temporaryPath());
}

FileOutput::~FileOutput() {
    SignalsHeld held;
    file_.Discard();
    RegisterTemporary({});
}

void FileOutput::Write(std::string_view bytes) { Check(file_.Write(bytes), name_); }

void FileOutput::Commit() {
    SignalsHeld held;
    const int error = file_.Commit();
    RegisterTemporary({});
    Check(error, name_);
}

DescriptorOutput::DescriptorOutput(srt::PlatformFile out, int number, std::string name)
    : out_(std::move(out)), number_(number), name_(std::move(name)) {
    std::uint64_t size = 0;
    if (out_.IsDiskFile() && out_.WritePosition(start_) == 0 && out_.Size(size) == 0 && start_ == size) {
        direct_ = true;
        RegisterCutBack(number_, start_);
    } else {
        Check(scratch_.OpenScratch(), "temporary file");
    }
}

DescriptorOutput::~DescriptorOutput() {
    if (direct_ && written_ && !committed_) {
        out_.Truncate(start_);
        out_.Seek(start_);
    }
    if (direct_) RegisterCutBack(-1, 0);
}

void DescriptorOutput::Write(std::string_view bytes) {
    if (direct_) {
        written_ = true;
        Check(out_.Write(bytes), name_);
    } else {
        Check(scratch_.Write(bytes), "temporary file");
    }
}

void DescriptorOutput::Commit() {
    if (!direct_) {
        Check(scratch_.Seek(0), "temporary file");
        std::string buffer(std::size_t(1) << 20, '\0');
        for (;;) {
            std::size_t got = 0;
            Check(scratch_.Read(buffer.data(), buffer.size(), got), "temporary file");
            if (got == 0) break;
            Check(out_.Write(std::string_view(buffer.data(), got)), name_);
        }
    }
    committed_ = true;
    if (direct_) RegisterCutBack(-1, 0);
}

void Utf16Sink::Write(std::string_view text) {
    std::size_t cut = text.size();
    while (cut > 0 && static_cast<unsigned char>(text[cut - 1]) >= 0x80) --cut;
    if (cut == 0) {
        pending_ += text;
        return;
    }
    pending_ += text.substr(0, cut);
    out_.Write(srt::Utf8ToUtf16(pending_, order_));
    pending_.assign(text.substr(cut));
}

void Utf16Sink::Finish(std::string_view tail) {
    out_.Write(srt::Utf8ToUtf16(pending_, order_));
    pending_.clear();
    out_.Write(tail);
}

Input::Input(const std::string& name) : name_(IsStdio(name) ? "standard input" : name) {
    if (IsStdio(name)) {
        file_ = srt::PlatformFile::StandardInput();
    } else {
        Check(file_.OpenRead(PathOf(name)), name_);
    }
}

void Input::Rewindable() {
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

void Input::Rewind() { Check(file_.Seek(start_), name_); }

Streamed StreamInto(Input& input, srt::StreamRetimer& retimer,
                    const std::function<void(srt::ByteOrder, bool)>& onUtf16) {
    Streamed result;
    srt::PlatformFile& file = input.file();
    // The start tells UTF-16 from 8-bit text: a mark, or a time line. It is
    // read into the retimer's own buffer and handed over there as 8-bit text.
    std::size_t room = 0, kept = 0;
    char* space = retimer.Space(room);
    const std::size_t want = std::min(kHead, room);
    for (;;) {
        std::size_t got = 0;
        Check(file.Read(space + kept, want - kept, got), input.name());
        kept += got;
        if (got == 0 || kept == want) break;
    }
    const std::string_view head(space, kept);
    result.utf16 = srt::FindUtf16Mark(head);
    result.marked = result.utf16.has_value();
    if (!result.utf16) result.utf16 = srt::FindUnmarkedUtf16(head);
    if (!result.utf16) {
        retimer.SetUtf8MarkAllowed(true);
        retimer.Commit(kept);
        for (;;) {
            std::size_t got = 0;
            space = retimer.Space(room);
            Check(file.Read(space, room, got), input.name());
            if (got == 0) break;
            retimer.Commit(got);
        }
        retimer.Finish();
        return result;
    }
    std::string units(std::size_t(1) << 19, '\0');
    std::memcpy(units.data(), head.data(), kept);
    if (onUtf16) onUtf16(*result.utf16, result.marked);
    retimer.SetUtf8MarkAllowed(false);
    if (result.marked) {
        std::copy(units.begin() + 2, units.begin() + std::ptrdiff_t(kept), units.begin());
        kept -= 2;
    }
    const bool little = *result.utf16 == srt::ByteOrder::LittleEndian;
    bool first = true;  // the head is in the buffer already
    for (;;) {
        std::size_t got = 0;
        if (!first) Check(file.Read(units.data() + kept, units.size() - kept, got), input.name());
        const bool end = !first && got == 0;
        first = false;
        const std::size_t size = kept + got;
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

}  // namespace cli

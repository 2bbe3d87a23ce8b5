// A file of the platform behind one small interface, for the tools that
// stream files: open, read, write, seek, truncate, flush to disk. Failures
// are file error codes for IOErrorText (the Windows codes; POSIX errors are
// mapped onto them, so that both builds say the same).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/nativepath.h"

namespace srt {

// Which file a name or an open file is: equal for two of one file.
struct FileIdentity {
    std::uint64_t device = 0, index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What a name stands for: nothing, a file on disk, or something else (a
// folder, pipe or device). The identity is filled for the last two.
enum class FileKind { Missing, Regular, Other };
FileKind KindOfPath(const NativePath& path, FileIdentity* identity = nullptr);

class PlatformFile {
public:
    PlatformFile() = default;
    ~PlatformFile();
    PlatformFile(PlatformFile&& other) noexcept;
    PlatformFile& operator=(PlatformFile&& other) noexcept;
    PlatformFile(const PlatformFile&) = delete;
    PlatformFile& operator=(const PlatformFile&) = delete;

    // The process's own streams, not closed by this object.
    static PlatformFile StandardInput();
    static PlatformFile StandardOutput();
#ifndef _WIN32
    // An inherited descriptor, not closed by this object.
    static PlatformFile Descriptor(int fd);
#endif

    int OpenRead(const NativePath& path);
    // An existing file or device, for writing, not truncated.
    int OpenWrite(const NativePath& path);
    // A new, empty, unnamed file in the temporary folder, gone when closed.
    int OpenScratch();
    // A new, empty file with a name of its own in the same folder as
    // target, for writing; its path goes to created.
    int CreateBeside(const NativePath& target, NativePath& created);

    bool IsOpen() const;
    // A file on disk (not a pipe, device or console): it can seek and truncate.
    bool IsDiskFile() const;

    // got is 0 at the end.
    int Read(char* buffer, std::size_t size, std::size_t& got);
    int Write(std::string_view bytes);
    int Identity(FileIdentity& identity) const;
    int Size(std::uint64_t& size);
    int Position(std::uint64_t& position);
    // Where the next write lands: the position, or the end of a file opened
    // for appending.
    int WritePosition(std::uint64_t& position);
    int Seek(std::uint64_t position);
    int Truncate(std::uint64_t size);
    int FlushToDisk();
    // POSIX permission bits; nothing on Windows.
    int SetMode(unsigned mode);
#ifndef _WIN32
    // Owner and group, as fchown.
    int SetOwner(unsigned user, unsigned group);
#endif
    int Close();

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool owned_ = false;
};

// A whole file read into bytes (emptied on failure). Files of 2 GB and more
// are refused as not enough memory.
int ReadWholeFile(const NativePath& path, std::string& bytes);

#ifdef _WIN32
// The code of the last failed file call, a full disk given code 101.
int LastPlatformFileError();
#else
// The Windows code of an errno; creating tells a missing folder (invalid
// filename) from a missing file.
int FileErrorOfErrno(int error, bool creating);
#endif

}  // namespace srt

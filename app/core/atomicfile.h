// The one writer through which every replaced file goes, for the window and
// the command-line tool: the bytes go to a temporary file beside the target,
// are flushed to disk and only then renamed over it (POSIX: the folder is
// synced after the rename, the target's permissions are kept, a symbolic
// link keeps pointing at the replaced file, its owner and group are kept or,
// where they cannot be, its set-user-ID and set-group-ID bits are dropped;
// a name of a process's descriptor such as /dev/stdout is refused, never
// renamed over the file behind it). A failure at any step removes
// the temporary file and leaves the target as it was. A device or pipe
// (not a file on disk) is written directly. Errors are file error codes
// for IOErrorText.
#pragma once

#include <string_view>

#include "core/nativepath.h"
#include "core/platformfile.h"

namespace srt {

class AtomicFile {
public:
    AtomicFile() = default;
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    int Open(const NativePath& target);
    int Write(std::string_view bytes);
    int Commit();
    void Discard();

    // The temporary file's name while one exists, for removal on a signal.
    const NativePath& temporaryPath() const { return temp_; }
    // False when the replaced file's owner or group could not be kept.
    bool ownerKept() const { return ownerKept_; }

private:
    PlatformFile file_;
    NativePath target_, temp_;
    bool direct_ = false;
    bool ownerKept_ = true;
};

// Open, Write and Commit in one call.
int ReplaceFileContents(const NativePath& target, std::string_view bytes);

}  // namespace srt

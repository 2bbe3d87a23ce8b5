#include "core/atomicfile.h"

#include "core/ioerror.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace srt {
namespace {

#ifdef _WIN32

// The attributes a replaced file keeps.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

#else

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Makes the rename durable; file systems that cannot sync a folder are let be.
void SyncFolder(const NativePath& file) {
    const NativePath folder = FolderPrefix(file);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    ::close(fd);
}

// /dev/stdout, /dev/fd/N, /proc/self/fd/N and the like: the file behind a
// descriptor, which a rename would replace under its other users.
bool NamesDescriptor(const NativePath& path) {
    for (const char* prefix : {"/dev/fd/", "/dev/std", "/proc/self/fd/", "/proc/thread-self/fd/"})
        if (path.rfind(prefix, 0) == 0) return true;
    return path.rfind("/proc/", 0) == 0 && path.find("/fd/") != NativePath::npos;
}

#endif

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
    file_.Close();
    if (!temp_.empty()) {
#ifdef _WIN32
        DeleteFileW(temp_.c_str());
#else
        unlink(temp_.c_str());
#endif
        temp_.clear();
    }
    direct_ = false;
}

int AtomicFile::Open(const NativePath& target) {
    Discard();
    target_ = target;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return kErrAccessDenied;
    // A device (NUL, CON, a pipe) is written as it is.
    if (file_.OpenWrite(target) == 0) {
        if (!file_.IsDiskFile()) {
            direct_ = true;
            return 0;
        }
        file_.Close();
    }
    if (int error = file_.CreateBeside(target, temp_)) return error;
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(temp_.c_str(), attributes & kKeptAttributes);
    return 0;
#else
    ownerKept_ = true;
    if (NamesDescriptor(target)) return kErrAccessDenied;
    mode_t mode = NewFileMode();
    struct stat st;
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return kErrAccessDenied;
        if (!S_ISREG(st.st_mode)) {
            direct_ = true;
            return file_.OpenWrite(target);
        }
        mode = st.st_mode & 07777;
        // Through a symbolic link the file it names is replaced, not the link.
        if (char* real = realpath(target.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    if (int error = file_.CreateBeside(target_, temp_)) return error;
    struct stat made;
    if (exists && file_.SetOwner(st.st_uid, st.st_gid) != 0 &&
        (stat(temp_.c_str(), &made) != 0 || made.st_uid != st.st_uid || made.st_gid != st.st_gid)) {
        ownerKept_ = false;
        mode &= ~mode_t(S_ISUID | S_ISGID);
    }
    return file_.SetMode(mode);
#endif
}

int AtomicFile::Write(std::string_view bytes) { return file_.Write(bytes); }

int AtomicFile::Commit() {
    if (direct_) {
        direct_ = false;
        return file_.Close();
    }
    int error = file_.FlushToDisk();
    const int closed = file_.Close();
    if (!error) error = closed;
#ifdef _WIN32
    if (!error && !MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastPlatformFileError();
#else
    if (!error && rename(temp_.c_str(), target_.c_str()) != 0) error = FileErrorOfErrno(errno, true);
    if (!error) SyncFolder(target_);
#endif
    if (error) {
        Discard();
        return error;
    }
    temp_.clear();
    return 0;
}

int ReplaceFileContents(const NativePath& target, std::string_view bytes) {
    AtomicFile file;
    if (int error = file.Open(target)) return error;
    if (int error = file.Write(bytes)) return error;
    return file.Commit();
}

}  // namespace srt

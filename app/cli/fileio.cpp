#include "cli/fileio.h"

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

namespace srt::cli {

#ifdef _WIN32

namespace {

// Closes a file handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    // Closes now; 0 or the error code.
    int Close() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) ? 0 : int(GetLastError());
    }

private:
    HANDLE h_;
};

int ReadAll(HANDLE h, std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER size;
    if (GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size)) bytes.reserve(std::size_t(size.QuadPart));
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &got, nullptr)) {
            DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
            return int(error);
        }
        if (got == 0) return 0;
        bytes.append(buffer, got);
    }
}

int WriteAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : DWORD(bytes.size());
        DWORD put = 0;
        if (!WriteFile(h, bytes.data(), chunk, &put, nullptr)) return int(GetLastError());
        if (put == 0) return kErrDiskFull;
        bytes.remove_prefix(put);
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/:");
    if (cut == std::string::npos) return ".";
    if (path[cut] == ':') return path.substr(0, cut + 1);
    return cut == 0 ? path.substr(0, 1) : path.substr(0, cut);
}

}  // namespace

int ReadFileBytes(const std::string& path, std::string& bytes) {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return int(GetLastError());
    return ReadAll(file.get(), bytes);
}

int ReadStdinBytes(std::string& bytes) {
    return ReadAll(GetStdHandle(STD_INPUT_HANDLE), bytes);
}

int WriteStdoutBytes(std::string_view bytes) {
    return WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
}

int ReplaceFileBytes(const std::string& path, std::string_view bytes) {
    {
        Handle existing(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
        if (existing.valid() && GetFileType(existing.get()) != FILE_TYPE_DISK) {
            int error = WriteAll(existing.get(), bytes);
            int closed = existing.Close();
            return error ? error : closed;
        }
    }
    char temp[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(path).c_str(), "srt", 0, temp)) return int(GetLastError());
    int error = 0;
    {
        Handle out(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!out.valid()) {
            error = int(GetLastError());
        } else {
            error = WriteAll(out.get(), bytes);
            int closed = out.Close();
            if (!error) error = closed;
        }
    }
    if (!error && !MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        error = int(GetLastError());
    if (error) DeleteFileA(temp);
    return error;
}

#else  // POSIX

namespace {

// The Windows code of the same failure, so that both builds say the same.
int CodeOf(int error, bool creating) {
    switch (error) {
    case ENOENT: return creating ? kErrInvalidFilename : kErrFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return kErrInvalidFilename;
    case EMFILE:
    case ENFILE: return kErrTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return kErrAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kErrDiskFull;
    case ENOMEM: return 8;       // not enough memory
    case EBUSY: return 32;       // sharing violation
    case EPIPE: return 109;      // broken pipe
    case EIO: return 1117;       // device I/O error
    default: return 31;          // device not functioning
    }
}

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    int Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : CodeOf(errno, true);
    }

private:
    int fd_;
};

int ReadAll(int fd, std::string& bytes) {
    bytes.clear();
    struct stat st;
    std::size_t expected = 0;
    if (fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) return kErrAccessDenied;
        if (S_ISREG(st.st_mode) && st.st_size > 0) expected = std::size_t(st.st_size);
    }
    // Reads straight into the string, growing it when the size was unknown
    // or the file grew meanwhile.
    std::size_t used = 0;
    bytes.resize(expected ? expected + 1 : std::size_t(1) << 16);
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return CodeOf(errno, false);
        }
        if (got == 0) break;
        used += std::size_t(got);
    }
    bytes.resize(used);
    return 0;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return CodeOf(errno, true);
        }
        bytes.remove_prefix(std::size_t(put));
    }
    return 0;
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

int ReadFileBytes(const std::string& path, std::string& bytes) {
    Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return CodeOf(errno, false);
    return ReadAll(file.get(), bytes);
}

int ReadStdinBytes(std::string& bytes) { return ReadAll(STDIN_FILENO, bytes); }

int WriteStdoutBytes(std::string_view bytes) { return WriteAll(STDOUT_FILENO, bytes); }

int ReplaceFileBytes(const std::string& path, std::string_view bytes) {
    std::string target = path;
    mode_t mode = NewFileMode();
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            if (S_ISDIR(st.st_mode)) return kErrAccessDenied;
            Fd out(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
            if (out.get() < 0) return CodeOf(errno, true);
            int error = WriteAll(out.get(), bytes);
            int closed = out.Close();
            return error ? error : closed;
        }
        mode = st.st_mode & 07777;
        // Through a symbolic link the file it names is replaced, not the link.
        if (char* real = realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = folder + "." + name + ".XXXXXX";
    Fd out(mkstemp(temp.data()));
    if (out.get() < 0) return CodeOf(errno, true);
    int error = fchmod(out.get(), mode) == 0 ? 0 : CodeOf(errno, true);
    if (!error) error = WriteAll(out.get(), bytes);
    int closed = out.Close();
    if (!error) error = closed;
    if (!error && rename(temp.c_str(), target.c_str()) != 0) error = CodeOf(errno, true);
    if (error) unlink(temp.c_str());
    return error;
}

#endif

}  // namespace srt::cli

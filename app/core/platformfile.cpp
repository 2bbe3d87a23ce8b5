#include "core/platformfile.h"

#include "core/ioerror.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace srt {

PlatformFile::PlatformFile(PlatformFile&& other) noexcept { *this = std::move(other); }

PlatformFile::~PlatformFile() { Close(); }

int ReadWholeFile(const NativePath& path, std::string& bytes) {
    constexpr int kErrNotEnoughMemory = 8;
    constexpr std::size_t kLimit = 0x7FFFFFFF;
    bytes.clear();
    PlatformFile file;
    if (int error = file.OpenRead(path)) return error;
    std::size_t size = 0;
    bytes.resize(std::size_t(1) << 16);
    for (;;) {
        if (size == bytes.size()) {
            if (bytes.size() > kLimit / 2) {
                bytes.clear();
                return kErrNotEnoughMemory;
            }
            bytes.resize(bytes.size() * 2);
        }
        std::size_t got = 0;
        if (int error = file.Read(bytes.data() + size, bytes.size() - size, got)) {
            bytes.clear();
            return error;
        }
        if (got == 0) break;
        size += got;
    }
    bytes.resize(size);
    return 0;
}

#ifdef _WIN32

namespace {

HANDLE H(void* h) { return static_cast<HANDLE>(h); }

// Creates the file a temporary name was made for; the name goes if it cannot.
HANDLE CreateNamed(const wchar_t* name, DWORD access, DWORD attributes, int& error) {
    HANDLE h = CreateFileW(name, access, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = LastPlatformFileError();
        DeleteFileW(name);
    }
    return h;
}

}  // namespace

int LastPlatformFileError() {
    const DWORD e = GetLastError();
    if (e == ERROR_DISK_FULL || e == ERROR_HANDLE_DISK_FULL) return kErrDiskFull;
    if (e == ERROR_DIRECTORY) return kErrInvalidFilename;  // the folder does not exist
    return e ? int(e) : kErrAccessDenied;
}

PlatformFile& PlatformFile::operator=(PlatformFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        owned_ = other.owned_;
        other.handle_ = nullptr;
        other.owned_ = false;
    }
    return *this;
}

PlatformFile PlatformFile::StandardInput() {
    PlatformFile f;
    f.handle_ = GetStdHandle(STD_INPUT_HANDLE);
    return f;
}

PlatformFile PlatformFile::StandardOutput() {
    PlatformFile f;
    f.handle_ = GetStdHandle(STD_OUTPUT_HANDLE);
    return f;
}

int PlatformFile::OpenRead(const NativePath& path) {
    Close();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastPlatformFileError();
    handle_ = h;
    owned_ = true;
    return 0;
}

int PlatformFile::OpenWrite(const NativePath& path) {
    Close();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastPlatformFileError();
    handle_ = h;
    owned_ = true;
    return 0;
}

int PlatformFile::OpenScratch() {
    Close();
    wchar_t folder[MAX_PATH + 1] = {}, name[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"srt", 0, name))
        return LastPlatformFileError();
    int error = 0;
    HANDLE h = CreateNamed(name, GENERIC_READ | GENERIC_WRITE, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                           error);
    if (h == INVALID_HANDLE_VALUE) return error;
    handle_ = h;
    owned_ = true;
    return 0;
}

int PlatformFile::CreateBeside(const NativePath& target, NativePath& created) {
    Close();
    NativePath folder = FolderPrefix(target);
    if (folder.empty()) folder = L".";
    wchar_t name[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"srt", 0, name)) return LastPlatformFileError();
    int error = 0;
    HANDLE h = CreateNamed(name, GENERIC_WRITE, FILE_ATTRIBUTE_NORMAL, error);
    if (h == INVALID_HANDLE_VALUE) return error;
    handle_ = h;
    owned_ = true;
    created = name;
    return 0;
}

bool PlatformFile::IsOpen() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

bool PlatformFile::IsDiskFile() const { return IsOpen() && GetFileType(H(handle_)) == FILE_TYPE_DISK; }

int PlatformFile::Read(char* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    DWORD n = 0;
    const DWORD want = size > (1u << 30) ? (1u << 30) : DWORD(size);
    if (!ReadFile(H(handle_), buffer, want, &n, nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
        return LastPlatformFileError();
    }
    got = n;
    return 0;
}

int PlatformFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : DWORD(bytes.size());
        DWORD put = 0;
        if (!WriteFile(H(handle_), bytes.data(), chunk, &put, nullptr)) return LastPlatformFileError();
        if (put == 0) return kErrDiskFull;
        bytes.remove_prefix(put);
    }
    return 0;
}

int PlatformFile::Identity(FileIdentity& identity) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(H(handle_), &info)) return LastPlatformFileError();
    identity.device = info.dwVolumeSerialNumber;
    identity.index = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return 0;
}

int PlatformFile::Size(std::uint64_t& size) {
    LARGE_INTEGER at{};
    if (!GetFileSizeEx(H(handle_), &at)) return LastPlatformFileError();
    size = std::uint64_t(at.QuadPart);
    return 0;
}

FileKind KindOfPath(const NativePath& path, FileIdentity* identity) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Other;
    if (identity) {
        PlatformFile file;
        if (file.OpenRead(path) == 0) file.Identity(*identity);
    }
    return FileKind::Regular;
}

int PlatformFile::Position(std::uint64_t& position) {
    LARGE_INTEGER zero{}, at{};
    if (!SetFilePointerEx(H(handle_), zero, &at, FILE_CURRENT)) return LastPlatformFileError();
    position = std::uint64_t(at.QuadPart);
    return 0;
}

int PlatformFile::WritePosition(std::uint64_t& position) { return Position(position); }

int PlatformFile::Seek(std::uint64_t position) {
    LARGE_INTEGER to{};
    to.QuadPart = LONGLONG(position);
    return SetFilePointerEx(H(handle_), to, nullptr, FILE_BEGIN) ? 0 : LastPlatformFileError();
}

int PlatformFile::Truncate(std::uint64_t size) {
    if (int error = Seek(size)) return error;
    return SetEndOfFile(H(handle_)) ? 0 : LastPlatformFileError();
}

int PlatformFile::FlushToDisk() { return FlushFileBuffers(H(handle_)) ? 0 : LastPlatformFileError(); }

int PlatformFile::SetMode(unsigned) { return 0; }

int PlatformFile::Close() {
    int error = 0;
    if (IsOpen() && owned_ && !CloseHandle(H(handle_))) error = LastPlatformFileError();
    handle_ = nullptr;
    owned_ = false;
    return error;
}

#else  // POSIX

int FileErrorOfErrno(int error, bool creating) {
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
    case ENOMEM: return 8;     // not enough memory
    case EBUSY: return 32;     // sharing violation
    case EPIPE: return 109;    // broken pipe
    case EIO: return 1117;     // device I/O error
    default: return 31;        // device not functioning
    }
}

PlatformFile& PlatformFile::operator=(PlatformFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        owned_ = other.owned_;
        other.fd_ = -1;
        other.owned_ = false;
    }
    return *this;
}

PlatformFile PlatformFile::StandardInput() {
    PlatformFile f;
    f.fd_ = STDIN_FILENO;
    return f;
}

PlatformFile PlatformFile::StandardOutput() {
    PlatformFile f;
    f.fd_ = STDOUT_FILENO;
    return f;
}

int PlatformFile::OpenRead(const NativePath& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return FileErrorOfErrno(errno, false);
    fd_ = fd;
    owned_ = true;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        Close();
        return kErrAccessDenied;
    }
    return 0;
}

int PlatformFile::OpenWrite(const NativePath& path) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return FileErrorOfErrno(errno, true);
    fd_ = fd;
    owned_ = true;
    return 0;
}

int PlatformFile::OpenScratch() {
    Close();
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder && *folder ? folder : "/tmp") + "/srt-scratch.XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) return FileErrorOfErrno(errno, true);
    unlink(name.c_str());
    fd_ = fd;
    owned_ = true;
    return 0;
}

int PlatformFile::CreateBeside(const NativePath& target, NativePath& created) {
    Close();
    // "." NAME ".XXXXXX", the name cut short where the folder's limit on
    // name length needs it.
    const std::string folder = FolderPrefix(target);
    long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0) limit = 255;
    std::string bare = BareName(target);
    const std::size_t room = std::size_t(limit) > 8 ? std::size_t(limit) - 8 : 1;
    if (bare.size() > room) bare.resize(room);
    std::string name = folder + "." + bare + ".XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return FileErrorOfErrno(errno, true);
    fd_ = fd;
    owned_ = true;
    created = name;
    return 0;
}

bool PlatformFile::IsOpen() const { return fd_ >= 0; }

bool PlatformFile::IsDiskFile() const {
    struct stat st;
    return fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
}

int PlatformFile::Read(char* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0) {
            got = std::size_t(n);
            return 0;
        }
        if (errno != EINTR) return FileErrorOfErrno(errno, false);
    }
}

int PlatformFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return FileErrorOfErrno(errno, true);
        }
        bytes.remove_prefix(std::size_t(put));
    }
    return 0;
}

int PlatformFile::Identity(FileIdentity& identity) const {
    struct stat st;
    if (fstat(fd_, &st) != 0) return FileErrorOfErrno(errno, false);
    identity = {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
    return 0;
}

int PlatformFile::Size(std::uint64_t& size) {
    struct stat st;
    if (fstat(fd_, &st) != 0) return FileErrorOfErrno(errno, false);
    size = std::uint64_t(st.st_size);
    return 0;
}

FileKind KindOfPath(const NativePath& path, FileIdentity* identity) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FileKind::Missing;
    if (identity) *identity = {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

PlatformFile PlatformFile::Descriptor(int fd) {
    PlatformFile f;
    f.fd_ = fd;
    return f;
}

int PlatformFile::SetOwner(unsigned user, unsigned group) {
    return fchown(fd_, uid_t(user), gid_t(group)) != 0 ? FileErrorOfErrno(errno, true) : 0;
}

int PlatformFile::Position(std::uint64_t& position) {
    const off_t at = lseek(fd_, 0, SEEK_CUR);
    if (at < 0) return FileErrorOfErrno(errno, false);
    position = std::uint64_t(at);
    return 0;
}

int PlatformFile::WritePosition(std::uint64_t& position) {
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0) return FileErrorOfErrno(errno, false);
    if (!(flags & O_APPEND)) return Position(position);
    struct stat st;
    if (fstat(fd_, &st) != 0) return FileErrorOfErrno(errno, false);
    position = std::uint64_t(st.st_size);
    return 0;
}

int PlatformFile::Seek(std::uint64_t position) {
    return lseek(fd_, off_t(position), SEEK_SET) < 0 ? FileErrorOfErrno(errno, false) : 0;
}

int PlatformFile::Truncate(std::uint64_t size) {
    return ftruncate(fd_, off_t(size)) != 0 ? FileErrorOfErrno(errno, true) : 0;
}

int PlatformFile::FlushToDisk() { return fsync(fd_) != 0 ? FileErrorOfErrno(errno, true) : 0; }

int PlatformFile::SetMode(unsigned mode) {
    return fchmod(fd_, mode_t(mode)) != 0 ? FileErrorOfErrno(errno, true) : 0;
}

int PlatformFile::Close() {
    int error = 0;
    if (fd_ >= 0 && owned_ && ::close(fd_) != 0) error = FileErrorOfErrno(errno, true);
    fd_ = -1;
    owned_ = false;
    return error;
}

#endif

}  // namespace srt

#include "fileops.h"

#include <windows.h>

#include <filesystem>

#include "core/atomicfile.h"
#include "core/ioerror.h"
#include "core/platformfile.h"

namespace srt {
namespace {

// Closes a file handle when it goes.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() {
        bool ok = true;
        if (Valid()) ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

}  // namespace

int LastFileError() { return LastPlatformFileError(); }

int ReadWholeFile(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f.Valid()) return LastFileError();
    LARGE_INTEGER size{};
    if (GetFileSizeEx(f.Get(), &size) && size.QuadPart > 0) {
        if (size.QuadPart > 0x7FFFFFFF) return ERROR_NOT_ENOUGH_MEMORY;
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(f.Get(), buffer, sizeof(buffer), &got, nullptr)) return LastFileError();
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return 0;
}

int ReplaceFileAtomically(const std::wstring& path, std::string_view bytes) {
    return ReplaceFileContents(std::filesystem::path(path), bytes);
}

}  // namespace srt

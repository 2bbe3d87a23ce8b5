#include "fileops.h"

#include <windows.h>

#include <algorithm>

#include "core/ioerror.h"

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

std::wstring FolderOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

}  // namespace

int LastFileError() {
    DWORD e = GetLastError();
    if (e == ERROR_DISK_FULL || e == ERROR_HANDLE_DISK_FULL) return kErrDiskFull;
    if (e == ERROR_DIRECTORY) return kErrInvalidFilename;  // the folder does not exist
    return e ? static_cast<int>(e) : kErrAccessDenied;
}

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
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return kErrAccessDenied;
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(FolderOf(path).c_str(), L"srt", 0, temp)) return LastFileError();
    int error = 0;
    {
        FileHandle f(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f.Valid()) {
            error = LastFileError();
        } else {
            std::size_t done = 0;
            while (!error && done < bytes.size()) {
                DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
                DWORD wrote = 0;
                if (!WriteFile(f.Get(), bytes.data() + done, chunk, &wrote, nullptr))
                    error = LastFileError();
                else if (wrote != chunk)
                    error = kErrDiskFull;
                done += wrote;
            }
            if (!error && !FlushFileBuffers(f.Get())) error = LastFileError();
            if (!f.Close() && !error) error = LastFileError();
        }
    }
    if (!error && !MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastFileError();
    if (error) DeleteFileW(temp);
    return error;
}

}  // namespace srt

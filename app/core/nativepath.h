// File names in the platform's own form: UTF-16 on Windows, bytes on POSIX.
// Kept to plain strings so that no part of the program needs the standard
// library's path type (and the locale machinery it links in).
#pragma once

#include <string>

namespace srt {

#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

// The folder part of a path with its last separator ("C:\\a\\" of
// "C:\\a\\b.srt", "/" of "/b.srt", "C:" of "C:b.srt"); empty for a bare name.
inline NativePath FolderPrefix(const NativePath& path) {
#ifdef _WIN32
    std::size_t cut = path.find_last_of(L"\\/");
    if (cut == NativePath::npos) return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : NativePath();
#else
    std::size_t cut = path.find_last_of('/');
    if (cut == NativePath::npos) return {};
#endif
    return path.substr(0, cut + 1);
}

// The path without its folder part.
inline NativePath BareName(const NativePath& path) { return path.substr(FolderPrefix(path).size()); }

}  // namespace srt

// The make_* tools' one output step: bytes to a file, or a message and 1.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace srt::logo {

inline int WriteBytes(const char* program, const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", program, path);
        return 1;
    }
    return 0;
}

}  // namespace srt::logo

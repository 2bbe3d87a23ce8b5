// The bytes of a skin package the build made (SRT_SKIN_DIR/NAME.skn); empty
// when it is missing.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace srt {

inline std::vector<std::uint8_t> SkinBytes(const char* name) {
    std::ifstream in(std::string(SRT_SKIN_DIR) + "/" + name + ".skn", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace srt

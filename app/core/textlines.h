// Text files as lines of bytes: the reading and writing rules of the tool.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace srt {

// Splits file bytes into lines: LF or CR LF ends a line, a lone CR is
// dropped, byte 26 ends the file, a final line break adds no empty line.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLinesCRLF(const std::vector<std::string>& lines);

}  // namespace srt

// Text files as lines of bytes: the reading and writing rules of the tool.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace srt {

// The UTF-8 byte-order mark. At the start of a file it stands in front of the
// first line and is not part of it: a time line behind it is re-timed.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Reads lines from file bytes without copying them where it can: LF or CR LF
// ends a line, a lone CR is dropped, byte 26 ends the file, a final line
// break adds no empty line.
class TextLineReader {
public:
    explicit TextLineReader(std::string_view bytes);

    // The next line, valid until the next call; false at the end.
    bool Next(std::string_view& line);

private:
    std::string_view rest_;
    std::string scratch_;
};

// Splits file bytes into lines by the rules of TextLineReader.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLinesCRLF(const std::vector<std::string>& lines);

}  // namespace srt

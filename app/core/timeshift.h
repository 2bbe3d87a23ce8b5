// The re-timing rule for one line of a SubRip file, and the integer syntax
// shared with the main window's offset box. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace srt {

// A text that could not be converted; what() is the user-facing message.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Integer syntax: leading blanks, optional sign, decimal digits or hex digits
// after "$", "x", "X", "0x" or "0X"; nothing after the digits; fits int32.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt; throws EConvertError "'TEXT' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// Re-times a line containing "-->" by offset milliseconds (fixed columns,
// 29-character result); any other line comes back unchanged.
// Throws EConvertError naming the first field that cannot be read.
std::string ShiftTimeLine(std::string_view line, std::int32_t offset);

}  // namespace srt

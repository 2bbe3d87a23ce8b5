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

// Time-of-day syntax: hour[:minute[:second[.millis]]] with blanks before any
// number or separator and at the end, and an optional AM/PM marker before the
// hour or after the last number. Returns seconds since midnight; the millis
// are checked (0-999) and ignored.
std::optional<std::int32_t> TryStrToTimeSeconds(std::string_view text);

// Re-times a line containing "-->" by offset milliseconds (fixed columns,
// 29-character result); any other line comes back unchanged.
// Throws EConvertError naming the first field that cannot be read, or the
// time and offset when the shifted time leaves 00:00:00,000-23:59:59,999.
std::string ShiftTimeLine(std::string_view line, std::int32_t offset);

// As ShiftTimeLine, appending the result to out; out is untouched on failure.
void AppendShiftedLine(std::string& out, std::string_view line, std::int32_t offset);

}  // namespace srt

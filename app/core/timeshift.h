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

// Milliseconds since midnight.
inline constexpr std::int64_t kMillisPerDay = 24LL * 3600 * 1000;

// The two times of a time line as the rule reads them (fields in the rule's
// order, the same messages), in milliseconds since midnight.
struct TimeLineTimes {
    std::int64_t start = 0;
    std::int64_t end = 0;
};
TimeLineTimes ReadTimeLine(std::string_view line);

// The start time alone: its milliseconds, then its time of day.
std::int64_t ReadTimeLineStart(std::string_view line);

// hh:mm:ss,mmm --> hh:mm:ss,mmm of two times within the day, into out[0..28].
void FormatTimeLine(char* out, std::int64_t start, std::int64_t end);

// The message for a time that a re-timing moved out of the day; column is
// where the time's field starts (1 or 18).
[[noreturn]] void ThrowOutsideDay(std::string_view line, std::size_t column, std::string_view how);

}  // namespace srt

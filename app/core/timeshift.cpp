#include "core/timeshift.h"

#include <array>
#include <cstdio>

#include "component/asciicase.h"
#include "core/digits.h"

namespace srt {
namespace {

int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16) {
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    }
    return -1;
}

// Reads a time of day; every step skips blanks first.
class TimeScanner {
public:
    explicit TimeScanner(std::string_view s) : s_(s) {}

    bool Char(char c) {
        SkipBlanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // One or more decimal digits; values past the limits saturate.
    bool Number(int& value) {
        SkipBlanks();
        std::size_t start = pos_;
        int n = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
            if (n < 100000) n = n * 10 + (s_[pos_] - '0');
            ++pos_;
        }
        value = n;
        return pos_ > start;
    }

    // "AM" or "PM" in any case: 0 or 12 added to the hour; -1 when absent.
    int Marker() {
        SkipBlanks();
        if (pos_ + 1 < s_.size() && UpperChar(s_[pos_ + 1]) == 'M') {
            char c = UpperChar(s_[pos_]);
            if (c == 'A' || c == 'P') {
                pos_ += 2;
                return c == 'A' ? 0 : 12;
            }
        }
        return -1;
    }

    bool AtEnd() {
        SkipBlanks();
        return pos_ == s_.size();
    }

private:
    void SkipBlanks() {
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

[[noreturn]] void ThrowInteger(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

[[noreturn]] void ThrowTime(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid time");
}

// Columns are 1-based; a field holds only the characters the line has.
std::string_view Field(std::string_view line, std::size_t column, std::size_t width) {
    if (column > line.size()) return {};
    return line.substr(column - 1, width);
}

void Put2(char* p, std::uint32_t v) {
    p[0] = kTwoDigits[2 * v];
    p[1] = kTwoDigits[2 * v + 1];
}

void FormatTime(char* p, std::int64_t total) {
    const auto t = std::uint32_t(total);
    const std::uint32_t seconds = t / 1000, millis = t - seconds * 1000;
    const std::uint32_t hours = seconds / 3600, inHour = seconds - hours * 3600;
    const std::uint32_t minutes = inHour / 60;
    Put2(p, hours);
    p[2] = ':';
    Put2(p + 3, minutes);
    p[5] = ':';
    Put2(p + 6, inHour - minutes * 60);
    p[8] = ',';
    p[9] = char('0' + millis / 100);
    Put2(p + 10, millis % 100);
}

std::int64_t ShiftedTime(std::string_view line, std::size_t column, std::int64_t time, std::int32_t offset) {
    const std::int64_t total = time + offset;
    if (total < 0 || total >= kMillisPerDay) {
        char shift[32];
        std::snprintf(shift, sizeof shift, "shifted by %+d ms", int(offset));
        ThrowOutsideDay(line, column, shift);
    }
    return total;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n) return std::nullopt;
    constexpr std::uint64_t kLimit = 2147483648u;  // magnitude of INT32_MIN
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0) return std::nullopt;
        magnitude = magnitude * unsigned(base) + unsigned(d);
        if (magnitude > kLimit) return std::nullopt;
    }
    if (negative) return std::int32_t(-std::int64_t(magnitude));
    if (magnitude == kLimit) return std::nullopt;
    return std::int32_t(magnitude);
}

std::int32_t StrToInt(std::string_view text) {
    if (auto value = TryStrToInt(text)) return *value;
    ThrowInteger(text);
}

std::optional<std::int32_t> TryStrToTimeSeconds(std::string_view text) {
    TimeScanner scan(text);
    int base = scan.Marker();
    int hour = 0, minute = 0, second = 0, millis = 0;
    if (!scan.Number(hour)) return std::nullopt;
    if (scan.Char(':')) {
        if (!scan.Number(minute)) return std::nullopt;
        if (scan.Char(':')) {
            if (!scan.Number(second)) return std::nullopt;
            if (scan.Char('.') && !scan.Number(millis)) return std::nullopt;
        }
    }
    if (base < 0) base = scan.Marker();
    if (base >= 0) {
        if (hour == 0 || hour > 12) return std::nullopt;
        if (hour == 12) hour = 0;
        hour += base;
    }
    if (!scan.AtEnd()) return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59 || millis > 999) return std::nullopt;
    return hour * 3600 + minute * 60 + second;
}

void ThrowOutsideDay(std::string_view line, std::size_t column, std::string_view how) {
    throw EConvertError("'" + std::string(Field(line, column, 12)) + "' " + std::string(how) +
                        " is outside 00:00:00,000 to 23:59:59,999");
}

std::int64_t ReadTimeLineStart(std::string_view line) {
    const std::string_view millisText = Field(line, 10, 3);
    const std::string_view timeText = Field(line, 1, 8);
    auto millis = TryStrToInt(millisText);
    if (!millis) ThrowInteger(millisText);
    auto seconds = TryStrToTimeSeconds(timeText);
    if (!seconds) ThrowTime(timeText);
    return std::int64_t(*seconds) * 1000 + *millis;
}

TimeLineTimes ReadTimeLine(std::string_view line) {
    const std::string_view startMillisText = Field(line, 10, 3);
    const std::string_view endMillisText = Field(line, 27, 3);
    const std::string_view startTimeText = Field(line, 1, 8);
    const std::string_view endTimeText = Field(line, 18, 8);

    auto startMillis = TryStrToInt(startMillisText);
    if (!startMillis) ThrowInteger(startMillisText);
    auto endMillis = TryStrToInt(endMillisText);
    if (!endMillis) ThrowInteger(endMillisText);
    auto startSeconds = TryStrToTimeSeconds(startTimeText);
    if (!startSeconds) ThrowTime(startTimeText);
    auto endSeconds = TryStrToTimeSeconds(endTimeText);
    if (!endSeconds) ThrowTime(endTimeText);
    return {std::int64_t(*startSeconds) * 1000 + *startMillis, std::int64_t(*endSeconds) * 1000 + *endMillis};
}

void FormatTimeLine(char* out, std::int64_t start, std::int64_t end) {
    FormatTime(out, start);
    out[12] = ' ';
    out[13] = '-';
    out[14] = '-';
    out[15] = '>';
    out[16] = ' ';
    FormatTime(out + 17, end);
}

void AppendShiftedLine(std::string& out, std::string_view line, std::int32_t offset) {
    if (line.find("-->") == std::string_view::npos) {
        out.append(line);
        return;
    }
    const TimeLineTimes times = ReadTimeLine(line);
    const std::int64_t start = ShiftedTime(line, 1, times.start, offset);
    const std::int64_t end = ShiftedTime(line, 18, times.end, offset);
    char result[29];
    FormatTimeLine(result, start, end);
    out.append(result, sizeof result);
}

std::string ShiftTimeLine(std::string_view line, std::int32_t offset) {
    std::string out;
    AppendShiftedLine(out, line, offset);
    return out;
}

}  // namespace srt

// Re-timings beyond a constant offset: two-point sync and frame-rate change,
// both exact in integers; the choice of time lines a run re-times; and a
// fast path for canonical time lines. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace srt {

// t -> offset + t, or b + (t - a) * (d - b) / (c - a), or t * num / den; the
// quotients rounded to the nearest millisecond, halves away from zero.
class TimeMap {
public:
    static TimeMap Offset(std::int32_t offset);
    // a != c; all four within the day.
    static TimeMap Sync(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d);
    // num, den > 0.
    static TimeMap Scale(std::uint64_t num, std::uint64_t den);

    std::int64_t Apply(std::int64_t t) const;
    bool IsOffset() const { return kind_ == Kind::Offset; }
    std::int32_t offset() const { return offset_; }

private:
    enum class Kind { Offset, Sync, Scale };
    Kind kind_ = Kind::Offset;
    std::int32_t offset_ = 0;
    std::int64_t a_ = 0, b_ = 0, num_ = 1, den_ = 1;
};

// round(value / divisor), halves away from zero; divisor != 0.
std::int64_t DivideRounded(std::int64_t value, std::int64_t divisor);

// round(t * num / den) for t, num, den below 2^63, den > 0; exact with no
// 128-bit type. nullopt when the result does not fit 63 bits.
std::optional<std::uint64_t> MulDivRounded(std::uint64_t t, std::uint64_t num, std::uint64_t den);

// As AppendShiftedLine under any map; a time moved out of the day fails with
// the offset's message under an offset map and "re-timed is outside ..." else.
void AppendRetimedLine(std::string& out, std::string_view line, const TimeMap& map);

// A canonical time line: hh:mm:ss,mmm --> hh:mm:ss,mmm in the rule's
// columns (the characters in columns 9, 13, 17 and 26 are free, and so is
// anything past column 29). Writes the same 29 characters as
// AppendRetimedLine into out and returns true; false for any other line or
// a time moved out of the day, which the general rule then handles.
bool FastRetimeLine(char* out, std::string_view line, const TimeMap& map);

// Which time lines a run re-times: those whose start lies in [from, to]
// and whose number (time lines counted from 1) lies in [fromIndex, toIndex].
struct TimeRange {
    std::optional<std::int64_t> from, to;
    std::optional<std::uint64_t> fromIndex, toIndex;

    bool HasTimeBound() const { return from || to; }
    bool Everything() const { return !from && !to && !fromIndex && !toIndex; }
    bool IndexSelected(std::uint64_t index) const {
        return (!fromIndex || index >= *fromIndex) && (!toIndex || index <= *toIndex);
    }
    bool StartSelected(std::int64_t start) const { return (!from || start >= *from) && (!to || start <= *to); }
};

// A time written as hh:mm:ss,mmm or hh:mm:ss.mmm, in milliseconds.
std::optional<std::int64_t> ParseClockTime(std::string_view text);

// A frame rate: 23.976, 29.97, 47.952, 59.94 and 119.88 stand for
// 24000/1001 ... 120000/1001; other rates are exact decimals (up to six
// digits either side of the point). Returns the reduced fraction.
struct Rate {
    std::uint64_t num = 0, den = 1;
};
std::optional<Rate> ParseFrameRate(std::string_view text);

}  // namespace srt

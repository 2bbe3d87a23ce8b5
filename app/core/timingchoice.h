// What the timing window's fields ask for, as a time map and a range, or
// which field is wrong. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/retime.h"

namespace srt {

enum class TimingMode { Offset, TwoPoints, FrameRate, Reference };
enum class RangeKind { All, FromCue, CueSpan, TimeSpan };

// The fields as typed; cue numbers count time lines from 1.
struct TimingFields {
    TimingMode mode = TimingMode::Offset;
    std::string offset;
    std::string cueA, timeB, cueC, timeD;
    std::string rateFrom, rateTo;
    std::optional<std::int64_t> referenceOffset;  // found by matching
    RangeKind range = RangeKind::All;
    std::string first, last;
};

enum class TimingFault {
    None, Offset, CueA, TimeB, CueC, TimeD, SamePoints, RateFrom, RateTo, NoReference, First, Last, Reversed
};

struct TimingChoice {
    TimeMap map = TimeMap::Offset(0);
    TimeRange range;
    TimingFault fault = TimingFault::None;
};

// `starts`: the start of every time line of the document, in order
// (nullopt for one the rule cannot read).
TimingChoice ChooseTiming(const TimingFields& fields, const std::vector<std::optional<std::int64_t>>& starts);

// The frame rates the window offers.
inline const char* const kFrameRates[] = {"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"};

}  // namespace srt

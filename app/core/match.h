// The constant offset that makes one set of cues overlap another the most.
// Platform-free.
#pragma once

#include "core/retimer.h"

#include <cstdint>
#include <vector>

namespace srt {

struct OffsetMatch {
    std::int64_t offset = 0;    // milliseconds to add to the cues
    std::int64_t overlap = 0;   // total overlap at that offset, in milliseconds
    std::size_t overlapping = 0;  // cues that overlap at least one reference cue
};

// The offset in whole milliseconds within one day either way that maximises
// the total overlap of the [start, end) intervals of cues, shifted, with
// those of reference; ties go to the smallest |offset|, then to the negative
// one. Exact: the overlap is piecewise linear in the offset, so a range of
// offsets is swept while adding up the slope changes at the breakpoints.
// Only ranges whose upper bound (a correlation of bucketed coverage, by FFT)
// can still reach the best are swept, which on real subtitles is a few.
OffsetMatch FindBestOffset(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference);

// Total overlap, and cues overlapping a reference cue, at one offset.
std::int64_t TotalOverlap(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference,
                          std::int64_t offset);
std::size_t OverlappingCues(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference,
                            std::int64_t offset);

}  // namespace srt

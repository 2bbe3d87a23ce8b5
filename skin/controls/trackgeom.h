// Track-bar geometry of the track-bar skin: where the channel and the tick
// marks lie at a window's DPI, from the channel and thumb rectangles the
// control reports. The platform draws both at their 96-DPI sizes whatever
// the DPI; these are those sizes scaled. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/controls/scrollgeom.h"

namespace srt {

// Which sides of the thumb carry ticks (the control's TBS_TOP/TBS_LEFT and
// TBS_BOTH bits; neither: below or right).
inline constexpr std::uint32_t kTicksBeforeBit = 0x0004;  // TBS_TOP, TBS_LEFT
inline constexpr std::uint32_t kTicksBothBit = 0x0008;    // TBS_BOTH

struct TTrackLayout {
    TIntRect Channel;  // as the control reports it
    TIntRect Thumb;    // as the control reports it
    bool Vertical = false;
    std::uint32_t Style = 0;
    std::int32_t Min = 0, Max = 0;
};

// The channel at `dpi`: as long as the control's, its thickness (a 96-DPI
// length) scaled about the same centre line.
TIntRect TrackChannel(const TIntRect& channel, bool vertical, std::int32_t dpi);

// The tick marks at `dpi`: one at each value of `ticks` and a longer one at
// each end of the range, each ScaleToDpi(1) wide and ScaleToDpi(3) long (4
// at the ends), ScaleToDpi(2) below or right of the thumb or ScaleToDpi(1)
// above or left of it, under the thumb's centre when it stands at that value.
// Values outside the range are left out.
std::vector<TIntRect> TrackTicks(const TTrackLayout& layout, const std::vector<std::int32_t>& ticks,
                                 std::int32_t dpi);

}  // namespace srt

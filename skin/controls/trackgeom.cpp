#include "skin/controls/trackgeom.h"

#include "component/dpi.h"

namespace srt {

TIntRect TrackChannel(const TIntRect& channel, bool vertical, std::int32_t dpi) {
    TIntRect r = channel;
    std::int32_t& lead = vertical ? r.left : r.top;
    std::int32_t& trail = vertical ? r.right : r.bottom;
    const std::int32_t thickness = ScaleToDpi(trail - lead, dpi);
    // Floor division keeps the centre line where the control has it.
    const std::int32_t doubled = lead + trail - thickness;
    lead = doubled >= 0 ? doubled / 2 : -((1 - doubled) / 2);
    trail = lead + thickness;
    return r;
}

std::vector<TIntRect> TrackTicks(const TTrackLayout& t, const std::vector<std::int32_t>& ticks, std::int32_t dpi) {
    std::vector<TIntRect> out;
    const std::int32_t width = ScaleToDpi(1, dpi), length = ScaleToDpi(3, dpi), edgeLength = ScaleToDpi(4, dpi);
    const std::int32_t gapAfter = ScaleToDpi(2, dpi), gapBefore = ScaleToDpi(1, dpi);
    // Along the bar: from under the thumb's centre at the minimum to under it
    // at the maximum.
    const std::int32_t half = t.Vertical ? (t.Thumb.bottom - t.Thumb.top) / 2 : (t.Thumb.right - t.Thumb.left) / 2;
    const std::int32_t first = (t.Vertical ? t.Channel.top : t.Channel.left) + half;
    const std::int32_t last = (t.Vertical ? t.Channel.bottom : t.Channel.right) - half - 1;
    const std::int64_t range = t.Max > t.Min ? static_cast<std::int64_t>(t.Max) - t.Min : 1;
    const bool before = (t.Style & (kTicksBeforeBit | kTicksBothBit)) != 0;
    const bool after = (t.Style & kTicksBeforeBit) == 0 || (t.Style & kTicksBothBit) != 0;
    const std::int32_t thumbLead = t.Vertical ? t.Thumb.left : t.Thumb.top;
    const std::int32_t thumbTrail = t.Vertical ? t.Thumb.right : t.Thumb.bottom;

    auto add = [&](std::int32_t value, std::int32_t len) {
        if (value < t.Min || value > t.Max) return;
        const std::int32_t along = first + static_cast<std::int32_t>((last - first) * (value - static_cast<std::int64_t>(t.Min)) / range);
        const std::int32_t a0 = along - (width - 1) / 2, a1 = a0 + width;
        auto place = [&](std::int32_t c0, std::int32_t c1) {
            out.push_back(t.Vertical ? TIntRect{c0, a0, c1, a1} : TIntRect{a0, c0, a1, c1});
        };
        if (before) place(thumbLead - gapBefore - len, thumbLead - gapBefore);
        if (after) place(thumbTrail + gapAfter, thumbTrail + gapAfter + len);
    };
    for (const std::int32_t v : ticks) add(v, length);
    add(t.Min, edgeLength);
    add(t.Max, edgeLength);
    return out;
}

}  // namespace srt

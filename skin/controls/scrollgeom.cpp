#include "skin/controls/scrollgeom.h"

#include <algorithm>

#include "component/dpi.h"

namespace srt {

TScrollBarRects CalcScrollBarRects(std::int32_t w, std::int32_t h, std::int32_t clientRight,
                                   std::int32_t clientBottom, std::int32_t sb, std::int32_t edge,
                                   std::uint32_t style, std::uint32_t exStyle, const TScrollBarRects& previous) {
    const bool horz = (style & kHScrollBit) != 0, vert = (style & kVScrollBit) != 0;
    std::int32_t e = edge;
    if (vert)
        e = (w - clientRight - sb) / 2;
    else if (horz)
        e = (h - clientBottom - sb) / 2;
    TScrollBarRects r = previous;
    r.SizeBox = {};
    const bool left = (exStyle & kLeftScrollBarBit) != 0;
    if (horz && vert) {
        if (!left) {
            r.Horz = {e, h - e - sb, w - e - sb, h - e};
            r.Vert = {w - e - sb, e, w - e, h - e - sb};
        } else {
            r.Horz = {e + sb, h - e - sb, w - e, h - e};
            r.Vert = {e, e, e + sb, h - e - sb};
        }
        r.SizeBox = {r.Vert.left, r.Horz.top, r.Vert.right, r.Horz.bottom};
    } else if (horz) {
        r.Horz = {e, h - e - sb, w - e, h - e};
    } else if (vert) {
        r.Vert = left ? TIntRect{e, e, e + sb, h - e} : TIntRect{w - e - sb, e, w - e, h - e};
    }
    return r;
}

TScrollBarLengths ScrollBarLengthsAt(std::int32_t dpi, std::int32_t arrow, std::int32_t noPageThumb,
                                     bool halfArrowMinThumb) {
    constexpr std::int32_t kMinThumb = 8;
    return {arrow, halfArrowMinThumb ? arrow / 2 : ScaleToDpi(kMinThumb, dpi), noPageThumb};
}

std::int32_t MulDivRound(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) return -1;
    std::int64_t x = a, d = c;
    if (d < 0) {
        x = -x;
        d = -d;
    }
    const std::int64_t p = x * b;
    const bool sameSign = (x < 0) == (b < 0);
    const std::int64_t q = sameSign ? (p + d / 2) / d : (p - d / 2) / d;
    if (q > 2147483647LL || q < -2147483647LL) return -1;
    return static_cast<std::int32_t>(q);
}

bool CalcThumb(std::int32_t length, std::int32_t sb, std::int32_t minThumb, std::int32_t noPageThumb,
               const TScrollValues& v, TScrollMetrics& m) {
    const std::int32_t track = length - 2 * sb;
    const std::int32_t range = v.nMax - v.nMin;
    if (range <= 0) return false;
    std::int32_t thumb = v.nPage != 0 ? std::max(MulDivRound(v.nPage, track, range), minThumb) : noPageThumb;
    if (track <= thumb) thumb = track;
    std::int32_t pos;
    if (v.nPage == range) {
        pos = 0;
        --thumb;
    } else {
        pos = MulDivRound(v.nPos - v.nMin, track - thumb, range - v.nPage);
    }
    if (pos > track - thumb) pos = track - thumb;
    m.TrackLength = track;
    m.ThumbLength = thumb;
    m.ThumbPos = std::max(pos, 0);
    return true;
}

bool CalcThumb(std::int32_t length, const TScrollBarLengths& l, const TScrollValues& v, TScrollMetrics& m) {
    return CalcThumb(length, l.Arrow, l.MinThumb, l.NoPageThumb, v, m);
}

TScrollSpans ScrollBarSpans(std::int32_t length, const TScrollMetrics& m) {
    const std::int32_t a = length < 2 * m.Thickness ? length / 2 : m.Thickness;
    TScrollSpans s{a, length - a, a, a};
    if (m.ThumbLength > 0 && m.ThumbLength <= m.TrackLength) {
        s.ThumbStart = a + std::clamp(m.ThumbPos, 0, m.TrackLength - m.ThumbLength);
        s.ThumbEnd = s.ThumbStart + m.ThumbLength;
    } else {
        s.ThumbStart = s.ThumbEnd = a + std::clamp(m.ThumbPos, 0, std::max(m.TrackLength, 0));
    }
    return s;
}

TIntRect ArrowImageRect(std::int32_t start, std::int32_t end, std::int32_t thickness, bool vertical) {
    const std::int32_t length = std::max(end - start, 0);
    thickness = std::max(thickness, 0);
    const std::int32_t side = std::min(length, thickness);
    const std::int32_t along = start + (length - side) / 2, across = (thickness - side) / 2;
    return vertical ? TIntRect{across, along, across + side, along + side}
                    : TIntRect{along, across, along + side, across + side};
}

std::int32_t ScrollHitTest(std::int32_t p, const TScrollMetrics& m) {
    const std::int32_t length = 2 * m.Thickness + m.TrackLength;
    const TScrollSpans s = ScrollBarSpans(length, m);
    if (p < s.FirstArrowEnd) return 0;
    if (p >= length) return -1;
    if (p >= s.SecondArrowStart) return 1;
    if (p < s.ThumbStart) return 2;
    if (p < s.ThumbEnd) return 5;
    return 3;
}

std::int32_t DragValue(std::int32_t p, const TScrollValues& v, const TScrollMetrics& m, std::int32_t& clamped) {
    p = std::max(p, 0);
    const std::int32_t range = v.nMax - v.nMin;
    std::int32_t value;
    if (v.nPage == 0) {
        const std::int32_t free = m.TrackLength - m.ThumbLength;
        p = std::min(p, free);
        value = std::min(MulDivRound(p, range, free) + v.nMin, v.nMax);
    } else {
        p = std::min(p, m.TrackLength);
        value = MulDivRound(p, range, m.TrackLength) + v.nMin;
        if (value >= v.nMax - v.nPage) value = v.nMax - v.nPage + 1;
    }
    clamped = std::max(p, 0);
    return std::max(value, v.nMin);
}

}  // namespace srt

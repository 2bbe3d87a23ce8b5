// Scroll-bar geometry of the scroll-bar skins: where the bars of a window
// lie, how long the thumb is and where it sits, what a point along a bar
// hits and which position a dragged thumb stands for. Platform-free.
#pragma once

#include <cstdint>

namespace srt {

struct TIntRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const TIntRect&) const = default;
};

// One bar: arrow thickness, pixels between the arrows, thumb length and its
// offset from the end of the first arrow.
struct TScrollMetrics {
    std::int32_t Thickness = 0;
    std::int32_t TrackLength = 0;
    std::int32_t ThumbLength = 0;
    std::int32_t ThumbPos = 0;
    std::uint32_t StyleBit = 0;
};

// The scroll values a thumb is computed from (SCROLLINFO's).
struct TScrollValues {
    std::int32_t nMin = 0, nMax = 0, nPage = 0, nPos = 0, nTrackPos = 0;
};

inline constexpr std::uint32_t kHScrollBit = 0x00100000;  // WS_HSCROLL
inline constexpr std::uint32_t kVScrollBit = 0x00200000;  // WS_VSCROLL
inline constexpr std::uint32_t kLeftScrollBarBit = 0x00004000;  // WS_EX_LEFTSCROLLBAR

// The lengths a skinned bar is drawn and hit-tested with at one DPI.
struct TScrollBarLengths {
    std::int32_t Arrow = 0;        // arrow length, and the thickness of a window's bars
    std::int32_t MinThumb = 0;     // the shortest thumb
    std::int32_t NoPageThumb = 0;  // the thumb of a bar without a page
    bool operator==(const TScrollBarLengths&) const = default;
};

// The lengths at `dpi` from the platform's arrow and thumb sizes at that DPI;
// `halfArrowMinThumb`: the shortest thumb is half an arrow (older platforms)
// rather than 8 pixels at 96 DPI.
TScrollBarLengths ScrollBarLengthsAt(std::int32_t dpi, std::int32_t arrow, std::int32_t noPageThumb,
                                     bool halfArrowMinThumb);

struct TScrollBarRects {
    TIntRect Horz, Vert, SizeBox;
};

// The bars of a window of `width` x `height` (window coordinates) whose
// client rectangle is `clientRight` x `clientBottom`; `style` says which bars
// are present, `exStyle` whether the vertical one sits on the left. `edge`
// is the border used when neither bar is present. Bars not present come back
// as `previous` holds them.
TScrollBarRects CalcScrollBarRects(std::int32_t width, std::int32_t height, std::int32_t clientRight,
                                   std::int32_t clientBottom, std::int32_t sb, std::int32_t edge,
                                   std::uint32_t style, std::uint32_t exStyle, const TScrollBarRects& previous);

// The platform's MulDiv: a * b / c rounded half away from zero, -1 for c 0
// or a result outside 32 bits.
std::int32_t MulDivRound(std::int32_t a, std::int32_t b, std::int32_t c);

// Thumb length and offset for a bar `length` pixels long. False, and
// `metrics` untouched, when the range is empty. `minThumb`: the smallest
// thumb; `noPageThumb`: the thumb when the page is 0.
bool CalcThumb(std::int32_t length, std::int32_t sb, std::int32_t minThumb, std::int32_t noPageThumb,
               const TScrollValues& v, TScrollMetrics& metrics);

// CalcThumb with the lengths of one DPI.
bool CalcThumb(std::int32_t length, const TScrollBarLengths& lengths, const TScrollValues& v, TScrollMetrics& metrics);

// Where the parts of a bar `length` long lie along it, painted and hit alike:
// the first arrow [0, FirstArrowEnd), the second [SecondArrowStart, length)
// (each half the bar when it is too short for two), the thumb [ThumbStart,
// ThumbEnd), empty where the thumb does not fit the track.
struct TScrollSpans {
    std::int32_t FirstArrowEnd = 0, SecondArrowStart = 0, ThumbStart = 0, ThumbEnd = 0;
    bool operator==(const TScrollSpans&) const = default;
};
TScrollSpans ScrollBarSpans(std::int32_t length, const TScrollMetrics& m);

// Where an arrow's image is drawn in its button [start, end) along a bar
// `thickness` across (bar coordinates): the largest square both allow,
// centred, so that the arrow keeps its shape on a bar of any thickness.
TIntRect ArrowImageRect(std::int32_t start, std::int32_t end, std::int32_t thickness, bool vertical);

// Scroll code for a point `p` along a bar of `m` (2 * Thickness +
// TrackLength long), after its spans: 0 line up, 2 page up, 5 thumb, 3 page
// down, 1 line down, -1 past the bar.
std::int32_t ScrollHitTest(std::int32_t p, const TScrollMetrics& m);

// The position a thumb dragged to offset `p` stands for; `p` is clamped to
// what the bar allows and returned through `clamped`.
std::int32_t DragValue(std::int32_t p, const TScrollValues& v, const TScrollMetrics& m, std::int32_t& clamped);

}  // namespace srt

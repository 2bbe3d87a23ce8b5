// Composition of skin images: the nine-piece rule, tiling, strips, single
// frames.
#include "skin/draw/skindraw.h"

#include <algorithm>

namespace srt {
namespace {

// Where frame k lies in an image.
struct TFrame {
    int sx = 0, sy = 0, fw = 0, fh = 0;
};

bool FindFrame(const ::TBitmap& image, const TFrameIndex& which, TFrame& frame) {
    const std::int32_t count = which.count, k = which.index;
    if (image.Empty() || count < 1 || k < 1 || k > count) return false;
    if (which.layout == TFrameLayout::Stacked) {
        frame.fw = image.Width();
        frame.fh = image.Height() / count;
        frame.sx = 0;
        frame.sy = (k - 1) * frame.fh;
    } else {
        frame.fw = image.Width() / count;
        frame.fh = image.Height();
        frame.sx = (k - 1) * frame.fw;
        frame.sy = 0;
    }
    return true;
}

// Margins that do not fit are dropped in pairs; exactly equal sums stay.
TMargins FitMargins(TMargins m, std::int32_t w, std::int32_t h) {
    if (std::int64_t{m.left} + m.right > w) m.left = m.right = 0;
    if (std::int64_t{m.top} + m.bottom > h) m.top = m.bottom = 0;
    return m;
}

bool Positive(std::int64_t a, std::int64_t b) { return a * b > 0; }

// A stretching copy between two rectangles given by their corners.
void Stretch(HDC dest, int x0, int y0, int x1, int y1, HDC source, int sx0, int sy0, int sx1, int sy1) {
    StretchBlt(dest, x0, y0, x1 - x0, y1 - y0, source, sx0, sy0, sx1 - sx0, sy1 - sy0, SRCCOPY);
}

enum class TPiece { TopLeft, BottomLeft, TopRight, Left, Top, Centre, BottomRight, Right, Bottom };
constexpr TPiece kPieceOrder[] = {TPiece::TopLeft,     TPiece::BottomLeft, TPiece::TopRight,
                                  TPiece::Left,        TPiece::Top,        TPiece::Centre,
                                  TPiece::BottomRight, TPiece::Right,      TPiece::Bottom};

// The nine pieces in their order onto `dest` at offset (ox, oy); the centre
// only when `centre` is set (tiled or stretched).
void DrawPieces(HDC dest, int ox, int oy, int w, int h, ::TBitmap& image, const TFrame& f, const TMargins& m,
                bool centre, TFill fill) {
    HDC src = image.Canvas();
    if (!src) return;
    const int l = m.left, t = m.top, r = m.right, b = m.bottom;
    const int sx = f.sx, sy = f.sy, fw = f.fw, fh = f.fh;
    auto piece = [&](int x0, int y0, int x1, int y1, int sx0, int sy0, int sx1, int sy1) {
        Stretch(dest, ox + x0, oy + y0, ox + x1, oy + y1, src, sx0, sy0, sx1, sy1);
    };
    for (TPiece p : kPieceOrder) {
        switch (p) {
        case TPiece::TopLeft:
            if (Positive(l, t)) piece(0, 0, l, t, sx, sy, sx + l, sy + t);
            break;
        case TPiece::BottomLeft:
            if (Positive(l, b)) piece(0, h - b, l, h, sx, sy + fh - b, sx + l, sy + fh);
            break;
        case TPiece::TopRight:
            if (Positive(r, t)) piece(w - r, 0, w, t, sx + fw - r, sy, sx + fw, sy + t);
            break;
        case TPiece::Left:
            if (l > 0) piece(0, t, l, h - b, sx, sy + t, sx + l, sy + fh - b);
            break;
        case TPiece::Top:
            if (t > 0) piece(l, 0, w - r, t, sx + l, sy, sx + fw - r, sy + t);
            break;
        case TPiece::Centre:
            if (!centre) break;
            if (fill == TFill::Tile) {
                TileBitmap(dest, RECT{ox + l, oy + t, ox + w - r, oy + h - b}, image,
                           RECT{sx + l, sy + t, sx + fw - r, sy + fh - b});
            } else {
                piece(l, t, w - r, h - b, sx + l, sy + t, sx + fw - r, sy + fh - b);
            }
            break;
        case TPiece::BottomRight:
            if (Positive(r, b)) piece(w - r, h - b, w, h, sx + fw - r, sy + fh - b, sx + fw, sy + fh);
            break;
        case TPiece::Right:
            if (r > 0) piece(w - r, t, w, h - b, sx + fw - r, sy + t, sx + fw, sy + fh - b);
            break;
        case TPiece::Bottom:
            if (b > 0) piece(l, h - b, w - r, h, sx + l, sy + fh - b, sx + fw - r, sy + fh);
            break;
        }
    }
}

bool Reversed(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Puts a composed bitmap on the target at (left, top), keyed or opaque.
void Present(HDC dc, const RECT& target, ::TBitmap& composed, TKeying keying) {
    HDC src = composed.Canvas();
    if (!src) return;
    if (keying == TKeying::Keyed) {
        DrawTransparent(dc, target, composed, kSkinKey);
    } else {
        BitBlt(dc, target.left, target.top, composed.Width(), composed.Height(), src, 0, 0, SRCCOPY);
    }
}

// First and end step positions of a run of pieces `step` apart from `from`
// up to `to` whose pieces can reach [lo, hi): pieces wholly outside would be
// clipped, so skipping them changes no pixel and bounds the loop.
void VisibleSteps(std::int64_t from, std::int64_t to, std::int64_t step, std::int64_t lo, std::int64_t hi,
                  std::int64_t& first, std::int64_t& end) {
    first = from;
    if (first + step <= lo) first += (lo - first) / step * step;
    end = std::min(to, hi);
}

}  // namespace

::TBitmap CreateSkinBitmap(const RECT& target, ::TBitmap& image, TFrameIndex frame, TMargins margins, TFill centre) {
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    ::TBitmap result(w, h);
    TFrame f;
    if (!FindFrame(image, frame, f)) return result;
    HDC dc = result.Canvas();
    if (!dc) return result;
    SetStretchBltMode(dc, COLORONCOLOR);
    DrawPieces(dc, 0, 0, w, h, image, f, FitMargins(margins, w, h), true, centre);
    return result;
}

void TileBitmap(HDC dc, const RECT& dest, ::TBitmap& image, const RECT& source) {
    const std::int64_t tw = std::int64_t{source.right} - source.left;
    const std::int64_t th = std::int64_t{source.bottom} - source.top;
    if (tw < 0 || th < 0 || tw * th == 0) return;
    HDC src = image.Canvas();
    if (!src) return;
    ::TBitmap tile(static_cast<int>(tw), static_cast<int>(th));
    HDC tileDC = tile.Canvas();
    if (!tileDC) return;
    BitBlt(tileDC, 0, 0, tile.Width(), tile.Height(), src, source.left, source.top, SRCCOPY);

    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR) clip = dest;
    std::int64_t x0, x1, y0, y1;
    VisibleSteps(dest.left, dest.right, tw, clip.left, clip.right, x0, x1);
    VisibleSteps(dest.top, dest.bottom, th, clip.top, clip.bottom, y0, y1);
    for (std::int64_t x = x0; x < x1; x += tw) {
        for (std::int64_t y = y0; y < y1; y += th) {
            BitBlt(dc, static_cast<int>(x), static_cast<int>(y), tile.Width(), tile.Height(), tileDC, 0, 0,
                   SRCCOPY);
        }
    }
}

void DrawSkinImage(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TMargins margins, TFill centre,
                   TKeying keying) {
    TFrame f;
    if (Reversed(target) || !FindFrame(image, frame, f)) return;
    ::TBitmap composed = CreateSkinBitmap(target, image, frame, margins, centre);
    Present(dc, target, composed, keying);
}

void DrawSkinBorder(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TMargins margins) {
    SetStretchBltMode(dc, COLORONCOLOR);
    TFrame f;
    if (!FindFrame(image, frame, f)) return;
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    DrawPieces(dc, target.left, target.top, w, h, image, f, FitMargins(margins, w, h), false, TFill::Stretch);
}

void DrawSkinStrip(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TStripCaps caps,
                   TKeying keying) {
    TFrame f;
    if (Reversed(target) || !FindFrame(image, frame, f)) return;
    HDC src = image.Canvas();
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    ::TBitmap strip(w, h);
    HDC sdc = strip.Canvas();
    if (!src || !sdc) return;
    SetStretchBltMode(sdc, COLORONCOLOR);
    const int l = caps.left, r = caps.right;
    Stretch(sdc, 0, 0, l, h, src, f.sx, f.sy, f.sx + l, f.sy + f.fh);
    const std::int64_t mw = std::int64_t{f.fw} - l - r;
    if (mw > 0) {
        std::int64_t x0, x1;
        VisibleSteps(l, std::int64_t{w} - r, mw, 0, w, x0, x1);
        for (std::int64_t x = x0; x < x1; x += mw) {
            Stretch(sdc, static_cast<int>(x), 0, static_cast<int>(x + mw), h, src, f.sx + l, f.sy,
                    static_cast<int>(f.sx + l + mw), f.sy + f.fh);
        }
    }
    Stretch(sdc, w - r, 0, w, h, src, f.sx + f.fw - r, f.sy, f.sx + f.fw, f.sy + f.fh);
    Present(dc, target, strip, keying);
}

void DrawSkinFrame(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TKeying keying) {
    TFrame f;
    if (Reversed(target) || !FindFrame(image, frame, f)) return;
    HDC src = image.Canvas();
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    ::TBitmap composed(w, h);
    HDC cdc = composed.Canvas();
    if (!src || !cdc) return;
    // This composition keeps the stretch mode a fresh DC starts with.
    SetStretchBltMode(cdc, BLACKONWHITE);
    Stretch(cdc, 0, 0, w, h, src, f.sx, f.sy, f.sx + f.fw, f.sy + f.fh);
    Present(dc, target, composed, keying);
}

::TBitmap& ScratchBitmap() {
    static ::TBitmap scratch;
    return scratch;
}

}  // namespace srt

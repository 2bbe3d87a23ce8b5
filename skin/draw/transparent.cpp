// Colour-keyed drawing through a monochrome mask.
#include <algorithm>
#include <vector>

#include "skin/draw/skindraw.h"

namespace srt {
namespace {

// A monochrome bitmap of the first w x h pixels of `bitmap`: 1 (white) where
// a pixel is exactly `key`, 0 (black) elsewhere.
GdiBitmap MakeMask(::TBitmap& bitmap, int w, int h, std::uint32_t key) {
    const std::size_t stride = static_cast<std::size_t>((w + 15) / 16) * 2;  // rows are WORD-aligned
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(h), 0);
    const std::uint32_t dibKey = ::TBitmap::FromColour(key & 0xFFFFFF);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = bitmap.ScanLine(y);
        std::uint8_t* out = bits.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < w; ++x) {
            if ((row[x] & 0xFFFFFF) == dibKey) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
    }
    return GdiBitmap(CreateBitmap(w, h, 1, 1, bits.data()));
}

}  // namespace

TTransparentMethod PlatformTransparentMethod() {
    // The high bit of GetVersion is clear on the NT family.
    return (GetVersion() & 0x80000000u) == 0 ? TTransparentMethod::tmMaskBlt : TTransparentMethod::tmThreeBlt;
}

void DrawTransparent(HDC dc, const RECT& target, ::TBitmap& bitmap, std::uint32_t key) {
    DrawTransparent(dc, target, bitmap, key, PlatformTransparentMethod());
}

void DrawTransparent(HDC dc, const RECT& target, ::TBitmap& bitmap, std::uint32_t key,
                     TTransparentMethod method) {
    if (target.right < target.left || target.bottom < target.top) return;
    const int w = std::min<std::int64_t>(std::int64_t{target.right} - target.left, bitmap.Width());
    const int h = std::min<std::int64_t>(std::int64_t{target.bottom} - target.top, bitmap.Height());
    if (w <= 0 || h <= 0) return;
    HDC src = bitmap.Canvas();
    if (!src) return;
    GdiBitmap mask = MakeMask(bitmap, w, h, key);
    if (!mask) return;

    if (method == TTransparentMethod::tmMaskBlt) {
        // Mask 1 keeps the destination (0x00AA0029), mask 0 copies the source.
        MaskBlt(dc, target.left, target.top, w, h, src, 0, 0, mask.Get(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
        return;
    }
    MemoryDC maskDC(dc);
    if (!maskDC) return;
    GdiSelect selected(maskDC.Get(), mask);
    const COLORREF background = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    // d ^ s, then key pixels keep it and the others become 0, then ^ s again:
    // key pixels end as d, the others as s.
    BitBlt(dc, target.left, target.top, w, h, src, 0, 0, SRCINVERT);
    BitBlt(dc, target.left, target.top, w, h, maskDC.Get(), 0, 0, SRCAND);
    BitBlt(dc, target.left, target.top, w, h, src, 0, 0, SRCINVERT);
    SetTextColor(dc, text);
    SetBkColor(dc, background);
}

}  // namespace srt

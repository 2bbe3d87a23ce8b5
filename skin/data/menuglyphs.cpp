#include "skin/data/menuglyphs.h"

namespace srt {
namespace {

constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr int kCell = 16;

void Fill(TBitmap& b, int cell, int x0, int y0, int x1, int y1, std::uint32_t c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) b.ScanLine(y)[cell * kCell + x] = c;
}

// A window outline from (x0, y0) to (x1, y1), inclusive, with a two-pixel
// title bar.
void Window(TBitmap& b, int cell, int x0, int y0, int x1, int y1) {
    Fill(b, cell, x0, y0, x1, y1, kInk);
    Fill(b, cell, x0 + 1, y0 + 2, x1 - 1, y1 - 1, kPaper);
}

}  // namespace

TBitmap DrawMenuGlyphs() {
    TBitmap strip(4 * kCell, kCell);
    Fill(strip, 0, 0, 0, 4 * kCell - 1, kCell - 1, kPaper);
    // Restore: the back window shows above and to the right of the front one.
    Window(strip, 0, 6, 2, 13, 8);
    Fill(strip, 0, 2, 6, 9, 13, kPaper);
    Window(strip, 0, 3, 6, 10, 12);
    // Maximise.
    Window(strip, 1, 3, 3, 12, 12);
    // Minimise: a bar at the foot.
    Fill(strip, 2, 4, 11, 11, 12, kInk);
    // Close: two strokes, two pixels wide.
    for (int i = 0; i < 8; ++i) {
        Fill(strip, 3, 4 + i, 4 + i, 5 + i, 4 + i, kInk);
        Fill(strip, 3, 10 - i, 4 + i, 11 - i, 4 + i, kInk);
    }
    return strip;
}

std::vector<std::uint8_t> WriteBmp1(const TBitmap& image) {
    const int w = image.Width(), h = image.Height();
    const std::uint32_t stride = ((static_cast<std::uint32_t>(w) + 31) / 32) * 4;
    const std::uint32_t offset = 14 + 40 + 8;
    const std::uint32_t size = offset + stride * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out;
    out.reserve(size);
    auto u16 = [&](std::uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    u32(size);
    u32(0);
    u32(offset);
    u32(40);
    u32(static_cast<std::uint32_t>(w));
    u32(static_cast<std::uint32_t>(h));
    u16(1);
    u16(1);
    u32(0);  // BI_RGB
    u32(stride * static_cast<std::uint32_t>(h));
    u32(3780);  // 96 DPI
    u32(3780);
    u32(2);
    u32(2);
    u32(0x000000);
    u32(0xFFFFFF);
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        const std::uint32_t* line = image.ScanLine(y);
        for (int x = 0; x < w; ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace srt

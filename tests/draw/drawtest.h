// Helpers of the drawing tests: bitmaps from colour functions, pixel
// comparison, and the process's GDI object count.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "component/graphics.h"

namespace drawtest {

// A colour value 0x00BBGGRR as the bitmaps speak it.
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

using ColourAt = std::function<std::uint32_t(int x, int y)>;

inline TBitmap Make(int w, int h, const ColourAt& colour) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, colour(x, y));
    return b;
}

inline TBitmap Solid(int w, int h, std::uint32_t colour) {
    return Make(w, h, [=](int, int) { return colour; });
}

// Every pixel of `b` against `expected`; reports the first few mismatches.
inline ::testing::AssertionResult PixelsAre(const TBitmap& b, const ColourAt& expected) {
    int bad = 0;
    std::string report;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint32_t got = b.Pixel(x, y), want = expected(x, y);
            if (got != want && ++bad <= 8) {
                char line[96];
                std::snprintf(line, sizeof line, "\n  (%d,%d): got %06X want %06X", x, y, static_cast<unsigned>(got),
                              static_cast<unsigned>(want));
                report += line;
            }
        }
    }
    if (bad == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ" << report;
}

inline ::testing::AssertionResult SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return ::testing::AssertionFailure() << "sizes differ";
    return PixelsAre(a, [&](int x, int y) { return b.Pixel(x, y); });
}

// The GDI objects of this process. Wine's GetGuiResources reports nothing,
// so there the shared handle table is walked instead: Wine accepts a handle
// given by its table index alone.
// The first GDI calls of a process create objects that stay; they are made
// before the first count.
inline int GdiObjectCount() {
    static const bool warmed = [] {
        TBitmap b(2, 2);
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        RECT r{0, 0, 1, 1};
        FillRect(b.Canvas(), &r, brush);
        DeleteObject(brush);
        return true;
    }();
    (void)warmed;
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return static_cast<int>(reported);
    int count = 0;
    for (std::uintptr_t index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    return count;
}

// Checks that the process holds as many GDI objects at the end of a test
// as at its start.
class GdiBalance : public ::testing::Test {
protected:
    void SetUp() override { before_ = GdiObjectCount(); }
    void TearDown() override { EXPECT_EQ(GdiObjectCount(), before_) << "GDI objects leaked"; }

private:
    int before_ = 0;
};

}  // namespace drawtest

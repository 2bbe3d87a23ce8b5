// Image lists: cells cut from a strip, drawn through their mask, greyed,
// and no GDI object left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "component/imglist.h"
#include "tests/draw/drawtest.h"

namespace {

constexpr std::uint32_t kMagenta = RGB(255, 0, 255);  // the mask colour
constexpr std::uint32_t kGreen = RGB(0, 128, 0);      // the background

// A strip of `cells` 4 x 3 cells: cell i is solid colour (i+1)*40 red with
// its top-left pixel in the mask colour.
TBitmap Strip(int cells, int extra = 0) {
    TBitmap strip(4 * cells + extra, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < strip.Width(); ++x)
            strip.SetPixel(x, y, (x % 4 == 0 && y == 0) ? kMagenta : RGB((x / 4 + 1) * 40, 10, 20));
    return strip;
}

TBitmap Background() {
    TBitmap b(10, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) b.SetPixel(x, y, kGreen);
    return b;
}

class ImageList : public drawtest::GdiBalance {};

TEST_F(ImageList, CellsAreCutLeftToRightAndANarrowerRestIsDropped) {
    TImageList list(nullptr, 4, 3);
    EXPECT_EQ(list.AddMasked(Strip(2, 3), kMagenta), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.AddMasked(Strip(1), kMagenta), 2);
    EXPECT_EQ(list.Count(), 3);
    // Too small for one cell: nothing added.
    EXPECT_EQ(list.AddMasked(TBitmap(3, 3), kMagenta), -1);
    EXPECT_EQ(list.AddMasked(TBitmap(8, 2), kMagenta), -1);
    EXPECT_EQ(list.Count(), 3);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    // The list frees its bitmaps at the end too (the fixture counts).
    TImageList other(nullptr, 4, 3);
    other.AddMasked(Strip(3), kMagenta);
}

TEST_F(ImageList, DrawLeavesMaskedPixelsAndGreysTheRest) {
    TImageList list(nullptr, 4, 3);
    ASSERT_EQ(list.AddMasked(Strip(2), kMagenta), 0);
    TBitmap target = Background();
    list.Draw(target.Canvas(), 1, 2, 1);
    GdiFlush();
    EXPECT_EQ(target.Pixel(1, 2), kGreen);              // masked
    EXPECT_EQ(target.Pixel(2, 2), RGB(80, 10, 20));     // cell 1's colour
    EXPECT_EQ(target.Pixel(4, 4), RGB(80, 10, 20));
    EXPECT_EQ(target.Pixel(5, 2), kGreen);              // beside the cell
    EXPECT_EQ(target.Pixel(0, 0), kGreen);

    TBitmap grey = Background();
    list.Draw(grey.Canvas(), 0, 0, 0, false);
    GdiFlush();
    EXPECT_EQ(grey.Pixel(0, 0), kGreen);
    EXPECT_EQ(grey.Pixel(1, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(grey.Pixel(3, 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(grey.Pixel(4, 0), kGreen);
    // The target's colours are as they were.
    EXPECT_EQ(GetTextColor(grey.Canvas()), RGB(0, 0, 0));

    // Out of range, or no target: nothing drawn.
    TBitmap untouched = Background();
    list.Draw(untouched.Canvas(), 0, 0, 2);
    list.Draw(untouched.Canvas(), 0, 0, -1);
    list.Draw(nullptr, 0, 0, 0);
    GdiFlush();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(untouched.Pixel(x, y), kGreen) << x << "," << y;
}

TEST_F(ImageList, ANonPositiveSizeFallsBackToSixteen) {
    TImageList list(nullptr, 0, -3);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
}

}  // namespace

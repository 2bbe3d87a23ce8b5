#include "component/graphics.h"

#include <gtest/gtest.h>

TEST(Bitmap, SizePixelsAndColourOrder) {
    TBitmap b(3, 2);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(2, 1), 0u);
    b.SetPixel(2, 1, 0x00FF0000);  // blue as a colour value
    EXPECT_EQ(b.ScanLine(1)[2], 0x000000FFu);  // blue is the low byte in DIB order
    EXPECT_EQ(b.Pixel(2, 1), 0x00FF0000u);
    b.SetSize(-4, 5);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, AssignAndMove) {
    TBitmap a(2, 2);
    a.SetPixel(1, 0, 0x00FF00FF);
    TBitmap b;
    b.Assign(a);
    EXPECT_EQ(b.Pixel(1, 0), 0x00FF00FFu);
    TBitmap c(std::move(b));
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(c.Pixel(1, 0), 0x00FF00FFu);
}

#ifdef _WIN32
TEST(Bitmap, CanvasDrawsIntoThePixels) {
    TBitmap b(4, 4);
    HDC dc = b.Canvas();
    ASSERT_NE(dc, nullptr);
    RECT r{1, 1, 3, 3};
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EXPECT_EQ(b.Pixel(1, 1), static_cast<std::uint32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(b.Pixel(0, 0), 0u);
}
#endif

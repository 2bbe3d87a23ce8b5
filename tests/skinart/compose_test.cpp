// The preview compositor and picture writer of skingen: the mock-up is only
// worth looking at if it composes images the way the painters do.
#include <gtest/gtest.h>

#include "tools/skingen/compose.h"
#include "tools/png/png.h"
#include "tools/skingen/raster.h"

namespace srt::art {
namespace {

// An image whose pixel value encodes its own coordinates.
TBitmap Numbered(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = static_cast<std::uint32_t>(y * 256 + x + 1);
    return b;
}
int X(std::uint32_t p) { return static_cast<int>(p % 256) - 1; }
int Y(std::uint32_t p) { return static_cast<int>(p / 256); }

TEST(Compose, NinePieceKeepsCornersAndStretchesTheRest) {
    const TBitmap img = Numbered(30, 10);  // 3 frames of 10 x 10
    const TBitmap out = CreateSkinBitmap(40, 20, img, {2, 3, 2, 3}, false, false, 3, 2);
    EXPECT_EQ(X(At(out, 0, 0)), 10);   // frame 2 starts at x 10
    EXPECT_EQ(Y(At(out, 0, 0)), 0);
    EXPECT_EQ(X(At(out, 39, 19)), 19);  // bottom-right corner 1:1
    EXPECT_EQ(Y(At(out, 39, 19)), 9);
    EXPECT_EQ(Y(At(out, 20, 1)), 1);    // top edge keeps its rows
    for (int y = 3; y < 17; ++y)          // centre from the centre only
        for (int x = 2; x < 38; ++x) {
            EXPECT_GE(X(At(out, x, y)), 12);
            EXPECT_LT(X(At(out, x, y)), 18);
            EXPECT_GE(Y(At(out, x, y)), 3);
            EXPECT_LT(Y(At(out, x, y)), 7);
        }
}

TEST(Compose, MarginsThatDoNotFitAreDroppedInPairs) {
    const TBitmap img = Numbered(10, 10);
    const TBitmap out = CreateSkinBitmap(6, 10, img, {4, 2, 4, 2}, false, false, 1, 1);
    EXPECT_EQ(X(At(out, 0, 5)), 0);  // whole width stretched: 6 of 10 columns
    EXPECT_EQ(X(At(out, 5, 5)), 8);
    EXPECT_EQ(Y(At(out, 0, 0)), 0);  // heights kept
    EXPECT_EQ(Y(At(out, 0, 9)), 9);
}

TEST(Compose, TiledCentreRepeatsAndTheRightEdgeCoversTheOverrun) {
    const TBitmap img = Numbered(9, 1);  // L 1, centre 7, R 1
    const TBitmap out = CreateSkinBitmap(22, 1, img, {1, 0, 1, 0}, false, true, 1, 1);
    EXPECT_EQ(X(At(out, 1, 0)), 1);
    EXPECT_EQ(X(At(out, 8, 0)), 1);   // second tile starts at 1 + 7
    EXPECT_EQ(X(At(out, 15, 0)), 1);  // third
    EXPECT_EQ(X(At(out, 20, 0)), 6);
    EXPECT_EQ(X(At(out, 21, 0)), 8);  // right edge
}

TEST(Compose, StackedFramesAndKeyedDrawing) {
    TBitmap img(4, 4);
    View v(img);
    v.Rect(0, 0, 4, 2, Hex(0x112233));
    v.Rect(0, 2, 4, 4, kKey);
    v.Set(1, 3, Hex(0x445566));
    TBitmap dst(4, 2);
    View(dst).Fill(Hex(0xFFFFFF));
    DrawSkinFrame(dst, {0, 0, 4, 2}, img, true, 1, 1);  // side by side: whole image squeezed
    TBitmap strip(4, 2);
    View(strip).Fill(Hex(0xFFFFFF));
    DrawSkinStrip(strip, {0, 0, 4, 2}, img, true, true, 2, 2, 1, 1);  // frame 2 of 2 stacked
    EXPECT_EQ(At(strip, 0, 0), 0xFFFFFFu);  // key left out
    EXPECT_EQ(At(strip, 1, 1), 0x445566u);
    EXPECT_EQ(FrameRect(img, true, 2, 2).t, 2);
    EXPECT_EQ(FrameRect(img, false, 4, 3).l, 2);
}

TEST(Compose, ReversedRectanglesDrawNothing) {
    const TBitmap img = Numbered(4, 4);
    TBitmap dst(8, 8);
    DrawSkinImage(dst, {5, 5, 2, 2}, img, false, false, false, 1, 1, {});
    DrawSkinStrip(dst, {5, 5, 2, 8}, img, false, false, 1, 1, 1, 1);
    DrawSkinFrame(dst, {5, 5, 8, 2}, img, false, 1, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(At(dst, x, y), 0u);
}

// A sheet reaches its PNG pixel for pixel, whatever a pixel's top byte holds.
TEST(Png, BitmapsReadBackAsDrawn) {
    TBitmap img(300, 300);
    View(img).Fill(Hex(0x336699));
    img.ScanLine(7)[11] = 0xFF102030;
    png::TImage back;
    std::string error;
    ASSERT_TRUE(png::DecodePng(png::EncodePng(ImageOf(img)), back, error)) << error;
    ASSERT_EQ(back.width, 300);
    ASSERT_EQ(back.height, 300);
    EXPECT_EQ(back.At(11, 7), 0x102030u);
    EXPECT_EQ(back.At(299, 299), At(img, 299, 299) & 0xFFFFFF);
}

TEST(Raster, AntiAliasedEdgesBlendAndOutsideIsKeyed) {
    TBitmap img(10, 10);
    View v(img);
    v.Fill(Hex(0x000000));
    v.FillShape(CircleShape(5, 5, 4), Hex(0xFFFFFF));
    v.KeyOutside(CircleShape(5, 5, 4));
    EXPECT_EQ(At(img, 5, 5), 0xFFFFFFu);
    EXPECT_EQ(Unpack(At(img, 0, 0)), kKey);
    const Rgb edge = Unpack(At(img, 2, 2));  // partly covered, kept
    EXPECT_TRUE(edge == kKey || (edge.r > 0 && edge.r < 255));
}

}  // namespace
}  // namespace srt::art

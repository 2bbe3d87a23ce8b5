#include "skin/draw/skindraw.h"

#include "drawtest.h"

using namespace srt;
using drawtest::Make;
using drawtest::Rgb;
using drawtest::PixelsAre;
using drawtest::SamePixels;
using drawtest::Solid;

namespace {

// Which of the three pieces along one axis a coordinate falls in (0 first
// margin, 1 middle, 2 last margin) and its offset inside a margin piece.
struct TAxis {
    int piece, offset;
};
TAxis Classify(int p, int size, int first, int last) {
    if (p < first) return {0, p};
    if (p >= size - last) return {2, p - (size - last)};
    return {1, 0};
}

// A pixel of a nine-piece frame: red names the frame and the piece, green
// and blue the offset inside a margin. Along a stretched axis the colour is
// constant, so any stretching keeps it; across the margins it is unique.
std::uint32_t NinePieceColour(int frame, TAxis ax, TAxis ay) {
    return Rgb(frame * 16 + ax.piece * 3 + ay.piece, ax.offset, ay.offset);
}

// `count` frames of fw x fh in a row (or stacked), each marked by the rule above.
TBitmap NinePieceImage(int fw, int fh, int count, bool stacked, int l, int t, int r, int b) {
    return Make(stacked ? fw : fw * count, stacked ? fh * count : fh, [=](int x, int y) {
        const int frame = (stacked ? y / fh : x / fw) + 1;
        return NinePieceColour(frame, Classify(x % fw, fw, l, r), Classify(y % fh, fh, t, b));
    });
}

// What a w x h composition of frame k with margins (l, t, r, b) must show.
drawtest::ColourAt NinePieceExpected(int frame, int w, int h, int l, int t, int r, int b) {
    return [=](int x, int y) { return NinePieceColour(frame, Classify(x, w, l, r), Classify(y, h, t, b)); };
}

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

}  // namespace

class NinePiece : public drawtest::GdiBalance {};

TEST_F(NinePiece, CornersCopiedEdgesAndCentreStretched) {
    TBitmap image = NinePieceImage(12, 10, 3, false, 3, 2, 4, 3);
    for (int k = 1; k <= 3; ++k) {
        TBitmap out = CreateSkinBitmap(Rect(5, 7, 45, 32), image, {3, k}, {3, 2, 4, 3}, TFill::Stretch);
        ASSERT_EQ(out.Width(), 40);
        ASSERT_EQ(out.Height(), 25);
        EXPECT_TRUE(PixelsAre(out, NinePieceExpected(k, 40, 25, 3, 2, 4, 3))) << "frame " << k;
    }
    // Shrinking the middle works the same way.
    TBitmap small = CreateSkinBitmap(Rect(0, 0, 9, 6), image, {3, 2}, {3, 2, 4, 3}, TFill::Stretch);
    EXPECT_TRUE(PixelsAre(small, NinePieceExpected(2, 9, 6, 3, 2, 4, 3)));
}

TEST_F(NinePiece, StackedFrames) {
    TBitmap image = NinePieceImage(12, 10, 4, true, 2, 3, 2, 1);
    TBitmap out =
        CreateSkinBitmap(Rect(0, 0, 30, 17), image, {4, 3, TFrameLayout::Stacked}, {2, 3, 2, 1}, TFill::Stretch);
    EXPECT_TRUE(PixelsAre(out, NinePieceExpected(3, 30, 17, 2, 3, 2, 1)));
}

TEST_F(NinePiece, TiledCentreRunsUnderTheRightAndBottomEdges) {
    // Frame: margins 3, 2, 4, 3 around a 7 x 5 centre whose pixels are unique.
    const int l = 3, t = 2, r = 4, b = 3, tw = 7, th = 5;
    const int fw = l + tw + r, fh = t + th + b;
    TBitmap image = Make(fw, fh, [&](int x, int y) {
        const TAxis ax = Classify(x, fw, l, r), ay = Classify(y, fh, t, b);
        if (ax.piece == 1 && ay.piece == 1) return Rgb(200, x - l, y - t);
        return NinePieceColour(1, ax, ay);
    });
    // A 20 x 12 centre: tiles at 0, 7 and 14 across, the third running one
    // pixel into the right edge; 0, 5, 10 down, the last into the bottom edge.
    const int w = l + 20 + r, h = t + 12 + b;
    TBitmap out = CreateSkinBitmap(Rect(0, 0, w, h), image, {1, 1}, {l, t, r, b}, TFill::Tile);
    EXPECT_TRUE(PixelsAre(out, [&](int x, int y) {
        const TAxis ax = Classify(x, w, l, r), ay = Classify(y, h, t, b);
        if (ax.piece == 1 && ay.piece == 1) return Rgb(200, (x - l) % tw, (y - t) % th);
        return NinePieceColour(1, ax, ay);
    }));
}

TEST_F(NinePiece, MarginsThatDoNotFitAreDroppedPairwise) {
    // 100 wide with L = R = 60: the whole frame width is stretched over the 100.
    TBitmap image = NinePieceImage(130, 20, 1, false, 60, 0, 60, 0);
    TBitmap out = CreateSkinBitmap(Rect(0, 0, 100, 20), image, {1, 1}, {60, 0, 60, 0}, TFill::Stretch);
    TBitmap plain(100, 20);
    StretchBlt(plain.Canvas(), 0, 0, 100, 20, image.Canvas(), 0, 0, 130, 20, SRCCOPY);
    EXPECT_TRUE(SamePixels(out, plain));
    EXPECT_EQ(out.Pixel(99, 0), image.Pixel(129, 0));

    // L = R = 50: the margins stay 1:1 and the centre has no width.
    TBitmap kept = CreateSkinBitmap(Rect(0, 0, 100, 20), image, {1, 1}, {50, 0, 50, 0}, TFill::Stretch);
    EXPECT_TRUE(PixelsAre(kept, [&](int x, int y) { return image.Pixel(x < 50 ? x : x + 30, y); }));

    // The vertical pair drops on its own: T + B = 11 > 10, L and R stay.
    TBitmap tall = NinePieceImage(10, 12, 1, false, 2, 6, 2, 5);
    TBitmap flat = CreateSkinBitmap(Rect(0, 0, 20, 10), tall, {1, 1}, {2, 6, 2, 5}, TFill::Stretch);
    for (int x : {0, 1, 10, 18, 19}) {
        const TAxis ax = Classify(x, 20, 2, 2);
        EXPECT_EQ(flat.Pixel(x, 0) & 0xFF, static_cast<std::uint32_t>(16 + ax.piece * 3)) << x;  // top row of source
        EXPECT_EQ((flat.Pixel(x, 0) >> 8) & 0xFF, static_cast<std::uint32_t>(ax.offset)) << x;
    }
}

TEST_F(NinePiece, LeftEdgeCoversTheFullHeightWithoutCorners) {
    TBitmap image = NinePieceImage(10, 6, 1, false, 4, 0, 0, 0);
    TBitmap out = CreateSkinBitmap(Rect(0, 0, 16, 15), image, {1, 1}, {4, 0, 0, 0}, TFill::Stretch);
    EXPECT_TRUE(PixelsAre(out, NinePieceExpected(1, 16, 15, 4, 0, 0, 0)));
}

TEST_F(NinePiece, OnlyWholeFramesAreUsed) {
    // 99 pixels with five frames: frames are 19 wide, the fifth starts at 76
    // and columns 95 to 98 are never shown.
    TBitmap image = Make(99, 4, [](int x, int y) { return Rgb(x, y, 7); });
    TBitmap out = CreateSkinBitmap(Rect(0, 0, 19, 4), image, {5, 5}, {0, 0, 0, 0}, TFill::Stretch);
    EXPECT_TRUE(PixelsAre(out, [](int x, int y) { return Rgb(76 + x, y, 7); }));
    TBitmap wide = CreateSkinBitmap(Rect(0, 0, 38, 4), image, {5, 5}, {0, 0, 0, 0}, TFill::Stretch);
    for (int x = 0; x < 38; ++x) EXPECT_LE(wide.Pixel(x, 0) & 0xFF, 94u) << x;
}

TEST_F(NinePiece, BadFramesLeaveTheBitmapBlank) {
    TBitmap image = Solid(10, 10, Rgb(50, 60, 70));
    for (auto [count, k] : {std::pair{0, 1}, {3, 0}, {3, 4}, {-1, -1}}) {
        TBitmap out = CreateSkinBitmap(Rect(0, 0, 8, 8), image, {count, k}, {2, 2, 2, 2}, TFill::Tile);
        EXPECT_EQ(out.Width(), 8);
        EXPECT_TRUE(PixelsAre(out, [](int, int) { return 0u; })) << count << " " << k;
    }
    TBitmap none;
    TBitmap out = CreateSkinBitmap(Rect(0, 0, 8, 8), none, {1, 1}, {2, 2, 2, 2}, TFill::Tile);
    EXPECT_TRUE(PixelsAre(out, [](int, int) { return 0u; }));
}

class TileBitmapTest : public drawtest::GdiBalance {};

TEST_F(TileBitmapTest, TilesRunPastTheDestinationAndEmptySourcesDrawNothing) {
    TBitmap image = Make(10, 10, [](int x, int y) { return Rgb(x, y, 9); });
    TBitmap target = Solid(20, 20, Rgb(1, 1, 1));
    // A 3 x 4 source from (2, 5) over (1, 1, 8, 6): tiles at x 1, 4, 7 and
    // y 1, 5, so the drawn area is (1, 1, 10, 9).
    TileBitmap(target.Canvas(), Rect(1, 1, 8, 6), image, Rect(2, 5, 5, 9));
    EXPECT_TRUE(PixelsAre(target, [](int x, int y) {
        if (x < 1 || x >= 10 || y < 1 || y >= 9) return Rgb(1, 1, 1);
        return Rgb(2 + (x - 1) % 3, 5 + (y - 1) % 4, 9);
    }));
    TBitmap before;
    before.Assign(target);
    TileBitmap(target.Canvas(), Rect(0, 0, 20, 20), image, Rect(2, 2, 2, 8));  // no width
    TileBitmap(target.Canvas(), Rect(0, 0, 20, 20), image, Rect(5, 5, 2, 2));  // reversed
    EXPECT_TRUE(SamePixels(target, before));
}

TEST_F(TileBitmapTest, FarAwayDestinationsFinishQuickly) {
    TBitmap image = Solid(4, 4, Rgb(3, 3, 3));
    TBitmap target = Solid(8, 8, Rgb(1, 1, 1));
    TileBitmap(target.Canvas(), Rect(-2000000000, -2000000000, 2000000000, 2000000000), image, Rect(0, 0, 1, 1));
    EXPECT_TRUE(PixelsAre(target, [](int, int) { return Rgb(3, 3, 3); }));
}

class DrawSkin : public drawtest::GdiBalance {};

TEST_F(DrawSkin, ImageOpaqueAndKeyed) {
    const std::uint32_t back = Rgb(10, 20, 30);
    TBitmap image = NinePieceImage(12, 10, 2, false, 3, 2, 4, 3);
    image.SetPixel(12 + 1, 1, kSkinKey);  // frame 2, top-left corner
    for (int y = 2; y < 7; ++y)
        for (int x = 12 + 3; x < 12 + 8; ++x) image.SetPixel(x, y, kSkinKey);  // frame 2, the whole centre
    TBitmap target = Solid(50, 40, back);
    DrawSkinImage(target.Canvas(), Rect(4, 6, 34, 26), image, {2, 2}, {3, 2, 4, 3}, TFill::Stretch, TKeying::Opaque);
    auto composed = NinePieceExpected(2, 30, 20, 3, 2, 4, 3);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
        if (x < 4 || x >= 34 || y < 6 || y >= 26) return back;
        if (x == 5 && y == 7) return kSkinKey;  // opaque: the key is drawn as it is
        if (x >= 7 && x < 30 && y >= 8 && y < 23) return kSkinKey;
        return composed(x - 4, y - 6);
    }));

    target = Solid(50, 40, back);
    DrawSkinImage(target.Canvas(), Rect(4, 6, 34, 26), image, {2, 2}, {3, 2, 4, 3}, TFill::Stretch, TKeying::Keyed);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
        if (x < 4 || x >= 34 || y < 6 || y >= 26) return back;
        if (x == 5 && y == 7) return back;
        if (x >= 7 && x < 30 && y >= 8 && y < 23) return back;
        return composed(x - 4, y - 6);
    }));
}

TEST_F(DrawSkin, ReversedTargetsAndBadFramesDrawNothing) {
    TBitmap image = Solid(12, 10, Rgb(200, 0, 0));
    TBitmap target = Solid(20, 20, Rgb(1, 2, 3));
    HDC dc = target.Canvas();
    DrawSkinImage(dc, Rect(10, 0, 5, 8), image, {1, 1}, {2, 2, 2, 2}, TFill::Stretch, TKeying::Opaque);
    DrawSkinImage(dc, Rect(0, 10, 8, 5), image, {1, 1}, {2, 2, 2, 2}, TFill::Tile, TKeying::Keyed);
    DrawSkinStrip(dc, Rect(10, 0, 5, 8), image, {1, 1}, {2, 2}, TKeying::Opaque);
    DrawSkinStrip(dc, Rect(0, 10, 8, 5), image, {1, 1}, {2, 2}, TKeying::Keyed);
    DrawSkinFrame(dc, Rect(10, 0, 5, 8), image, {1, 1}, TKeying::Opaque);
    DrawSkinFrame(dc, Rect(0, 10, 8, 5), image, {1, 1}, TKeying::Keyed);
    for (auto [count, k] : {std::pair{0, 1}, {2, 0}, {2, 3}}) {
        DrawSkinImage(dc, Rect(0, 0, 8, 8), image, {count, k}, {0, 0, 0, 0}, TFill::Stretch, TKeying::Opaque);
        DrawSkinStrip(dc, Rect(0, 0, 8, 8), image, {count, k}, {0, 0}, TKeying::Opaque);
        DrawSkinFrame(dc, Rect(0, 0, 8, 8), image, {count, k}, TKeying::Opaque);
        DrawSkinBorder(dc, Rect(0, 0, 8, 8), image, {count, k}, {2, 2, 2, 2});
    }
    TBitmap none;
    DrawSkinImage(dc, Rect(0, 0, 8, 8), none, {1, 1}, {0, 0, 0, 0}, TFill::Stretch, TKeying::Opaque);
    DrawSkinFrame(dc, Rect(0, 0, 8, 8), none, {1, 1}, TKeying::Opaque);
    EXPECT_TRUE(PixelsAre(target, [](int, int) { return Rgb(1, 2, 3); }));
}

TEST_F(DrawSkin, BorderLeavesTheCentreAndSetsTheStretchMode) {
    const std::uint32_t back = Rgb(10, 20, 30);
    TBitmap image = NinePieceImage(12, 10, 2, true, 3, 2, 4, 3);
    TBitmap target = Solid(50, 40, back);
    HDC dc = target.Canvas();
    SetStretchBltMode(dc, BLACKONWHITE);
    DrawSkinBorder(dc, Rect(5, 3, 35, 23), image, {2, 2, TFrameLayout::Stacked}, {3, 2, 4, 3});
    EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
    auto composed = NinePieceExpected(2, 30, 20, 3, 2, 4, 3);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
        if (x < 5 || x >= 35 || y < 3 || y >= 23) return back;
        if (x >= 8 && x < 31 && y >= 5 && y < 20) return back;
        return composed(x - 5, y - 3);
    }));
}

namespace {

// A strip frame: a left cap of 3 and a right cap of 2 with unique pixels
// around a middle of 4 whose pixels are unique across and constant down.
TBitmap StripImage(int frames) {
    return Make(9 * frames, 6, [](int x, int y) {
        const int k = x / 9 + 1, fx = x % 9;
        if (fx < 3) return Rgb(k * 20 + 1, fx, y);
        if (fx >= 7) return Rgb(k * 20 + 2, fx - 7, y);
        return Rgb(k * 20 + 3, fx - 3, 0);
    });
}

}  // namespace

TEST_F(DrawSkin, StripRepeatsTheMiddleAndTheRightCapCoversTheOverrun) {
    TBitmap image = StripImage(2);
    const std::uint32_t back = Rgb(1, 1, 1);
    TBitmap target = Solid(30, 8, back);
    // Width 15: left cap 0..2, middles at 3 and 7 (the second to 10, under
    // the cap), right cap 13..14. Height 6 stays 1:1.
    DrawSkinStrip(target.Canvas(), Rect(2, 1, 17, 7), image, {2, 2}, {3, 2}, TKeying::Opaque);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
        if (x < 2 || x >= 17 || y < 1 || y >= 7) return back;
        const int sx = x - 2, sy = y - 1;
        if (sx < 3) return Rgb(41, sx, sy);
        if (sx >= 13) return Rgb(42, sx - 13, sy);
        return Rgb(43, (sx - 3) % 4, 0);
    }));
}

TEST_F(DrawSkin, StripWithoutMiddleDrawsItsCaps) {
    TBitmap image = StripImage(1);
    TBitmap target = Solid(20, 6, Rgb(1, 1, 1));
    // L + R = 9 = FW: no middle piece; the caps stay, the gap keeps the
    // composition's blank pixels.
    DrawSkinStrip(target.Canvas(), Rect(0, 0, 20, 6), image, {1, 1}, {5, 4}, TKeying::Opaque);
    EXPECT_EQ(target.Pixel(0, 2), image.Pixel(0, 2));
    EXPECT_EQ(target.Pixel(4, 2), image.Pixel(4, 2));
    EXPECT_EQ(target.Pixel(16, 2), image.Pixel(5, 2));
    EXPECT_EQ(target.Pixel(19, 5), image.Pixel(8, 5));
    EXPECT_EQ(target.Pixel(10, 2), 0u);
    DrawSkinStrip(target.Canvas(), Rect(0, 0, 20, 6), image, {1, 1}, {6, 6}, TKeying::Opaque);
}

TEST_F(DrawSkin, StripStretchesHeightKeysAndReadsStackedFrames) {
    // Two stacked frames of 9 x 3; frame 2 drawn 12 high, keyed.
    TBitmap image = Make(9, 6, [](int x, int y) {
        if (y < 3) return Rgb(9, 9, 9);
        return (x == 4) ? kSkinKey : Rgb(100 + x, 0, 50);
    });
    const std::uint32_t back = Rgb(1, 2, 3);
    TBitmap target = Solid(12, 12, back);
    DrawSkinStrip(target.Canvas(), Rect(0, 0, 12, 12), image, {2, 2, TFrameLayout::Stacked}, {2, 2}, TKeying::Keyed);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int) {
        if (x < 2) return Rgb(100 + x, 0, 50);
        if (x >= 10) return Rgb(100 + 7 + x - 10, 0, 50);
        const int mx = 2 + (x - 2) % 5;
        return mx == 4 ? back : Rgb(100 + mx, 0, 50);
    }));
}

TEST_F(DrawSkin, FrameStretchesOneFrameAndKeys) {
    TBitmap image = Make(99, 4, [](int x, int y) { return Rgb(x, y, 7); });
    image.SetPixel(77, 2, kSkinKey);
    const std::uint32_t back = Rgb(1, 2, 3);
    TBitmap target = Solid(40, 20, back);
    DrawSkinFrame(target.Canvas(), Rect(3, 4, 22, 12), image, {5, 5}, TKeying::Opaque);  // 19 x 4 doubled down
    DrawSkinFrame(target.Canvas(), Rect(3, 12, 22, 16), image, {5, 5}, TKeying::Keyed);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
        if (x < 3 || x >= 22 || y < 4 || y >= 16) return back;
        if (y < 12) return x == 4 && (y - 4) / 2 == 2 ? kSkinKey : Rgb(76 + x - 3, (y - 4) / 2, 7);
        return x == 4 && y - 12 == 2 ? back : Rgb(76 + x - 3, y - 12, 7);
    }));
}

TEST(SkinDrawModule, ScratchBitmapIsSharedAndStretchesColourOnColour) {
    TBitmap& scratch = ScratchBitmap();
    EXPECT_EQ(&scratch, &ScratchBitmap());
    scratch.SetSize(16, 8);
    ASSERT_NE(scratch.Canvas(), nullptr);
    EXPECT_EQ(GetStretchBltMode(scratch.Canvas()), COLORONCOLOR);
    scratch.SetSize(0, 0);
    static_assert(IntMax(-3, 2) == 2 && IntMin(-3, 2) == -3);
}

// Each routine gives back every object it made; the images' canvases, which
// they keep, exist before the count.
TEST(SkinDrawModule, EveryRoutineLeavesTheGdiObjectCount) {
    TBitmap image = NinePieceImage(12, 10, 2, false, 3, 2, 4, 3);
    image.SetPixel(5, 5, kSkinKey);
    TBitmap target = Solid(64, 48, Rgb(1, 2, 3));
    HDC dc = target.Canvas();
    ASSERT_NE(image.Canvas(), nullptr);
    const RECT where = Rect(2, 3, 50, 40);
    auto balanced = [&](const char* name, auto&& draw) {
        const int before = drawtest::GdiObjectCount();
        draw();
        EXPECT_EQ(drawtest::GdiObjectCount(), before) << name;
    };
    balanced("CreateSkinBitmap", [&] {
        TBitmap b = CreateSkinBitmap(where, image, {2, 1}, {3, 2, 4, 3}, TFill::Tile);
        ASSERT_NE(b.Canvas(), nullptr);
    });
    balanced("TileBitmap", [&] { TileBitmap(dc, where, image, Rect(3, 2, 8, 7)); });
    balanced("DrawSkinImage", [&] {
        DrawSkinImage(dc, where, image, {2, 1}, {3, 2, 4, 3}, TFill::Tile, TKeying::Opaque);
    });
    balanced("DrawSkinImage keyed", [&] {
        DrawSkinImage(dc, where, image, {2, 1}, {3, 2, 4, 3}, TFill::Stretch, TKeying::Keyed);
    });
    balanced("DrawSkinBorder", [&] { DrawSkinBorder(dc, where, image, {2, 2}, {3, 2, 4, 3}); });
    balanced("DrawSkinStrip", [&] { DrawSkinStrip(dc, where, image, {2, 1}, {3, 4}, TKeying::Opaque); });
    balanced("DrawSkinStrip keyed", [&] { DrawSkinStrip(dc, where, image, {2, 1}, {3, 4}, TKeying::Keyed); });
    balanced("DrawSkinFrame", [&] { DrawSkinFrame(dc, where, image, {2, 1}, TKeying::Opaque); });
    balanced("DrawSkinFrame keyed", [&] { DrawSkinFrame(dc, where, image, {2, 1}, TKeying::Keyed); });
    balanced("DrawTransparent MaskBlt",
             [&] { DrawTransparent(dc, where, image, kSkinKey, TTransparentMethod::tmMaskBlt); });
    balanced("DrawTransparent three BitBlt",
             [&] { DrawTransparent(dc, where, image, kSkinKey, TTransparentMethod::tmThreeBlt); });
    balanced("BitmapToRegion", [&] {
        GdiRegion region = BitmapToRegion(image, 1, 1, kSkinKey, 1, 1, 1);
        ASSERT_TRUE(region);
    });
}

TEST_F(DrawSkin, FrameReadsStackedFrames) {
    // Three stacked frames of 4 x 2, each a colour of its own; frame 3 doubled.
    TBitmap image = Make(4, 6, [](int x, int y) { return Rgb(x, y / 2 + 1, 9); });
    TBitmap target = Solid(8, 4, Rgb(1, 2, 3));
    DrawSkinFrame(target.Canvas(), Rect(0, 0, 8, 4), image, {3, 3, TFrameLayout::Stacked}, TKeying::Opaque);
    EXPECT_TRUE(PixelsAre(target, [](int x, int) { return Rgb(x / 2, 3, 9); }));
}


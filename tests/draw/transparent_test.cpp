#include "skin/draw/skindraw.h"

#include "drawtest.h"

using namespace srt;
using drawtest::Make;
using drawtest::PixelsAre;
using drawtest::Rgb;
using drawtest::SamePixels;

namespace {

constexpr TTransparentMethod kMethods[] = {TTransparentMethod::tmMaskBlt, TTransparentMethod::tmThreeBlt};

// The old destination: every pixel different.
TBitmap Backdrop() {
    return Make(40, 30, [](int x, int y) { return Rgb(x * 5, y * 7, 90); });
}

// A 16 x 12 sprite: key pixels on a diagonal pattern, colours next to the
// key (which are drawn), white and black.
std::uint32_t SpriteColour(int x, int y) {
    if ((x + 2 * y) % 5 == 0) return kSkinKey;
    switch ((x + y) % 7) {
    case 0: return Rgb(255, 1, 255);
    case 1: return Rgb(254, 0, 255);
    case 2: return Rgb(255, 0, 254);
    case 3: return Rgb(255, 255, 255);
    case 4: return 0;
    default: return Rgb(x * 9, 200, y * 11);
    }
}

}  // namespace

class Transparent : public drawtest::GdiBalance {};

TEST_F(Transparent, KeyPixelsKeepTheDestinationOnBothPaths) {
    TBitmap sprite = Make(16, 12, SpriteColour);
    TBitmap results[2];
    for (int i = 0; i < 2; ++i) {
        TBitmap target = Backdrop();
        TBitmap old;
        old.Assign(target);
        HDC dc = target.Canvas();
        SetBkColor(dc, Rgb(1, 2, 3));
        SetTextColor(dc, Rgb(4, 5, 6));
        DrawTransparent(dc, RECT{7, 5, 23, 17}, sprite, kSkinKey, kMethods[i]);
        EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
            if (x < 7 || x >= 23 || y < 5 || y >= 17) return old.Pixel(x, y);
            const std::uint32_t s = sprite.Pixel(x - 7, y - 5);
            return s == kSkinKey ? old.Pixel(x, y) : s;
        })) << "method " << i;
        EXPECT_EQ(GetBkColor(dc), Rgb(1, 2, 3));
        EXPECT_EQ(GetTextColor(dc), Rgb(4, 5, 6));
        results[i] = std::move(target);
    }
    EXPECT_TRUE(SamePixels(results[0], results[1]));
}

TEST_F(Transparent, OtherKeysSmallTargetsAndLargeTargets) {
    const std::uint32_t key = Rgb(0, 128, 0);
    TBitmap sprite = Make(10, 10, [&](int x, int y) { return x == y ? key : Rgb(x, y, 1); });
    for (TTransparentMethod method : kMethods) {
        // A target smaller than the bitmap shows its top-left part; a larger
        // one draws the bitmap once and leaves the rest.
        TBitmap target = Backdrop();
        TBitmap old;
        old.Assign(target);
        DrawTransparent(target.Canvas(), RECT{2, 2, 6, 5}, sprite, key, method);
        DrawTransparent(target.Canvas(), RECT{20, 10, 40, 30}, sprite, key, method);
        EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
            if (x >= 2 && x < 6 && y >= 2 && y < 5 && x != y) return Rgb(x - 2, y - 2, 1);
            if (x >= 20 && x < 30 && y >= 10 && y < 20 && x - 20 != y - 10) return Rgb(x - 20, y - 10, 1);
            return old.Pixel(x, y);
        }));
    }
}

TEST_F(Transparent, ReversedAndEmptyTargetsDrawNothing) {
    TBitmap sprite = Make(8, 8, [](int x, int) { return Rgb(x, 0, 0); });
    TBitmap empty;
    for (TTransparentMethod method : kMethods) {
        TBitmap target = Backdrop();
        TBitmap old;
        old.Assign(target);
        DrawTransparent(target.Canvas(), RECT{10, 0, 5, 8}, sprite, kSkinKey, method);
        DrawTransparent(target.Canvas(), RECT{0, 10, 8, 5}, sprite, kSkinKey, method);
        DrawTransparent(target.Canvas(), RECT{3, 3, 3, 9}, sprite, kSkinKey, method);
        DrawTransparent(target.Canvas(), RECT{0, 0, 8, 8}, empty, kSkinKey, method);
        EXPECT_TRUE(SamePixels(target, old));
    }
}

TEST(TransparentPlatform, NtFamilyUsesMaskBlt) {
    const bool nt = (GetVersion() & 0x80000000u) == 0;
    EXPECT_EQ(PlatformTransparentMethod(), nt ? TTransparentMethod::tmMaskBlt : TTransparentMethod::tmThreeBlt);
}

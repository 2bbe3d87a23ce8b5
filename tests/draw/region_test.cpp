#include "skin/draw/skindraw.h"

#include <vector>

#include "drawtest.h"

using namespace srt;
using drawtest::Make;
using drawtest::Rgb;
using drawtest::Solid;

namespace {

// Every pixel of `bitmap` against the region moved by (dx, dy): inside
// exactly where `opaque` says.
template <class Opaque>
::testing::AssertionResult RegionIs(HRGN region, const TBitmap& bitmap, int dx, int dy, Opaque opaque) {
    int bad = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if ((PtInRegion(region, x + dx, y + dy) != FALSE) != opaque(x, y)) ++bad;
    if (bad == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels wrong";
}

int RectCount(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<unsigned char> data(size);
    GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    return static_cast<int>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
}

}  // namespace

class Region : public drawtest::GdiBalance {};

TEST_F(Region, AllKeyIsEmptyAndNoKeyIsTheWholeRectangle) {
    TBitmap key = Solid(30, 20, kSkinKey);
    GdiRegion empty = BitmapToRegion(key, 0, 0, kSkinKey, 1, 1, 1);
    ASSERT_TRUE(empty);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);

    TBitmap opaque = Make(30, 20, [](int x, int y) { return Rgb(x, y, 0); });
    GdiRegion full = BitmapToRegion(opaque, 5, -3, kSkinKey, 1, 1, 1);
    GdiRegion expected(CreateRectRgn(5, -3, 35, 17));
    EXPECT_TRUE(EqualRgn(full.Get(), expected.Get()));
}

TEST_F(Region, ToleranceReachesAboveTheKeyOnly) {
    // Columns: the key, green 1 (inside tolerance 1), green 2, red 254, blue 254, opaque.
    const std::uint32_t columns[] = {kSkinKey,          Rgb(255, 1, 255), Rgb(255, 2, 255),
                                     Rgb(254, 0, 255),  Rgb(255, 0, 254), Rgb(10, 10, 10)};
    TBitmap bitmap = Make(6, 3, [&](int x, int) { return columns[x]; });
    GdiRegion region = BitmapToRegion(bitmap, 0, 0, kSkinKey, 1, 1, 1);
    EXPECT_TRUE(RegionIs(region.Get(), bitmap, 0, 0, [](int x, int) { return x >= 2; }));

    // Tolerance 0: only the exact key; wide tolerances cap at 255.
    GdiRegion exact = BitmapToRegion(bitmap, 0, 0, kSkinKey, 0, 0, 0);
    EXPECT_TRUE(RegionIs(exact.Get(), bitmap, 0, 0, [](int x, int) { return x >= 1; }));
    GdiRegion wide = BitmapToRegion(bitmap, 0, 0, Rgb(250, 0, 250), 255, 255, 255);
    EXPECT_TRUE(RegionIs(wide.Get(), bitmap, 0, 0, [](int x, int) { return x == 5; }));
}

TEST_F(Region, RoundedCornersAndRowsOfRuns) {
    // Rounded transparent corners and a hole in the middle of a row.
    TBitmap bitmap = Make(40, 30, [](int x, int y) {
        const int cx = x < 5 ? 5 - x : x > 34 ? x - 34 : 0;
        const int cy = y < 5 ? 5 - y : y > 24 ? y - 24 : 0;
        if (cx * cx + cy * cy > 25) return kSkinKey;
        if (y == 15 && x >= 10 && x < 13) return kSkinKey;
        return Rgb(x, y, 3);
    });
    GdiRegion region = BitmapToRegion(bitmap, 100, 200, kSkinKey, 1, 1, 1);
    EXPECT_TRUE(RegionIs(region.Get(), bitmap, 100, 200,
                         [&](int x, int y) { return bitmap.Pixel(x, y) != kSkinKey; }));
    RECT box;
    EXPECT_EQ(GetRgnBox(region.Get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.bottom, 230);
}

TEST_F(Region, MoreThanTwoThousandRunsAreOredInBatches) {
    // 3 runs in each of 1000 rows of 7 columns: 3000 runs, two batches.
    TBitmap bitmap = Make(7, 1000, [](int x, int y) { return (x % 2 == 1) ? kSkinKey : Rgb(x, y % 256, 0); });
    GdiRegion region = BitmapToRegion(bitmap, -4, 9, kSkinKey, 1, 1, 1);
    EXPECT_TRUE(RegionIs(region.Get(), bitmap, -4, 9, [](int x, int) { return x % 2 == 0; }));
    // The same pixels with every run one pixel wider on the right merge into
    // whole rows of one band; the batching must not split bands.
    TBitmap solid = Make(7, 4100, [](int x, int) { return x == 3 ? kSkinKey : Rgb(1, 1, 1); });
    GdiRegion two = BitmapToRegion(solid, 0, 0, kSkinKey, 1, 1, 1);
    GdiRegion expected(CreateRectRgn(0, 0, 3, 4100));
    GdiRegion right(CreateRectRgn(4, 0, 7, 4100));
    CombineRgn(expected.Get(), expected.Get(), right.Get(), RGN_OR);
    EXPECT_TRUE(EqualRgn(two.Get(), expected.Get()));
    EXPECT_EQ(RectCount(two.Get()), 2);
}

TEST_F(Region, BitmapsWithoutPixelsGiveAnEmptyRegion) {
    TBitmap none;
    GdiRegion region = BitmapToRegion(none, 3, 3, kSkinKey, 1, 1, 1);
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(GetRgnBox(region.Get(), &box), NULLREGION);
}

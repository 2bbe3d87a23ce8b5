// The contrast measure of the screenshot tests, on drawn images.
#include "tests/screens/contrast.h"

#include <gtest/gtest.h>

namespace srt::screens {
namespace {

// A w x h image of `back` with a `text` bar of `n` pixels along row 5.
TImage Field(int w, int h, std::uint32_t back, std::uint32_t text, int n) {
    TImage image{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, back)};
    for (int x = 0; x < n; ++x) image.pixels[static_cast<std::size_t>(5) * w + 2 + x] = text;
    return image;
}

TEST(ScreenContrast, MeasuresTheTextAgainstTheBackground) {
    const TImage image = Field(40, 12, 0x2A2E35, 0x0000FF, 30);  // blue on dark grey
    const std::vector<TRegion> regions = {{"label", 0, 0, 40, 12}};
    const auto r = MeasureContrast(image, regions, PaintOwners(image, regions, 0), {});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].background, 0x2A2E35u);
    EXPECT_EQ(r[0].text, 0x0000FFu);
    EXPECT_NEAR(r[0].ratio, 1.59, 0.01);
    EXPECT_NEAR(Contrast(0x000000, 0xFFFFFF), 21.0, 1e-9);
}

TEST(ScreenContrast, AGradientIsOneBackgroundAndASpeckIsNoText) {
    // Rows a shade apart, none the most common alone, and three white pixels.
    TImage image{30, 10, std::vector<std::uint32_t>(300)};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x) image.pixels[static_cast<std::size_t>(y) * 30 + x] = 0x303030 + 0x010101 * (y % 3);
    for (int x = 0; x < 3; ++x) image.pixels[static_cast<std::size_t>(x)] = 0xFFFFFF;
    const std::vector<TRegion> regions = {{"button", 0, 0, 30, 10}};
    const auto r = MeasureContrast(image, regions, PaintOwners(image, regions, 0), {});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].textPixels, 0);
    EXPECT_EQ(r[0].ratio, 21);
}

TEST(ScreenContrast, NestedRegionsCountOnceAndEdgesAndIgnoredPixelsNowhere) {
    TImage image = Field(40, 20, 0xFFFFFF, 0x000000, 30);
    const std::vector<TRegion> regions = {{"parent", 0, 0, 40, 20}, {"child", 0, 0, 40, 10}};
    const std::vector<int> owner = PaintOwners(image, regions, 1);
    EXPECT_EQ(owner[0], -1);                // the child's edge
    EXPECT_EQ(owner[1 * 40 + 1], 1);        // inside the child
    EXPECT_EQ(owner[15 * 40 + 5], 0);       // the parent below it
    const auto r = MeasureContrast(image, regions, owner, {0x000000});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].textPixels, 0);  // the black bar is ignored
}

}  // namespace
}  // namespace srt::screens

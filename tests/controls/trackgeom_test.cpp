// Track-bar channel and tick geometry at every DPI.
#include "skin/controls/trackgeom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "component/dpi.h"

using namespace srt;

namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

// A horizontal bar 200 long at `dpi` with a thumb of 11 x 21 standing at 0,
// its channel 4 thick; the range 0..10.
TTrackLayout Horizontal(int dpi, std::uint32_t style = 0) {
    TTrackLayout t;
    const int s8 = ScaleToDpi(8, dpi), s11 = ScaleToDpi(11, dpi);
    t.Channel = {s8, ScaleToDpi(14, dpi), ScaleToDpi(192, dpi), ScaleToDpi(14, dpi) + 4};
    t.Thumb = {s8, ScaleToDpi(5, dpi), s8 + s11, ScaleToDpi(26, dpi)};
    t.Style = style;
    t.Min = 0;
    t.Max = 10;
    return t;
}

TTrackLayout Transposed(TTrackLayout t) {
    auto flip = [](const TIntRect& r) { return TIntRect{r.top, r.left, r.bottom, r.right}; };
    t.Channel = flip(t.Channel);
    t.Thumb = flip(t.Thumb);
    t.Vertical = true;
    return t;
}

}  // namespace

TEST(TrackGeometry, ChannelThicknessScalesAboutItsCentreAndKeepsItsLength) {
    const TIntRect native{10, 20, 190, 24};
    EXPECT_EQ(TrackChannel(native, false, 96), native);
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const TIntRect r = TrackChannel(native, false, dpi);
        EXPECT_EQ(r.bottom - r.top, ScaleToDpi(4, dpi));
        EXPECT_EQ(r.left, native.left);
        EXPECT_EQ(r.right, native.right);
        EXPECT_LE(std::abs((r.top + r.bottom) - (native.top + native.bottom)), 1);
        const TIntRect v = TrackChannel({20, 10, 24, 190}, true, dpi);
        EXPECT_EQ(v, (TIntRect{r.top, r.left, r.bottom, r.right}));
    }
}

// Where the ticks stand along the bar is checked against the platform's own
// at 96 DPI on a real control (atdpi_test); here their sizes and a vertical
// bar's, which is the horizontal one turned.
TEST(TrackGeometry, TicksHaveScaledSizesAndAVerticalBarIsTheHorizontalTurned) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const TTrackLayout t = Horizontal(dpi);
        const std::vector<TIntRect> ticks = TrackTicks(t, {5}, dpi);
        ASSERT_EQ(ticks.size(), 3u);  // the one asked for, then both ends
        for (const TIntRect& r : ticks) {
            EXPECT_EQ(r.right - r.left, ScaleToDpi(1, dpi));
            EXPECT_EQ(r.top, t.Thumb.bottom + ScaleToDpi(2, dpi));
        }
        EXPECT_EQ(ticks[0].bottom - ticks[0].top, ScaleToDpi(3, dpi));
        EXPECT_EQ(ticks[1].bottom - ticks[1].top, ScaleToDpi(4, dpi));
        const std::vector<TIntRect> down = TrackTicks(Transposed(t), {5}, dpi);
        ASSERT_EQ(down.size(), ticks.size());
        for (size_t i = 0; i < down.size(); ++i)
            EXPECT_EQ(down[i], (TIntRect{ticks[i].top, ticks[i].left, ticks[i].bottom, ticks[i].right}));
    }
}

TEST(TrackGeometry, TicksGoOnTheSidesTheStyleNames) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const TTrackLayout top = Horizontal(dpi, kTicksBeforeBit);
        const std::vector<TIntRect> above = TrackTicks(top, {}, dpi);
        ASSERT_EQ(above.size(), 2u);
        EXPECT_EQ(above[0].bottom, top.Thumb.top - ScaleToDpi(1, dpi));
        EXPECT_EQ(above[0].bottom - above[0].top, ScaleToDpi(4, dpi));
        const std::vector<TIntRect> both = TrackTicks(Horizontal(dpi, kTicksBothBit), {3}, dpi);
        ASSERT_EQ(both.size(), 6u);
        EXPECT_LT(both[0].bottom, top.Thumb.top);
        EXPECT_GT(both[1].top, top.Thumb.bottom);
    }
}

TEST(TrackGeometry, ValuesOutsideTheRangeAndAnEmptyRangeDrawNothingAstray) {
    TTrackLayout t = Horizontal(96);
    EXPECT_EQ(TrackTicks(t, {-1, 11}, 96).size(), 2u);
    t.Max = t.Min;  // no division by an empty range; both ends at the start
    const std::vector<TIntRect> ends = TrackTicks(t, {}, 96);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0], ends[1]);
}

TEST(ScrollArrowImage, IsTheLargestCentredSquareWithinItsButton) {
    for (const int thickness : {8, 16, 17, 34, 68}) {
        for (const int length : {5, 17, 34}) {
            SCOPED_TRACE(::testing::Message() << thickness << " x " << length);
            for (const bool vertical : {false, true}) {
                const TIntRect r = ArrowImageRect(100, 100 + length, thickness, vertical);
                const int side = std::min(thickness, length);
                EXPECT_EQ(r.right - r.left, side);
                EXPECT_EQ(r.bottom - r.top, side);
                const int along0 = vertical ? r.top : r.left, across0 = vertical ? r.left : r.top;
                EXPECT_GE(along0, 100);
                EXPECT_LE(along0 + side, 100 + length);
                EXPECT_GE(across0, 0);
                EXPECT_LE(across0 + side, thickness);
                EXPECT_LE(std::abs((along0 - 100) - (100 + length - along0 - side)), 1);
            }
        }
    }
    EXPECT_TRUE(ArrowImageRect(10, 10, 17, false).Empty());
}

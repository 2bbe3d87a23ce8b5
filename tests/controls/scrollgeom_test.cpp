// Scroll-bar geometry: bar rectangles, thumb, hit test, dragged positions.
#include <gtest/gtest.h>

#include "skin/controls/scrollgeom.h"

using namespace srt;

namespace {

// A memo-like window 200 x 100 with a 2-pixel client edge and bars of 17.
constexpr int kW = 200, kH = 100, kSb = 17, kEdge = 2;

TScrollBarRects Rects(std::uint32_t style, std::uint32_t exStyle) {
    const int cw = kW - 2 * kEdge - ((style & kVScrollBit) ? kSb : 0);
    const int ch = kH - 2 * kEdge - ((style & kHScrollBit) ? kSb : 0);
    return CalcScrollBarRects(kW, kH, cw, ch, kSb, 2, style, exStyle, {});
}

}  // namespace

TEST(ScrollGeometry, BarsAndSizeBoxOnTheRight) {
    TScrollBarRects r = Rects(kHScrollBit | kVScrollBit, 0);
    EXPECT_EQ(r.Horz, (TIntRect{2, 81, 181, 98}));
    EXPECT_EQ(r.Vert, (TIntRect{181, 2, 198, 81}));
    EXPECT_EQ(r.SizeBox, (TIntRect{181, 81, 198, 98}));
    r = Rects(kHScrollBit, 0);
    EXPECT_EQ(r.Horz, (TIntRect{2, 81, 198, 98}));
    EXPECT_TRUE(r.Vert.Empty());
    EXPECT_TRUE(r.SizeBox.Empty());
    r = Rects(kVScrollBit, 0);
    EXPECT_EQ(r.Vert, (TIntRect{181, 2, 198, 98}));
    EXPECT_TRUE(r.Horz.Empty());
}

TEST(ScrollGeometry, LeftScrollBarLayout) {
    TScrollBarRects r = Rects(kHScrollBit | kVScrollBit, kLeftScrollBarBit);
    EXPECT_EQ(r.Horz, (TIntRect{19, 81, 198, 98}));
    EXPECT_EQ(r.Vert, (TIntRect{2, 2, 19, 81}));
    EXPECT_EQ(r.SizeBox, (TIntRect{2, 81, 19, 98}));
    EXPECT_EQ(Rects(kVScrollBit, kLeftScrollBarBit).Vert, (TIntRect{2, 2, 19, 98}));
    // The horizontal bar alone does not care about the side.
    EXPECT_EQ(Rects(kHScrollBit, kLeftScrollBarBit).Horz, Rects(kHScrollBit, 0).Horz);
}

TEST(ScrollGeometry, ABarThatGoesKeepsItsLastRectangle) {
    const TScrollBarRects both = Rects(kHScrollBit | kVScrollBit, 0);
    const TScrollBarRects r = CalcScrollBarRects(kW, kH, kW - 4 - kSb, kH - 4, kSb, 2, kVScrollBit, 0, both);
    EXPECT_EQ(r.Horz, both.Horz);
    EXPECT_EQ(r.Vert, (TIntRect{181, 2, 198, 98}));
    EXPECT_TRUE(r.SizeBox.Empty());
}

TEST(ScrollGeometry, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDivRound(10, 99, 100), 10);   // 9.9
    EXPECT_EQ(MulDivRound(1, 1, 2), 1);        // 0.5
    EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(MulDivRound(-3, 2, -4), 2);      // 1.5
    EXPECT_EQ(MulDivRound(7, 3, 0), -1);
    EXPECT_EQ(MulDivRound(2000000000, 2000000000, 1), -1);
    EXPECT_EQ(MulDivRound(2000000000, 3, 4), 1500000000);
}

TEST(ScrollGeometry, ThumbLengthAndPosition) {
    TScrollMetrics m;
    // Bar 234 long: track 200. Page 10 of 0..100 at 45: thumb 20, pos 45 * 180 / 90.
    ASSERT_TRUE(CalcThumb(234, kSb, 8, 17, {0, 100, 10, 45, 45}, m));
    EXPECT_EQ(m.TrackLength, 200);
    EXPECT_EQ(m.ThumbLength, 20);
    EXPECT_EQ(m.ThumbPos, 90);
    // The minimum thumb, and the end of the range.
    ASSERT_TRUE(CalcThumb(234, kSb, 8, 17, {0, 10000, 1, 9999, 0}, m));
    EXPECT_EQ(m.ThumbLength, 8);
    EXPECT_EQ(m.ThumbPos, 192);
    // Without a page the thumb has the platform's size.
    ASSERT_TRUE(CalcThumb(234, kSb, 8, 17, {0, 100, 0, 0, 0}, m));
    EXPECT_EQ(m.ThumbLength, 17);
}

TEST(ScrollGeometry, PageEqualToTheRangeIsOnePixelShorterThanTheTrack) {
    TScrollMetrics m;
    ASSERT_TRUE(CalcThumb(234, kSb, 8, 17, {0, 100, 100, 0, 0}, m));
    EXPECT_EQ(m.ThumbPos, 0);
    EXPECT_EQ(m.ThumbLength, 199);
}

TEST(ScrollGeometry, AnEmptyRangeKeepsTheLastThumb) {
    TScrollMetrics m{kSb, 50, 10, 7, 0};
    EXPECT_FALSE(CalcThumb(234, kSb, 8, 17, {5, 5, 1, 5, 5}, m));
    EXPECT_FALSE(CalcThumb(234, kSb, 8, 17, {5, 2, 1, 5, 5}, m));
    EXPECT_EQ(m.TrackLength, 50);
    EXPECT_EQ(m.ThumbLength, 10);
    EXPECT_EQ(m.ThumbPos, 7);
}

TEST(ScrollGeometry, ABarTooShortForItsArrowsHasAReversedTrackAndThumb) {
    TScrollMetrics m;
    ASSERT_TRUE(CalcThumb(30, kSb, 8, 17, {0, 100, 10, 50, 50}, m));
    EXPECT_EQ(m.TrackLength, -4);
    EXPECT_EQ(m.ThumbLength, -4);  // nothing to draw
    EXPECT_EQ(m.ThumbPos, 0);
}

TEST(ScrollGeometry, HitTestAlongTheBar) {
    const TScrollMetrics m{kSb, 200, 20, 100, 0};
    EXPECT_EQ(ScrollHitTest(0, m), 0);
    EXPECT_EQ(ScrollHitTest(16, m), 0);
    EXPECT_EQ(ScrollHitTest(17, m), 2);
    EXPECT_EQ(ScrollHitTest(116, m), 2);
    EXPECT_EQ(ScrollHitTest(117, m), 5);
    EXPECT_EQ(ScrollHitTest(136, m), 5);
    EXPECT_EQ(ScrollHitTest(137, m), 3);
    EXPECT_EQ(ScrollHitTest(216, m), 3);
    EXPECT_EQ(ScrollHitTest(217, m), 1);
    EXPECT_EQ(ScrollHitTest(233, m), 1);
    EXPECT_EQ(ScrollHitTest(234, m), -1);
}

TEST(ScrollGeometry, DraggedPositions) {
    const TScrollValues v{0, 100, 10, 0, 0};
    const TScrollMetrics m{kSb, 200, 20, 0, 0};
    int p = 0;
    // To the far end: one past the last full page, never nMax - nPage itself.
    EXPECT_EQ(DragValue(5000, v, m, p), 91);
    EXPECT_EQ(p, 200);
    EXPECT_EQ(DragValue(180, v, m, p), 91);
    EXPECT_EQ(DragValue(100, v, m, p), 50);
    EXPECT_EQ(DragValue(-40, v, m, p), 0);
    EXPECT_EQ(p, 0);
    // Without a page the thumb stops at the end of the track.
    const TScrollValues noPage{10, 110, 0, 10, 10};
    EXPECT_EQ(DragValue(5000, noPage, m, p), 110);
    EXPECT_EQ(p, 180);
    EXPECT_EQ(DragValue(90, noPage, m, p), 60);
    // A thumb as long as the track stays at the minimum.
    EXPECT_EQ(DragValue(30, noPage, TScrollMetrics{kSb, 50, 50, 0, 0}, p), 10);
}

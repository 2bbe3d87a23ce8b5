// Scroll-bar geometry: bar rectangles, thumb, hit test, dragged positions.
#include <gtest/gtest.h>

#include "component/dpi.h"
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

TEST(ScrollGeometry, ABarTooShortForTwoArrowsIsHitAsItIsPainted) {
    TScrollMetrics m;
    m.Thickness = kSb;
    ASSERT_TRUE(CalcThumb(30, kSb, 8, 17, {0, 100, 10, 50, 50}, m));
    EXPECT_EQ(ScrollBarSpans(30, m), (TScrollSpans{15, 15, 15, 15}));
    EXPECT_EQ(ScrollHitTest(14, m), 0);
    EXPECT_EQ(ScrollHitTest(15, m), 1);  // the second arrow's half
    EXPECT_EQ(ScrollHitTest(29, m), 1);
    EXPECT_EQ(ScrollHitTest(30, m), -1);
}

// ---- at the window's DPI -------------------------------------------------------

namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

// The platform's arrow at `dpi` as a DPI-aware process sees it.
int ArrowAt(int dpi) { return ScaleToDpi(kSb, dpi); }

}  // namespace

TEST(ScrollGeometryAtDpi, LengthsScaleWithTheDpi) {
    struct TCase {
        int dpi, minThumb;
    };
    for (const TCase c : {TCase{96, 8}, TCase{120, 10}, TCase{144, 12}, TCase{192, 16}}) {
        SCOPED_TRACE(c.dpi);
        const TScrollBarLengths l = ScrollBarLengthsAt(c.dpi, ArrowAt(c.dpi), ArrowAt(c.dpi), false);
        EXPECT_EQ(l, (TScrollBarLengths{ArrowAt(c.dpi), c.minThumb, ArrowAt(c.dpi)}));
        // Older platforms: half an arrow, whatever the DPI.
        EXPECT_EQ(ScrollBarLengthsAt(c.dpi, ArrowAt(c.dpi), 9, true).MinThumb, ArrowAt(c.dpi) / 2);
    }
}

TEST(ScrollGeometryAtDpi, BarsOfAScaledWindow) {
    struct TCase {
        int dpi;
        TIntRect vert;
    };
    // 200 x 100 with edges of 2 and bars of 17 at 96 DPI, every length scaled.
    for (const TCase c : {TCase{96, {181, 2, 198, 81}}, TCase{120, {226, 3, 247, 101}},
                          TCase{144, {271, 3, 297, 121}}, TCase{192, {362, 4, 396, 162}}}) {
        SCOPED_TRACE(c.dpi);
        const int w = ScaleToDpi(kW, c.dpi), h = ScaleToDpi(kH, c.dpi);
        const int sb = ArrowAt(c.dpi), e = ScaleToDpi(kEdge, c.dpi);
        const TScrollBarRects r =
            CalcScrollBarRects(w, h, w - 2 * e - sb, h - 2 * e - sb, sb, e, kHScrollBit | kVScrollBit, 0, {});
        EXPECT_EQ(r.Vert, c.vert);
        EXPECT_EQ(r.Horz, (TIntRect{e, c.vert.bottom, c.vert.left, h - e}));
        EXPECT_EQ(r.SizeBox, (TIntRect{c.vert.left, c.vert.bottom, w - e, h - e}));
    }
}

TEST(ScrollGeometryAtDpi, TheThumbScalesAndIsHitWherePainted) {
    const TScrollValues v{0, 100, 10, 45, 45};
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const TScrollBarLengths l = ScrollBarLengthsAt(dpi, ArrowAt(dpi), ArrowAt(dpi), false);
        const int length = ScaleToDpi(234, dpi);
        TScrollMetrics m;
        m.Thickness = l.Arrow;
        ASSERT_TRUE(CalcThumb(length, l, v, m));
        // 200 x 20 at 90 at 96 DPI.
        EXPECT_EQ(m.TrackLength, length - 2 * l.Arrow);
        EXPECT_NEAR(m.ThumbLength, ScaleToDpi(20, dpi), 1);
        EXPECT_NEAR(m.ThumbPos, ScaleToDpi(90, dpi), 1);
        const TScrollSpans s = ScrollBarSpans(length, m);
        EXPECT_EQ(s.FirstArrowEnd, l.Arrow);
        EXPECT_EQ(s.SecondArrowStart, length - l.Arrow);
        EXPECT_EQ(s.ThumbStart, l.Arrow + m.ThumbPos);
        EXPECT_EQ(s.ThumbEnd, s.ThumbStart + m.ThumbLength);
        // Every pixel of the bar is hit as the part painted on it.
        for (int p = 0; p < length; ++p) {
            const int expected = p < s.FirstArrowEnd      ? 0
                                 : p >= s.SecondArrowStart ? 1
                                 : p < s.ThumbStart        ? 2
                                 : p < s.ThumbEnd          ? 5
                                                           : 3;
            ASSERT_EQ(ScrollHitTest(p, m), expected) << "at " << p;
        }
        EXPECT_EQ(ScrollHitTest(length, m), -1);
        // The shortest thumb is the scaled one.
        ASSERT_TRUE(CalcThumb(length, l, {0, 10000, 1, 0, 0}, m));
        EXPECT_EQ(m.ThumbLength, ScaleToDpi(8, dpi));
    }
}

TEST(ScrollGeometryAtDpi, ADragCoversTheSameValuesAtEveryScale) {
    const TScrollValues v{0, 100, 10, 0, 0};
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const TScrollBarLengths l = ScrollBarLengthsAt(dpi, ArrowAt(dpi), ArrowAt(dpi), false);
        TScrollMetrics m;
        m.Thickness = l.Arrow;
        ASSERT_TRUE(CalcThumb(ScaleToDpi(234, dpi), l, v, m));
        int p = 0;
        EXPECT_NEAR(DragValue(ScaleToDpi(100, dpi), v, m, p), 50, 1);
        EXPECT_EQ(DragValue(ScaleToDpi(5000, dpi), v, m, p), 91);
        EXPECT_EQ(p, m.TrackLength);
    }
}

// Control-skin lengths at the window's DPI: the check mark's cell and the
// combo box's button, at 96, 120, 144 and 192 DPI.
#include <gtest/gtest.h>

#include "component/dpi.h"
#include "skin/controls/buttons.h"
#include "skin/controls/edits.h"
#include "skin/controls/scrollbars.h"

using namespace srt;

namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

TEST(ControlScaling, AMarkDrawnForTheScaleCoversThePlatformsBox) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const int mark = ScaleToDpi(13, dpi);          // a 13-pixel cell drawn for this scale
        const int platform = 12 * dpi / kDesignDpi + 1;  // the box the platform draws first
        const RECT r{0, 0, ScaleToDpi(120, dpi), ScaleToDpi(21, dpi)};
        const int top = (r.bottom - platform) / 2;
        const RECT left = MarkRect(r, mark, mark, false, dpi);
        EXPECT_EQ(left.right - left.left, mark);
        EXPECT_TRUE(Contains(left, RECT{0, top, platform, top + platform}));
        const RECT right = MarkRect(r, mark, mark, true, dpi);
        EXPECT_TRUE(Contains(right, RECT{r.right - platform, top, r.right, top + platform}));
        // A cell wider than the platform's keeps the rectangle's edge at every scale.
        EXPECT_EQ(MarkRect(r, 2 * mark, mark, false, dpi).left, 0);
        EXPECT_EQ(MarkRect(r, 2 * mark, mark, true, dpi).right, r.right - ScaleToDpi(1, dpi));
    }
}

TEST(ControlScaling, TheComboButtonAndTheBarsFollowThePlatformsMetricsAtTheDpi) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        const int b = SystemMetricForDpi(SM_CXHSCROLL, dpi), e = SystemMetricForDpi(SM_CXEDGE, dpi);
        EXPECT_NEAR(b, ScaleToDpi(GetSystemMetrics(SM_CXHSCROLL), dpi), 1);
        const RECT r{0, 0, ScaleToDpi(120, dpi), ScaleToDpi(22, dpi)};
        // The combo box's button is as wide as a vertical scroll bar's arrow.
        const int v = SystemMetricForDpi(SM_CXVSCROLL, dpi);
        EXPECT_EQ(TSkinComBox::ButtonRect(r, false, dpi).left, r.right - v - e);
        EXPECT_EQ(TSkinComBox::ButtonRect(r, true, dpi).right, v + e);
        const TScrollBarLengths l = ScrollBarLengths(dpi);
        EXPECT_EQ(l.Arrow, b);
        EXPECT_EQ(l.NoPageThumb, SystemMetricForDpi(SM_CXHTHUMB, dpi));
    }
}

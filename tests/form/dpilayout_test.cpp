// The frame and its caption buttons laid out from the skin's records at a
// DPI: widths, the client rectangle and what a click on each button hits.
#include <gtest/gtest.h>

#include "component/dpi.h"
#include "skin/data/scaled.h"
#include "skin/form/captionbuttons.h"
#include "skin/form/framegeom.h"

namespace srt {
namespace {

struct Owner : TNCOwner {
    void PaintNCObject(TNCObject&) override {}
};

void SetEdge(TDataSkinBorder& e, int frames, int w, int h) {
    e.FrameCount = frames;
    e.Image.SetSize(w, h);
}

// Edges of widths 4/5/6 and a 26-pixel title, two frames each; close,
// maximise and minimise anchored right, a help button left of the text.
void MakeSkin(TSkinElements& s) {
    SetEdge(*s.Left, 2, 8, 40);
    SetEdge(*s.Right, 2, 10, 40);
    SetEdge(*s.Top, 2, 60, 52);
    SetEdge(*s.Bottom, 2, 60, 12);
    s.Left->TopHeight = 26;
    const struct {
        int action, x, y, align;
    } buttons[] = {{0, 25, 5, 1}, {1, 45, 5, 1}, {2, 65, 5, 1}, {5, 2, 6, 2}};
    for (const auto& b : buttons) {
        auto r = std::make_unique<TDataSkinSysButton>("Button");
        r->Action = b.action;
        r->Align = b.align;
        r->Xcoord = b.x;
        r->Ycoord = b.y;
        r->FrameCount = 3;
        r->Image.SetSize(3 * 18, 16);
        s.SysButtons.push_back(std::move(r));
    }
}

TButtonContext Context(const TFrameMetrics& m, int width, int dpi) {
    TButtonContext c;
    c.borderIcons = biSystemMenu | biMinimize | biMaximize;
    c.windowWidth = width;
    c.metrics = m;
    c.textRect = {ScaleToDpi(40, dpi), 0, ScaleToDpi(200, dpi), m.TitleHeight};
    return c;
}

class FrameAtDpi : public ::testing::TestWithParam<int> {};

TEST_P(FrameAtDpi, MetricsAndClientScale) {
    const int dpi = GetParam();
    TSkinElements base;
    MakeSkin(base);
    const auto skin = ScaleSkinElements(base, dpi, nullptr);
    const TFrameMetrics m = ComputeFrameMetrics(*skin, bkFrame);
    EXPECT_EQ(m, (TFrameMetrics{ScaleToDpi(4, dpi), ScaleToDpi(26, dpi), ScaleToDpi(5, dpi), ScaleToDpi(6, dpi)}));
    const int w = ScaleToDpi(400, dpi), h = ScaleToDpi(300, dpi);
    const TFrameGeometry g = FrameGeometryFor(m, 0, false, w, h);
    EXPECT_EQ(g.Client, (TSkinRect{m.BorderLeft, m.TitleHeight, w - m.BorderRight, h - m.BorderBottom}));
    // The hit test reads the same layout: the title row is caption below
    // the sizing band, the client is nowhere of the frame's.
    EXPECT_EQ(FrameHitTest(htNowhere, g, htNowhere, w / 2, m.TitleHeight - 1), htCaption);
    EXPECT_EQ(FrameHitTest(htNowhere, g, htNowhere, w / 2, m.TitleHeight + 5), htNowhere);
}

TEST_P(FrameAtDpi, CaptionButtonsHitWhereTheyArePainted) {
    const int dpi = GetParam();
    TSkinElements base;
    MakeSkin(base);
    const auto skin = ScaleSkinElements(base, dpi, nullptr);
    const TFrameMetrics m = ComputeFrameMetrics(*skin, bkFrame);
    const int width = ScaleToDpi(400, dpi);
    Owner owner;
    TBitmap icon, defaultIcon;
    TCaptionButtons buttons;
    buttons.Build(&owner, *skin, icon, defaultIcon);
    const int buttonsRight = buttons.Layout(Context(m, width, dpi));
    EXPECT_EQ(buttonsRight, width - ScaleToDpi(65, dpi));
    ASSERT_EQ(buttons.Count(), 4u);
    const int size = ScaleToDpi(18, dpi), height = ScaleToDpi(16, dpi);
    for (std::size_t i = 0; i < buttons.Count(); ++i) {
        SCOPED_TRACE(i);
        const TWinSysButton& b = buttons[i];
        ASSERT_TRUE(b.FVisible);
        EXPECT_EQ(b.FBounds.Width(), size);
        EXPECT_EQ(b.FBounds.Height(), height);
        EXPECT_EQ(b.FBounds.Top, ScaleToDpi(i == 3 ? 6 : 5, dpi));
        // Every pixel of a button hits it, the pixels around it do not.
        EXPECT_EQ(buttons.Hit(b.FBounds.Left, b.FBounds.Top), &b);
        EXPECT_EQ(buttons.Hit(b.FBounds.Right - 1, b.FBounds.Bottom - 1), &b);
        EXPECT_EQ(buttons.Hit(b.FBounds.Left + size / 2, b.FBounds.Bottom), nullptr);
        EXPECT_EQ(buttons.Hit(b.FBounds.Left + size / 2, b.FBounds.Top - 1), nullptr);
    }
    // Right-anchored buttons sit at their scaled distance from the right edge.
    EXPECT_EQ(buttons[0].FBounds.Left, width - ScaleToDpi(25, dpi));
    EXPECT_EQ(buttons[2].FBounds.Left, width - ScaleToDpi(65, dpi));
    // The help button keeps its scaled gap left of the caption text.
    EXPECT_EQ(buttons[3].FBounds.Right, ScaleToDpi(40, dpi) - ScaleToDpi(2, dpi));
    // Neighbours never overlap at any scale.
    EXPECT_LE(buttons[1].FBounds.Right, buttons[0].FBounds.Left);
    EXPECT_LE(buttons[2].FBounds.Right, buttons[1].FBounds.Left);
}

// The platform's codes at every corner of each button and none of them a
// pixel outside: what accessibility tools and the platform's snapping read.
TEST_P(FrameAtDpi, HitCodesAtEveryCornerOfEachButton) {
    const int dpi = GetParam();
    TSkinElements base;
    MakeSkin(base);
    auto icon = std::make_unique<TDataSkinSysButton>("Icon");
    icon->Action = 3;
    icon->Xcoord = 2;
    icon->Ycoord = 7;
    icon->FrameCount = 1;
    icon->Image.SetSize(16, 16);
    base.SysButtons.push_back(std::move(icon));
    const auto skin = ScaleSkinElements(base, dpi, nullptr);
    const TFrameMetrics m = ComputeFrameMetrics(*skin, bkFrame);
    const int width = ScaleToDpi(400, dpi);
    const TFrameGeometry g = FrameGeometryFor(m, 0, false, width, ScaleToDpi(300, dpi));
    Owner owner;
    TBitmap iconBitmap, defaultIcon;
    TCaptionButtons buttons;
    buttons.Build(&owner, *skin, iconBitmap, defaultIcon);
    buttons.Layout(Context(m, width, dpi));
    const auto hit = [&](int x, int y, int procedure = htNowhere) {
        return FrameHitTest(procedure, g, buttons.HitCode(x, y), x, y);
    };
    const int expected[] = {htClose, htMaxButton, htMinButton, htCaption, htSysMenu};
    ASSERT_EQ(buttons.Count(), std::size(expected));
    for (std::size_t i = 0; i < buttons.Count(); ++i) {
        SCOPED_TRACE(i);
        const TSkinRect& b = buttons[i].FBounds;
        const int code = expected[i];
        for (const int x : {b.Left, b.Right - 1})
            for (const int y : {b.Top, b.Bottom - 1}) EXPECT_EQ(hit(x, y), code) << x << "," << y;
        // The procedure's sizing band gives way to the button.
        EXPECT_EQ(hit(b.Left, b.Top, 12 /*HTTOP*/), code == htCaption ? 12 : code);
        if (code == htCaption) continue;
        const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
        for (const auto& [x, y] : {std::pair{b.Left - 1, cy}, {b.Right, cy}, {cx, b.Top - 1}, {cx, b.Bottom}})
            EXPECT_NE(hit(x, y), code) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, FrameAtDpi, ::testing::Values(96, 120, 144, 192));

}  // namespace
}  // namespace srt

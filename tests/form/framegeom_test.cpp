#include "skin/form/framegeom.h"

#include <gtest/gtest.h>

#include "component/dpi.h"

namespace srt {
namespace {

// Edge images of a skin: left/right frames side by side, top/bottom stacked.
void SetEdges(TSkinElements& s, int frames) {
    s.Left->Image.SetSize(4 * frames, 10);
    s.Left->FrameCount = frames;
    s.Right->Image.SetSize(5 * frames, 10);
    s.Right->FrameCount = frames;
    s.Top->Image.SetSize(40, 24 * frames);
    s.Top->FrameCount = frames;
    s.Bottom->Image.SetSize(40, 6 * frames);
    s.Bottom->FrameCount = frames;
}

TEST(FrameGeometry, BorderKindFromStyles) {
    EXPECT_EQ(BorderKindFor(ws::Popup, 0), bkNoFrame);
    EXPECT_EQ(BorderKindFor(ws::Popup | ws::Border, ws::ExWindowEdge), bkNoFrame);  // border only
    EXPECT_EQ(BorderKindFor(ws::Popup | ws::Caption, 0), bkThin);
    EXPECT_EQ(BorderKindFor(ws::Caption, ws::ExWindowEdge), bkFrame);
    EXPECT_EQ(BorderKindFor(ws::Caption | ws::ThickFrame, 0), bkFrame);
    EXPECT_EQ(BorderKindFor(ws::Caption, 0), bkThin);
}

TEST(FrameGeometry, BorderIcons) {
    EXPECT_EQ(BorderIconsFor(ws::SysMenu | ws::MinimizeBox | ws::MaximizeBox, false), 11);
    EXPECT_EQ(BorderIconsFor(0, true), biSystemMenu);
    EXPECT_EQ(BorderIconsFor(ws::MaximizeBox, false), biMaximize);
}

TEST(FrameGeometry, MetricsDivideByFrameCount) {
    TSkinElements s;
    SetEdges(s, 2);
    EXPECT_EQ(ComputeFrameMetrics(s, bkFrame), (TFrameMetrics{4, 24, 5, 6}));
    EXPECT_EQ(ComputeFrameMetrics(s, bkThin), (TFrameMetrics{4, 24, 5, 6}));
    EXPECT_EQ(ComputeFrameMetrics(s, bkNoFrame), TFrameMetrics{});
    s.Top->FrameCount = 0;  // a broken count never divides by zero
    EXPECT_EQ(ComputeFrameMetrics(s, bkFrame).TitleHeight, 48);
    TSkinElements empty;
    EXPECT_EQ(ComputeFrameMetrics(empty, bkFrame), TFrameMetrics{});
}

TEST(FrameGeometry, ClientRectAndBorderParts) {
    const TFrameMetrics m{4, 24, 5, 6};
    EXPECT_EQ(SkinnedClientRect(m, 0, {100, 50, 400, 350}), (TSkinRect{104, 74, 395, 344}));
    EXPECT_EQ(SkinnedClientRect(m, 19, {100, 50, 400, 350}), (TSkinRect{104, 93, 395, 344}));
    const auto p = BorderPartRects(m, 300, 200);
    EXPECT_EQ(p[0], (TSkinRect{0, 0, 4, 200}));
    EXPECT_EQ(p[1], (TSkinRect{295, 0, 300, 200}));
    EXPECT_EQ(p[2], (TSkinRect{4, 0, 295, 24}));
    EXPECT_EQ(p[3], (TSkinRect{4, 194, 295, 200}));
    // A window narrower than its frame gives parts of negative width.
    EXPECT_LT(BorderPartRects(m, 6, 200)[2].Width(), 0);
}

TEST(FrameGeometry, InactiveFrameOnlyWithTwoFrames) {
    TDataSkinObject edge("Top");
    edge.FrameCount = 2;
    EXPECT_EQ(BorderFrame(edge, true), 1);
    EXPECT_EQ(BorderFrame(edge, false), 2);
    edge.FrameCount = 1;
    EXPECT_EQ(BorderFrame(edge, false), 1);
}

// Where the previous procedure found nothing: the caption below the sizing
// band, the menu bar where there is one, nothing in the borders and the
// client area.
TEST(FrameGeometry, HitTestAsksTheDefaultFirstThenTheLayout) {
    const TFrameMetrics m{4, 24, 5, 6};
    const TFrameGeometry bare = FrameGeometryFor(m, 0, false, 300, 200);
    EXPECT_EQ(FrameHitTest(htNowhere, bare, htNowhere, 150, 0), htNowhere);
    EXPECT_EQ(FrameHitTest(htNowhere, bare, htNowhere, 150, kTitleSizingBand - 1), htNowhere);
    EXPECT_EQ(FrameHitTest(htNowhere, bare, htNowhere, 150, kTitleSizingBand), htCaption);
    EXPECT_EQ(FrameHitTest(htNowhere, bare, htNowhere, 1, 23), htCaption);  // across the whole width
    EXPECT_EQ(FrameHitTest(htNowhere, bare, htNowhere, 150, 24), htNowhere);  // no bar: the client's first row
    EXPECT_EQ(FrameHitTest(12 /*HTTOP*/, bare, htNowhere, 150, 10), 12);

    const TFrameGeometry barred = FrameGeometryFor(m, 19, true, 300, 200);
    EXPECT_EQ(FrameHitTest(htNowhere, barred, htNowhere, 150, 24), htMenu);
    EXPECT_EQ(FrameHitTest(htNowhere, barred, htNowhere, 150, 24 + 18), htMenu);
    EXPECT_EQ(FrameHitTest(htNowhere, barred, htNowhere, 150, 24 + 19), htNowhere);
    EXPECT_EQ(FrameHitTest(htNowhere, barred, htNowhere, 2, 30), htNowhere);     // the left border beside the bar
    EXPECT_EQ(FrameHitTest(htNowhere, barred, htNowhere, 150, 197), htNowhere);  // the bottom border

    // A caption button's code wins wherever it is painted, also over the
    // sizing band and the procedure's caption.
    EXPECT_EQ(FrameHitTest(14 /*HTTOPRIGHT*/, bare, htClose, 290, 2), htClose);
    EXPECT_EQ(FrameHitTest(htCaption, bare, htMaxButton, 260, 10), htMaxButton);
    EXPECT_EQ(FrameHitTest(htNowhere, barred, htSysMenu, 8, 10), htSysMenu);
}

TEST(CaptionText, AlignmentAndClipping) {
    TDataSkinTitle t("Title");
    t.LeftWidth = 10;   // text shift
    t.TopHeight = 4;    // vertical shift
    t.RightWidth = 60;  // right clip
    t.TXTBackleft = 3;
    t.TXTBackRight = 7;
    TCaptionLayoutInput in;
    in.title = {4, 0, 304, 24};
    in.textWidth = 100;
    in.textHeight = 14;
    // Left: shifted by TextShift, centred vertically plus half the shift.
    EXPECT_EQ(LayoutCaptionText(t, in), (TSkinRect{14, 7, 124, 21}));
    t.TextAlignment = 1;  // centred on the measured width including margins
    EXPECT_EQ(LayoutCaptionText(t, in), (TSkinRect{99, 7, 209, 21}));
    t.TextAlignment = 2;  // right, before the clip
    EXPECT_EQ(LayoutCaptionText(t, in), (TSkinRect{134, 7, 244, 21}));
    t.TextAlignment = 5;
    EXPECT_EQ(LayoutCaptionText(t, in).Left, 4);
    // A long caption is cut at the clip (the text then ends in an ellipsis).
    t.TextAlignment = 0;
    in.textWidth = 1000;
    EXPECT_EQ(LayoutCaptionText(t, in).Right, 304 - 60);
    // Right to left always aligns right.
    in.textWidth = 100;
    in.rightToLeft = true;
    EXPECT_EQ(LayoutCaptionText(t, in).Left, 134);
    // A popup reaches to the caption buttons and never runs under them.
    in.rightToLeft = false;
    in.popup = true;
    in.buttonsRight = 280;
    EXPECT_EQ(LayoutCaptionText(t, in).Right, 275);
    in.textWidth = 1000;
    EXPECT_EQ(LayoutCaptionText(t, in).Right, 275);
    // Without buttons on the right, the end of the title.
    in.buttonsRight = 0;
    EXPECT_EQ(LayoutCaptionText(t, in).Right, 304);
}

// The skins' title at 100, 150 and 200 %: close, maximise and minimise
// anchored right (the minimise button left of the text clip), the icon at
// the left. The text ends before the buttons and, too long, starts after
// the icon, whichever way it runs.
TEST(CaptionText, StopsBeforeTheButtonsAtEveryScale) {
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const auto px = [dpi](int v) { return ScaleToDpi(v, dpi); };
        TDataSkinTitle t("Title");
        t.LeftWidth = px(26);
        t.RightWidth = px(64);
        t.TXTBackleft = t.TXTBackRight = px(10);
        const int width = px(388);
        TCaptionLayoutInput in;
        in.title = {px(4), 0, width - px(4), px(30)};
        in.textHeight = px(15);
        in.buttonsRight = width - px(94);  // the minimise button's left edge
        in.buttonsLeft = px(26);           // the icon's right edge
        in.dpi = dpi;
        for (const bool rtl : {false, true}) {
            SCOPED_TRACE(rtl);
            in.rightToLeft = rtl;
            in.textWidth = px(130);
            TSkinRect text = LayoutCaptionText(t, in);
            EXPECT_LE(text.Right, in.buttonsRight);
            EXPECT_GE(text.Left, in.buttonsLeft);
            // Right to left, the text ends at the buttons; left to right it
            // starts at the skin's shift.
            EXPECT_EQ(rtl ? text.Right : text.Left, rtl ? in.buttonsRight : in.title.Left + t.LeftWidth);
            EXPECT_EQ(text.Width(), in.textWidth + 2 * t.TXTBackleft);
            in.textWidth = px(600);
            text = LayoutCaptionText(t, in);
            EXPECT_LE(text.Right, in.buttonsRight);
            EXPECT_GE(text.Left, in.buttonsLeft);
        }
        // Without a minimise button the skin's clip is the limit, as before.
        in.buttonsRight = width - px(64);
        in.textWidth = px(130);
        EXPECT_EQ(LayoutCaptionText(t, in).Right, in.title.Right - t.RightWidth);
        // Right-aligned text follows the same limit; centred text too long
        // for the title starts after the icon.
        in.rightToLeft = false;
        in.buttonsRight = width - px(94);
        t.TextAlignment = 2;
        EXPECT_EQ(LayoutCaptionText(t, in).Right, in.buttonsRight);
        t.TextAlignment = 1;
        in.textWidth = px(600);
        EXPECT_EQ(LayoutCaptionText(t, in).Left, in.buttonsLeft);
        EXPECT_EQ(LayoutCaptionText(t, in).Right, in.buttonsRight);
    }
}

// A title too narrow for its margins gives an empty text rectangle, never
// one whose right edge lies left of its left.
TEST(CaptionText, NarrowTitleNeverInverts) {
    TDataSkinTitle t("Title");
    t.LeftWidth = 26;
    t.RightWidth = 64;
    TCaptionLayoutInput in;
    in.title = {4, 0, 60, 24};
    in.textWidth = 40;
    in.textHeight = 14;
    for (const bool rtl : {false, true}) {
        in.rightToLeft = rtl;
        const TSkinRect text = LayoutCaptionText(t, in);
        EXPECT_GE(text.Width(), 0) << rtl;
    }
    in.popup = true;
    in.buttonsRight = 2;
    EXPECT_GE(LayoutCaptionText(t, in).Width(), 0);
}

TEST(DialogWidening, NeededWidth) {
    TDataSkinTitle t("Title");
    t.LeftWidth = 10;
    t.RightWidth = 60;
    t.TXTBackleft = 3;
    t.TXTBackRight = 7;
    EXPECT_EQ(DialogCaptionWidth({4, 24, 5, 6}, t, 4, 93), 4 * 100 + 4 + 5 + 10 + 60 + 3 + 7);
    EXPECT_TRUE(IsMessageDialogClass("#32770"));
    EXPECT_TRUE(IsMessageDialogClass("TMessageForm"));
    EXPECT_FALSE(IsMessageDialogClass("tmessageform"));
}

// Every pixel of the window lies in exactly one of the four edges, the menu
// bar and the client rectangle: the composition leaves nothing unpainted
// outside the client and paints nothing twice.
TEST(FrameGeometry, LayoutPartsCoverTheWindowOnce) {
    const TFrameMetrics m{4, 24, 5, 6};
    for (const bool bar : {false, true}) {
        const TFrameGeometry l = FrameGeometryFor(m, 19, bar, 120, 90);
        EXPECT_EQ(l.Title, l.Edges[2]);
        EXPECT_EQ(l.Client, (TSkinRect{4, 24 + 19, 115, 84}));
        EXPECT_EQ(l.MenuBar, bar ? (TSkinRect{4, 24, 115, 43}) : TSkinRect{});
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) {
                int owners = l.Client.Contains(x, y) + l.MenuBar.Contains(x, y);
                for (const TSkinRect& e : l.Edges) owners += e.Contains(x, y);
                // Without a bar its rows belong to the client rectangle's top
                // margin: the menu height is reserved either way.
                const bool gap = !bar && y >= 24 && y < 43 && x >= 4 && x < 115;
                ASSERT_EQ(owners, gap ? 0 : 1) << x << "," << y << (bar ? " with bar" : "");
            }
    }
    EXPECT_EQ(FrameGeometryFor(m, 0, true, 120, 90).MenuBar, TSkinRect{});
}

}  // namespace
}  // namespace srt

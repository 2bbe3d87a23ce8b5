// Tab, tab set, status bar, progress, track bar, box and size-grip skins on
// real controls.
#include "fixture.h"

#include "component/comctrls.h"
#include "component/stdctrls.h"
#include "skin/controls/edits.h"
#include "skin/controls/indicators.h"
#include "skin/controls/tabs.h"
#include "skin/draw/skindraw.h"

using namespace ctltest;
using namespace srt;

namespace {

TBitmap Compose(const RECT& r, TDataSkinObject& e, int count, int frame) {
    return CreateSkinBitmap(r, e.Image, {count, frame}, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                            (e.Tile == 1) ? TFill::Tile : TFill::Stretch);
}

int TextWidth(HWND window, HFONT font, const wchar_t* text) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &s);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return s.cx;
}

void InitTabs() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

}  // namespace

TEST(TabImages, FlipAndQuarterTurns) {
    TBitmap b(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) b.SetPixel(x, y, RGB(x, y, 0));
    const TBitmap flipped = FlipVertical(b);
    EXPECT_EQ(flipped.Pixel(2, 0), RGB(2, 1, 0));
    const TBitmap ccw = Rotate(b, false), cw = Rotate(b, true);
    ASSERT_EQ(ccw.Width(), 2);
    ASSERT_EQ(ccw.Height(), 3);
    EXPECT_EQ(ccw.Pixel(0, 0), RGB(2, 0, 0));  // the top-right corner goes to the top left
    EXPECT_EQ(ccw.Pixel(1, 2), RGB(0, 1, 0));
    EXPECT_EQ(cw.Pixel(1, 0), RGB(0, 0, 0));   // the top-left corner goes to the top right
    EXPECT_EQ(cw.Pixel(0, 2), RGB(2, 1, 0));
}

TEST_F(Fixture, TabStripAtTheBottomIsFlippedAndBelowTheDisplayArea) {
    InitTabs();
    HWND tab = RawTabs(TCS_BOTTOM, 10, 10, 240, 120);
    auto* skin = AttachRaw<TSkinTab>(tab);
    EXPECT_EQ(skin->TabPosition(), 1);
    TBitmap& source = data->Tabs->Image;
    ASSERT_EQ(skin->TabImage().Height(), source.Height());
    EXPECT_EQ(skin->TabImage().Pixel(3, 0), source.Pixel(3, source.Height() - 1));
    EXPECT_EQ(skin->BorderImage().Pixel(4, 0), data->Tabs->Image2.Pixel(4, data->Tabs->Image2.Height() - 1));
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    RECT d{0, 0, 240, 120};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    RECT item;
    SendMessageW(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.top, d.bottom);
    // The unselected second tab shows frame 1; the display area keeps its look.
    EXPECT_NE(At(b, (item.left + item.right) / 2, item.bottom - 3), fill);
    EXPECT_EQ(At(b, 120, (d.top + d.bottom) / 2), fill);
}

TEST_F(Fixture, SideTabsComposeTheStripTurned) {
    InitTabs();
    HWND tab = Raw(WC_TABCONTROLW, TCS_VERTICAL | TCS_MULTILINE, 10, 10, 200, 160);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Left");
    SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    auto* skin = AttachRaw<TSkinTab>(tab);
    EXPECT_EQ(skin->TabPosition(), 2);
    EXPECT_EQ(skin->BorderImage().Width(), data->Tabs->Image2.Height());
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    RECT r;
    SendMessageW(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_NE(At(b, (r.left + r.right) / 2, (r.top + r.bottom) / 2), fill);
}

TEST_F(Fixture, TabControlScrollArrowsAreLeftToTheirOwnSkin) {
    InitTabs();
    HWND tab = Raw(WC_TABCONTROLW, 0, 10, 10, 120, 80);
    for (int i = 0; i < 8; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"A long tab");
        SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    HWND updown = FindWindowExW(tab, nullptr, UPDOWN_CLASSW, nullptr);
    if (!updown) GTEST_SKIP() << "this platform's tab control shows no scroll arrows";
    auto* skin = AttachRaw<TSkinTab>(tab);
    ASSERT_NE(skin->UpDown(), nullptr);
    EXPECT_EQ(skin->UpDown()->Handle(), updown);
    RECT u, self;
    GetWindowRect(updown, &u);
    GetWindowRect(tab, &self);
    OffsetRect(&u, -self.left, -self.top);
    const COLORREF fill = RGB(1, 2, 3);
    // Painted on the window DC: the up-down's area stays as it was.
    TBitmap b(120, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) b.SetPixel(x, y, fill);
    skin->DrawControl(b.Canvas(), RECT{0, 0, 120, 80});
    GdiFlush();
    EXPECT_EQ(At(b, (u.left + u.right) / 2, (u.top + u.bottom) / 2), fill);
    EXPECT_NE(At(b, u.left - 30, (u.top + u.bottom) / 2), fill);
}

TEST_F(Fixture, TabSetSkipsATabThatDoesNotFit) {
    auto* set = new TTabSet(form);
    set->SetBounds(10, 10, 200, 22);
    set->SetParent(form);
    set->HandleNeeded();
    set->SetTabs({"One", "A tab far too long to fit after the first", "Two", "Three"});
    set->SetTabIndex(0);
    auto* skin = new TSkinTab31(skins.get());
    skin->InitControl(set, data.get(), false);
    const COLORREF face = Gdi(data->Colours.ButtonFace);
    TBitmap b = Paint(*skin);
    HFONT font = set->Font()->Handle();
    const int w1 = TextWidth(set->Handle(), font, L"One") + 9, w2 = TextWidth(set->Handle(), font, L"Two") + 9;
    const int w3 = TextWidth(set->Handle(), font, L"Three") + 9;
    const int start = set->StartMargin();
    ASSERT_LE(start + w1 + w2 + w3, 200 - set->EndMargin());
    // "Two" and "Three" follow "One" directly; nothing after them.
    auto column = [&](int x) {
        for (int y = 0; y < 22; ++y)
            if (At(b, x, y) != face) return true;
        return false;
    };
    EXPECT_TRUE(column(start + w1 + 2));
    EXPECT_TRUE(column(start + w1 + w2 + 2));
    for (int x = start + w1 + w2 + w3 + 1; x < 200; ++x) EXPECT_FALSE(column(x)) << x;
    // Tabs from the first visible one on.
    set->SetFirstIndex(2);
    b = Paint(*skin);
    EXPECT_TRUE(column(start + 2));
    EXPECT_TRUE(column(start + w2 + 2));
    EXPECT_FALSE(column(start + w2 + w3 + 2));
}

TEST_F(Fixture, StatusBarSimpleModeIsOneLoweredPanelWithItsText) {
    TStatusBar* bar = NewStatusBar();
    bar->SetSimplePanel(true);
    bar->SetSimpleText("Ready");
    auto* skin = new TSkinStatusBar(skins.get());
    skin->InitControl(bar, data.get(), false);
    TBitmap b = Paint(*skin);
    const RECT r{0, 0, 300, 22};
    TBitmap lowered = Compose(r, *data->StatusBarEdges, 3, 1);
    int differ = 0, textLeft = 300;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 300; ++x)
            if (At(b, x, y) != At(lowered, x, y)) {
                ++differ;
                textLeft = std::min(textLeft, x);
            }
    EXPECT_GT(differ, 0);      // the text
    EXPECT_LT(textLeft, 10);   // left aligned
    EXPECT_EQ(At(b, 299, 21), At(lowered, 299, 21));
    // Panels: the second panel reaches the right edge, its empty text
    // still gets the bevel.
    bar->SetSimplePanel(false);
    bar->SetPanels({{"first", 100, taLeftJustify, pbRaised}, {"", 100, taLeftJustify, pbLowered}});
    b = Paint(*skin);
    RECT second;
    SendMessageW(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&second));
    second.right = 300;
    TBitmap bevel = Compose(second, *data->StatusBarEdges, 3, 1);
    for (int x : {0, 50, 199 - static_cast<int>(second.left)})
        EXPECT_EQ(At(b, second.left + x, second.top), At(bevel, x, 0)) << x;
    EXPECT_EQ(At(b, 299, second.bottom - 1), At(bevel, 299 - second.left, second.bottom - second.top - 1));
}

// Scaling a form makes its status bar taller after the panels were set; the
// platform keeps reporting them at the old height. Each panel's bevel still
// reaches the foot of the bar: its separator and its lower edge are there.
TEST_F(Fixture, StatusBarPanelsReachTheFootOfABarMadeTaller) {
    TStatusBar* bar = NewStatusBar();
    bar->SetPanels({{"first", 100, taLeftJustify, pbLowered}, {"second", 100, taLeftJustify, pbLowered}});
    bar->SetBounds(0, 150, 300, 44);
    auto* skin = new TSkinStatusBar(skins.get());
    skin->InitControl(bar, data.get(), false);
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    RECT first;
    SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
    first.bottom = 44;
    TBitmap bevel = Compose(first, *data->StatusBarEdges, 3, 1);
    const int w = first.right - first.left, h = first.bottom - first.top;
    for (const int y : {h / 2, h - 2, h - 1}) {
        EXPECT_EQ(At(b, first.right - 1, first.top + y), At(bevel, w - 1, y)) << y;
        EXPECT_EQ(At(b, first.right - 4, first.top + y), At(bevel, w - 4, y)) << y;
    }
}

TEST_F(Fixture, StatusBarWithoutEdgesFallsBackToThreeDFrames) {
    auto* bar = new TStatusBar(form);
    bar->SetBounds(0, 200, 300, 22);
    bar->SetSizeGrip(false);
    bar->SetParent(form);
    bar->HandleNeeded();
    bar->SetSimplePanel(true);
    data->StatusBarEdges.reset();
    auto* skin = new TSkinStatusBar(skins.get());
    skin->InitControl(bar, data.get(), false);
    TBitmap b = Paint(*skin);
    EXPECT_EQ(At(b, 0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(b, 299, 21), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(b, 150, 2), Gdi(data->Colours.ButtonFace));
}

TEST_F(Fixture, ProgressAtHalfCoversTheLeftHalf) {
    auto* bar = new TProgressBar(form);
    bar->SetBounds(10, 10, 200, 18);
    bar->SetPosition(50);
    bar->SetParent(form);
    bar->HandleNeeded();
    auto* skin = new TSkinProgress(skins.get());
    skin->InitControl(bar, data.get(), false);
    TDataSkinBorder& e = *data->Progress;
    EXPECT_EQ(TSkinProgress::BarRight({0, 0, 200, 18}, 50, 100), 100);
    EXPECT_EQ(TSkinProgress::BarRight({0, 0, 200, 18}, 0, 100), 0);
    EXPECT_EQ(TSkinProgress::BarRight({0, 0, 200, 18}, 5, 0), 0);
    EXPECT_EQ(TSkinProgress::BarRight({0, 0, 200, 18}, 2000000000, 2000000000), 200);
    TBitmap b = Paint(*skin);
    const TBitmap trough = Compose({0, 0, 200, 18}, e, 2, 1);
    const TBitmap fill = Compose({0, 0, 100, 18}, e, 2, 2);
    const int mid = 9;
    EXPECT_EQ(At(b, 50, mid), At(fill, 50, mid));
    EXPECT_EQ(At(b, 98, mid), At(fill, 98, mid));
    EXPECT_EQ(At(b, 150, mid), At(trough, 150, mid));
    EXPECT_NE(At(b, 50, mid), At(b, 150, mid));
    // At 0 only the trough.
    bar->SetPosition(0);
    b = Paint(*skin);
    EXPECT_EQ(At(b, 50, mid), At(trough, 50, mid));
}

TEST_F(Fixture, ProgressBlockLookRepeatsTheChunk) {
    auto* bar = new TProgressBar(form);
    bar->SetBounds(10, 10, 200, 18);
    bar->SetPosition(50);
    bar->SetParent(form);
    bar->HandleNeeded();
    TDataSkinBorder& e = *data->Progress;
    ASSERT_FALSE(e.Image2.Empty());
    e.Style = 1;
    auto* skin = new TSkinProgress(skins.get());
    skin->InitControl(bar, data.get(), false);
    const TBitmap b = Paint(*skin);
    const TBitmap trough = Compose({0, 0, 200, 18}, e, 1, 1);
    const int cw = e.Image2.Width(), ch = e.Image2.Height(), top = (18 - ch) / 2;
    int chunkPixels = 0;
    for (int x = e.LeftWidth; x < e.LeftWidth + 100; ++x) {
        const COLORREF c = e.Image2.Pixel((x - e.LeftWidth) % cw, ch / 2);
        if (c != RGB(255, 0, 255)) {
            EXPECT_EQ(At(b, x, top + ch / 2), c) << x;
            ++chunkPixels;
        }
    }
    EXPECT_GT(chunkPixels, 0);
    EXPECT_EQ(At(b, 160, 9), At(trough, 160, 9));
}

TEST_F(Fixture, TrackBarThumbThroughCustomDraw) {
    auto* track = new TTrackBar(form);
    track->SetBounds(10, 10, 200, 40);
    track->SetParent(form);
    track->HandleNeeded();
    auto* skin = new TSkinTrackBar(skins.get());
    skin->InitControl(track, data.get(), false);
    TBitmap b(200, 40);
    NMCUSTOMDRAW cd{};
    cd.hdr = {track->Handle(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    cd.hdc = b.Canvas();
    cd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(skin->CustomDraw(cd), CDRF_NOTIFYITEMDRAW);
    cd.dwDrawStage = CDDS_ITEMPREPAINT;
    for (DWORD_PTR item : {TBCD_TICS, TBCD_CHANNEL}) {
        cd.dwItemSpec = item;
        EXPECT_EQ(skin->CustomDraw(cd), CDRF_DODEFAULT);
    }
    // Reflected from the parent as CN_NOTIFY: answered and kept from the control.
    cd.dwItemSpec = TBCD_THUMB;
    TMessage m{CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd), 0};
    EXPECT_FALSE(skin->BeforeProc(m));
    EXPECT_EQ(m.Result, CDRF_SKIPDEFAULT);
    // Without any thumb element: a rectangle in the shadow colour.
    data->Trackbar.ThumbHorz.reset();
    data->Trackbar.ThumbVert.reset();
    EXPECT_EQ(skin->CustomDraw(cd), CDRF_SKIPDEFAULT);
    GdiFlush();
    RECT thumb;
    SendMessageW(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(At(b, thumb.left, thumb.top), Gdi(data->Colours.ButtonShadow));
    EXPECT_EQ(At(b, thumb.right - 1, thumb.bottom - 1), Gdi(data->Colours.ButtonShadow));
}

TEST_F(Fixture, BoxRecoloursOnceAndGivesTheColourBack) {
    auto* memo = new TMemo(form);  // any windowed control
    memo->SetParent(form);
    memo->HandleNeeded();
    memo->SetColor(clWindow);
    auto* box = new TSkinBox(skins.get());
    box->InitControl(memo, data.get(), true);
    EXPECT_EQ(memo->Color(), static_cast<TColor>(data->Colours.ButtonFace));
    EXPECT_TRUE(skins->Contains(box));
    box->InitControl(memo, data.get(), true);  // classified again
    box->Unsubclass();
    EXPECT_EQ(memo->Color(), clWindow);
}

// A box skin never replaces its control's procedure; it still lets go of a
// control freed while the window stays skinned, so a later skin change or
// skin-off touches nothing freed.
TEST_F(Fixture, BoxLetsGoOfAFreedControl) {
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->HandleNeeded();
    auto* box = new TSkinBox(skins.get());
    box->InitControl(memo, data.get(), true);
    delete memo;
    EXPECT_EQ(box->Control(), nullptr);
    skins->SkinChange();
    box->Unsubclass();
}

TEST_F(Fixture, SizeGripIsNeverShown) {
    HWND grip = Raw(L"SCROLLBAR", SBS_SIZEGRIP, 10, 10, 20, 20);
    auto* skin = AttachRaw<TSkinSizer>(grip);
    (void)skin;
    InvalidateRect(grip, nullptr, TRUE);
    SendMessageW(grip, WM_PAINT, 0, 0);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(grip, &update, FALSE));
}

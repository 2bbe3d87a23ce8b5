// Edit, combo box and up-down skins on real controls.
#include "fixture.h"

#include "skin/controls/edits.h"
#include "skin/draw/skindraw.h"

using namespace ctltest;
using namespace srt;

TEST_F(Fixture, EditBorderReplacesTheOuterTwoPixels) {
    HWND edit = Raw(L"EDIT", 0, 10, 10, 120, 24, WS_EX_CLIENTEDGE);
    auto* skin = AttachRaw<TSkinEdit>(edit);
    const COLORREF fill = RGB(1, 2, 3);
    ::TBitmap b = Paint(*skin, fill);
    EXPECT_EQ(At(b, 0, 0), Gdi(data->Colours.ButtonShadow));
    EXPECT_EQ(At(b, 119, 23), Gdi(data->Colours.ButtonShadow));
    EXPECT_EQ(At(b, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(At(b, 60, 22), RGB(255, 255, 255));
    EXPECT_EQ(At(b, 2, 2), fill);    // the rest of the edge
    EXPECT_EQ(At(b, 60, 12), fill);  // the client area
    // A window without a border gets none.
    HWND bare = Raw(L"EDIT", 0, 10, 40, 120, 24);
    auto* plain = AttachRaw<TSkinEdit>(bare);
    EXPECT_EQ(At(Paint(*plain, fill), 0, 0), fill);
}

TEST_F(Fixture, EditPaintWithADcDrawsNothingAndPrintBorderUsesTheDcBrush) {
    HWND edit = Raw(L"EDIT", 0, 10, 10, 120, 24, WS_EX_CLIENTEDGE);
    auto* skin = AttachRaw<TSkinEdit>(edit);
    ::TBitmap b(120, 24);
    HDC dc = b.Canvas();
    GdiBrush red(CreateSolidBrush(RGB(200, 0, 0)));
    {
        GdiSelect select(dc, red);
        skin->PrintBorder(dc);
        GdiFlush();
        EXPECT_EQ(At(b, 0, 0), Gdi(data->Colours.ButtonShadow));
        EXPECT_EQ(At(b, 1, 1), RGB(200, 0, 0));
        EXPECT_EQ(At(b, 118, 22), RGB(200, 0, 0));
    }
    // WM_PAINT carrying a DC: what lands on it is the edit's own painting.
    HWND twin = Raw(L"EDIT", 0, 10, 40, 120, 24, WS_EX_CLIENTEDGE);
    ::TBitmap skinned(120, 24), native(120, 24);
    SendMessageW(edit, WM_PAINT, reinterpret_cast<WPARAM>(skinned.Canvas()), 0);
    SendMessageW(twin, WM_PAINT, reinterpret_cast<WPARAM>(native.Canvas()), 0);
    GdiFlush();
    int differ = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 120; ++x) differ += skinned.Pixel(x, y) != native.Pixel(x, y);
    EXPECT_EQ(differ, 0);
}

TEST_F(Fixture, EditFindsItsSpinButtonOnce) {
    HWND edit = Raw(L"EDIT", 0, 10, 10, 120, 24, WS_EX_CLIENTEDGE);
    CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 90, 0, 16, 20, edit, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
    auto* skin = AttachRaw<TSkinEdit>(edit);
    EXPECT_EQ(skin->UpDown(), nullptr);
    Paint(*skin);
    TSkinUpDown* first = skin->UpDown();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->FInEdit);
    Paint(*skin);
    skin->PaintControl(nullptr);
    EXPECT_EQ(skin->UpDown(), first);
    int updowns = 0;
    for (int i = 0; i < skins->ComponentCount(); ++i) updowns += skins->Components(i)->Is<TSkinUpDown>();
    EXPECT_EQ(updowns, 1);
    EXPECT_EQ(skins->Controls().size(), 1u);  // not in the list of control skins
}

TEST_F(Fixture, ComboButtonOnTheRightOrMirroredOnTheLeft) {
    const int b = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(TSkinComBox::ButtonRect({0, 0, 120, 22}, false).left, 120 - b - 2);
    EXPECT_EQ(TSkinComBox::ButtonRect({0, 0, 120, 22}, true).right, b + 2);
    TDataSkinBorder& e = *data->ComboButton;
    ASSERT_FALSE(e.Image2.Empty());
    for (bool left : {false, true}) {
        HWND combo = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, 10, 10, 120, 200, left ? WS_EX_LEFTSCROLLBAR : 0);
        auto* skin = AttachRaw<TSkinComBox>(combo);
        ::TBitmap shown = Paint(*skin);
        RECT r;
        GetWindowRect(combo, &r);
        const RECT button = TSkinComBox::ButtonRect({0, 0, r.right - r.left, r.bottom - r.top}, left);
        const COLORREF fill = RGB(1, 2, 3);
        // The button's side is painted; the text area is left to the control.
        const int mid = (button.top + button.bottom) / 2;
        int painted = 0;
        for (int x = button.left; x < button.right; ++x) painted += At(shown, x, mid) != fill;
        EXPECT_GT(painted, (button.right - button.left) / 2) << (left ? "left" : "right");
        const int other = left ? shown.Width() - 8 : 8;
        EXPECT_EQ(At(shown, other, mid), fill) << (left ? "left" : "right");
    }
}

TEST(UpDownHalves, PressedLowerHalf) {
    RECT c{0, 0, 16, 30}, r1, r2;
    int s1, s2;
    TSkinUpDown::ButtonStates(c, false, {5, 20}, true, false, true, s1, s2, r1, r2);
    EXPECT_EQ(s1, 1);
    EXPECT_EQ(s2, 2);
    EXPECT_EQ(r1.bottom, 15);
    EXPECT_EQ(r2.top, 15);
    TSkinUpDown::ButtonStates(c, false, {5, 20}, true, false, false, s1, s2, r1, r2);
    EXPECT_EQ(s1, 3);
    EXPECT_EQ(s2, 3);
    TSkinUpDown::ButtonStates({0, 0, 30, 16}, true, {3, 5}, true, false, true, s1, s2, r1, r2);
    EXPECT_EQ(s1, 2);
    EXPECT_EQ(s2, 1);
    EXPECT_EQ(r1.right, 15);
}

TEST_F(Fixture, PlainUpDownWithoutItsElement) {
    data->UpDown.Vert.reset();
    HWND updown = Raw(UPDOWN_CLASSW, 0, 150, 90, 18, 30);
    auto* skin = AttachRaw<TSkinUpDown>(updown);
    SetCursorPos(0, 0);
    ::TBitmap b = Paint(*skin);
    EXPECT_EQ(At(b, 0, 0), Gdi(data->Colours.ButtonDkShadow));   // outline
    EXPECT_EQ(At(b, 2, 2), Gdi(data->Colours.ButtonFace));       // upper fill
    EXPECT_EQ(At(b, 2, 27), Gdi(data->Colours.ButtonFace));      // lower fill
    EXPECT_EQ(At(b, 0, 15), Gdi(data->Colours.ButtonDkShadow));  // the lower box's top line
}

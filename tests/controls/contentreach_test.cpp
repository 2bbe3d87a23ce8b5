// The content colours of a dark skin on the control kinds that paint their
// own colours: the tab sheet, a focused tab, the date picker's text.
#include "fixture.h"

#include "skin/controls/edits.h"
#include "skin/controls/tabs.h"

using namespace ctltest;
using namespace srt;

namespace {

class DarkFixture : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(data->LoadFromBytes(SkinBytes("dusk")));
    }
    // Pixels of `b` equal to `c`.
    static int Count(const TBitmap& b, COLORREF c) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
        return n;
    }
};

RECT Sheet(HWND tab) {
    RECT d{};
    GetClientRect(tab, &d);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    return d;
}

TEST_F(DarkFixture, TheTabSheetTakesTheClientColourAndDaylightLeavesItAlone) {
    HWND tab = RawTabs(0, 10, 10, 240, 120);
    auto* skin = AttachRaw<TSkinTab>(tab);
    const RECT d = Sheet(tab);
    const COLORREF fill = RGB(1, 2, 3);
    EXPECT_EQ(At(Paint(*skin, fill), (d.left + d.right) / 2, (d.top + d.bottom) / 2), Gdi(data->Colours.Client));
    // Erasing paints the same colour: no white moment before the paint.
    TBitmap erased(240, 120);
    SendMessageW(tab, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Canvas()), 0);
    GdiFlush();
    EXPECT_EQ(At(erased, 120, 60), Gdi(data->Colours.Client));
    // A skin without content colours leaves the sheet to the control.
    ASSERT_TRUE(data->LoadFromBytes(SkinBytes("default")));
    EXPECT_EQ(At(Paint(*skin, fill), (d.left + d.right) / 2, (d.top + d.bottom) / 2), fill);
}

TEST_F(DarkFixture, AFocusedTabShowsItsCueUnlessTheUiStateHidesIt) {
    HWND tab = RawTabs(0, 10, 10, 240, 120);
    auto* skin = AttachRaw<TSkinTab>(tab);
    SetFocus(form->Handle());
    const TBitmap unfocused = Paint(*skin);
    SetFocus(tab);
    ASSERT_EQ(GetFocus(), tab);
    SendMessageW(tab, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const TBitmap shown = Paint(*skin);
    int differ = 0;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) differ += shown.Pixel(x, y) != unfocused.Pixel(x, y);
    EXPECT_GT(differ, 10) << "no focus cue on the focused tab";
    SendMessageW(tab, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    const TBitmap hidden = Paint(*skin);
    differ = 0;
    for (int y = 0; y < hidden.Height(); ++y)
        for (int x = 0; x < hidden.Width(); ++x) differ += hidden.Pixel(x, y) != unfocused.Pixel(x, y);
    EXPECT_EQ(differ, 0) << "a cue although the UI state hides it";
}

TEST_F(DarkFixture, TheDatePickersTextIsRedrawnInEditText) {
    for (DWORD style : {DWORD{DTS_SHORTDATEFORMAT}, DWORD{DTS_TIMEFORMAT}}) {
        HWND picker = Raw(DATETIMEPICK_CLASSW, style, 10, 10, 140, 24, WS_EX_CLIENTEDGE);
        TSkinControl* skin = style == DTS_TIMEFORMAT ? static_cast<TSkinControl*>(AttachRaw<TSkinEdit>(picker))
                                                     : AttachRaw<TSkinComBox>(picker);
        ASSERT_TRUE(skin);
        RECT c{};
        GetClientRect(picker, &c);
        TBitmap shown(c.right, c.bottom);
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x) shown.SetPixel(x, y, RGB(1, 2, 3));  // not text
        SendMessageW(picker, WM_PAINT, reinterpret_cast<WPARAM>(shown.Canvas()), 0);
        GdiFlush();
        EXPECT_GT(Count(shown, Gdi(data->Colours.EditText)), 12) << "style " << style;
        EXPECT_EQ(Count(shown, GetSysColor(COLOR_WINDOWTEXT)), 0) << "style " << style;
        // Disabled: the text in DisabledText.
        EnableWindow(picker, FALSE);
        SendMessageW(picker, WM_PAINT, reinterpret_cast<WPARAM>(shown.Canvas()), 0);
        GdiFlush();
        EXPECT_GT(Count(shown, Gdi(data->Colours.DisabledText)), 12) << "style " << style;
        EXPECT_EQ(Count(shown, GetSysColor(COLOR_GRAYTEXT)), 0) << "style " << style;
    }
}

}  // namespace

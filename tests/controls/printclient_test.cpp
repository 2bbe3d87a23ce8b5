// Printing a skinned control (WM_PRINTCLIENT, PrintWindow) gives what the
// screen shows: the skin's drawing path, not the native look.
#include "fixture.h"

#include "component/comctrls.h"
#include "component/gdi.h"
#include "skin/controls/buttons.h"
#include "skin/controls/edits.h"
#include "skin/controls/indicators.h"
#include "skin/controls/scrollbars.h"
#include "skin/controls/tabs.h"

using namespace ctltest;
using namespace srt;

namespace {

constexpr COLORREF kUnpainted = RGB(1, 2, 3);

TBitmap Blank(HWND window) {
    RECT c{};
    GetClientRect(window, &c);
    TBitmap b(c.right, c.bottom);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, kUnpainted);
    return b;
}

// The client area as the screen shows it, read back from the window's DC.
TBitmap Screen(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
    TBitmap b = Blank(window);
    HDC dc = GetDC(window);
    BitBlt(b.Canvas(), 0, 0, b.Width(), b.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    return b;
}

TBitmap PrintClient(HWND window) {
    TBitmap b = Blank(window);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(b.Canvas()), PRF_CLIENT);
    GdiFlush();
    return b;
}

TBitmap Printed(HWND window) {
    TBitmap b = Blank(window);
    PrintWindow(window, b.Canvas(), PW_CLIENTONLY);
    GdiFlush();
    return b;
}

::testing::AssertionResult Same(const TBitmap& got, const TBitmap& want) {
    if (got.Width() != want.Width() || got.Height() != want.Height() || got.Empty())
        return ::testing::AssertionFailure() << "sizes differ or empty";
    int bad = 0;
    std::string first;
    for (int y = 0; y < got.Height(); ++y)
        for (int x = 0; x < got.Width(); ++x)
            if (got.Pixel(x, y) != want.Pixel(x, y) && ++bad == 1)
                first = " first at (" + std::to_string(x) + "," + std::to_string(y) + ")";
    if (bad == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " of " << got.Width() * got.Height() << " pixels differ" << first;
}

class PrintClientTest : public Fixture {
protected:
    // Both ways of printing equal the screen.
    void ExpectPrintsAsShown(HWND window, const char* what) {
        SCOPED_TRACE(what);
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        const TBitmap screen = Screen(window);
        ASSERT_FALSE(screen.Empty());
        EXPECT_NE(screen.Pixel(0, 0), kUnpainted) << "the screen was not read";
        EXPECT_TRUE(Same(PrintClient(window), screen)) << "WM_PRINTCLIENT";
        EXPECT_TRUE(Same(Printed(window), screen)) << "PrintWindow";
        // Without PRF_CLIENT, WM_PRINT leaves the client alone.
        TBitmap none = Blank(window);
        SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(none.Canvas()), PRF_NONCLIENT);
        GdiFlush();
        EXPECT_TRUE(Same(none, Blank(window))) << "WM_PRINT without PRF_CLIENT";
    }
    void InitBars() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
    }
};

}  // namespace

// Skins that paint the whole client themselves.
TEST_F(PrintClientTest, SelfPaintingSkinsPrintTheirOwnLook) {
    InitBars();
    HWND button = Raw(L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 25);
    SetWindowTextW(button, L"Go");
    AttachRaw<TSkinButton>(button);
    HWND updown = Raw(UPDOWN_CLASSW, 0, 100, 10, 18, 30);
    AttachRaw<TSkinUpDown>(updown);
    HWND progress = Raw(PROGRESS_CLASSW, 0, 130, 10, 150, 18);
    SendMessageW(progress, PBM_SETPOS, 40, 0);
    AttachRaw<TSkinProgress>(progress);

    TStatusBar* bar = NewStatusBar();
    auto* barSkin = new TSkinStatusBar(skins.get());
    barSkin->InitControl(bar, data.get(), false);

    auto* set = new TTabSet(form);
    set->SetBounds(10, 150, 200, 22);
    set->SetParent(form);
    set->HandleNeeded();
    set->SetTabs({"One", "Two"});
    set->SetTabIndex(1);
    auto* setSkin = new TSkinTab31(skins.get());
    setSkin->InitControl(set, data.get(), false);

    auto* bit = new TBitBtn(form);
    bit->SetParent(form);
    bit->SetBounds(10, 50, 90, 28);
    bit->SetCaption("Bit");
    auto* bitSkin = new TSkinBitButton(skins.get());
    bitSkin->InitControl(bit, data.get(), false);

    ExpectPrintsAsShown(button, "push button");
    ExpectPrintsAsShown(bit->Handle(), "bitmap button");
    ExpectPrintsAsShown(updown, "up-down");
    ExpectPrintsAsShown(progress, "progress bar");
    ExpectPrintsAsShown(bar->Handle(), "status bar");
    ExpectPrintsAsShown(set->Handle(), "tab set");
}

// Skins that paint over the native look: the native control prints, then
// the skin's part goes on the same DC.
TEST_F(PrintClientTest, SkinsOverTheNativeLookPrintBoth) {
    InitBars();
    HWND check = Raw(L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 21);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    AttachRaw<TSkinCheckBox>(check);
    HWND radio = Raw(L"BUTTON", BS_AUTORADIOBUTTON, 10, 35, 120, 21);
    AttachRaw<TSkinRadioButton>(radio);
    HWND combo = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, 140, 10, 120, 200);
    AttachRaw<TSkinComBox>(combo);
    HWND tab = RawTabs(0, 10, 70, 240, 100);
    AttachRaw<TSkinTab>(tab);
    HWND scroll = Raw(L"SCROLLBAR", SBS_HORZ, 10, 180, 200, 17);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 100, 20, 30, 0};
    SetScrollInfo(scroll, SB_CTL, &info, TRUE);
    AttachRaw<TSkinScControl>(scroll);

    ExpectPrintsAsShown(check, "check box");
    ExpectPrintsAsShown(radio, "radio button");
    ExpectPrintsAsShown(combo, "combo box");
    ExpectPrintsAsShown(tab, "tab control");
    ExpectPrintsAsShown(scroll, "scroll bar control");
}

// Printing paints on a DC that belongs to whoever prints: the combo box's
// edge leaves its clip exclusion off it.
TEST_F(PrintClientTest, ComboLeavesTheCallersClipAlone) {
    HWND combo = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, 140, 10, 120, 200);
    AttachRaw<TSkinComBox>(combo);
    TBitmap b = Blank(combo);
    HDC dc = b.Canvas();
    SendMessageW(combo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiRegion clip(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(dc, clip.Get()), 0) << "a clip region was left on the caller's DC";
}

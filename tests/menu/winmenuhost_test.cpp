// The menu bar on a plain window through a host of the test's own: no form
// skin anywhere. The bar lays out and paints where the host says, shares
// the host's hot tracking, opens its popups and knows while they are open;
// two bars keep their open state apart, and a bar that goes away while its
// popup is open leaves nothing behind.
#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/graphics.h"
#include "skin/menu/menuhost.h"
#include "skin/menu/winskinmenu.h"
#include "tests/support/skinfile.h"
#include "tests/support/testclass.h"
#include "menudriver.h"

namespace srt {
namespace {

class TTestOwner final : public TNCOwner {
public:
    void PaintNCObject(TNCObject&) override {}
};

// Another non-client object of the host, e.g. a caption button.
class TOtherObject final : public TNCObject {
public:
    using TNCObject::TNCObject;
};

class TFakeHost final : public TMenuBarHost {
public:
    explicit TFakeHost(HWND w) : window(w) {}
    HWND BarWindow() const override { return window; }
    POINT BarScreenToWindow(POINT p) const override {
        RECT r{};
        GetWindowRect(window, &r);
        return {p.x - r.left, p.y - r.top};
    }
    bool BarRightToLeft() const override { return false; }
    int BarDpi() const override { return 96; }
    bool BarActiveLook() const override { return true; }
    TNCOwner& BarItemOwner() override { return owner; }
    TMainMenu* BarMenu() const override { return nullptr; }
    void PaintOverBar(HDC canvas, const RECT& bar) override {
        overBar.push_back(bar);
        overBarCanvas = canvas;
    }

    HWND window;
    TTestOwner owner;
    std::vector<RECT> overBar;
    HDC overBarCanvas = nullptr;
};

class HostedMenuBar : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::make_unique<::TSkinData>(nullptr);
        ASSERT_TRUE(data->LoadFromBytes(SkinBytes("default")));
    }
    void TearDown() override {
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        PumpAll();
    }
    // A plain window with the menu "&File" (Open), "&Edit" (Copy), "&View" (Zoom).
    HWND MakeWindow(int x) {
        TestWindowClass(L"HostedMenuBarWindow", DefWindowProcW, 0);
        HMENU bar = CreateMenu();
        const wchar_t* captions[] = {L"&File", L"&Edit", L"&View"};
        const wchar_t* items[] = {L"&Open", L"&Copy", L"&Zoom"};
        for (int i = 0; i < 3; ++i) {
            HMENU sub = CreatePopupMenu();
            AppendMenuW(sub, MF_STRING, 100 * (i + 1) + 1, items[i]);
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), captions[i]);
        }
        HWND w = CreateWindowExW(0, L"HostedMenuBarWindow", L"Hosted", WS_OVERLAPPEDWINDOW, x, 60, 360, 240,
                                 nullptr, bar, GetModuleHandleW(nullptr), nullptr);
        windows.push_back(w);
        ShowWindow(w, SW_SHOW);
        SetForegroundWindow(w);
        PumpAll();
        return w;
    }
    // A bar built from the window's menu (or `menu`) and painted at `at`
    // (window coordinates).
    std::unique_ptr<TWinSkinMenu> MakeBar(TFakeHost& host, const RECT& at, HMENU menu = nullptr) {
        auto bar = std::make_unique<TWinSkinMenu>(host, *data);
        if (menu)
            bar->BuildFromMenuHandle(menu);
        else
            bar->BuildFromWindowMenu();
        TBitmap target(400, 80);
        bar->PaintMenuBar(target.Canvas(), at);
        return bar;
    }

    std::unique_ptr<::TSkinData> data;
    std::vector<HWND> windows;
};

TEST_F(HostedMenuBar, LaysOutWhereTheHostSaysAndSharesItsHotTracking) {
    HWND w = MakeWindow(40);
    TFakeHost host(w);
    const RECT at{5, 30, 305, 30 + GetSystemMetrics(SM_CYMENU)};
    std::unique_ptr<TWinSkinMenu> bar = MakeBar(host, at);
    EXPECT_EQ(GetMenu(w), nullptr);  // the window's own bar is gone
    ASSERT_EQ(bar->Count(), 3);
    ASSERT_EQ(host.overBar.size(), 1u);  // the host drew over the composed bar once
    EXPECT_EQ(host.overBar[0].left, at.left);
    EXPECT_EQ(host.overBar[0].top, at.top);
    EXPECT_NE(host.overBarCanvas, nullptr);

    const TSkinRect file = bar->Button(0).FBounds;
    EXPECT_EQ(file.Left, at.left + data->MenuBar->LeftWidth + 4);
    EXPECT_EQ(file.Top, at.top);
    EXPECT_EQ(bar->Button(1).FBounds.Left, file.Right);
    EXPECT_EQ(bar->HitMenuButton({file.Left + 1, file.Top + 1}), &bar->Button(0));
    EXPECT_EQ(bar->HitMenuButton({file.Left + 1, at.top - 1}), nullptr);

    // One hot object for the host's objects and the bar's items.
    TOtherObject other(&host.owner);
    other.FVisible = true;
    other.MouseMove();
    ASSERT_EQ(host.owner.HotObject(), &other);
    bar->Button(0).MouseMove();
    EXPECT_EQ(host.owner.HotObject(), &bar->Button(0));
    EXPECT_EQ(other.FState, TNCObject::stNormal);
    bar->Button(1).MouseMove();
    EXPECT_EQ(host.owner.HotObject(), &bar->Button(1));
    EXPECT_EQ(bar->Button(0).FState, TNCObject::stNormal);
    EXPECT_EQ(bar->Button(1).FState, TNCObject::stHover);

    // A rebuild drops a hot item; the host's own hot object would stay.
    bar->BuildFromMenuHandle(nullptr);
    EXPECT_EQ(host.owner.HotObject(), nullptr);
    bar.reset();
    EXPECT_EQ(host.owner.HotObject(), nullptr);
}

TEST_F(HostedMenuBar, OpeningAnItemTracksItsPopupAndTheItemStaysPressed) {
    HWND w = MakeWindow(40);
    TFakeHost host(w);
    std::unique_ptr<TWinSkinMenu> bar = MakeBar(host, {5, 30, 305, 30 + GetSystemMetrics(SM_CYMENU)});
    TMenuBtn& edit = bar->Button(1);
    int openIndex = -2;
    bool tracking = false;
    HMENU tracked = nullptr;
    TMenuDriver driver([&](int) {
        openIndex = bar->OpenIndex();
        tracking = bar->Tracking();
        tracked = bar->TrackedMenu();
        host.owner.DropHotObject();  // as a frame paint meanwhile would
        return false;
    });
    edit.MouseDown();
    EXPECT_TRUE(bar->OpenMenuButton(edit));
    EXPECT_EQ(openIndex, 1);
    EXPECT_TRUE(tracking);
    EXPECT_EQ(tracked, edit.FSubMenu);
    EXPECT_EQ(bar->OpenIndex(), -1);
    EXPECT_FALSE(bar->Tracking());
    // Pressed through the popup, the item is in the host's care again so
    // that the mouse leaving it restores its look.
    EXPECT_EQ(edit.FState, TNCObject::stPressed);
    EXPECT_EQ(host.owner.HotObject(), &edit);
    PumpAll();
}

TEST_F(HostedMenuBar, TwoWindowsBarsKeepTheirOpenStateApart) {
    HWND a = MakeWindow(20), b = MakeWindow(420);
    TFakeHost hostA(a), hostB(b);
    const RECT at{5, 30, 305, 30 + GetSystemMetrics(SM_CYMENU)};
    std::unique_ptr<TWinSkinMenu> barA = MakeBar(hostA, at), barB = MakeBar(hostB, at);
    int openA = -2, openB = -2;
    bool trackingB = true;
    TMenuDriver driver([&](int) {
        openA = barA->OpenIndex();
        openB = barB->OpenIndex();
        // The closing notice of a popup that is not B's leaves B alone.
        barB->MenuSelect(MAKEWPARAM(0, 0xFFFF), 0);
        trackingB = barB->Tracking();
        return false;
    });
    SetForegroundWindow(a);
    barA->OpenMenuButton(barA->Button(2));
    EXPECT_EQ(openA, 2);
    EXPECT_EQ(openB, -1);
    EXPECT_FALSE(trackingB);
    EXPECT_EQ(barB->TrackedMenu(), nullptr);
    EXPECT_EQ(barA->TrackedMenu(), barA->Button(2).FSubMenu);
    PumpAll();

    // B opens afterwards as A did.
    openB = -2;
    TMenuDriver second([&](int) {
        openA = barA->OpenIndex();
        openB = barB->OpenIndex();
        return false;
    });
    SetForegroundWindow(b);
    barB->OpenMenuButton(barB->Button(0));
    EXPECT_EQ(openB, 0);
    EXPECT_EQ(openA, -1);
    EXPECT_FALSE(barB->Tracking());
    PumpAll();
}

// The popup's message loop may let the bar go (a skin change, the window
// closed); its opening call then returns without touching it, and the
// next bar opens with a filter of its own.
TEST_F(HostedMenuBar, ABarReleasedWhileItsPopupIsOpenIsNotTouchedAfterwards) {
    HWND w = MakeWindow(40);
    TFakeHost host(w);
    const RECT at{5, 30, 305, 30 + GetSystemMetrics(SM_CYMENU)};
    std::unique_ptr<TWinSkinMenu> bar = MakeBar(host, at);
    TWinSkinMenu* released = bar.get();
    const HMENU menu = bar->MenuHandle();
    {
        TMenuDriver driver([&](int) {
            bar.reset();
            return false;
        });
        released->Button(0).MouseDown();
        EXPECT_TRUE(released->OpenMenuButton(released->Button(0)));
    }
    EXPECT_EQ(bar, nullptr);
    EXPECT_EQ(host.owner.HotObject(), nullptr);
    PumpAll();

    // The next bar's popup hears the arrow keys: right moves on by a click
    // posted at the next item.
    std::unique_ptr<TWinSkinMenu> next = MakeBar(host, at, menu);
    TMenuDriver driver([&](int tick) {
        if (tick == 2) PostMessageW(OpenPopupWindow() ? OpenPopupWindow() : w, WM_KEYDOWN, VK_RIGHT, 0);
        return tick < 20;
    });
    next->OpenMenuButton(next->Button(0));
    EXPECT_LT(driver.ticks, 20);
    MSG click{};
    ASSERT_TRUE(PeekMessageW(&click, w, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    const POINT at1 = host.BarScreenToWindow({GET_X_LPARAM(click.lParam), GET_Y_LPARAM(click.lParam)});
    EXPECT_EQ(next->HitMenuButton(at1), &next->Button(1));
    PumpAll();
}

}  // namespace
}  // namespace srt

// The skinned menu bar and the skinned popups on real windows: the bar
// takes the window's menu, lays out its items, opens them from the
// keyboard and moves between them with the arrow keys; popup windows get
// the skin's frame, owner-drawn or not.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/menus.h"
#include "skin/draw/elementdraw.h"
#include "skin/form/winskinform.h"
#include "skin/menu/skinpopup.h"
#include "skin/menu/winskinmenu.h"
#include "tests/support/managedskin.h"
#include "tests/support/skinfile.h"
#include "tests/support/testclass.h"
#include "menudriver.h"

namespace srt {
namespace {

// The window's pixels as they are on the screen.
TBitmap Grab(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return shot;
}

// The window's pixels as its window DC holds them (drawing that has not
// reached the screen yet included).
TBitmap GrabWindowDC(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(window);
    BitBlt(shot.Canvas(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

class SkinnedMenus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(skin.Start());
        data = skin.data.get();
        manager = skin.manager;
    }
    void TearDown() override {
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        PumpAll();
        skin.data.reset();
    }
    // A window with the menu "&File" (Open, a line, Exit), "&Edit", "&View".
    HWND MakeWithMenu(bool emptyItem = false) {
        TestWindowClass(L"MenuBarTestWindow", DefWindowProcW, 0);
        HMENU bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuW(file, MF_STRING, 101, L"&Open\tCtrl+O");
        AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file, MF_STRING, 102, L"E&xit");
        HMENU edit = CreatePopupMenu();
        AppendMenuW(edit, MF_STRING, 201, L"&Copy");
        HMENU view = CreatePopupMenu();
        AppendMenuW(view, MF_STRING, 301, L"&Zoom");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
        if (emptyItem) AppendMenuW(bar, MF_STRING, 150, L"");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
        HWND w = CreateWindowExW(0, L"MenuBarTestWindow", L"Menus", WS_OVERLAPPEDWINDOW, 60, 60, 420, 300, nullptr,
                                 bar, GetModuleHandleW(nullptr), nullptr);
        windows.push_back(w);
        ShowWindow(w, SW_SHOW);
        SetForegroundWindow(w);
        PumpAll();
        manager->SkinWindow(reinterpret_cast<std::uintptr_t>(w));
        PumpAll();
        RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        return w;
    }
    TWinSkinForm* Skin(HWND w) {
        return static_cast<TWinSkinForm*>(manager->FindFormSkin(reinterpret_cast<std::uintptr_t>(w)));
    }

    TManagedSkin skin;
    ::TSkinData* data = nullptr;
    TSkinManage* manager = nullptr;
    std::vector<HWND> windows;
};

TEST_F(SkinnedMenus, TheBarTakesTheWindowMenuAndLaysOutItsItems) {
    HWND w = MakeWithMenu(true);
    TWinSkinForm* skin = Skin(w);
    ASSERT_NE(skin, nullptr);
    TWinSkinMenu* bar = skin->MenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(skin->MenuHeight(), GetSystemMetrics(SM_CYMENU));
    ASSERT_EQ(bar->Count(), 4);

    // Client area below caption and bar.
    RECT wr{}, cr{};
    GetWindowRect(w, &wr);
    GetClientRect(w, &cr);
    const TFrameMetrics& m = skin->Metrics();
    EXPECT_EQ(cr.bottom, (wr.bottom - wr.top) - m.TitleHeight - skin->MenuHeight() - m.BorderBottom);

    const TSkinRect file = bar->Button(0).FBounds;
    EXPECT_EQ(file.Left, m.BorderLeft + data->MenuBar->LeftWidth + 4);
    EXPECT_EQ(file.Top, m.TitleHeight);
    EXPECT_EQ(file.Bottom, m.TitleHeight + skin->MenuHeight() - 1);
    EXPECT_EQ(bar->Button(1).FBounds.Width(), 0);
    EXPECT_EQ(bar->Button(2).FBounds.Left, file.Right);
    EXPECT_EQ(bar->HitMenuButton({file.Left + 2, file.Top + 2}), &bar->Button(0));
    EXPECT_EQ(bar->HitMenuButton({file.Right, file.Top + 2}), &bar->Button(2));
    EXPECT_EQ(bar->FindAccelButton('v'), &bar->Button(3));
    EXPECT_EQ(bar->FindAccelButton('q'), nullptr);

    // The bar's background is the skin's strip (frame 1 active, 2 inactive).
    TBitmap shot = Grab(w);
    TDataSkinObject& e = *data->MenuBar;
    const int barWidth = (wr.right - wr.left) - m.BorderLeft - m.BorderRight;
    const COLORREF seen = shot.Pixel(m.BorderLeft + 1, m.TitleHeight + 2);
    bool matches = false;
    for (int frame : {1, 2}) {
        TBitmap expected(barWidth, skin->MenuHeight());
        DrawSkinStrip(expected.Canvas(), {0, 0, barWidth, skin->MenuHeight()}, e.Image,
                      {2, frame, TFrameLayout::Stacked}, {e.LeftWidth, e.RightWidth}, TKeying::Opaque);
        matches = matches || expected.Pixel(1, 2) == seen;
    }
    EXPECT_TRUE(matches);

    // Given back with the skin.
    skin->Detach();
    EXPECT_NE(GetMenu(w), nullptr);
    EXPECT_EQ(GetMenuItemCount(GetMenu(w)), 4);
}

// A frame repaint while the mouse rests on an item keeps the item's hot or
// pressed look: the form skin sends no second mouse-move for the same item.
TEST_F(SkinnedMenus, AFrameRepaintKeepsTheHotAndPressedLook) {
    HWND w = MakeWithMenu();
    TWinSkinForm* skin = Skin(w);
    ASSERT_NE(skin, nullptr);
    TWinSkinMenu* bar = skin->MenuBar();
    ASSERT_NE(bar, nullptr);
    TMenuBtn& file = bar->Button(0);
    TMenuBtn& edit = bar->Button(1);
    const COLORREF hilight = ColorToRGB(static_cast<TColor>(data->Colours.ButtonHilight));
    auto framed = [&](const TMenuBtn& b) {
        GdiFlush();
        TBitmap shot = GrabWindowDC(w);
        return shot.Pixel(b.FBounds.Left, b.FBounds.Top) == hilight &&
               shot.Pixel(b.FBounds.Right - 1, b.FBounds.Bottom - 1) == hilight;
    };
    auto repaintFrame = [&] { SendMessageW(w, WM_NCPAINT, 1, 0); };
    ASSERT_FALSE(framed(file));

    RECT wr{};
    GetWindowRect(w, &wr);
    auto moveOnto = [&](const TMenuBtn& b) {
        const POINT over{wr.left + (b.FBounds.Left + b.FBounds.Right) / 2, wr.top + (b.FBounds.Top + b.FBounds.Bottom) / 2};
        SetCursorPos(over.x, over.y);
        SendMessageW(w, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(over.x, over.y));
    };
    moveOnto(file);
    ASSERT_EQ(skin->HotObject(), &file);
    EXPECT_TRUE(framed(file));
    repaintFrame();
    EXPECT_EQ(file.FState, TNCObject::stHover);
    EXPECT_TRUE(framed(file));
    EXPECT_FALSE(framed(edit));

    // Moving on, one item shows the look.
    moveOnto(edit);
    EXPECT_EQ(skin->HotObject(), &edit);
    EXPECT_TRUE(framed(edit));
    EXPECT_EQ(file.FState, TNCObject::stNormal);
    EXPECT_FALSE(framed(file));

    edit.MouseDown();  // pressed, as while its menu is open
    repaintFrame();
    EXPECT_EQ(edit.FState, TNCObject::stPressed);
    EXPECT_TRUE(framed(edit));
    EXPECT_FALSE(framed(file));

    edit.MouseLeave();
    EXPECT_FALSE(framed(edit));
    repaintFrame();
    EXPECT_FALSE(framed(edit));

    // A repaint leaves the hovered item the hot object, so moving off the
    // bar (into the client area) gives its look up.
    moveOnto(file);
    repaintFrame();
    ASSERT_EQ(skin->HotObject(), &file);
    SetCursorPos(wr.right - 20, wr.bottom - 20);
    SendMessageW(w, WM_TIMER, reinterpret_cast<WPARAM>(skin), 0);  // the hover check
    EXPECT_EQ(file.FState, TNCObject::stNormal);
    EXPECT_EQ(skin->HotObject(), nullptr);
    EXPECT_FALSE(framed(file));
}

TEST_F(SkinnedMenus, AltAloneIsSwallowedAndAltFOpensTheFirstMenu) {
    HWND w = MakeWithMenu();
    TWinSkinForm* skin = Skin(w);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    PumpAll();
    EXPECT_EQ(skin->MenuBar()->OpenIndex(), -1);

    int openIndex = -2;
    bool tracking = false, popupSkinned = false;
    HMENU file = skin->MenuBar()->Button(0).FSubMenu;
    TMenuDriver driver([&](int) {
        openIndex = skin->MenuBar()->OpenIndex();
        tracking = skin->MenuTracking();
        if (HWND popup = OpenPopupWindow()) popupSkinned = SendMessageW(popup, kWmSkinQuery, 0, 0) == 1;
        return false;
    });
    EXPECT_EQ(SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 'f'), 1);
    PumpAll();
    EXPECT_EQ(openIndex, 0);
    EXPECT_TRUE(tracking);
    EXPECT_TRUE(popupSkinned);
    EXPECT_EQ(skin->MenuBar()->OpenIndex(), -1);
    EXPECT_FALSE(skin->MenuTracking());
    EXPECT_EQ(skin->TrackedMenu(), file);
    // Opened owner-drawn, texts kept.
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(file, 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
}

TEST_F(SkinnedMenus, ArrowKeysMoveBetweenTheBarsMenusAndWrapAtTheEnds) {
    HWND w = MakeWithMenu();
    ASSERT_NE(Skin(w), nullptr);
    std::vector<int> opened;
    TMenuDriver driver([&](int) {
        const int index = Skin(w)->MenuBar()->OpenIndex();
        if (index < 0 || (!opened.empty() && opened.back() == index)) return true;
        opened.push_back(index);
        HWND popup = OpenPopupWindow();
        if (opened.size() == 1) PostMessageW(popup ? popup : w, WM_KEYDOWN, VK_LEFT, 0);
        else if (opened.size() == 2) PostMessageW(popup ? popup : w, WM_KEYDOWN, VK_RIGHT, 0);
        else return false;
        return true;
    });
    Skin(w)->MenuBar()->ClickMenuButton(Skin(w)->MenuBar()->Button(0));
    PumpAll();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], 0);
    EXPECT_EQ(opened[1], 2);  // left from the first: the last
    EXPECT_EQ(opened[2], 0);  // right from the last: the first
}

TEST_F(SkinnedMenus, TheSystemMenuIsDrawnByTheSkin) {
    HWND w = MakeWithMenu();
    TWinSkinForm* skin = Skin(w);
    ASSERT_NE(skin, nullptr);
    TPopupMenu* system = skin->SkinSystemMenu();
    ASSERT_NE(system, nullptr);
    ASSERT_GE(system->Items()->Count(), 3);
    EXPECT_TRUE(system->OwnerDraw());
    EXPECT_EQ(system->Items()->Items(0)->Caption(), " Restore ");
    bool learnt = false, framed = false;
    TMenuDriver driver([&](int tick) {
        HWND popup = OpenPopupWindow();
        if (!popup || tick < 3) return true;
        learnt = manager->FindPopupByMenu(reinterpret_cast<std::uintptr_t>(system->Handle())) != nullptr;
        TBitmap* image = FindPopupImage(system->Handle());
        TBitmap shot = Grab(popup);
        framed = image && !image->Empty() && shot.Pixel(1, 1) == image->Pixel(1, 1) &&
                 shot.Pixel(shot.Width() - 2, shot.Height() - 2) == image->Pixel(image->Width() - 2, image->Height() - 2);
        return false;
    });
    RECT wr{};
    GetWindowRect(w, &wr);
    skin->ShowSystemMenu({wr.left + 20, wr.top + 20});
    EXPECT_TRUE(learnt);
    EXPECT_TRUE(framed);
}

TEST_F(SkinnedMenus, AContextMenuThatIsNotOwnerDrawnGetsTheSkinnedFrame) {
    HWND w = MakeWithMenu();
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("Select &all");
    menu.Items()->Add(item);
    bool framed = false, skinned = false, learnt = false;
    TMenuDriver driver([&](int tick) {
        HWND popup = OpenPopupWindow();
        if (!popup || tick < 3) return true;
        skinned = SendMessageW(popup, kWmSkinQuery, 0, 0) == 1;
        // No item of its own draws, yet the skin knows the popup's menu.
        learnt = manager->FindPopupByMenu(reinterpret_cast<std::uintptr_t>(menu.Handle())) != nullptr;
        TBitmap shot = Grab(popup);
        TDataSkinObject& e = *data->MenuBackground;
        TBitmap expected = CreateSkinBitmap({0, 0, shot.Width(), shot.Height()}, e.Image, {1, 1},
                                            MarginsOf(e),
                                            FillOf(e));
        framed = shot.Pixel(0, 0) == expected.Pixel(0, 0) && shot.Pixel(2, shot.Height() / 2) == expected.Pixel(2, shot.Height() / 2);
        return false;
    });
    RECT wr{};
    GetWindowRect(w, &wr);
    menu.Popup(wr.left + 40, wr.top + 60);
    EXPECT_FALSE(menu.OwnerDraw());
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(framed);
    EXPECT_TRUE(learnt);
}

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return DefFrameProcW(w, FindWindowExW(w, nullptr, L"MDIClient", nullptr), msg, wp, lp);
}

TEST_F(SkinnedMenus, AnMdiFramesNewMenuRebuildsTheBar) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MenuTestMdiFrame";
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    HMENU first = CreateMenu();
    HMENU window = CreatePopupMenu();
    AppendMenuW(window, MF_STRING, 1, L"&Tile");
    AppendMenuW(first, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    HWND frame = CreateWindowExW(0, L"MenuTestMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 500,
                                 360, nullptr, first, GetModuleHandleW(nullptr), nullptr);
    windows.push_back(frame);
    CLIENTCREATESTRUCT ccs{window, 100};
    HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, frame,
                                  nullptr, GetModuleHandleW(nullptr), &ccs);
    ShowWindow(frame, SW_SHOW);
    PumpAll();
    manager->SkinWindow(reinterpret_cast<std::uintptr_t>(frame));
    PumpAll();
    TWinSkinForm* skin = Skin(frame);
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->MenuBar(), nullptr);
    EXPECT_EQ(skin->MenuBar()->Count(), 1);

    HMENU second = CreateMenu();
    AppendMenuW(second, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&File");
    AppendMenuW(second, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Window");
    SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(second), 0);
    PumpAll();
    EXPECT_EQ(GetMenu(frame), nullptr);
    EXPECT_EQ(skin->MenuBar()->MenuHandle(), second);
    ASSERT_EQ(skin->MenuBar()->Count(), 2);
    EXPECT_EQ(skin->MenuBar()->Button(0).FCaption, "&File");
    DestroyMenu(first);
}

}  // namespace
}  // namespace srt

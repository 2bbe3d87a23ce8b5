// MDI frames on real windows: the frame's skin takes its children as the
// MDI client creates them, and a maximised child gives up its skinned frame
// and region until it is restored.
#include "formskin_fixture.h"

namespace srt {
namespace {

using namespace formtest;

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND client = FindWindowExW(w, nullptr, L"MDIClient", nullptr);
    return DefFrameProcW(w, client, msg, wp, lp);
}

LRESULT CALLBACK ChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(w, msg, wp, lp); }

void RegisterMdiClasses() {
    static const bool done = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinTestMdiFrame";
        RegisterClassW(&wc);
        wc.lpfnWndProc = ChildProc;
        wc.lpszClassName = L"SkinTestMdiChild";
        RegisterClassW(&wc);
        return true;
    }();
    (void)done;
}

class MdiSkin : public FormSkin {
protected:
    void SetUp() override {
        FormSkin::SetUp();
        RegisterMdiClasses();
        HMENU bar = CreateMenu();
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&File");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Window");
        frame = CreateWindowExW(0, L"SkinTestMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                                600, 450, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
        CLIENTCREATESTRUCT ccs{GetSubMenu(bar, 1), 100};
        client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, frame,
                                 nullptr, GetModuleHandleW(nullptr), &ccs);
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        windows.push_back(frame);
    }
    HWND NewChild(const wchar_t* title) { return NewChild(client, title); }
    HWND NewChild(HWND mdiClient, const wchar_t* title) {
        MDICREATESTRUCTW mcs{};
        mcs.szClass = L"SkinTestMdiChild";
        mcs.szTitle = title;
        mcs.hOwner = GetModuleHandleW(nullptr);
        mcs.x = mcs.y = 10;
        mcs.cx = 250;
        mcs.cy = 180;
        auto child = reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        SendMessageW(mdiClient, WM_MDIREFRESHMENU, 0, 0);
        Pump();
        return child;
    }
    static bool HasRegion(HWND w) {
        GdiRegion region(CreateRectRgn(0, 0, 0, 0));
        return GetWindowRgn(w, region.Get()) != ERROR;
    }
    static LONG_PTR Buttons(HWND w) {
        return GetWindowLongPtrW(w, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    }
    // The maximised child's buttons the frame's bar shows.
    static int MdiButtonsShown(TWinSkinForm* skin) {
        skin->PaintFrame();
        int shown = 0;
        for (std::size_t i = 0; i < skin->Buttons().Count(); ++i) {
            const TWinSysButton& b = skin->Buttons()[i];
            shown += b.FVisible && b.FRecord->Visibility == kMdiButtonMark;
        }
        return shown;
    }
    HWND frame = nullptr, client = nullptr;
};

TEST_F(MdiSkin, TheFrameSkinsItsChildrenAsTheClientMakesThem) {
    TWinSkinForm* frameSkin = Skinned(frame);
    ASSERT_NE(frameSkin, nullptr);
    EXPECT_EQ(frameSkin->MdiClient(), client);
    HWND one = NewChild(L"One");
    HWND two = NewChild(L"Two");
    ASSERT_NE(Skin(one), nullptr);
    ASSERT_NE(Skin(two), nullptr);
    EXPECT_TRUE(Skin(one)->IsMdiChild());
    EXPECT_EQ(frameSkin->MdiChildCount(), 2);
    EXPECT_EQ(Buttons(one), 0);
    EXPECT_TRUE(HasRegion(one));
    // Children are not skinned by a scan's activation rules alone: a plain
    // child window of the frame is refused.
    HWND plain = CreateWindowExW(0, PlainClass(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, frame, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(plain)));
}

TEST_F(MdiSkin, MaximiseRoundTrip) {
    TWinSkinForm* frameSkin = Skinned(frame);
    ASSERT_NE(frameSkin, nullptr);
    // The frame's menu is held by the skin's menu bar.
    ASSERT_NE(frameSkin->MenuBar(), nullptr);
    EXPECT_EQ(GetMenu(frame), nullptr);
    EXPECT_EQ(MdiButtonsShown(frameSkin), 0);
    HWND one = NewChild(L"One");
    HWND two = NewChild(L"Two");
    TWinSkinForm* skinOne = Skin(one);
    TWinSkinForm* skinTwo = Skin(two);
    ASSERT_NE(skinOne, nullptr);
    ASSERT_NE(skinTwo, nullptr);
    RECT normal{};
    GetWindowRect(two, &normal);

    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two), 0);
    Pump();
    BOOL maximized = FALSE;
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized))),
              two);
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(frameSkin->MdiMaximized());
    EXPECT_TRUE(skinOne->MdiMaximized());  // the frame's mode, seen from a child
    EXPECT_EQ(skinTwo->ShowState(), ssMaximized);
    // The child's own frame and region are gone; its buttons are back in its
    // style, so the frame's menu bar shows them.
    EXPECT_FALSE(HasRegion(two));
    EXPECT_EQ(Buttons(two), WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_GT(MdiButtonsShown(frameSkin), 0);
    RECT clientArea{}, childArea{};
    GetClientRect(client, &clientArea);
    GetClientRect(two, &childArea);
    EXPECT_EQ(childArea.right, clientArea.right);
    EXPECT_EQ(childArea.bottom, clientArea.bottom);

    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(two), 0);
    Pump();
    EXPECT_FALSE(frameSkin->MdiMaximized());
    EXPECT_EQ(skinTwo->ShowState(), ssNormal);
    EXPECT_TRUE(HasRegion(two));
    EXPECT_TRUE(HasRegion(one));
    EXPECT_EQ(Buttons(two), 0);
    EXPECT_EQ(MdiButtonsShown(frameSkin), 0);
    RECT restored{};
    GetWindowRect(two, &restored);
    EXPECT_EQ(restored.right - restored.left, normal.right - normal.left);
    EXPECT_EQ(restored.bottom - restored.top, normal.bottom - normal.top);
}

TEST_F(MdiSkin, DestroyingTheMaximisedChildLeavesTheMode) {
    TWinSkinForm* frameSkin = Skinned(frame);
    ASSERT_NE(frameSkin, nullptr);
    HWND one = NewChild(L"One");
    HWND two = NewChild(L"Two");
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two), 0);
    Pump();
    ASSERT_TRUE(frameSkin->MdiMaximized());
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(two), 0);
    Pump();
    // The remaining child became active maximised (the platform's rule), so
    // the mode follows it.
    BOOL maximized = FALSE;
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized))),
              one);
    EXPECT_EQ(frameSkin->MdiMaximized(), maximized != FALSE);
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(one), 0);
    Pump();
    EXPECT_FALSE(frameSkin->MdiMaximized());
    Tick(maPurge);
    EXPECT_EQ(frameSkin->MdiChildCount(), 0);
}

// Each frame has its own mode and its own children: maximising a child of
// one frame leaves the children of another with their skinned frames and
// regions.
TEST_F(MdiSkin, MaximisedModeBelongsToItsFrame) {
    TWinSkinForm* frameSkin = Skinned(frame);
    ASSERT_NE(frameSkin, nullptr);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Window");
    HWND other = CreateWindowExW(0, L"SkinTestMdiFrame", L"Other", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 80, 80,
                                 500, 400, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    windows.push_back(other);
    CLIENTCREATESTRUCT ccs{GetSubMenu(bar, 0), 100};
    HWND otherClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0,
                                       other, nullptr, GetModuleHandleW(nullptr), &ccs);
    ShowWindow(other, SW_SHOWNOACTIVATE);
    TWinSkinForm* otherSkin = Skinned(other);
    ASSERT_NE(otherSkin, nullptr);
    HWND mine = NewChild(L"Mine");
    HWND theirs = NewChild(otherClient, L"Theirs");
    ASSERT_NE(Skin(theirs), nullptr);
    ASSERT_TRUE(HasRegion(theirs));

    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(mine), 0);
    Pump();
    EXPECT_TRUE(frameSkin->MdiMaximized());
    EXPECT_FALSE(otherSkin->MdiMaximized());
    EXPECT_FALSE(Skin(theirs)->MdiMaximized());
    EXPECT_FALSE(HasRegion(mine));
    EXPECT_TRUE(HasRegion(theirs));
    EXPECT_EQ(Buttons(theirs), 0);

    // Each frame counts its own children: the last of one frame's going
    // hands the bar its menu updates back while the other frame has one.
    EXPECT_EQ(frameSkin->MdiChildCount(), 1);
    EXPECT_EQ(otherSkin->MdiChildCount(), 1);
    ASSERT_FALSE(data.MenuUpdate());  // off while children are made
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(mine), 0);
    Pump();
    EXPECT_EQ(frameSkin->MdiChildCount(), 0);
    EXPECT_EQ(otherSkin->MdiChildCount(), 1);
    EXPECT_TRUE(data.MenuUpdate());
}

}  // namespace
}  // namespace srt

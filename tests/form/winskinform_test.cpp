// Form skins on real windows: attaching, the skinned non-client area, the
// caption buttons, switching skinning off and on, closing, and leaks.
#include "formskin_fixture.h"

namespace srt {
namespace {

using namespace formtest;

TEST_F(FormSkin, AttachesOnceAndAnswersTheQuery) {
    HWND w = Make();
    EXPECT_NE(SendMessageW(w, kWmSkinQuery, 0, 0), 1);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(SendMessageW(w, kWmSkinQuery, 0, 0), 1);
    EXPECT_EQ(skin->LifeState(), fsRunning);
    EXPECT_FALSE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(w)));
    EXPECT_EQ(manager.Forms().size(), 1u);
}

TEST_F(FormSkin, RefusesTheApplicationWindowZeroSizeAndInactiveManager) {
    HWND app = Make(WS_OVERLAPPEDWINDOW, 400, 300, L"TApplication");
    EXPECT_FALSE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(app)));
    HWND empty = Make(WS_POPUP, 0, 0);
    SetWindowPos(empty, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(empty)));
    manager.SetActive(false);
    EXPECT_FALSE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(Make())));
    EXPECT_TRUE(manager.Forms().empty());
}

TEST_F(FormSkin, ClientRectangleIsInsideTheSkinnedFrameAndKeepsItsSize) {
    HWND w = Make();
    RECT before{};
    GetClientRect(w, &before);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    const TFrameMetrics& m = skin->Metrics();
    ASSERT_GT(m.TitleHeight, 0);
    RECT wr{}, cr{};
    GetWindowRect(w, &wr);
    GetClientRect(w, &cr);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x - wr.left, m.BorderLeft);
    EXPECT_EQ(origin.y - wr.top, m.TitleHeight);
    EXPECT_EQ(wr.right - wr.left, cr.right + m.BorderLeft + m.BorderRight);
    EXPECT_EQ(wr.bottom - wr.top, cr.bottom + m.TitleHeight + m.BorderBottom);
    // The start widened the window around the client area it had.
    EXPECT_EQ(cr.right, before.right);
    EXPECT_EQ(cr.bottom, before.bottom);
    // Caption-button styles are stripped while skinned.
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
}

TEST_F(FormSkin, HitTestTopPixelsKeepTheOldAnswerBelowIsCaptionThenTheClient) {
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    RECT wr{};
    GetWindowRect(w, &wr);
    g_hitNowhere = true;
    const auto hit = [&](int y) {
        return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 150, wr.top + y));
    };
    EXPECT_EQ(hit(1), HTNOWHERE);
    EXPECT_EQ(hit(3), HTNOWHERE);
    EXPECT_EQ(hit(4), HTCAPTION);
    EXPECT_EQ(hit(skin->Metrics().TitleHeight - 1), HTCAPTION);
    // No menu bar: what lies below the title is not one.
    EXPECT_EQ(hit(skin->Metrics().TitleHeight), HTNOWHERE);
    EXPECT_EQ(hit(skin->Metrics().TitleHeight + 1), HTNOWHERE);
    g_hitNowhere = false;
}

TEST_F(FormSkin, RegionLeavesOutTransparentCornerPixels) {
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    GdiRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(w, region.Get()), ERROR);
    RECT wr{};
    GetWindowRect(w, &wr);
    const int width = wr.right - wr.left, height = wr.bottom - wr.top;
    EXPECT_TRUE(PtInRegion(region.Get(), width / 2, height / 2));
    EXPECT_TRUE(PtInRegion(region.Get(), width / 2, 5));
    const bool keyedCorner = data.Left->Trans && data.Left->Image.Pixel(0, 0) == TBitmap::ToColour(0xFF00FF);
    EXPECT_EQ(PtInRegion(region.Get(), 0, 0) != FALSE, !keyedCorner);
    EXPECT_TRUE(skin->HasRegion());
}

TEST_F(FormSkin, CaptionButtonsFollowTheBorderIcons) {
    const auto visibleActions = [](const TWinSkinForm& skin) {
        std::vector<int> actions;
        for (std::size_t i = 0; i < skin.Buttons().Count(); ++i)
            if (skin.Buttons()[i].FVisible) actions.push_back(skin.Buttons()[i].FRecord->Action);
        return actions;
    };
    const auto has = [](const std::vector<int>& v, int a) { return std::find(v.begin(), v.end(), a) != v.end(); };
    TWinSkinForm* full = Skinned(Make());
    ASSERT_NE(full, nullptr);
    const auto all = visibleActions(*full);
    EXPECT_TRUE(has(all, 0));
    EXPECT_TRUE(has(all, 1));
    EXPECT_TRUE(has(all, 2));
    TWinSkinForm* fixed = Skinned(Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU));
    ASSERT_NE(fixed, nullptr);
    const auto few = visibleActions(*fixed);
    EXPECT_TRUE(has(few, 0));
    EXPECT_FALSE(has(few, 1));
    EXPECT_FALSE(has(few, 2));
}

TEST_F(FormSkin, CustomActionPostsTheQueryWithTheActionCode) {
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    TDataSkinSysButton record("custom");
    record.Action = 40;
    TWinSysButton button(skin, &record);
    skin->ExecuteAction(button, {0, 0});
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, w, kWmSkinQuery, kWmSkinQuery, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 40u);
    EXPECT_EQ(msg.lParam, 0);
}

void CALLBACK CloseMenus(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(FormSkin, TwoClicksOnTheIconClose) {
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    SetForegroundWindow(w);
    SetTimer(nullptr, 0, 100, CloseMenus);  // the first click opens the menu
    skin->ShowSystemMenu({100, 100});
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    skin->ShowSystemMenu({100, 100});
    EXPECT_TRUE(PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(FormSkin, DeactivateGivesTheWindowItsOwnLookBack) {
    HWND w = Make();
    const LONG_PTR proc = GetWindowLongPtrW(w, GWLP_WNDPROC);
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    RECT before{};
    GetClientRect(w, &before);
    ASSERT_NE(Skinned(w), nullptr);
    EXPECT_NE(GetWindowLongPtrW(w, GWLP_WNDPROC), proc);
    Tick(maDeactivate);
    EXPECT_TRUE(manager.Forms().empty());
    EXPECT_FALSE(manager.Active());
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), proc);
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), style);
    EXPECT_NE(SendMessageW(w, kWmSkinQuery, 0, 0), 1);
    RECT after{};
    GetClientRect(w, &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    GdiRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(w, region.Get()), ERROR);
}

TEST_F(FormSkin, ClosedWindowLeavesNoSkinAfterTheNextTick) {
    HWND w = Make();
    ASSERT_NE(Skinned(w), nullptr);
    DestroyWindow(w);
    ASSERT_EQ(manager.Forms().size(), 1u);
    EXPECT_EQ(manager.Forms()[0]->LifeState(), fsDead);
    EXPECT_EQ(manager.PendingAction(), maPurge);
    Tick(maPurge);
    EXPECT_TRUE(manager.Forms().empty());
}

// Someone subclasses on top of the skin: detaching must not cut their chain.
WNDPROC g_below = nullptr;
int g_aboveCalls = 0;
LRESULT CALLBACK AboveProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    ++g_aboveCalls;
    return CallWindowProcW(g_below, w, msg, wp, lp);
}

TEST_F(FormSkin, DetachUnderAnotherSubclassKeepsTheirChain) {
    HWND w = Make();
    ASSERT_NE(Skinned(w), nullptr);
    g_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AboveProc)));
    Tick(maDeactivate);
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(AboveProc));
    g_aboveCalls = 0;
    EXPECT_NE(SendMessageW(w, kWmSkinQuery, 0, 0), 1);  // the thunk only passes on now
    EXPECT_GT(g_aboveCalls, 0);
    DestroyWindow(w);
}

// WM_NCDESTROY under another subclass: every procedure in the chain sees it
// once, whether the skin sits at the top or below someone else.
int g_classNcDestroys = 0;
int g_aboveNcDestroys = 0;
WNDPROC g_belowCounting = nullptr;
LRESULT CALLBACK CountingClassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) ++g_classNcDestroys;
    return DefWindowProcW(w, msg, wp, lp);
}
LRESULT CALLBACK CountingAboveProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) ++g_aboveNcDestroys;
    return CallWindowProcW(g_belowCounting, w, msg, wp, lp);
}

TEST_F(FormSkin, NcDestroyReachesEveryProcedureOnce) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingClassProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinTestCounting";
    RegisterClassW(&wc);
    for (const bool above : {false, true}) {
        HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300, L"SkinTestCounting");
        ASSERT_NE(Skinned(w), nullptr);
        if (above)
            g_belowCounting = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingAboveProc)));
        g_classNcDestroys = g_aboveNcDestroys = 0;
        DestroyWindow(w);
        EXPECT_EQ(g_classNcDestroys, 1) << above;
        EXPECT_EQ(g_aboveNcDestroys, above ? 1 : 0);
        Tick(maPurge);
        EXPECT_TRUE(manager.Forms().empty());
    }
}

// A reload by one skin data frees the caption buttons of every form skin;
// every form skin gets them back, whichever skin data asked.
TEST_F(FormSkin, ReloadByAnotherSkinDataGivesEveryWindowItsButtonsBack) {
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    const std::size_t count = skin->Buttons().Count();
    ASSERT_GT(count, 0u);
    ::TSkinData other{nullptr};
    other.SetSkinFormtype(sfDialog);
    ASSERT_TRUE(other.LoadFromBytes(SkinBytes("default")));
    manager.AddSkinData(&other);
    manager.FreeFormCaches();
    EXPECT_EQ(skin->Buttons().Count(), 0u);
    manager.NoteActivation();
    manager.RequestAction(maRefresh, &other, 250);
    EXPECT_TRUE(manager.TimerTick());
    Pump();
    EXPECT_EQ(skin->Buttons().Count(), count);
    manager.RemoveSkinData(&other);
}

TEST_F(FormSkin, OffOnCyclesAndRepaintsLeakNothing) {
    HWND w = Make();
    ASSERT_NE(Skinned(w), nullptr);
    Tick(maDeactivate);
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 200; ++i) {
        manager.SetActive(true);
        ASSERT_NE(Skinned(w), nullptr);
        Tick(maDeactivate);
    }
    manager.SetActive(true);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    for (int i = 0; i < 1000; ++i) skin->PaintFrame();
    Tick(maDeactivate);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
}

INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A modeless "#32770" dialog of `width` x 80 dialog units with one button.
HWND MakeDialog(const wchar_t* caption, short width) {
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dt = reinterpret_cast<DLGTEMPLATE*>(t.data());
    dt->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    dt->cx = width;
    dt->cy = 80;
    t.push_back(0);  // no menu
    t.push_back(0);  // the dialog class
    for (const wchar_t* c = caption; *c; ++c) t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.data()),
                                             nullptr, DialogProc, 0);
    CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 20, 20, 60, 24, dialog, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
    return dialog;
}

int ChildLeft(HWND dialog) {
    RECT r{};
    GetWindowRect(GetWindow(dialog, GW_CHILD), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

TEST_F(FormSkin, MessageDialogGrowsToItsCaptionAndKeepsItsControlsCentred) {
    HWND narrow = MakeDialog(L"A message dialog whose caption is much longer than the text it shows", 60);
    windows.push_back(narrow);
    RECT before{};
    GetClientRect(narrow, &before);
    TWinSkinForm* skin = Skinned(narrow);
    ASSERT_NE(skin, nullptr);
    RECT after{};
    GetClientRect(narrow, &after);
    EXPECT_GT(after.right, before.right + 100);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(ChildLeft(narrow), 20 + (after.right - before.right) / 2);
    // A skin change measures again and moves nothing twice.
    skin->Refresh();
    RECT again{};
    GetClientRect(narrow, &again);
    EXPECT_EQ(again.right, after.right);
    EXPECT_EQ(ChildLeft(narrow), 20 + (after.right - before.right) / 2);

    // A caption that fits leaves the dialog's width.
    HWND wide = MakeDialog(L"Short", 200);
    windows.push_back(wide);
    GetClientRect(wide, &before);
    ASSERT_NE(Skinned(wide), nullptr);
    GetClientRect(wide, &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(ChildLeft(wide), 20);
}

}  // namespace
}  // namespace srt

// Form skins on real windows: attaching, the skinned non-client area, the
// caption buttons, switching skinning off and on, closing, and leaks.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skin/form/winskinform.h"

namespace srt {
namespace {

std::vector<std::uint8_t> SkinBytes(const char* name) {
    std::ifstream in(std::string(SRT_SKIN_DIR) + "/" + name + ".skn", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The procedure under the skin: the default one, except that hit tests
// answer "nowhere" when asked to.
bool g_hitNowhere = false;
LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCHITTEST && g_hitNowhere) return HTNOWHERE;
    return DefWindowProcW(w, msg, wp, lp);
}

const wchar_t* PlainClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinTestWindow";
        wc.style = CS_DBLCLKS;
        RegisterClassW(&wc);
        wc.lpszClassName = L"TApplication";
        RegisterClassW(&wc);
        return L"SkinTestWindow";
    }();
    return name;
}

class FormSkin : public ::testing::Test {
protected:
    void SetUp() override {
        PlainClass();
        ASSERT_TRUE(data.LoadFromBytes(SkinBytes("default")));
        manager.AddSkinData(&data);
        manager.SetActive(true);
        UseFormSkins(manager);
    }
    void TearDown() override {
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        Pump();
    }
    HWND Make(DWORD style = WS_OVERLAPPEDWINDOW, int w = 400, int h = 300, const wchar_t* cls = nullptr) {
        HWND window = CreateWindowExW(0, cls ? cls : PlainClass(), L"Skinned window", style, 50, 50, w, h, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        windows.push_back(window);
        return window;
    }
    TWinSkinForm* Skin(HWND window) {
        return static_cast<TWinSkinForm*>(manager.FindFormSkin(reinterpret_cast<std::uintptr_t>(window)));
    }
    // Attaches a skin and lets WM_SKINSTART finish its start.
    TWinSkinForm* Skinned(HWND window) {
        EXPECT_TRUE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(window)));
        Pump();
        return Skin(window);
    }
    void Tick(TManagerAction action) {
        manager.NoteActivation();
        manager.SetActionSource(&data);
        manager.RequestAction(action, 250);
        EXPECT_TRUE(manager.TimerTick());
        Pump();
    }

    ::TSkinData data{nullptr};
    TSkinManage manager;
    std::vector<HWND> windows;
};

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

TEST_F(FormSkin, HitTestTopPixelsKeepTheOldAnswerBelowIsCaption) {
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
    EXPECT_EQ(hit(skin->Metrics().TitleHeight), HTCAPTION);
    EXPECT_EQ(hit(skin->Metrics().TitleHeight + 1), HTMENU);
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

}  // namespace
}  // namespace srt

// A popup menu's life with the skin's hook installed: the owner's menu-loop
// messages, and the "#32768" window's messages as the popup skin receives
// them ("sent": the skin is the window's top procedure from its creation)
// and as it passes them on ("below": a subclass put under the skin as the
// window is created).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "skin/form/winskinform.h"
#include "skin/menu/skinpopup.h"
#include "skin/thunk/wndthunk.h"
#include "tests/menu/menudriver.h"
#include "tests/msgseq/above.h"
#include "tests/support/msgrecorder.h"
#include "tests/support/managedskin.h"
#include "tests/support/skinfile.h"
#include "tests/support/testclass.h"

namespace srt {
namespace {

using namespace msgseq;

LRESULT CALLBACK OwnerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    TRecorder::Log("proc", w, msg, wp, lp);
    return DefWindowProcW(w, msg, wp, lp);
}

// Subclasses every "#32768" window as it is created, before the skin's hook
// (installed earlier, so called later) attaches the skin on top.
struct TBelow {
    static std::map<HWND, WNDPROC>& Next() {
        static std::map<HWND, WNDPROC> next;
        return next;
    }
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        TRecorder::Log("below", w, msg, wp, lp);
        return CallWindowProcW(Next()[w], w, msg, wp, lp);
    }
    static LRESULT CALLBACK Cbt(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_CREATEWND) {
            HWND w = reinterpret_cast<HWND>(wp);
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            if (std::wstring(name) == L"#32768")
                Next()[w] = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};

class PopupSeq : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(skin.Start());
        data = skin.data.get();
        manager = skin.manager;
        below = SetWindowsHookExW(WH_CBT, TBelow::Cbt, nullptr, GetCurrentThreadId());
        owner = CreateWindowExW(0, TestWindowClass(L"PopupSeqOwner", OwnerProc, 0), L"Owner", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(owner, SW_SHOW);
        SetForegroundWindow(owner);
        PumpAll();
        // Skinned now rather than at some activation during the menu loop.
        manager->SkinWindow(reinterpret_cast<std::uintptr_t>(owner));
        PumpAll();
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 101, L"&Open");
        AppendMenuW(menu, MF_STRING, 102, L"E&xit");
        recorder.Watch(owner);
        recorder.WatchClass(L"#32768");
        recorder.Name(kWmSkinQuery, "kWmSkinQuery");
        recorder.Name(MN_GETHMENU, "MN_GETHMENU");
    }
    void TearDown() override {
        UnhookWindowsHookEx(below);
        DestroyMenu(menu);
        DestroyWindow(owner);
        PumpAll();
        skin.data.reset();
    }
    // Opens the menu, runs `step` while it is open, and records it all. The
    // popup's thunk is back in the pool afterwards.
    void Track(std::function<bool(int)> step) {
        const std::size_t thunks = ThunkPoolStats().used;
        TMenuDriver driver(std::move(step));
        recorder.Start();
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN, 100, 100, 0, owner, nullptr);
        PumpAll();
        recorder.Stop();
        EXPECT_EQ(ThunkPoolStats().used, thunks);
    }
    std::vector<TSeen> Only(std::initializer_list<UINT> msgs, const char* where) const {
        std::vector<TSeen> out;
        for (const TSeen& s : recorder.Log())
            if (s.where == where && std::find(msgs.begin(), msgs.end(), s.msg) != msgs.end()) out.push_back(s);
        return out;
    }

    TManagedSkin skin;
    ::TSkinData* data = nullptr;
    TSkinManage* manager = nullptr;
    HWND owner = nullptr;
    HMENU menu = nullptr;
    HHOOK below = nullptr;
    TRecorder recorder;
};

constexpr const char* kProc = "proc";
constexpr const char* kBelow = "below";

// The owner's menu loop. Windows brackets the same messages; it may send
// WM_ENTERIDLE and the themed menu messages between them (not recorded).
const std::vector<TExpect> kOwnerLoop = {
    {kSent, WM_ENTERMENULOOP, kWParam, TRUE}, {kProc, WM_ENTERMENULOOP, kWParam, TRUE},
    {kSent, WM_INITMENU}, {kProc, WM_INITMENU},
    {kSent, WM_INITMENUPOPUP, kLParam, 0, 0}, {kProc, WM_INITMENUPOPUP, kLParam, 0, 0},
    {kSent, WM_UNINITMENUPOPUP}, {kProc, WM_UNINITMENUPOPUP},
    {kSent, WM_MENUSELECT, kWParam | kLParam, 0xFFFF0000, 0}, {kProc, WM_MENUSELECT, kWParam | kLParam, 0xFFFF0000, 0},
    {kSent, WM_EXITMENULOOP, kWParam, TRUE}, {kProc, WM_EXITMENULOOP, kWParam, TRUE},
};

// The popup window from creation to destruction as the skin receives it and
// passes it on: the skin is asked before it attaches, keeps WM_NCPAINT (it
// paints the frame, asking the menu window once which menu it shows) and
// paints its border after the menu's own WM_PAINT.
// Wine creates the window per showing and paints it with UpdateWindow;
// Windows may keep the window between showings and animate it through
// WM_PRINT, which the skin also answers.
std::vector<TExpect> PopupLife(const char* above) {
    std::vector<TExpect> rows = {
        {kSent, kWmSkinQuery}, {kBelow, kWmSkinQuery},
        {kSent, WM_NCCREATE}, {kBelow, WM_NCCREATE},
        {kSent, WM_NCCALCSIZE, kWParam, FALSE}, {kBelow, WM_NCCALCSIZE, kWParam, FALSE},
        {kSent, WM_CREATE}, {kBelow, WM_CREATE},
        {kSent, WM_SIZE, kOptional}, {kBelow, WM_SIZE, kOptional},
        {kSent, WM_MOVE, kOptional}, {kBelow, WM_MOVE, kOptional},
        {kSent, WM_WINDOWPOSCHANGING}, {kBelow, WM_WINDOWPOSCHANGING},
        {kSent, WM_NCCALCSIZE, kWParam, TRUE}, {kBelow, WM_NCCALCSIZE, kWParam, TRUE},
        {kSent, WM_NCPAINT}, {kBelow, MN_GETHMENU},
        {kSent, WM_ERASEBKGND}, {kBelow, WM_ERASEBKGND},
        {kSent, WM_WINDOWPOSCHANGED}, {kBelow, WM_WINDOWPOSCHANGED},
        {kSent, WM_MOVE, kOptional}, {kBelow, WM_MOVE, kOptional},
        {kSent, WM_SIZE, kOptional}, {kBelow, WM_SIZE, kOptional},
        {kSent, WM_PAINT}, {kBelow, WM_PAINT},
    };
    // From here on a foreign subclass may sit on top.
    for (UINT msg : {WM_CAPTURECHANGED, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_DESTROY, WM_NCDESTROY}) {
        const unsigned optional = msg == WM_CAPTURECHANGED ? unsigned{kOptional} : 0u;
        rows.push_back({kSent, msg, optional});
        if (above) rows.push_back({above, msg, optional});
        rows.push_back({kBelow, msg, optional});
    }
    return rows;
}

TEST_F(PopupSeq, APopupsLifeWithItsSkin) {
    HWND popup = nullptr;
    Track([&](int tick) {
        if (!popup) popup = OpenPopupWindow();
        return tick < 4;
    });
    ASSERT_NE(popup, nullptr);
    std::vector<TSeen> loop;
    for (const TSeen& s : recorder.Of(owner))
        if (s.msg == WM_ENTERMENULOOP || s.msg == WM_INITMENU || s.msg == WM_INITMENUPOPUP ||
            s.msg == WM_UNINITMENUPOPUP || s.msg == WM_MENUSELECT || s.msg == WM_EXITMENULOOP)
            loop.push_back(s);
    EXPECT_TRUE(recorder.Matches(loop, kOwnerLoop));
    EXPECT_TRUE(recorder.Matches(recorder.Of(popup), PopupLife(nullptr)));
    EXPECT_EQ(manager->PopupCount(), 0u);
}

// The skin lets go of the popup (at HCBT_DESTROYWND, before WM_DESTROY)
// while a foreign subclass sits on top: that subclass's chain stays whole
// and every procedure sees the destruction once. The skin object is freed
// by then; only its thunk remains, passing messages on.
TEST_F(PopupSeq, SkinLetsGoUnderAForeignSubclass) {
    HWND popup = nullptr;
    std::unique_ptr<TAbove> above;
    Track([&](int tick) {
        if (!popup && (popup = OpenPopupWindow())) above = std::make_unique<TAbove>(popup);
        return tick < 4;
    });
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(recorder.Matches(recorder.Of(popup), PopupLife("above")));
    EXPECT_EQ(manager->PopupCount(), 0u);
}

}  // namespace
}  // namespace srt

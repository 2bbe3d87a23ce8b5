// The caption buttons clicked with real mouse input (SendInput): maximise,
// restore, minimise and close do what they say, and the procedure below the
// skin never sees a caption-button hit code, so the platform never tracks
// or paints a button of its own. Runs at the prefix's DPI (96, and 192 by
// its second registration), DPI-aware through the programs' manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "component/dpi.h"
#include "tests/form/formskin_fixture.h"
#include "tests/keys/keyinput.h"

namespace srt {
namespace {

using namespace formtest;

// What reached the window's own procedure, under the skin.
struct TBelow {
    UINT msg;
    WPARAM wParam;
};
std::vector<TBelow> g_below;

bool IsNcMouse(UINT msg) {
    return (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) || (msg >= WM_NCXBUTTONDOWN && msg <= WM_NCXBUTTONDBLCLK) ||
           msg == WM_NCMOUSEHOVER;
}

LRESULT CALLBACK BelowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (IsNcMouse(msg) || msg == WM_SYSCOMMAND) g_below.push_back({msg, wp});
    return DefWindowProcW(w, msg, wp, lp);
}

const wchar_t* BelowClass() { return TestWindowClass(L"CaptionClickBelow", BelowProc); }

// Waits, pumping, until `done` holds (three seconds at most).
template <class Done>
bool PumpUntil(Done done) {
    for (int i = 0; i < 60 && !done(); ++i) {
        Sleep(50);
        Pump();
    }
    return done();
}

class CaptionClick : public FormSkin {
protected:
    void SetUp() override {
        FormSkin::SetUp();
        g_below.clear();
    }
    // The screen point at the middle of the visible button of `action`.
    POINT ButtonCentre(HWND w, TWinSkinForm& skin, int action) {
        RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        RECT wr{};
        GetWindowRect(w, &wr);
        for (std::size_t i = 0; i < skin.Buttons().Count(); ++i) {
            const TWinSysButton& b = skin.Buttons()[i];
            if (b.FVisible && b.FRecord->Action == action)
                return {wr.left + (b.FBounds.Left + b.FBounds.Right) / 2, wr.top + (b.FBounds.Top + b.FBounds.Bottom) / 2};
        }
        ADD_FAILURE() << "no visible button with action " << action;
        return {};
    }
    void Click(HWND w, POINT at) {
        SetForegroundWindow(w);
        // The pointer is put there first: a move and a press in one input
        // may reach the window before the move has taken effect.
        for (int i = 0; i < 20; ++i) {
            SetCursorPos(at.x, at.y);
            Sleep(50);
            Pump();
            POINT now{};
            GetCursorPos(&now);
            if (now.x == at.x && now.y == at.y) break;
        }
        keytest::ClickAt(at);
        // Apart by more than the double-click time.
        Sleep(GetDoubleClickTime() + 100);
    }
    // No hit code of a caption button reached the procedure below.
    void ExpectNoButtonCodeBelow() {
        for (const TBelow& b : g_below) {
            if (IsNcMouse(b.msg)) {
                EXPECT_FALSE(IsCaptionButtonCode(LOWORD(b.wParam))) << std::hex << b.msg << " " << b.wParam;
            }
        }
    }
};

TEST_F(CaptionClick, MaximiseRestoreMinimiseAndCloseWithTheMouse) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, ScaleToDpi(400, SystemDpi()), ScaleToDpi(300, SystemDpi()), BelowClass());
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->Dpi(), SystemDpi());

    // The button under the mouse answers its code: the hit test the
    // platform asks before each mouse message.
    const POINT maximise = ButtonCentre(w, *skin, 1);
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(maximise.x, maximise.y)), HTMAXBUTTON);
    Click(w, maximise);
    EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w) != FALSE; }));

    Click(w, ButtonCentre(w, *skin, 1));
    EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(w); }));

    Click(w, ButtonCentre(w, *skin, 2));
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(w) != FALSE; }));
    ShowWindow(w, SW_RESTORE);
    Pump();
    ASSERT_FALSE(IsIconic(w));

    Click(w, ButtonCentre(w, *skin, 0));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));

    // Each click came through as the skin's own command; the platform
    // never ran a button of its own (it would send SC_CLOSE on close).
    ExpectNoButtonCodeBelow();
    std::vector<WPARAM> commands;
    for (const TBelow& b : g_below)
        if (b.msg == WM_SYSCOMMAND) commands.push_back(b.wParam & 0xFFF0);
    EXPECT_EQ(commands, (std::vector<WPARAM>{SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE}));
}

// Messages that carry a button's code but that the skin leaves to the
// procedure below reach it as the caption, as they did before the buttons
// had codes; a press whose button the layout no longer has is dropped.
TEST_F(CaptionClick, ButtonCodesNeverReachTheProcedureBelow) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300, BelowClass());
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    SetForegroundWindow(w);
    Pump();
    RECT wr{};
    GetWindowRect(w, &wr);
    // A point of the client area: no button there.
    const LPARAM inside = MAKELPARAM((wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2);
    g_below.clear();
    for (const UINT msg : {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK}) SendMessageW(w, msg, HTCLOSE, inside);
    EXPECT_TRUE(g_below.empty());
    SendMessageW(w, WM_NCMOUSEMOVE, HTSYSMENU, inside);
    ExpectNoButtonCodeBelow();
    for (const UINT msg : {WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP}) {
        g_below.clear();
        SendMessageW(w, msg, HTMAXBUTTON, inside);
        ASSERT_EQ(g_below.size(), 1u);
        EXPECT_EQ(g_below[0].wParam, static_cast<WPARAM>(HTCAPTION));
    }
    g_below.clear();
    SendMessageW(w, WM_NCXBUTTONUP, MAKEWPARAM(HTMINBUTTON, XBUTTON2), inside);
    ASSERT_EQ(g_below.size(), 1u);
    EXPECT_EQ(g_below[0].wParam, MAKEWPARAM(HTCAPTION, XBUTTON2));
    // Other codes pass as they are.
    g_below.clear();
    SendMessageW(w, WM_NCMBUTTONUP, HTBORDER, inside);
    ASSERT_EQ(g_below.size(), 1u);
    EXPECT_EQ(g_below[0].wParam, static_cast<WPARAM>(HTBORDER));
}

}  // namespace
}  // namespace srt

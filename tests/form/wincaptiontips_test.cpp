// Caption-button tooltips (one tool per button, its rectangle the button's
// hit-test rectangle, its name from the system menu, following size and
// show state) and the UI state a skinned window starts with.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "formskin_fixture.h"

namespace srt {
namespace {

using namespace formtest;

struct TTool {
    RECT rect;
    std::wstring text;
};

// The tools the tooltip window holds, as it reports them.
std::vector<TTool> ToolsOf(HWND tip) {
    std::vector<TTool> tools;
    const auto count = static_cast<UINT>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (UINT i = 0; i < count; ++i) {
        wchar_t text[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.lpszText = text;
        if (SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool))) tools.push_back({tool.rect, text});
    }
    return tools;
}

// Every tool's rectangle, in window coordinates, is a caption button's
// bounds, and hit testing at its corners finds that button.
void ExpectToolsOnButtons(HWND w, TWinSkinForm& skin) {
    const HWND tip = skin.Tips().Handle();
    ASSERT_NE(tip, nullptr);
    const POINT origin = TCaptionTips::ClientOrigin(w);
    RECT wr{};
    GetWindowRect(w, &wr);
    const std::vector<TTool> tools = ToolsOf(tip);
    int named = 0;
    for (std::size_t i = 0; i < skin.Buttons().Count(); ++i) {
        const TWinSysButton& b = skin.Buttons()[i];
        if (b.FVisible && CaptionButtonName(b.FRecord->Action, skin.ShowState()).sysCommand) ++named;
    }
    ASSERT_EQ(static_cast<int>(tools.size()), named);
    ASSERT_GE(named, 3);
    for (const TTool& t : tools) {
        const TSkinRect bounds{t.rect.left + origin.x, t.rect.top + origin.y, t.rect.right + origin.x,
                               t.rect.bottom + origin.y};
        const TWinSysButton* hit = skin.Buttons().Hit(bounds.Left, bounds.Top);
        ASSERT_NE(hit, nullptr) << "no button at a tool's corner";
        EXPECT_EQ(hit->FBounds, bounds);
        EXPECT_EQ(hit, skin.Buttons().Hit(bounds.Right - 1, bounds.Bottom - 1));
        // The same answer from the window's own hit test at the tool's centre.
        const POINT centre{wr.left + (bounds.Left + bounds.Right) / 2, wr.top + (bounds.Top + bounds.Bottom) / 2};
        EXPECT_NE(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCLIENT);
    }
}

std::vector<std::wstring> Texts(HWND tip) {
    std::vector<std::wstring> texts;
    for (const TTool& t : ToolsOf(tip)) texts.push_back(t.text);
    return texts;
}

// The platform's name of a system command, as the tooltips show it.
std::wstring PlatformName(HWND w, UINT command) {
    wchar_t text[80] = {};
    GetMenuStringW(GetSystemMenu(w, FALSE), command, text, 80, MF_BYCOMMAND);
    std::wstring name;
    for (const wchar_t* c = text; *c && *c != L'\t'; ++c)
        if (*c != L'&') name += *c;
    return name;
}

TEST_F(FormSkin, CaptionButtonTooltipsLieOnTheButtonsAndFollowTheFrame) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_NO_FATAL_FAILURE(ExpectToolsOnButtons(w, *skin));
    const std::vector<std::wstring> normal = Texts(skin->Tips().Handle());
    EXPECT_EQ(normal, (std::vector<std::wstring>{PlatformName(w, SC_CLOSE), PlatformName(w, SC_MAXIMIZE),
                                                  PlatformName(w, SC_MINIMIZE)}));
    EXPECT_FALSE(PlatformName(w, SC_CLOSE).empty());

    // Wider: the right-anchored buttons move, and their tools with them.
    const TSkinRect closeBefore = skin->Tips().Tips().front().bounds;
    SetWindowPos(w, nullptr, 0, 0, 520, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(skin->Tips().Tips().front().bounds.Left, closeBefore.Left + 120);
    ASSERT_NO_FATAL_FAILURE(ExpectToolsOnButtons(w, *skin));

    // Maximised, the maximise button restores and says so.
    ShowWindow(w, SW_MAXIMIZE);
    Pump();
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<std::wstring> maximised = Texts(skin->Tips().Handle());
    EXPECT_NE(std::find(maximised.begin(), maximised.end(), PlatformName(w, SC_RESTORE)), maximised.end());
    ASSERT_NO_FATAL_FAILURE(ExpectToolsOnButtons(w, *skin));
}

// An application names the commands by naming the system menu's items.
TEST_F(FormSkin, CaptionButtonTooltipsTakeTheSystemMenusNames) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300);
    ModifyMenuW(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, L"关闭(&C)\tAlt+F4");
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(skin->Tips().Tips().empty());
    EXPECT_EQ(skin->Tips().Tips().front().text, L"关闭(C)");
    const HWND tip = skin->Tips().Handle();
    EXPECT_TRUE(IsWindow(tip));
    EXPECT_EQ(GetWindow(tip, GW_OWNER), w);
    DestroyWindow(w);
    EXPECT_FALSE(IsWindow(tip));
}

// The mouse resting on the close button shows its tooltip, with its name.
TEST_F(FormSkin, CaptionButtonTooltipShowsWhenTheMouseRests) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    SetForegroundWindow(w);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    ASSERT_FALSE(skin->Tips().Tips().empty());
    const TSkinRect close = skin->Tips().Tips().front().bounds;
    RECT wr{};
    GetWindowRect(w, &wr);
    const POINT at{wr.left + (close.Left + close.Right) / 2, wr.top + (close.Top + close.Bottom) / 2};
    const HWND tip = skin->Tips().Handle();
    // One move, then the mouse rests: each move starts the delay again.
    SetCursorPos(at.x, at.y);
    SendMessageW(w, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(at.x, at.y));
    for (int i = 0; i < 60 && !IsWindowVisible(tip); ++i) {
        Sleep(50);
        Pump();
    }
    EXPECT_TRUE(IsWindowVisible(tip));
    wchar_t text[80] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.lpszText = text;
    EXPECT_TRUE(SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(std::wstring(text), PlatformName(w, SC_CLOSE));
    SetCursorPos(1000, 700);
}

// A window starts with focus cues hidden; Tab through the dialog manager
// shows them, and every control hears of each change.
std::vector<UINT> g_updates;
LRESULT CALLBACK CountUpdates(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_UPDATEUISTATE) g_updates.push_back(static_cast<UINT>(wp));
    return DefWindowProcW(h, msg, wp, lp);
}

TEST_F(FormSkin, FocusCuesStartHiddenAndTabShowsThem) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300);
    auto button = [&](const wchar_t* text, int x) {
        return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, 10, 80, 24, w, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    HWND one = button(L"One", 10), two = button(L"Two", 100);
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 200, 10, 20, 20, w, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(probe, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountUpdates));
    ASSERT_NE(Skinned(w), nullptr);
    g_updates.clear();
    EXPECT_TRUE(SendMessageW(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    SetFocus(one);
    // Tab as a message loop takes it: from the queue, then to the dialog manager.
    PostMessageW(one, WM_KEYDOWN, VK_TAB, 0x000F0001);
    MSG tab{};
    ASSERT_TRUE(PeekMessageW(&tab, one, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_TRUE(IsDialogMessageW(w, &tab));
    EXPECT_EQ(GetFocus(), two);
    EXPECT_FALSE(SendMessageW(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    ASSERT_EQ(g_updates.size(), 1u);
    EXPECT_EQ(g_updates[0], MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
    // Clearing again changes nothing and tells nobody; hiding tells them.
    SendMessageW(w, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_EQ(g_updates.size(), 1u);
    SendMessageW(w, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(SendMessageW(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    EXPECT_EQ(g_updates.size(), 2u);
    // The Alt key on a control shows them too.
    PostMessageW(two, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    MSG alt{};
    ASSERT_TRUE(PeekMessageW(&alt, two, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE));
    EXPECT_FALSE(SendMessageW(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

}  // namespace
}  // namespace srt

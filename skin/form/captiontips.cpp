#include "skin/form/captiontips.h"

#include <commctrl.h>

#include "component/wstr.h"

namespace srt {
namespace {

// A system menu item's text as a name: "Mi&nimize\tAlt+F9" is "Minimize".
std::wstring MenuName(HMENU menu, unsigned command) {
    if (!menu) return {};
    wchar_t text[128] = {};
    if (GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND) <= 0) return {};
    std::wstring name;
    for (const wchar_t* c = text; *c && *c != L'\t'; ++c) {
        if (*c == L'&') {
            if (c[1] != L'&') continue;
            ++c;
        }
        name += *c;
    }
    return name;
}

TOOLINFOW Tool(HWND window, UINT id) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = window;
    tool.uId = id;
    return tool;
}

}  // namespace

std::vector<TCaptionTip> CaptionTipsFor(const TCaptionButtons& buttons, TShowState show, HMENU sysMenu) {
    std::vector<TCaptionTip> tips;
    for (std::size_t i = 0; i < buttons.Count(); ++i) {
        const TWinSysButton& b = buttons[i];
        if (!b.FVisible || b.FRecord->Action < 0 || b.FRecord->Image.Empty()) continue;
        const TCaptionName name = CaptionButtonName(b.FRecord->Action, show);
        if (!name.sysCommand) continue;
        std::wstring text = MenuName(sysMenu, name.sysCommand);
        if (text.empty()) text = Widen(name.fallback);
        tips.push_back({b.FBounds, std::move(text)});
    }
    return tips;
}

POINT TCaptionTips::ClientOrigin(HWND window) {
    RECT w{};
    POINT client{0, 0};
    if (!GetWindowRect(window, &w) || !ClientToScreen(window, &client)) return {};
    return {client.x - w.left, client.y - w.top};
}

void TCaptionTips::Update(HWND window, std::vector<TCaptionTip> tips) {
    if (tips == tips_ && (tip_ || tips.empty())) return SetRects(window);
    if (!tip_ && !tips.empty()) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
        tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                               0, 0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    if (!tip_) return;
    for (UINT id = 0; id < tips_.size(); ++id) {
        TOOLINFOW tool = Tool(window, id);
        SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    tips_ = std::move(tips);
    origin_ = ClientOrigin(window);
    for (UINT id = 0; id < tips_.size(); ++id) {
        TOOLINFOW tool = Tool(window, id);
        const TSkinRect& b = tips_[id].bounds;
        tool.rect = {b.Left - origin_.x, b.Top - origin_.y, b.Right - origin_.x, b.Bottom - origin_.y};
        tool.lpszText = tips_[id].text.data();
        SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The client area moves within the window when the frame changes (a menu
// bar, a maximised frame): the rectangles follow it.
void TCaptionTips::SetRects(HWND window) {
    const POINT origin = ClientOrigin(window);
    if (!tip_ || (origin.x == origin_.x && origin.y == origin_.y)) return;
    origin_ = origin;
    for (UINT id = 0; id < tips_.size(); ++id) {
        TOOLINFOW tool = Tool(window, id);
        const TSkinRect& b = tips_[id].bounds;
        tool.rect = {b.Left - origin_.x, b.Top - origin_.y, b.Right - origin_.x, b.Bottom - origin_.y};
        SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TCaptionTips::Relay(HWND window, UINT msg, POINT screen) {
    if (!tip_) return;
    SetRects(window);
    POINT p = screen;
    ScreenToClient(window, &p);
    MSG relayed{};
    relayed.hwnd = window;
    relayed.message = msg == WM_NCMOUSEMOVE ? WM_MOUSEMOVE : WM_LBUTTONDOWN;
    relayed.lParam = MAKELPARAM(p.x, p.y);
    relayed.time = GetMessageTime();
    relayed.pt = screen;
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TCaptionTips::Destroy() {
    // The tooltip is owned by the window: it is gone when the window is.
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
    tip_ = nullptr;
    tips_.clear();
}

}  // namespace srt

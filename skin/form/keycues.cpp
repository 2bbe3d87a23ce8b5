#include "skin/form/keycues.h"

#include <windows.h>

#include "skin/manager/skintypes.h"

namespace srt {
namespace {

struct TKeyCueHook {
    HHOOK hook = nullptr;
    int users = 0;
};
thread_local TKeyCueHook t_keyCues;

bool ShowsCues(const MSG& msg) {
    if (msg.message == WM_KEYDOWN) return msg.wParam == VK_TAB;
    if (msg.message == WM_SYSKEYDOWN) return msg.wParam == VK_MENU;
    return false;
}

LRESULT CALLBACK KeyCueHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        HWND root = msg.hwnd && ShowsCues(msg) ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && SendMessageW(root, kWmSkinQuery, 0, 0) == 1)
            SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    return CallNextHookEx(t_keyCues.hook, code, wParam, lParam);
}

}  // namespace

void TKeyCueRoute::Start() {
    if (FStarted) return;
    FStarted = true;
    if (t_keyCues.users++ == 0)
        t_keyCues.hook = SetWindowsHookExW(WH_GETMESSAGE, KeyCueHook, nullptr, GetCurrentThreadId());
}

void TKeyCueRoute::Stop() {
    if (!FStarted) return;
    FStarted = false;
    if (--t_keyCues.users == 0 && t_keyCues.hook) {
        UnhookWindowsHookEx(t_keyCues.hook);
        t_keyCues.hook = nullptr;
    }
}

}  // namespace srt

#include "skin/form/keymenu.h"

#include <windows.h>

#include "skin/manager/skintypes.h"

namespace srt {
namespace {

// One hook per thread: hooks have no context of their own, and a thread's
// windows share its keyboard focus.
struct TKeyMenuHook {
    HHOOK hook = nullptr;
    int users = 0;
    bool handling = false;  // a key command is on its way to a window
};
thread_local TKeyMenuHook t_keyMenu;

LRESULT CALLBACK KeyMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU && !t_keyMenu.handling) {
        // The keyboard's command runs on the focused window; a focused
        // control's is handed to its skinned top-level window.
        HWND focus = GetFocus();
        HWND root = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
        if (root && root != focus && SendMessageW(root, kWmSkinQuery, 0, 0) == 1) {
            t_keyMenu.handling = true;
            SendMessageW(root, WM_SYSCOMMAND, wParam, lParam);
            t_keyMenu.handling = false;
            return 1;  // not carried out on the control
        }
    }
    return CallNextHookEx(t_keyMenu.hook, code, wParam, lParam);
}

}  // namespace

void TKeyMenuRoute::Start() {
    if (FStarted) return;
    FStarted = true;
    if (t_keyMenu.users++ == 0)
        t_keyMenu.hook = SetWindowsHookExW(WH_CBT, KeyMenuHook, nullptr, GetCurrentThreadId());
}

void TKeyMenuRoute::Stop() {
    if (!FStarted) return;
    FStarted = false;
    if (--t_keyMenu.users == 0 && t_keyMenu.hook) {
        UnhookWindowsHookEx(t_keyMenu.hook);
        t_keyMenu.hook = nullptr;
    }
}

TKeyMenuScope::TKeyMenuScope() : FOuter(t_keyMenu.handling) { t_keyMenu.handling = true; }

TKeyMenuScope::~TKeyMenuScope() { t_keyMenu.handling = FOuter; }

}  // namespace srt

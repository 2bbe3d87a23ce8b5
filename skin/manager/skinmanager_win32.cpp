// The window side of the manager: the deferred-action timer and the
// thread-local CBT hook of the GUI thread.
#include <windows.h>

#include "skin/manager/skinmanager.h"

namespace srt {
namespace {

void CALLBACK ActionTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (SkinManager) SkinManager->TimerTick();
}

HHOOK g_hook = nullptr;  // the one CBT hook; the callback has no context argument

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && code == HCBT_ACTIVATE && SkinManager) {
        SkinManager->NoteActivation();
        SkinManager->SkinWindow(static_cast<std::uintptr_t>(wParam));
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

void TSkinManage::ArmTimer(bool enabled) {
    FTimerEnabled = enabled;
    if (FTimerId) {
        KillTimer(nullptr, FTimerId);
        FTimerId = 0;
    }
    if (enabled && FStarted != 4)
        FTimerId = SetTimer(nullptr, 0, FTimerInterval, ActionTimerProc);
}

void TSkinManage::InstallHook() {
    if (FHook) return;
    g_hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    FHook = reinterpret_cast<std::uintptr_t>(g_hook);
}

void TSkinManage::ReleaseHook() {
    if (!FHook) return;
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    FHook = 0;
}

// Form skins are attached once the form skin lands; until then every window
// keeps its own look.
bool TSkinManage::SkinWindow(std::uintptr_t) { return false; }
void TSkinManage::FreeFormCaches() {}

}  // namespace srt

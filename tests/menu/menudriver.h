// Driving menus on a real window: pumping messages and acting while a
// popup menu's own message loop runs.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace srt {

inline void PumpAll() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Runs `step` every 40 ms while a menu is open (the menu loop dispatches
// timers); `step` returns false to close the menu and stop.
struct TMenuDriver {
    static TMenuDriver*& Current() {
        static TMenuDriver* current = nullptr;
        return current;
    }
    explicit TMenuDriver(std::function<bool(int tick)> s) : step(std::move(s)) {
        Current() = this;
        id = SetTimer(nullptr, 0, 40, Tick);
    }
    ~TMenuDriver() {
        KillTimer(nullptr, id);
        Current() = nullptr;
    }
    TMenuDriver(const TMenuDriver&) = delete;
    TMenuDriver& operator=(const TMenuDriver&) = delete;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TMenuDriver* d = Current();
        if (!d || d->done) return;
        if (++d->ticks > 60 || !d->step(d->ticks)) {
            d->done = true;
            EndMenu();
        }
    }
    std::function<bool(int)> step;
    UINT_PTR id = 0;
    int ticks = 0;
    bool done = false;
};

// The visible popup menu window, if any.
inline HWND OpenPopupWindow() {
    for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

}  // namespace srt

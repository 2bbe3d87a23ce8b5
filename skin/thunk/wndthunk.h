// A window-procedure thunk: a few bytes of machine code, made per window
// and object, that call the object's procedure with the object in place of
// the window handle. Form, popup-menu and control skins all subclass
// through it, and all its code lives in one pool of executable pages.
//
// Putting the previous procedure back happens only while the thunk is
// still the window's procedure. When someone has subclassed on top of it,
// the thunk stays in the chain after Detach and passes every message on to
// the previous procedure, once, until the window's WM_NCDESTROY has gone
// through it; then its slot is reused. The object is never called after
// Detach, so it may be freed at once. Win32, GUI thread only.
#pragma once

#include <windows.h>

#include <cstddef>

namespace srt {

class TWndThunk {
public:
    // The object's procedure: `target` is the object given to Attach.
    using TTargetProc = LRESULT (*)(void* target, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    TWndThunk() = default;
    ~TWndThunk() { Detach(); }
    TWndThunk(const TWndThunk&) = delete;
    TWndThunk& operator=(const TWndThunk&) = delete;

    // Replaces the window's procedure; false when already attached, the
    // window is gone or no executable memory is left.
    bool Attach(HWND window, void* target, TTargetProc proc);
    // Puts the previous procedure back when ours is still current, else
    // leaves the thunk passing messages on. The object is never called again.
    void Detach();
    bool Attached() const { return route_ != nullptr; }
    // Whether the window's procedure is this thunk.
    bool Current() const;
    HWND Window() const;

    // The previous procedure with the message.
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;
    WNDPROC Previous() const;

    struct TRoute;  // the thunk's code and data, in executable memory

private:
    TRoute* route_ = nullptr;
};

// The executable pages all thunks share: how many there are, and how many
// of their slots hold a thunk (attached, or left in someone's chain).
struct TThunkPoolStats {
    std::size_t pages = 0;
    std::size_t slotsPerPage = 0;
    std::size_t used = 0;
};
TThunkPoolStats ThunkPoolStats();
// Whether `code` is a slot of the pool.
bool ThunkPoolOwns(const void* code);

}  // namespace srt

// A window-procedure thunk per skin object: a few bytes of machine code
// that call the object's procedure with the object in place of the window
// handle. Putting the previous procedure back happens only while the thunk
// is still the window's procedure; when someone has subclassed on top of
// it, the thunk stays in the chain and passes every message on to the
// previous procedure until the window is destroyed.
#pragma once

#include <windows.h>

namespace srt {

class TWndThunk {
public:
    // The object's procedure: `target` is the object given to Attach.
    using TTargetProc = LRESULT (*)(void* target, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    TWndThunk() = default;
    ~TWndThunk() { Detach(); }
    TWndThunk(const TWndThunk&) = delete;
    TWndThunk& operator=(const TWndThunk&) = delete;

    // Replaces the window's procedure; false when already attached or the
    // window is gone.
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

}  // namespace srt

// A foreign subclass for the message-sequence tests.
#pragma once

#include <windows.h>

#include <map>

#include "tests/support/msgrecorder.h"

namespace srt::msgseq {

inline WNDPROC ProcOf(HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)); }

// A foreign subclass on top: logs "above" and calls the procedure it
// replaced. With `leaveOn` set, it takes itself out when that message
// arrives, before passing it on.
struct TAbove {
    static TAbove*& Of(HWND w) {
        static std::map<HWND, TAbove*> all;
        return all[w];
    }
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        TAbove* self = Of(w);
        TRecorder::Log("above", w, msg, wp, lp);
        const WNDPROC next = self->next;
        if (msg == self->leaveOn && self->on) self->Remove();
        return CallWindowProcW(next, w, msg, wp, lp);
    }
    explicit TAbove(HWND w) : window(w) {
        Of(w) = this;
        next = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        on = true;
    }
    void Remove() {
        if (on && ProcOf(window) == &Proc) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        on = false;
    }
    HWND window;
    WNDPROC next = nullptr;
    UINT leaveOn = 0;
    bool on = false;
};

}  // namespace srt::msgseq

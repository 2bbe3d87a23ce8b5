// A window procedure per object: a few bytes of executable code that call
// `entry` with a record pointer in place of the window handle. The record
// keeps the window, its previous procedure and the object, so the thunk can
// outlive its object: when the object goes while someone else's procedure
// sits on top of ours (the thunk cannot be taken out of the chain), the
// object is cleared and the thunk only passes messages on.
#pragma once

#include <windows.h>

namespace srt {

class TSubclassThunk {
public:
    struct TRecord {
        void* object = nullptr;
        HWND window = nullptr;
        WNDPROC oldProc = nullptr;
    };
    // `entry` receives the TRecord* disguised as the HWND argument.
    using TEntry = LRESULT(CALLBACK*)(HWND record, UINT, WPARAM, LPARAM);

    TSubclassThunk(void* object, TEntry entry);
    ~TSubclassThunk();
    TSubclassThunk(const TSubclassThunk&) = delete;
    TSubclassThunk& operator=(const TSubclassThunk&) = delete;

    // Puts the thunk in `window`'s GWLP_WNDPROC; false when it fails.
    bool Subclass(HWND window);
    // Puts the previous procedure back while the thunk is still the current
    // one, or always when `windowGone` (after WM_NCDESTROY). Otherwise the
    // thunk stays in the chain, detached from its object, and is never freed.
    void Unsubclass(bool windowGone);
    bool Subclassed() const { return record_ && record_->window; }
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(code_); }
    const TRecord* Record() const { return record_; }

    // The object behind a record passed to the entry (null once detached).
    static void* Object(HWND record) { return reinterpret_cast<TRecord*>(record)->object; }
    // Passes a message on to the previous procedure of the record's window.
    static LRESULT CallOld(HWND record, UINT msg, WPARAM wparam, LPARAM lparam);

private:
    static LRESULT CALLBACK PassOn(HWND record, UINT msg, WPARAM wparam, LPARAM lparam);
    void Write(TEntry entry);
    TRecord* record_ = nullptr;
    unsigned char* code_ = nullptr;
};

}  // namespace srt

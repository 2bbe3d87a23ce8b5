// TWindowSkin: the one way a window's messages reach skin code, shared by
// form, control and popup-menu skins. A skin takes over a raw window (its
// procedure replaced through a thunk) or a control object (a method put in
// its WindowProc), or both. Every message it gets runs with the manager's
// dispatch scope open, so deferred actions wait until no skin procedure
// runs. Letting go puts the previous procedure or method back only while
// ours is current; otherwise ours stays in the chain and passes messages
// on. Win32, GUI thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "component/controls.h"
#include "skin/manager/skinmanager.h"
#include "skin/thunk/wndthunk.h"

namespace srt {

class TWindowSkin {
public:
    TWindowSkin(const TWindowSkin&) = delete;
    TWindowSkin& operator=(const TWindowSkin&) = delete;

protected:
    // `manager`: whose dispatch scope the messages open; null for the one
    // manager of the process, looked up per message.
    explicit TWindowSkin(TSkinManage* manager = nullptr) : FManager(manager) {}
    // Lets go of the window and the control.
    virtual ~TWindowSkin();

    // A message of the window, through the thunk. The default passes it on.
    virtual void WindowMessage(TMessage& m);
    // A message of the control object, through its WindowProc. The default
    // passes it on.
    virtual void MethodMessage(TMessage& m);

    // ---- the window's procedure
    // Puts the thunk in; false when attached already, or the window is gone.
    bool AttachWindow(HWND window);
    void DetachWindow();
    bool WindowAttached() const { return FThunk.Attached(); }
    // The window's procedure before ours; kept after letting go.
    WNDPROC PreviousProc() const { return FPreviousProc; }
    // The message to the previous procedure.
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

    // ---- the control object's method
    // Puts our method in the control's WindowProc, keeping the previous one.
    void AttachMethod(TControl* control);
    void DetachMethod();
    // Our method is still in a live control's WindowProc chain.
    bool MethodAlive() const;
    // The control object that held our method has been freed.
    bool MethodGone() const { return FLink && !MethodAlive(); }
    TControl* MethodControl() const { return FMethodControl; }
    // The message to the control's method before ours.
    void CallPreviousMethod(TMessage& m) const;
    bool HasPreviousMethod() const { return static_cast<bool>(FPreviousMethod); }

    // Frees the object now, or once the message being handled returns.
    // Only for an object made with new that nothing else frees.
    void DeleteWhenIdle();

private:
    struct TLink;
    struct TMethod;
    static LRESULT ThunkProc(void* self, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Both ways in: the dispatch scope, and freeing once nothing runs.
    template <class Handler>
    void Dispatch(TMessage& m, Handler handler);

    TSkinManage* FManager;
    TWndThunk FThunk;
    HWND FWindow = nullptr;
    WNDPROC FPreviousProc = nullptr;  // the one under the thunk, also once it has let go
    TControl* FMethodControl = nullptr;
    TWndMethod FPreviousMethod;
    std::shared_ptr<TLink> FLink;
    // Messages being handled, and a token that turns false when the object
    // is freed meanwhile (a manager that lets go of a popup as its window
    // goes). No pointer into a handler's stack is kept: a handler the
    // platform unwinds past leaves a count, never a stale address.
    int FDepth = 0;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    bool FFreePending = false;
};

}  // namespace srt

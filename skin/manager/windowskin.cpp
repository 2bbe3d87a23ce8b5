#include "skin/manager/windowskin.h"

namespace srt {

// The method put in a control object's WindowProc. It reaches the skin
// through a shared link, so a copy held by a later method on top of ours
// passes messages on after the skin has gone.
struct TWindowSkin::TLink {
    TWindowSkin* skin;
    TWndMethod previous;
};

struct TWindowSkin::TMethod {
    std::shared_ptr<TLink> link;

    void operator()(TMessage& m) const {
        // Putting the previous method back from inside destroys this functor: hold the link.
        std::shared_ptr<TLink> keep = link;
        if (TWindowSkin* skin = keep->skin)
            skin->Dispatch(m, [skin](TMessage& message) { skin->MethodMessage(message); });
        else if (keep->previous)
            keep->previous(m);
    }
};

TWindowSkin::~TWindowSkin() {
    *FAlive = false;
    DetachMethod();
    DetachWindow();
}

template <class Handler>
void TWindowSkin::Dispatch(TMessage& m, Handler handler) {
    const std::shared_ptr<bool> alive = FAlive;
    ++FDepth;
    {
        TSkinManage::TDispatchScope scope(FManager ? FManager : TheSkinManager());
        try {
            handler(m);
        } catch (...) {
            // Nothing may unwind into the platform's message dispatch.
        }
    }
    if (!*alive) return;
    if (--FDepth == 0 && FFreePending) delete this;
}

LRESULT TWindowSkin::ThunkProc(void* self, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* skin = static_cast<TWindowSkin*>(self);
    TMessage m{msg, wParam, lParam, 0};
    skin->Dispatch(m, [skin](TMessage& message) { skin->WindowMessage(message); });
    return m.Result;  // the object may be gone: only the message is read
}

void TWindowSkin::WindowMessage(TMessage& m) { m.Result = CallPrevious(m.Msg, m.WParam, m.LParam); }

void TWindowSkin::MethodMessage(TMessage& m) { CallPreviousMethod(m); }

bool TWindowSkin::AttachWindow(HWND window) {
    if (!FThunk.Attach(window, this, &TWindowSkin::ThunkProc)) return false;
    FWindow = window;
    FPreviousProc = FThunk.Previous();
    return true;
}

void TWindowSkin::DetachWindow() { FThunk.Detach(); }

LRESULT TWindowSkin::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    // Also once the skin has let go while handling a message: it still goes
    // on to the window's own procedure.
    return FPreviousProc && FWindow ? CallWindowProcW(FPreviousProc, FWindow, msg, wParam, lParam) : 0;
}

void TWindowSkin::AttachMethod(TControl* control) {
    FMethodControl = control;
    FPreviousMethod = control->WindowProc;
    FLink = std::make_shared<TLink>(TLink{this, FPreviousMethod});
    control->WindowProc = TMethod{FLink};
}

// The control's WindowProc (or a later method on top of it) holds a copy of
// the link; when the control is freed its copies go with it.
bool TWindowSkin::MethodAlive() const { return FMethodControl && FLink && FLink.use_count() > 1; }

void TWindowSkin::DetachMethod() {
    if (!FLink) return;
    if (MethodAlive()) {
        const auto* current = FMethodControl->WindowProc.target<TMethod>();
        if (current && current->link == FLink) FMethodControl->WindowProc = FLink->previous;
    }
    // A copy still in someone's chain passes messages on from now on.
    FLink->skin = nullptr;
    FLink.reset();
    FMethodControl = nullptr;
}

void TWindowSkin::CallPreviousMethod(TMessage& m) const {
    if (FPreviousMethod) FPreviousMethod(m);
}

void TWindowSkin::DeleteWhenIdle() {
    if (FDepth > 0)
        FFreePending = true;
    else
        delete this;
}

}  // namespace srt

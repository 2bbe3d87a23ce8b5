#include "windowhook.h"

void TWindowHook::TMethod::operator()(TMessage& m) const {
    // Releasing from inside a handler destroys this functor: hold the link.
    std::shared_ptr<TLink> keep = link;
    if (keep->handler)
        keep->handler(m, keep->previous);
    else if (keep->previous)
        keep->previous(m);
}

void TWindowHook::Attach(TControl& control, Handler handler) {
    Release();
    control_ = &control;
    link_ = std::make_shared<TLink>(TLink{std::move(handler), control.WindowProc});
    control.WindowProc = TMethod{link_};
}

void TWindowHook::Release() {
    if (!link_) return;
    // The control's WindowProc (or a method above ours) holds a copy of the
    // link while the control lives.
    const bool alive = link_.use_count() > 1;
    const auto* current = alive ? control_->WindowProc.target<TMethod>() : nullptr;
    link_->handler = nullptr;
    if (current && current->link == link_) control_->WindowProc = link_->previous;
    link_.reset();
    control_ = nullptr;
}

// A method put on top of a control's WindowProc. The previous method is
// kept and reached through Previous; on release it goes back only while ours
// is still the current one, otherwise ours stays in the chain and passes
// every message on.
#pragma once

#include <functional>
#include <memory>

#include "component/controls.h"

class TWindowHook {
public:
    // Handles a message; calls `previous` for what it leaves to the control.
    using Handler = std::function<void(TMessage& m, const TWndMethod& previous)>;

    TWindowHook() = default;
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;
    ~TWindowHook() { Release(); }

    void Attach(TControl& control, Handler handler);
    void Release();

private:
    struct TLink {
        Handler handler;
        TWndMethod previous;
    };
    struct TMethod {
        std::shared_ptr<TLink> link;
        void operator()(TMessage& m) const;
    };
    TControl* control_ = nullptr;
    std::shared_ptr<TLink> link_;
};

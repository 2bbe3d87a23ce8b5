#include "skin/form/wndthunk.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "skin/thunk/thunkcode.h"

namespace srt {

// Layout of a route: the machine code first, then its data. The code loads
// the route's address as the first argument and jumps to Dispatch, which
// finds the window handle and the object in the route.
struct TWndThunk::TRoute {
    unsigned char code[kThunkCodeSize];
    HWND window;
    WNDPROC previous;
    void* target;              // null once detached
    TTargetProc proc;
    int depth;                 // messages of this window running through the route
    bool detached;             // the object has let go
    bool inChain;              // some window procedure chain still leads here
};

static_assert(sizeof(void*) == (kThunkArchHost == TThunkArch::taX64 ? 8 : 4));

namespace {

LRESULT CALLBACK Dispatch(TWndThunk::TRoute* route, UINT msg, WPARAM wParam, LPARAM lParam);

// Executable memory for routes: pages carved into slots with a free list.
// GUI thread only, like every window procedure of the thread.
class TRoutePool {
public:
    void* Take() {
        if (!free_) Grow();
        if (!free_) return nullptr;
        Slot* slot = free_;
        free_ = slot->next;
        return slot;
    }
    void Give(void* memory) {
        Slot* slot = static_cast<Slot*>(memory);
        slot->next = free_;
        free_ = slot;
    }

private:
    union Slot {
        Slot* next;
        alignas(16) unsigned char bytes[(sizeof(TWndThunk::TRoute) + 15) & ~std::size_t{15}];
    };
    void Grow() {
        const std::size_t page = 4096;
        void* memory = VirtualAlloc(nullptr, page, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
        if (!memory) return;
        Slot* slots = static_cast<Slot*>(memory);
        for (std::size_t i = 0; i < page / sizeof(Slot); ++i) Give(&slots[i]);
    }
    Slot* free_ = nullptr;
};

TRoutePool& Pool() {
    static TRoutePool pool;  // process-wide executable pages, never returned
    return pool;
}

void WriteCode(TWndThunk::TRoute* route) {
    const TThunkCode code = ThunkCode(kThunkArchHost, reinterpret_cast<std::uintptr_t>(route),
                                      reinterpret_cast<std::uintptr_t>(&Dispatch));
    std::memcpy(route->code, code.data(), sizeof route->code);
    FlushInstructionCache(GetCurrentProcess(), route->code, sizeof route->code);
}

void FreeRoute(TWndThunk::TRoute* route) {
    route->~TRoute();
    Pool().Give(route);
}

LRESULT CALLBACK Dispatch(TWndThunk::TRoute* route, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND window = route->window;
    ++route->depth;
    LRESULT result;
    if (route->target)
        result = route->proc(route->target, window, msg, wParam, lParam);
    else
        result = CallWindowProcW(route->previous, window, msg, wParam, lParam);
    --route->depth;
    if (msg == WM_NCDESTROY) route->inChain = false;
    if (route->detached && !route->inChain && route->depth == 0) FreeRoute(route);
    return result;
}

}  // namespace

bool TWndThunk::Attach(HWND window, void* target, TTargetProc proc) {
    if (route_ || !IsWindow(window)) return false;
    void* memory = Pool().Take();
    if (!memory) return false;
    route_ = new (memory) TRoute{};
    route_->window = window;
    route_->target = target;
    route_->proc = proc;
    route_->inChain = true;
    WriteCode(route_);
    route_->previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(route_->code));
    return true;
}

bool TWndThunk::Current() const {
    return route_ && IsWindow(route_->window) &&
           GetWindowLongPtrW(route_->window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(route_->code);
}

HWND TWndThunk::Window() const { return route_ ? route_->window : nullptr; }
WNDPROC TWndThunk::Previous() const { return route_ ? route_->previous : nullptr; }

void TWndThunk::Detach() {
    if (!route_) return;
    TRoute* route = route_;
    route_ = nullptr;
    route->target = nullptr;
    route->detached = true;
    if (!IsWindow(route->window)) {
        route->inChain = false;
    } else if (GetWindowLongPtrW(route->window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(route->code)) {
        SetWindowLongPtrW(route->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(route->previous));
        route->inChain = false;
    }
    // Otherwise someone subclassed on top: the route keeps passing messages
    // on until the window's WM_NCDESTROY. A message running through it frees
    // it on the way out.
    if (!route->inChain && route->depth == 0) FreeRoute(route);
}

LRESULT TWndThunk::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!route_) return 0;
    return CallWindowProcW(route_->previous, route_->window, msg, wParam, lParam);
}

}  // namespace srt

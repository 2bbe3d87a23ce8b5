#include "skin/form/wndthunk.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace srt {

// Layout of a route: the machine code first, then its data. The code loads
// the route's address as the first argument and jumps to Dispatch, which
// finds the window handle and the object in the route.
struct TWndThunk::TRoute {
    unsigned char code[32];
    HWND window;
    WNDPROC previous;
    void* target;              // null once detached
    TTargetProc proc;
    int depth;                 // messages of this window running through the route
    bool detached;             // the object has let go
    bool inChain;              // some window procedure chain still leads here
};

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
    unsigned char* p = route->code;
    const auto put = [&p](const void* bytes, std::size_t n) {
        std::memcpy(p, bytes, n);
        p += n;
    };
    const auto self = reinterpret_cast<std::uintptr_t>(route);
    const auto target = reinterpret_cast<std::uintptr_t>(&Dispatch);
#if defined(_M_X64) || defined(__x86_64__)
    // mov rcx, route; mov rax, Dispatch; jmp rax
    put("\x48\xB9", 2); put(&self, 8);
    put("\x48\xB8", 2); put(&target, 8);
    put("\xFF\xE0", 2);
#else
    // mov dword [esp+4], route; mov eax, Dispatch; jmp eax
    const auto self32 = static_cast<std::uint32_t>(self);
    const auto target32 = static_cast<std::uint32_t>(target);
    put("\xC7\x44\x24\x04", 4); put(&self32, 4);
    put("\xB8", 1); put(&target32, 4);
    put("\xFF\xE0", 2);
#endif
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

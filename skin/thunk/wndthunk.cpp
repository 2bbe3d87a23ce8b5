#include "skin/thunk/wndthunk.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

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

constexpr std::size_t kPage = 4096;

// Executable memory for routes: pages carved into slots with a free list.
// A freed slot is the next one handed out. Pages are never returned: a
// slot of any of them may still be in a window's chain.
class TRoutePool {
public:
    void* Take() {
        if (!free_) Grow();
        if (!free_) return nullptr;
        Slot* slot = free_;
        free_ = slot->next;
        ++used_;
        return slot;
    }
    void Give(void* memory) {
        Push(static_cast<Slot*>(memory));
        --used_;
    }
    bool Owns(const void* p) const {
        const auto a = reinterpret_cast<std::uintptr_t>(p);
        return std::any_of(pages_.begin(), pages_.end(), [a](void* page) {
            const auto base = reinterpret_cast<std::uintptr_t>(page);
            return a >= base && a < base + kSlots * sizeof(Slot) && (a - base) % sizeof(Slot) == 0;
        });
    }
    TThunkPoolStats Stats() const { return {pages_.size(), kSlots, used_}; }

private:
    union Slot {
        Slot* next;
        alignas(16) unsigned char bytes[(sizeof(TWndThunk::TRoute) + 15) & ~std::size_t{15}];
    };
    static_assert(sizeof(Slot) == ThunkSlotSize(kThunkArchHost));
    static constexpr std::size_t kSlots = kPage / sizeof(Slot);

    void Push(Slot* slot) {
        slot->next = free_;
        free_ = slot;
    }
    void Grow() {
        void* memory = VirtualAlloc(nullptr, kPage, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
        if (!memory) return;
        pages_.push_back(memory);
        // Handed out from the page's start.
        Slot* slots = static_cast<Slot*>(memory);
        for (std::size_t i = kSlots; i-- > 0;) Push(&slots[i]);
    }

    Slot* free_ = nullptr;
    std::vector<void*> pages_;
    std::size_t used_ = 0;
};

TRoutePool& Pool() {
    static TRoutePool pool;  // process-wide executable pages
    return pool;
}

void WriteCode(TWndThunk::TRoute* route) {
    const TThunkCode code = ThunkCode(kThunkArchHost, reinterpret_cast<std::uintptr_t>(route),
                                      reinterpret_cast<std::uintptr_t>(&Dispatch));
    std::memcpy(route->code, code.data(), sizeof route->code);
    FlushInstructionCache(GetCurrentProcess(), route->code, sizeof route->code);
}

void FreeRoute(TWndThunk::TRoute* route) {
    // Stale code would still reach Dispatch with a reused route: make it trap.
    std::memset(route->code, 0xCC, sizeof route->code);
    FlushInstructionCache(GetCurrentProcess(), route->code, sizeof route->code);
    route->~TRoute();
    Pool().Give(route);
}

LONG_PTR CodeOf(const TWndThunk::TRoute* route) { return reinterpret_cast<LONG_PTR>(route->code); }

LRESULT CALLBACK Dispatch(TWndThunk::TRoute* route, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND window = route->window;
    ++route->depth;
    LRESULT result;
    if (route->target)
        result = route->proc(route->target, window, msg, wParam, lParam);
    else
        result = CallWindowProcW(route->previous, window, msg, wParam, lParam);
    --route->depth;
    // After WM_NCDESTROY no chain of this window leads anywhere.
    if (msg == WM_NCDESTROY) route->inChain = false;
    if (route->detached && !route->inChain && route->depth == 0) FreeRoute(route);
    return result;
}

}  // namespace

bool TWndThunk::Attach(HWND window, void* target, TTargetProc proc) {
    if (route_ || !proc || !IsWindow(window)) return false;
    void* memory = Pool().Take();
    if (!memory) return false;
    auto* route = new (memory) TRoute{};
    route->window = window;
    route->target = target;
    route->proc = proc;
    route->inChain = true;
    WriteCode(route);
    route->previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    SetLastError(0);
    if (!SetWindowLongPtrW(window, GWLP_WNDPROC, CodeOf(route)) && GetLastError() != 0) {
        FreeRoute(route);
        return false;
    }
    route_ = route;
    return true;
}

bool TWndThunk::Current() const {
    return route_ && IsWindow(route_->window) && GetWindowLongPtrW(route_->window, GWLP_WNDPROC) == CodeOf(route_);
}

HWND TWndThunk::Window() const { return route_ ? route_->window : nullptr; }
WNDPROC TWndThunk::Previous() const { return route_ ? route_->previous : nullptr; }

void TWndThunk::Detach() {
    if (!route_) return;
    TRoute* route = std::exchange(route_, nullptr);
    route->target = nullptr;
    route->detached = true;
    if (!route->inChain || !IsWindow(route->window)) {
        route->inChain = false;
    } else if (GetWindowLongPtrW(route->window, GWLP_WNDPROC) == CodeOf(route)) {
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

TThunkPoolStats ThunkPoolStats() { return Pool().Stats(); }
bool ThunkPoolOwns(const void* code) { return Pool().Owns(code); }

}  // namespace srt

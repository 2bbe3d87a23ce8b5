// The page heap: every block gets pages of its own, carved in address order
// from large reserved arenas.
//
//   [header | block][guard]  [header | block][guard] ...
//   '-- committed --''- reserved, never committed
//
// The block ends where its committed pages end (up to its alignment), so the
// first byte past it is in the guard page. Freeing decommits the pages; the
// arena's bump pointer never goes back, so the addresses stay inaccessible
// for the rest of the run. A request the system refuses pages for (address
// space or mapping count exhausted) is served by the C runtime instead.
#include "tests/support/pageheap.h"

#include <malloc.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace srt::pageheap {
namespace {

constexpr std::size_t kPage = 4096;
#if defined(_WIN64)
constexpr std::size_t kArenaBytes = std::size_t{1} << 30;
#else
constexpr std::size_t kArenaBytes = std::size_t{64} << 20;
#endif
constexpr int kMaxArenas = 4096;
constexpr std::uint64_t kLiveMagic = 0x5048454150424C4BULL;  // "PHEAPBLK"

struct THeader {
    std::uint64_t magic;
    char* base;         // first committed page
    std::size_t pages;  // committed pages
    std::size_t size;   // bytes asked for
};
static_assert(sizeof(THeader) <= 32);

struct TArena {
    char* begin;
    char* end;
};

// Everything lives in zero-initialised storage: operator new runs before any
// constructor of this program.
SRWLOCK g_lock = SRWLOCK_INIT;
int g_mode = 0;  // 0 not read yet, 1 on, 2 off
TArena g_arenas[kMaxArenas];
int g_arenaCount = 0;
char* g_next = nullptr;  // bump pointer in the last arena
TStats g_stats;

class TLock {
public:
    TLock() { AcquireSRWLockExclusive(&g_lock); }
    ~TLock() { ReleaseSRWLockExclusive(&g_lock); }
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;
};

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

bool ModeOn() {
    if (g_mode == 0) {
        char value[8] = {};
        const DWORD n = GetEnvironmentVariableA("SRT_PAGE_HEAP", value, sizeof value);
        const bool off = n > 0 && n < sizeof value && lstrcmpiA(value, "off") == 0;
        g_mode = off ? 2 : 1;
    }
    return g_mode == 1;
}

bool InArenas(const void* p) {
    const char* c = static_cast<const char*>(p);
    for (int i = 0; i < g_arenaCount; ++i)
        if (c >= g_arenas[i].begin && c < g_arenas[i].end) return true;
    return false;
}

bool NewArena(std::size_t atLeast) {
    if (g_arenaCount == kMaxArenas) return false;
    const std::size_t bytes = atLeast > kArenaBytes ? RoundUp(atLeast, kArenaBytes) : kArenaBytes;
    void* memory = VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
    if (!memory) return false;
    char* begin = static_cast<char*>(memory);
    g_arenas[g_arenaCount++] = {begin, begin + bytes};
    g_next = begin;
    g_stats.reserved += bytes;
    return true;
}

// Null when the system gives no pages; the caller falls back.
void* PageAllocate(std::size_t size, std::size_t align) {
    if (align < 16) align = 16;
    const std::size_t body = RoundUp(size == 0 ? 1 : size, align);
    const std::size_t headerRoom = RoundUp(sizeof(THeader), align);
    if (body > SIZE_MAX / 2) return nullptr;
    const std::size_t pages = RoundUp(body + headerRoom, kPage) / kPage;
    const std::size_t commit = pages * kPage;
    // Room for the pages, the guard and, for alignments past a page, the slack.
    const std::size_t need = commit + kPage + (align > kPage ? align : 0);
    TLock lock;
    if (g_arenaCount == 0 || static_cast<std::size_t>(g_arenas[g_arenaCount - 1].end - g_next) < need)
        if (!NewArena(need)) return nullptr;
    char* base = g_next;
    if (align > kPage) {
        const auto end = reinterpret_cast<std::uintptr_t>(base) + commit;
        base += RoundUp(end, align) - end;
    }
    if (!VirtualAlloc(base, commit, MEM_COMMIT, PAGE_READWRITE)) return nullptr;
    g_next = base + commit + kPage;
    char* block = base + commit - body;
    auto* header = reinterpret_cast<THeader*>(block - sizeof(THeader));
    *header = {kLiveMagic, base, pages, size};
    ++g_stats.allocations;
    ++g_stats.live;
    g_stats.liveBytes += commit;
    if (g_stats.live > g_stats.peakLive) g_stats.peakLive = g_stats.live;
    if (g_stats.liveBytes > g_stats.peakBytes) g_stats.peakBytes = g_stats.liveBytes;
    return block;
}

void* Allocate(std::size_t size, std::size_t align) {
    bool on;
    {
        TLock lock;
        on = ModeOn();
    }
    if (on)
        if (void* p = PageAllocate(size, align)) return p;
    if (on) {
        TLock lock;
        ++g_stats.fallbacks;
    }
    if (align <= 16) return std::malloc(size == 0 ? 1 : size);
    return _aligned_malloc(size == 0 ? 1 : size, align);
}

void Free(void* p, std::size_t align) {
    if (!p) return;
    {
        TLock lock;
        if (InArenas(p)) {
            // A block freed twice faults here: its header page is gone.
            auto* header = reinterpret_cast<THeader*>(static_cast<char*>(p) - sizeof(THeader));
            if (header->magic != kLiveMagic) std::abort();  // not a block start
            header->magic = 0;
            const std::size_t commit = header->pages * kPage;
            VirtualFree(header->base, commit, MEM_DECOMMIT);
            --g_stats.live;
            g_stats.liveBytes -= commit;
            return;
        }
    }
    if (align <= 16)
        std::free(p);
    else
        _aligned_free(p);
}

void* AllocateOrThrow(std::size_t size, std::size_t align) {
    if (void* p = Allocate(size, align)) return p;
    throw std::bad_alloc();
}

// SRT_PAGE_HEAP_STATS set: the figures go to the error stream at exit.
struct TExitReport {
    ~TExitReport() {
        char flag[4] = {};
        if (!GetEnvironmentVariableA("SRT_PAGE_HEAP_STATS", flag, sizeof flag)) return;
        const TStats s = Stats();
        char line[256];
        const int n = wsprintfA(line,
                                "page heap: %lu blocks, peak %lu live (%lu KiB committed), %lu MiB reserved, "
                                "%lu fallbacks\r\n",
                                static_cast<unsigned long>(s.allocations), static_cast<unsigned long>(s.peakLive),
                                static_cast<unsigned long>(s.peakBytes / 1024),
                                static_cast<unsigned long>(s.reserved >> 20), static_cast<unsigned long>(s.fallbacks));
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
    }
} g_exitReport;

// Writes a line to the error stream without allocating.
void Say(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, lstrlenA(text), &written, nullptr);
}

// A fault on a freed block or a guard page ends the program at once: the
// platform swallows exceptions raised inside window procedures (a message
// callback), so without this a use after free in a window procedure would
// pass unseen. Other faults go on to the usual handlers; with
// SRT_PAGE_HEAP_STATS set they are named too.
LONG CALLBACK OnFault(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& r = *info->ExceptionRecord;
    if (r.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r.NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const auto* address = reinterpret_cast<const void*>(r.ExceptionInformation[1]);
    const bool ours = InArenas(address);
    char flag[4] = {};
    if (!ours && !GetEnvironmentVariableA("SRT_PAGE_HEAP_STATS", flag, sizeof flag)) return EXCEPTION_CONTINUE_SEARCH;
    char module[MAX_PATH] = "?";
    HMODULE owner = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(r.ExceptionAddress), &owner))
        GetModuleFileNameA(owner, module, sizeof module);
    char line[MAX_PATH + 160];
    wsprintfA(line, "page heap: %s of %p by code at %s+0x%lx%s\r\n",
              r.ExceptionInformation[0] == 1 ? "write" : "read", address, module,
              static_cast<unsigned long>(static_cast<const char*>(r.ExceptionAddress) -
                                         reinterpret_cast<const char*>(owner)),
              ours ? ": freed or guard memory" : "");
    Say(line);
    if (!ours) return EXCEPTION_CONTINUE_SEARCH;
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

struct TFaultWatch {
    TFaultWatch() { AddVectoredExceptionHandler(1, OnFault); }
} g_faultWatch;

}  // namespace

bool Enabled() {
    TLock lock;
    return ModeOn();
}

TStats Stats() {
    TLock lock;
    return g_stats;
}

bool Owns(const void* p) {
    TLock lock;
    if (!p || !InArenas(p)) return false;
    MEMORY_BASIC_INFORMATION info{};
    const char* header = static_cast<const char*>(p) - sizeof(THeader);
    if (!VirtualQuery(header, &info, sizeof info) || info.State != MEM_COMMIT) return false;
    return reinterpret_cast<const THeader*>(header)->magic == kLiveMagic;
}

}  // namespace srt::pageheap

namespace ph = srt::pageheap;
constexpr std::size_t kDefaultAlign = 16;

void* operator new(std::size_t n) { return ph::AllocateOrThrow(n, kDefaultAlign); }
void* operator new[](std::size_t n) { return ph::AllocateOrThrow(n, kDefaultAlign); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return ph::Allocate(n, kDefaultAlign); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return ph::Allocate(n, kDefaultAlign); }
void* operator new(std::size_t n, std::align_val_t a) { return ph::AllocateOrThrow(n, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return ph::AllocateOrThrow(n, static_cast<std::size_t>(a)); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return ph::Allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return ph::Allocate(n, static_cast<std::size_t>(a));
}

void operator delete(void* p) noexcept { ph::Free(p, kDefaultAlign); }
void operator delete[](void* p) noexcept { ph::Free(p, kDefaultAlign); }
void operator delete(void* p, std::size_t) noexcept { ph::Free(p, kDefaultAlign); }
void operator delete[](void* p, std::size_t) noexcept { ph::Free(p, kDefaultAlign); }
void operator delete(void* p, const std::nothrow_t&) noexcept { ph::Free(p, kDefaultAlign); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { ph::Free(p, kDefaultAlign); }
void operator delete(void* p, std::align_val_t a) noexcept { ph::Free(p, static_cast<std::size_t>(a)); }
void operator delete[](void* p, std::align_val_t a) noexcept { ph::Free(p, static_cast<std::size_t>(a)); }
void operator delete(void* p, std::size_t, std::align_val_t a) noexcept { ph::Free(p, static_cast<std::size_t>(a)); }
void operator delete[](void* p, std::size_t, std::align_val_t a) noexcept { ph::Free(p, static_cast<std::size_t>(a)); }
void operator delete(void* p, std::align_val_t a, const std::nothrow_t&) noexcept {
    ph::Free(p, static_cast<std::size_t>(a));
}
void operator delete[](void* p, std::align_val_t a, const std::nothrow_t&) noexcept {
    ph::Free(p, static_cast<std::size_t>(a));
}

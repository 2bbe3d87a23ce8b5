// A page heap for the Windows test programs. Linked into every Windows test,
// it replaces the global operator new and delete: each block ends against an
// inaccessible guard page, a freed block's pages are decommitted (no access)
// and its addresses are never handed out again, so a read or write past the
// end of a block or after its release faults at once instead of touching
// whatever the allocator put there next.
//
// SRT_PAGE_HEAP=off in the environment makes it pass every request to the
// C runtime's heap (for comparing time and memory).
#pragma once

#include <cstddef>

namespace srt::pageheap {

struct TStats {
    std::size_t allocations = 0;  // blocks handed out since start
    std::size_t live = 0;         // blocks not yet freed
    std::size_t peakLive = 0;
    std::size_t liveBytes = 0;    // committed bytes of the live blocks
    std::size_t peakBytes = 0;
    std::size_t reserved = 0;     // address space reserved for blocks
    std::size_t fallbacks = 0;    // requests the system refused pages for
};

// False when the page heap was switched off at start.
bool Enabled();
TStats Stats();
// Whether `p` is the start of a live block of the page heap.
bool Owns(const void* p);

}  // namespace srt::pageheap

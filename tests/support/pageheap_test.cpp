// The page heap: a block ends against an inaccessible page, a freed block's
// pages are inaccessible and its addresses are not handed out again.
#include "tests/support/pageheap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

// These tests touch freed memory and bytes past a block on purpose.
#pragma GCC diagnostic ignored "-Wuse-after-free"
#pragma GCC diagnostic ignored "-Warray-bounds"

namespace srt::pageheap {
namespace {

DWORD StateOf(const void* p) {
    MEMORY_BASIC_INFORMATION info{};
    if (!VirtualQuery(p, &info, sizeof info)) return 0;
    return info.State;
}

bool Accessible(const void* p) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(p, &info, sizeof info) && info.State == MEM_COMMIT &&
           !(info.Protect & (PAGE_NOACCESS | PAGE_GUARD));
}

TEST(PageHeap, EveryTestProgramRunsOnIt) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    auto value = std::make_unique<int>(7);
    EXPECT_TRUE(Owns(value.get()));
    std::string text(100, 'x');
    EXPECT_TRUE(Owns(text.data()));
}

TEST(PageHeap, ABlockEndsAgainstAnInaccessiblePage) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    for (std::size_t size : {1u, 16u, 100u, 4064u, 4096u, 10000u}) {
        auto* block = static_cast<char*>(::operator new(size));
        const auto address = reinterpret_cast<std::uintptr_t>(block);
        EXPECT_EQ(address % 16, 0u) << size;
        EXPECT_TRUE(Accessible(block)) << size;
        EXPECT_TRUE(Accessible(block + size - 1)) << size;
        // The first byte past the block, rounded to its alignment, is in the guard page.
        const std::size_t rounded = (size + 15) / 16 * 16;
        EXPECT_FALSE(Accessible(block + rounded)) << size;
        EXPECT_EQ((address + rounded) % 4096, 0u) << size;
        ::operator delete(block);
    }
}

TEST(PageHeap, OverAlignedBlocksKeepTheirAlignment) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    for (std::size_t align : {32u, 64u, 4096u, 8192u}) {
        void* block = ::operator new(40, std::align_val_t{align});
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % align, 0u) << align;
        EXPECT_TRUE(Accessible(block));
        ::operator delete(block, std::align_val_t{align});
    }
}

// Operator calls rather than new-expressions: the compiler may leave out a
// new-expression whose block nothing keeps.
TEST(PageHeap, FreedBlocksAreInaccessibleAndNotReused) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    std::set<std::uintptr_t> freed;
    for (int i = 0; i < 200; ++i) {
        void* block = ::operator new(12);
        const auto address = reinterpret_cast<std::uintptr_t>(block);
        freed.insert(address);
        ::operator delete(block);
        const auto* gone = reinterpret_cast<const void*>(address);
        EXPECT_NE(StateOf(gone), static_cast<DWORD>(MEM_COMMIT));
        EXPECT_FALSE(Accessible(gone));
        EXPECT_FALSE(Owns(gone));
    }
    EXPECT_EQ(freed.size(), 200u);
    std::vector<std::unique_ptr<int>> later;
    for (int i = 0; i < 200; ++i) {
        later.push_back(std::make_unique<int>(i));
        EXPECT_EQ(freed.count(reinterpret_cast<std::uintptr_t>(later.back().get())), 0u);
    }
}

TEST(PageHeap, CountsLiveBlocks) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    const TStats before = Stats();
    void* block = ::operator new(5000);
    const TStats during = Stats();
    EXPECT_EQ(during.live, before.live + 1);
    EXPECT_EQ(during.liveBytes, before.liveBytes + 2 * 4096);
    ::operator delete(block);
    EXPECT_EQ(Stats().live, before.live);
    EXPECT_EQ(Stats().fallbacks, 0u);
}

TEST(PageHeap, NothrowAndZeroSizedRequestsGetBlocks) {
    void* empty = ::operator new(0);
    void* nothrow = ::operator new(24, std::nothrow);
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(nothrow, nullptr);
    EXPECT_NE(empty, nothrow);
    ::operator delete(empty);
    ::operator delete(nothrow, std::nothrow);
}

// What the page heap is for: the first touch of freed memory ends the program.
int ReadAfterFree() {
    void* block = ::operator new(sizeof(int));
    const volatile std::uintptr_t address = reinterpret_cast<std::uintptr_t>(block);
    ::operator delete(block);
    return *reinterpret_cast<const volatile int*>(address);
}

int WritePastTheEnd() {
    auto* block = static_cast<volatile char*>(::operator new(32));
    block[32] = 1;
    return block[0];
}

TEST(PageHeapDeathTest, ReadingFreedMemoryOrPastABlockCrashes) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ReadAfterFree(), "");
    EXPECT_DEATH(WritePastTheEnd(), "");
}

// A fault inside a window procedure is swallowed by the message dispatch
// (the program would go on): on freed memory it must end the program all
// the same, naming what happened.
LRESULT CALLBACK ReadsFreedMemory(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) return ReadAfterFree();
    return DefWindowProcW(window, msg, wParam, lParam);
}

int SendToAWindowThatReadsFreedMemory() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReadsFreedMemory;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PageHeapFaultWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    const LRESULT result = SendMessageW(window, WM_APP, 0, 0);
    DestroyWindow(window);
    return static_cast<int>(result);
}

TEST(PageHeapDeathTest, FreedMemoryReadInAWindowProcedureEndsTheProgram) {
    if (!Enabled()) GTEST_SKIP() << "SRT_PAGE_HEAP=off";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SendToAWindowThatReadsFreedMemory();
            std::exit(0);
        },
        ::testing::ExitedWithCode(3), "freed or guard memory");
}

}  // namespace
}  // namespace srt::pageheap

// The window-procedure thunk's machine code, run under a CPU emulator: a
// caller calls the thunk the way the system calls a window procedure, the
// thunk must reach the target with the context in place of the window
// handle and the other arguments untouched, and the target's return must
// land in the caller with the stack and the callee-saved registers as the
// calling convention leaves them.
#include <gtest/gtest.h>

#include <unicorn/unicorn.h>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "skin/thunk/thunkcode.h"

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Le(Bytes& out, std::uint64_t value, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void Put(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
}

// One emulated CPU with a log of the instructions it ran and the memory it wrote.
class TEmulator {
public:
    struct TWrite {
        std::uint64_t pc, address;
        int size;
    };

    explicit TEmulator(uc_mode mode) : x64_(mode == UC_MODE_64) {
        EXPECT_EQ(uc_open(UC_ARCH_X86, mode, &uc_), UC_ERR_OK);
        uc_hook hook;
        uc_hook_add(uc_, &hook, UC_HOOK_CODE, reinterpret_cast<void*>(&OnCode), this, 1, 0);
        uc_hook_add(uc_, &hook, UC_HOOK_MEM_WRITE, reinterpret_cast<void*>(&OnWrite), this, 1, 0);
    }
    ~TEmulator() {
        if (uc_) uc_close(uc_);
    }
    TEmulator(const TEmulator&) = delete;
    TEmulator& operator=(const TEmulator&) = delete;

    void Map(std::uint64_t address, std::size_t size) {
        ASSERT_EQ(uc_mem_map(uc_, address, size, UC_PROT_ALL), UC_ERR_OK) << std::hex << address;
    }
    void Write(std::uint64_t address, const void* bytes, std::size_t n) {
        ASSERT_EQ(uc_mem_write(uc_, address, bytes, n), UC_ERR_OK) << std::hex << address;
    }
    std::uint64_t Read(std::uint64_t address, int n) const {
        std::uint8_t b[8] = {};
        EXPECT_EQ(uc_mem_read(uc_, address, b, static_cast<std::size_t>(n)), UC_ERR_OK);
        std::uint64_t v = 0;
        for (int i = n; i-- > 0;) v = (v << 8) | b[i];
        return v;
    }
    void Set(int reg, std::uint64_t value) { uc_reg_write(uc_, reg, &value); }
    std::uint64_t Get(int reg) const {
        std::uint64_t value = 0;
        uc_reg_read(uc_, reg, &value);
        return x64_ ? value : value & 0xFFFFFFFFu;
    }
    // Calls `at` when the instruction at that address is about to run.
    void At(std::uint64_t address, std::function<void()> probe) { probes_[address] = std::move(probe); }
    uc_err Run(std::uint64_t begin, std::uint64_t until) {
        return uc_emu_start(uc_, begin, until, 1000000 /* us */, 1000);
    }

    std::vector<std::uint64_t> ran;  // instruction addresses in order
    std::vector<TWrite> writes;

private:
    static void OnCode(uc_engine*, std::uint64_t address, std::uint32_t, void* self) {
        auto& e = *static_cast<TEmulator*>(self);
        e.ran.push_back(address);
        e.pc_ = address;
        if (const auto probe = e.probes_.find(address); probe != e.probes_.end()) probe->second();
    }
    static void OnWrite(uc_engine*, uc_mem_type, std::uint64_t address, int size, std::int64_t, void* self) {
        auto& e = *static_cast<TEmulator*>(self);
        e.writes.push_back({e.pc_, address, size});
    }

    uc_engine* uc_ = nullptr;
    bool x64_;
    std::uint64_t pc_ = 0;
    std::map<std::uint64_t, std::function<void()>> probes_;
};

std::size_t CountIn(const std::vector<std::uint64_t>& pcs, std::uint64_t begin, std::uint64_t end) {
    std::size_t n = 0;
    for (auto pc : pcs) n += pc >= begin && pc < end;
    return n;
}

// Whatever runs past the code in a slot traps.
TEST(ThunkCode, SlotIsPaddedWithBreakpoints) {
    for (const auto arch : {TThunkArch::taX86, TThunkArch::taX64}) {
        const TThunkCode code = ThunkCode(arch, 0x0102030405060708, 0x1112131415161718);
        const std::size_t length = arch == TThunkArch::taX86 ? 15 : 22;
        for (std::size_t i = length; i < code.size(); ++i) EXPECT_EQ(code[i], 0xCC) << i;
    }
}

// The first and the last slot of a pool page at `page`.
std::array<std::uint64_t, 2> Slots(TThunkArch arch, std::uint64_t page) {
    const std::size_t size = ThunkSlotSize(arch);
    return {page, page + (4096 / size - 1) * size};
}

TEST(ThunkCode, SlotsHoldTheCodeAndStayInTheirPage) {
    for (const auto arch : {TThunkArch::taX86, TThunkArch::taX64}) {
        EXPECT_EQ(ThunkSlotSize(arch) % 16, 0u);
        EXPECT_GT(ThunkSlotSize(arch), kThunkCodeSize);
        const std::size_t last = (4096 / ThunkSlotSize(arch) - 1) * ThunkSlotSize(arch);
        EXPECT_LE(last + ThunkSlotSize(arch), 4096u);
    }
}

// A stdcall window procedure called through the x86 thunk, from the first
// and the last slot of a page of thunks, with addresses above 2 GB. The
// context is the slot itself, as the pool writes it.
TEST(ThunkEmulator, X86StdcallReachesTargetAndCalleePopsTheArguments) {
    constexpr std::uint64_t kCaller = 0x00401000, kPage = 0x7FFD0000, kTarget = 0x8F000000;
    constexpr std::uint64_t kStack = 0x00200000, kEsp0 = kStack + 0xF000;
    constexpr std::uint32_t kWindow = 0x000A0B2C;
    constexpr std::uint32_t kMsg = 0x0112, kWParam = 0xF060, kLParam = 0xFFFF8001, kResult = 0x600DCAFE;

    for (const std::uint64_t slot : Slots(TThunkArch::taX86, kPage)) {
        SCOPED_TRACE(slot);
        const std::uint64_t kContext = slot;
        TEmulator cpu(UC_MODE_32);
        cpu.Map(kCaller, 4096);
        cpu.Map(kPage, 4096);
        cpu.Map(kTarget, 4096);
        cpu.Map(kStack, 0x10000);

        const TThunkCode thunk = ThunkCode(TThunkArch::taX86, kContext, kTarget);
        cpu.Write(slot, thunk.data(), thunk.size());

        Bytes caller;
        for (std::uint32_t arg : {kLParam, kWParam, kMsg, kWindow}) {
            Put(caller, {0x68});  // push imm32
            Le(caller, arg, 4);
        }
        Put(caller, {0xB9});  // mov ecx, slot
        Le(caller, slot, 4);
        Put(caller, {0xFF, 0xD1});  // call ecx
        const std::uint64_t back = kCaller + caller.size();
        cpu.Write(kCaller, caller.data(), caller.size());

        Bytes target = {0xB8};  // mov eax, result
        Le(target, kResult, 4);
        Put(target, {0xC2, 0x10, 0x00});  // ret 16
        cpu.Write(kTarget, target.data(), target.size());

        const int saved[] = {UC_X86_REG_EBX, UC_X86_REG_ESI, UC_X86_REG_EDI, UC_X86_REG_EBP};
        for (int i = 0; i < 4; ++i) cpu.Set(saved[i], 0x5A5A0000u + i);
        cpu.Set(UC_X86_REG_ESP, kEsp0);

        int reached = 0;
        cpu.At(kTarget, [&] {
            ++reached;
            const std::uint64_t esp = cpu.Get(UC_X86_REG_ESP);
            EXPECT_EQ(esp, kEsp0 - 20);
            EXPECT_EQ(cpu.Read(esp, 4), back);  // returns straight to the caller
            EXPECT_EQ(cpu.Read(esp + 4, 4), kContext);
            EXPECT_EQ(cpu.Read(esp + 8, 4), kMsg);
            EXPECT_EQ(cpu.Read(esp + 12, 4), kWParam);
            EXPECT_EQ(cpu.Read(esp + 16, 4), kLParam);
            for (int i = 0; i < 4; ++i) EXPECT_EQ(cpu.Get(saved[i]), 0x5A5A0000u + i);
        });

        ASSERT_EQ(cpu.Run(kCaller, back), UC_ERR_OK);
        EXPECT_EQ(reached, 1);
        EXPECT_EQ(cpu.Get(UC_X86_REG_EIP), back);
        EXPECT_EQ(cpu.Get(UC_X86_REG_ESP), kEsp0);
        EXPECT_EQ(cpu.Get(UC_X86_REG_EAX), kResult);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(cpu.Get(saved[i]), 0x5A5A0000u + i);

        // Three instructions in the thunk, and its one write is the window argument.
        EXPECT_EQ(CountIn(cpu.ran, slot, slot + kThunkCodeSize), 3u);
        std::vector<TEmulator::TWrite> thunkWrites;
        for (const auto& w : cpu.writes)
            if (w.pc >= slot && w.pc < slot + kThunkCodeSize) thunkWrites.push_back(w);
        ASSERT_EQ(thunkWrites.size(), 1u);
        EXPECT_EQ(thunkWrites[0].address, kEsp0 - 16);
        EXPECT_EQ(thunkWrites[0].size, 4);
    }
}

// The x64 variant: first argument in rcx, the other three in rdx, r8 and r9,
// shadow space and alignment kept, the caller cleans up.
TEST(ThunkEmulator, X64ReachesTargetWithContextInRcx) {
    constexpr std::uint64_t kCaller = 0x0000000140001000, kPage = 0x00007FF812340000;
    constexpr std::uint64_t kTarget = 0x00007FFB00000000, kStack = 0x0000000000800000;
    constexpr std::uint64_t kRsp0 = kStack + 0xF008;  // as at a function's entry
    constexpr std::uint64_t kWindow = 0x00000000000A0B2C;
    constexpr std::uint64_t kMsg = 0x0112, kWParam = 0xF060, kLParam = 0xFFFFFFFF80000001;
    constexpr std::uint64_t kResult = 0x8000600DCAFE0001;

    for (const std::uint64_t slot : Slots(TThunkArch::taX64, kPage)) {
        SCOPED_TRACE(slot);
        const std::uint64_t kContext = slot;
        TEmulator cpu(UC_MODE_64);
        cpu.Map(kCaller, 4096);
        cpu.Map(kPage, 4096);
        cpu.Map(kTarget, 4096);
        cpu.Map(kStack, 0x10000);

        const TThunkCode thunk = ThunkCode(TThunkArch::taX64, kContext, kTarget);
        cpu.Write(slot, thunk.data(), thunk.size());

        Bytes caller;
        Put(caller, {0x48, 0xB9}), Le(caller, kWindow, 8);  // mov rcx, imm64
        Put(caller, {0x48, 0xBA}), Le(caller, kMsg, 8);     // mov rdx, imm64
        Put(caller, {0x49, 0xB8}), Le(caller, kWParam, 8);  // mov r8, imm64
        Put(caller, {0x49, 0xB9}), Le(caller, kLParam, 8);  // mov r9, imm64
        Put(caller, {0x48, 0x83, 0xEC, 0x28});              // sub rsp, 40
        Put(caller, {0x49, 0xBA}), Le(caller, slot, 8);     // mov r10, slot
        Put(caller, {0x41, 0xFF, 0xD2});                    // call r10
        const std::uint64_t afterCall = kCaller + caller.size();
        Put(caller, {0x48, 0x83, 0xC4, 0x28});              // add rsp, 40
        const std::uint64_t back = kCaller + caller.size();
        cpu.Write(kCaller, caller.data(), caller.size());

        Bytes target = {0x48, 0xB8};  // mov rax, result
        Le(target, kResult, 8);
        Put(target, {0xC3});  // ret
        cpu.Write(kTarget, target.data(), target.size());

        const int saved[] = {UC_X86_REG_RBX, UC_X86_REG_RBP, UC_X86_REG_RSI, UC_X86_REG_RDI,
                             UC_X86_REG_R12, UC_X86_REG_R13, UC_X86_REG_R14, UC_X86_REG_R15};
        for (int i = 0; i < 8; ++i) cpu.Set(saved[i], 0x5A5A5A5A00000000u + i);
        cpu.Set(UC_X86_REG_RSP, kRsp0);

        int reached = 0;
        cpu.At(kTarget, [&] {
            ++reached;
            const std::uint64_t rsp = cpu.Get(UC_X86_REG_RSP);
            EXPECT_EQ(rsp, kRsp0 - 48);
            EXPECT_EQ((rsp + 8) % 16, 0u);
            EXPECT_EQ(cpu.Read(rsp, 8), afterCall);
            EXPECT_EQ(cpu.Get(UC_X86_REG_RCX), kContext);
            EXPECT_EQ(cpu.Get(UC_X86_REG_RDX), kMsg);
            EXPECT_EQ(cpu.Get(UC_X86_REG_R8), kWParam);
            EXPECT_EQ(cpu.Get(UC_X86_REG_R9), kLParam);
            for (int i = 0; i < 8; ++i) EXPECT_EQ(cpu.Get(saved[i]), 0x5A5A5A5A00000000u + i);
        });

        ASSERT_EQ(cpu.Run(kCaller, back), UC_ERR_OK);
        EXPECT_EQ(reached, 1);
        EXPECT_EQ(cpu.Get(UC_X86_REG_RIP), back);
        EXPECT_EQ(cpu.Get(UC_X86_REG_RSP), kRsp0);
        EXPECT_EQ(cpu.Get(UC_X86_REG_RAX), kResult);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(cpu.Get(saved[i]), 0x5A5A5A5A00000000u + i);

        // Three instructions in the thunk, and no memory written by them.
        EXPECT_EQ(CountIn(cpu.ran, slot, slot + kThunkCodeSize), 3u);
        for (const auto& w : cpu.writes)
            EXPECT_FALSE(w.pc >= slot && w.pc < slot + kThunkCodeSize) << std::hex << w.address;
    }
}

}  // namespace
}  // namespace srt

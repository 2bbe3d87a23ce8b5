// The machine code of a window-procedure thunk, platform-free so that it can
// be built and checked anywhere. The code replaces the call's first argument
// (the window handle) with a context pointer and jumps to a target that has
// the window procedure's signature, leaving the other arguments, the return
// address and the callee-saved registers alone:
//   x86 (stdcall, arguments on the stack):  mov dword [esp+4], context
//                                            mov eax, target
//                                            jmp eax
//   x64 (first argument in rcx):             mov rcx, context
//                                            mov rax, target
//                                            jmp rax
// The target returns straight to the thunk's caller.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace srt {

enum class TThunkArch { taX86, taX64 };

// The architecture this program is built for (x86 when it is neither).
#if defined(_M_X64) || defined(__x86_64__)
inline constexpr TThunkArch kThunkArchHost = TThunkArch::taX64;
#else
inline constexpr TThunkArch kThunkArchHost = TThunkArch::taX86;
#endif

// Room every thunk takes; bytes after the code are int3.
inline constexpr std::size_t kThunkCodeSize = 32;
using TThunkCode = std::array<std::uint8_t, kThunkCodeSize>;

// A thunk's slot in the pool: the code, then its route's data (window,
// previous procedure, object, object's procedure, counters), rounded up to
// 16 bytes. The code's context is the slot's own address.
inline constexpr std::size_t ThunkSlotSize(TThunkArch arch) { return arch == TThunkArch::taX64 ? 80 : 64; }

// The code for `arch`. On x86 only the low 32 bits of the addresses count.
inline TThunkCode ThunkCode(TThunkArch arch, std::uint64_t context, std::uint64_t target) {
    TThunkCode code;
    code.fill(0xCC);
    std::size_t at = 0;
    const auto put = [&code, &at](const void* bytes, std::size_t n) {
        std::memcpy(code.data() + at, bytes, n);
        at += n;
    };
    // Immediates are little-endian on both architectures.
    const auto le = [&put](std::uint64_t value, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<std::uint8_t>(value >> (8 * i));
            put(&b, 1);
        }
    };
    if (arch == TThunkArch::taX64) {
        put("\x48\xB9", 2);  // mov rcx, imm64
        le(context, 8);
        put("\x48\xB8", 2);  // mov rax, imm64
        le(target, 8);
        put("\xFF\xE0", 2);  // jmp rax
    } else {
        put("\xC7\x44\x24\x04", 4);  // mov dword [esp+4], imm32
        le(context, 4);
        put("\xB8", 1);  // mov eax, imm32
        le(target, 4);
        put("\xFF\xE0", 2);  // jmp eax
    }
    return code;
}

}  // namespace srt

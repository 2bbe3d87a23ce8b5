// LZHUF: LZSS with a 4096-byte ring and matches of 3 to 60 bytes, whose
// literals and match lengths are coded with an adaptive Huffman tree and whose
// match positions carry their high 6 bits in a fixed prefix code.
// Platform-free.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace srt {

class TLZH {
public:
    static constexpr int N = 4096;               // ring size
    static constexpr int F = 60;                 // longest match
    static constexpr int THRESHOLD = 2;          // matches are longer than this
    static constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
    static constexpr int T = N_CHAR * 2 - 1;     // 627 tree nodes
    static constexpr int R = T - 1;              // root
    static constexpr unsigned MAX_FREQ = 0x8000; // rebuild when the root reaches it

    // Decodes symbols from `input` until `size` bytes have been produced and
    // returns them. Input past the end of `input` reads as zero bits, so a
    // truncated stream still yields `size` bytes. A last match is copied
    // whole, so the result may be up to F - 1 bytes longer than `size`.
    std::vector<std::uint8_t> Decode(std::span<const std::uint8_t> input, std::uint32_t size);

    // Encodes `data` into a bit stream that Decode(stream, data.size())
    // turns back into exactly `data`. The size word of a packed skin is not
    // part of it.
    std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data);

private:
    void StartHuff();
    void Update(int c);
    void Rebuild();

    std::array<std::uint16_t, T + 1> freq_{};       // freq_[T] is a sentinel
    std::array<std::uint16_t, T> son_{};
    std::array<std::uint16_t, T + N_CHAR> prnt_{};
};

}  // namespace srt

// LZHUF: LZSS with a 4096-byte ring and matches of 3 to 60 bytes, whose
// literals and match lengths are coded with an adaptive Huffman tree and whose
// match positions carry their high 6 bits in a fixed prefix code.
// Platform-free.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace srt {

class TLZHStream;

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
    // The same, and whether decoding needed bits past the end of `input`: a
    // stream cut short (a whole one ends within its last byte).
    std::vector<std::uint8_t> Decode(std::span<const std::uint8_t> input, std::uint32_t size, bool& cutShort);

    // Encodes `data` into a bit stream that Decode(stream, data.size())
    // turns back into exactly `data`. The size word of a packed skin is not
    // part of it.
    std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data);

private:
    friend class TLZHStream;
    void StartHuff();
    void Update(int c);
    void Rebuild();

    std::array<std::uint16_t, T + 1> freq_{};       // freq_[T] is a sentinel
    std::array<std::uint16_t, T> son_{};
    std::array<std::uint16_t, T + N_CHAR> prnt_{};
};

// Decodes an LZHUF stream a piece at a time, for readers that keep only
// some of what it holds. The decoded bytes are those Decode gives, in the
// same order however the reads are cut. It keeps a view of its input.
class TLZHStream {
public:
    explicit TLZHStream(std::span<const std::uint8_t> input);

    // The next `count` decoded bytes into `dest`; decoded and dropped when
    // `dest` is null.
    void Read(std::uint8_t* dest, std::size_t count);
    // Bytes of the last match that no read has taken yet: what Decode
    // copies past the size it was asked for, when read just that far.
    std::size_t Owed() const { return static_cast<std::size_t>(owed_); }
    // Whether the reads so far took bits past the end of the input.
    bool Overran() const { return pos_ * 8 - static_cast<std::size_t>(len_) > in_.size() * 8; }

private:
    int Bit();
    int Byte();
    void Fill();

    TLZH tree_;
    std::array<std::uint8_t, TLZH::N> ring_;
    int r_ = TLZH::N - TLZH::F;  // where the next byte goes
    int from_ = 0;               // the current match's next source byte
    int owed_ = 0;               // bytes of the current match still to give
    // MSB-first bits of the input; bytes past its end read as 0.
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    std::uint64_t buf_ = 0;
    int len_ = 0;
};

}  // namespace srt

// Text files as lines of bytes: the reading and writing rules of the tool.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace srt {

// The UTF-8 byte-order mark. At the start of a file it stands in front of the
// first line and is not part of it: a time line behind it is re-timed.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The one scan behind the file rules, for TextLineReader and the streaming
// re-timer: finds in order every LF, every CR not followed by an LF (the
// caller reads a CR LF pair at its LF), byte 26 and, with Arrows, every ">"
// (the end of a time line's arrow). Sixteen bytes at a time where the vector
// unit allows.
template <bool Arrows>
class LineStops {
public:
    LineStops(const char* p, std::size_t from, std::size_t n) : p_(p), n_(n), pos_(from) {}

    // The next stop, or n. A CR in the last byte is reported: the caller
    // tells whether more input may bring its LF.
    std::size_t Next() {
#ifdef __SSE2__
        for (;;) {
            if (mask_) {
                const std::size_t at = base_ + std::size_t(__builtin_ctz(mask_));
                mask_ &= mask_ - 1;
                return at;
            }
            if (pos_ + 17 > n_) break;
            base_ = pos_;
            mask_ = Mask(p_ + pos_);
            pos_ += 16;
        }
#endif
        while (pos_ < n_ && !IsStop(pos_)) ++pos_;
        return pos_ < n_ ? pos_++ : n_;
    }

private:
    bool IsStop(std::size_t i) const {
        switch (p_[i]) {
        case '\n':
        case '\x1a': return true;
        case '\r': return i + 1 == n_ || p_[i + 1] != '\n';
        case '>': return Arrows;
        default: return false;
        }
    }
#ifdef __SSE2__
    static unsigned Mask(const char* p) {
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), eof = _mm_set1_epi8(0x1A);
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i loneCR = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr));
        __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), loneCR), _mm_cmpeq_epi8(v, eof));
        if (Arrows) hits = _mm_or_si128(hits, _mm_cmpeq_epi8(v, _mm_set1_epi8('>')));
        return unsigned(_mm_movemask_epi8(hits));
    }
    std::size_t base_ = 0;
    unsigned mask_ = 0;
#endif
    const char* p_;
    std::size_t n_;
    std::size_t pos_;
};

// Reads lines from file bytes without copying them where it can: LF or CR LF
// ends a line, a lone CR is dropped, byte 26 ends the file, a final line
// break adds no empty line.
class TextLineReader {
public:
    explicit TextLineReader(std::string_view bytes);

    // The next line, valid until the next call; false at the end.
    bool Next(std::string_view& line);

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool done_ = false;
    std::string scratch_;
};

// Splits file bytes into lines by the rules of TextLineReader.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinLinesCRLF(const std::vector<std::string>& lines);

}  // namespace srt

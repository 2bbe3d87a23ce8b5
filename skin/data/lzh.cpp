#include "skin/data/lzh.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace srt {
namespace {

constexpr int N = TLZH::N;
constexpr int F = TLZH::F;
constexpr int THRESHOLD = TLZH::THRESHOLD;

// Prefix code of the high 6 bits of a match position: code c takes
// kPosLen[c] bits, the top bits of the first byte of its range.
struct PositionTables {
    std::uint8_t code[256];  // byte -> high 6 bits
    std::uint8_t len[256];   // byte -> code length in bits
    std::uint8_t first[64];  // high 6 bits -> first byte of its range
    std::uint8_t bits[64];   // high 6 bits -> code length in bits
};

constexpr PositionTables MakePositionTables() {
    // Codes per length: 1 of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8.
    constexpr int kCount[] = {1, 3, 8, 12, 24, 16};
    PositionTables t{};
    int byte = 0, c = 0;
    for (int l = 0; l < 6; ++l) {
        const int length = l + 3;
        const int span = 256 >> length;
        for (int k = 0; k < kCount[l]; ++k, ++c) {
            t.first[c] = static_cast<std::uint8_t>(byte);
            t.bits[c] = static_cast<std::uint8_t>(length);
            for (int b = 0; b < span; ++b, ++byte) {
                t.code[byte] = static_cast<std::uint8_t>(c);
                t.len[byte] = static_cast<std::uint8_t>(length);
            }
        }
    }
    return t;
}

constexpr PositionTables kPos = MakePositionTables();
static_assert(kPos.code[0x1F] == 0 && kPos.code[0x20] == 1 && kPos.code[0x50] == 4 &&
              kPos.code[0x90] == 12 && kPos.code[0xC0] == 24 && kPos.code[0xF0] == 48 &&
              kPos.code[0xFF] == 63 && kPos.len[0xEF] == 7 && kPos.len[0xF0] == 8);

// MSB-first bit writer; the last partial byte is padded with zeros.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Put(std::uint32_t code, int count) {  // the low `count` bits of code
        for (int i = count - 1; i >= 0; --i) {
            acc_ = static_cast<std::uint8_t>((acc_ << 1) | ((code >> i) & 1));
            if (++len_ == 8) {
                out_.push_back(acc_);
                acc_ = 0;
                len_ = 0;
            }
        }
    }

    void Flush() {
        if (len_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - len_)));
        acc_ = 0;
        len_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint8_t acc_ = 0;
    int len_ = 0;
};

// Binary search trees of the ring's strings, for the longest earlier match.
class MatchTree {
public:
    static constexpr int NIL = N;

    explicit MatchTree(const std::uint8_t* ring) : ring_(ring) {
        for (int i = N + 1; i <= N + 256; ++i) rson_[i] = NIL;
        for (int i = 0; i < N; ++i) dad_[i] = NIL;
    }

    int match_position = 0;
    int match_length = 0;

    void Insert(int r) {
        int cmp = 1;
        const std::uint8_t* key = &ring_[r];
        int p = N + 1 + key[0];
        rson_[r] = lson_[r] = NIL;
        match_length = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson_[p] != NIL) {
                    p = rson_[p];
                } else {
                    rson_[p] = r;
                    dad_[r] = p;
                    return;
                }
            } else {
                if (lson_[p] != NIL) {
                    p = lson_[p];
                } else {
                    lson_[p] = r;
                    dad_[r] = p;
                    return;
                }
            }
            int i = 1;
            for (; i < F; ++i) {
                cmp = key[i] - ring_[p + i];
                if (cmp != 0) break;
            }
            if (i > THRESHOLD) {
                const int position = ((r - p) & (N - 1)) - 1;
                if (i > match_length) {
                    match_position = position;
                    match_length = i;
                    if (match_length >= F) break;
                } else if (i == match_length && position < match_position) {
                    match_position = position;
                }
            }
        }
        // Full-length match: r replaces p in the tree.
        dad_[r] = dad_[p];
        lson_[r] = lson_[p];
        rson_[r] = rson_[p];
        dad_[lson_[p]] = r;
        dad_[rson_[p]] = r;
        if (rson_[dad_[p]] == p)
            rson_[dad_[p]] = r;
        else
            lson_[dad_[p]] = r;
        dad_[p] = NIL;
    }

    void Delete(int p) {
        if (dad_[p] == NIL) return;
        int q;
        if (rson_[p] == NIL) {
            q = lson_[p];
        } else if (lson_[p] == NIL) {
            q = rson_[p];
        } else {
            q = lson_[p];
            if (rson_[q] != NIL) {
                do q = rson_[q];
                while (rson_[q] != NIL);
                rson_[dad_[q]] = lson_[q];
                dad_[lson_[q]] = dad_[q];
                lson_[q] = lson_[p];
                dad_[lson_[p]] = q;
            }
            rson_[q] = rson_[p];
            dad_[rson_[p]] = q;
        }
        dad_[q] = dad_[p];
        if (rson_[dad_[p]] == p)
            rson_[dad_[p]] = q;
        else
            lson_[dad_[p]] = q;
        dad_[p] = NIL;
    }

private:
    const std::uint8_t* ring_;
    int lson_[N + 1];
    int rson_[N + 257];
    int dad_[N + 1];
};

}  // namespace

void TLZH::StartHuff() {
    for (int i = 0; i < N_CHAR; ++i) {
        freq_[i] = 1;
        son_[i] = static_cast<std::uint16_t>(i + T);
        prnt_[i + T] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        son_[j] = static_cast<std::uint16_t>(i);
        prnt_[i] = prnt_[i + 1] = static_cast<std::uint16_t>(j);
    }
    freq_[T] = 0xFFFF;
    prnt_[R] = 0;
}

void TLZH::Rebuild() {
    // Leaves to the front, counts halved.
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (son_[i] >= T) {
            freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
            son_[j] = son_[i];
            ++j;
        }
    }
    // Inner nodes from pairs, each inserted where the counts stay sorted.
    for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
        const unsigned f = freq_[i] + freq_[i + 1];
        int k = n - 1;
        while (f < freq_[k]) --k;
        ++k;
        std::memmove(&freq_[k + 1], &freq_[k], (n - k) * sizeof freq_[0]);
        freq_[k] = static_cast<std::uint16_t>(f);
        std::memmove(&son_[k + 1], &son_[k], (n - k) * sizeof son_[0]);
        son_[k] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = son_[i];
        if (k >= T)
            prnt_[k] = static_cast<std::uint16_t>(i);
        else
            prnt_[k] = prnt_[k + 1] = static_cast<std::uint16_t>(i);
    }
}

void TLZH::Update(int c) {
    if (freq_[R] == MAX_FREQ) Rebuild();
    int k = prnt_[c + T];
    do {
        const unsigned count = ++freq_[k];
        if (count > freq_[k + 1]) {
            // The last node l above k with a smaller count. The counts are
            // sorted (the sentinel ends them), so a binary search finds the
            // same node as a walk, also through long runs of equal counts.
            int l = k + 1;
            if (count > freq_[l + 1])
                l = static_cast<int>(
                        std::lower_bound(freq_.begin() + k + 2, freq_.end(), count) - freq_.begin()) - 1;
            freq_[k] = freq_[l];
            freq_[l] = static_cast<std::uint16_t>(count);

            const int i = son_[k];
            prnt_[i] = static_cast<std::uint16_t>(l);
            if (i < T) prnt_[i + 1] = static_cast<std::uint16_t>(l);
            const int j = son_[l];
            son_[l] = static_cast<std::uint16_t>(i);
            prnt_[j] = static_cast<std::uint16_t>(k);
            if (j < T) prnt_[j + 1] = static_cast<std::uint16_t>(k);
            son_[k] = static_cast<std::uint16_t>(j);
            k = l;
        }
        k = prnt_[k];
    } while (k != 0);
}

std::vector<std::uint8_t> TLZH::Decode(std::span<const std::uint8_t> input, std::uint32_t size) {
    bool cutShort = false;
    return Decode(input, size, cutShort);
}

std::vector<std::uint8_t> TLZH::Decode(std::span<const std::uint8_t> input, std::uint32_t size, bool& cutShort) {
    std::vector<std::uint8_t> out;
    cutShort = false;
    if (size == 0) return out;
    // The stream is large (its ring and tree); keep it off the stack.
    auto stream = std::make_unique<TLZHStream>(input);
    out.resize(size);
    stream->Read(out.data(), size);
    const std::size_t owed = stream->Owed();
    out.resize(size + owed);
    stream->Read(out.data() + size, owed);
    cutShort = stream->Overran();
    return out;
}

TLZHStream::TLZHStream(std::span<const std::uint8_t> input) : in_(input) {
    tree_.StartHuff();
    ring_.fill(' ');
}

void TLZHStream::Fill() {
    while (len_ <= 56) {
        const std::uint64_t byte = pos_ < in_.size() ? in_[pos_] : 0;
        ++pos_;
        buf_ |= byte << (56 - len_);
        len_ += 8;
    }
}

int TLZHStream::Bit() {
    if (len_ == 0) Fill();
    const int b = static_cast<int>(buf_ >> 63);
    buf_ <<= 1;
    --len_;
    return b;
}

int TLZHStream::Byte() {
    if (len_ < 8) Fill();
    const int b = static_cast<int>(buf_ >> 56);
    buf_ <<= 8;
    len_ -= 8;
    return b;
}

void TLZHStream::Read(std::uint8_t* dest, std::size_t count) {
    constexpr int T = TLZH::T, R = TLZH::R;
    while (count > 0) {
        if (owed_ == 0) {
            int c = tree_.son_[R];
            while (c < T) c = tree_.son_[c + Bit()];
            c -= T;
            tree_.Update(c);
            if (c < 256) {
                ring_[r_] = static_cast<std::uint8_t>(c);
                r_ = (r_ + 1) & (N - 1);
                if (dest) *dest++ = static_cast<std::uint8_t>(c);
                --count;
                continue;
            }
            int i = Byte();
            const int high = kPos.code[i];
            for (int extra = kPos.len[i] - 2; extra > 0; --extra) i = (i << 1) + Bit();
            const int position = (high << 6) | (i & 0x3F);
            from_ = (r_ - position - 1) & (N - 1);
            owed_ = c - 255 + THRESHOLD;
        }
        // The source trails r_ by position + 1 bytes: a longer match repeats
        // what it has just written, as a copy byte by byte must.
        const int n = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(owed_), count));
        for (int k = 0; k < n; ++k) {
            const std::uint8_t byte = ring_[from_];
            from_ = (from_ + 1) & (N - 1);
            ring_[r_] = byte;
            r_ = (r_ + 1) & (N - 1);
            if (dest) *dest++ = byte;
        }
        owed_ -= n;
        count -= static_cast<std::size_t>(n);
    }
}

std::vector<std::uint8_t> TLZH::Encode(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    if (data.empty()) return out;
    out.reserve(data.size() / 2 + 16);
    BitWriter bits(out);

    auto encodeChar = [&](int c) {
        // Walk from the leaf to the root; each node's parity is its bit.
        std::uint8_t path[T];
        int depth = 0;
        for (int k = prnt_[c + T]; k != R; k = prnt_[k]) path[depth++] = k & 1;
        while (depth > 0) bits.Put(path[--depth], 1);
        Update(c);
    };
    auto encodePosition = [&](int position) {
        const int high = position >> 6;
        bits.Put(kPos.first[high] >> (8 - kPos.bits[high]), kPos.bits[high]);
        bits.Put(position & 0x3F, 6);
    };

    StartHuff();
    auto ring = std::make_unique<std::uint8_t[]>(N + F - 1);
    auto tree = std::make_unique<MatchTree>(ring.get());
    std::size_t next = 0;  // next input byte
    auto get = [&](int& c) {
        if (next >= data.size()) return false;
        c = data[next++];
        return true;
    };

    int s = 0, r = N - F;
    std::memset(ring.get(), ' ', r);
    int len = 0, c = 0;
    for (; len < F && get(c); ++len) ring[r + len] = static_cast<std::uint8_t>(c);
    for (int i = 1; i <= F; ++i) tree->Insert(r - i);
    tree->Insert(r);

    do {
        if (tree->match_length > len) tree->match_length = len;
        if (tree->match_length <= THRESHOLD) {
            tree->match_length = 1;
            encodeChar(ring[r]);
        } else {
            encodeChar(255 - THRESHOLD + tree->match_length);
            encodePosition(tree->match_position);
        }
        const int last = tree->match_length;
        int i = 0;
        for (; i < last && get(c); ++i) {
            tree->Delete(s);
            ring[s] = static_cast<std::uint8_t>(c);
            if (s < F - 1) ring[s + N] = static_cast<std::uint8_t>(c);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            tree->Insert(r);
        }
        while (i++ < last) {
            tree->Delete(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len) tree->Insert(r);
        }
    } while (len > 0);
    bits.Flush();
    return out;
}

}  // namespace srt

#include "skin/data/lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

namespace srt {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> RoundTrip(const std::vector<std::uint8_t>& data) {
    const std::vector<std::uint8_t> stream = TLZH().Encode(data);
    return TLZH().Decode(stream, static_cast<std::uint32_t>(data.size()));
}

std::vector<std::uint8_t> RandomBytes(std::size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> dist(0, alphabet - 1);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(dist(gen));
    return v;
}

TEST(Lzh, RoundTripsSmallInputs) {
    for (std::string_view s : {"", "a", "ab", "abc", "aaaa", "          leading blanks",
                               "abcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabc"}) {
        EXPECT_EQ(RoundTrip(Bytes(s)), Bytes(s)) << s;
    }
}

TEST(Lzh, RoundTripsMegabytesOfRandomDataThroughTreeRebuilds) {
    // Rebuilds happen every ~32k symbols; these inputs pass dozens of them.
    for (int alphabet : {256, 16, 2}) {
        const auto data = RandomBytes(1 << 20, 7 + alphabet, alphabet);
        EXPECT_EQ(RoundTrip(data), data) << alphabet;
    }
}

TEST(Lzh, RoundTripsLongRunsAndText) {
    std::vector<std::uint8_t> data(3 << 20, 0);  // all-match input, rebuilds on lengths
    EXPECT_EQ(RoundTrip(data), data);
    std::string text;
    for (int i = 0; text.size() < (1 << 20); ++i)
        text += "[Button" + std::to_string(i % 97) + "]\r\nAction=" + std::to_string(i % 13) + "\r\n";
    const auto bytes = Bytes(text);
    const auto stream = TLZH().Encode(bytes);
    EXPECT_LT(stream.size(), bytes.size() / 6);
    EXPECT_EQ(TLZH().Decode(stream, static_cast<std::uint32_t>(bytes.size())), bytes);
}

TEST(Lzh, TruncatedStreamStillYieldsTheAnnouncedSize) {
    const auto data = RandomBytes(100000, 3, 4);
    auto stream = TLZH().Encode(data);
    stream.resize(stream.size() / 2);
    const auto out = TLZH().Decode(stream, static_cast<std::uint32_t>(data.size()));
    ASSERT_GE(out.size(), data.size());
    EXPECT_LT(out.size(), data.size() + TLZH::F);
    // The part that was still there decodes unchanged.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, out.begin()));
}

TEST(Lzh, LastMatchPastTheSizeIsCopiedWhole) {
    // 60 blanks encode as one match of the ring's blank start.
    const std::vector<std::uint8_t> blanks(TLZH::F, ' ');
    const auto stream = TLZH().Encode(blanks);
    const auto out = TLZH().Decode(stream, 10);
    EXPECT_EQ(out, blanks);
}

TEST(Lzh, ZeroBitsFollowTheStartTreesLeftPath) {
    // The start tree pairs leaves 0/1 under node 314 and so on; its left-most
    // path from the root ends at leaf 116 ('t'); once 't' has moved, the same
    // path reaches a match symbol whose zero position repeats the last byte.
    const auto out = TLZH().Decode({}, 5);
    ASSERT_GE(out.size(), 5u);
    EXPECT_LT(out.size(), 5u + TLZH::F);
    EXPECT_EQ(out, std::vector<std::uint8_t>(out.size(), 't'));
}

// The decoder written plainly, one byte per input request into a 16-bit
// buffer, with linear searches: the yardstick for TLZH's faster one.
std::vector<std::uint8_t> PlainDecode(const std::vector<std::uint8_t>& in, std::uint32_t size) {
    constexpr int N = 4096, F = 60, NC = 314, T = 627, R = 626;
    std::uint16_t freq[T + 1], son[T], prnt[T + NC];
    for (int i = 0; i < NC; ++i) freq[i] = 1, son[i] = i + T, prnt[i + T] = i;
    for (int i = 0, j = NC; j <= R; i += 2, ++j)
        freq[j] = freq[i] + freq[i + 1], son[j] = i, prnt[i] = prnt[i + 1] = j;
    freq[T] = 0xFFFF, prnt[R] = 0;
    std::size_t pos = 0;
    unsigned buf = 0, held = 0;
    auto fill = [&] {
        while (held <= 8) {
            const unsigned byte = pos < in.size() ? in[pos] : 0;
            ++pos;
            buf = (buf | byte << (8 - held)) & 0xFFFF, held += 8;
        }
    };
    auto bit = [&] { fill(); const unsigned b = buf >> 15; buf = (buf << 1) & 0xFFFF, --held; return b; };
    auto byte = [&] { fill(); const unsigned b = buf >> 8; buf = (buf << 8) & 0xFFFF, held -= 8; return b; };
    auto update = [&](int c) {
        if (freq[R] == 0x8000) {
            int j = 0;
            for (int i = 0; i < T; ++i)
                if (son[i] >= T) freq[j] = (freq[i] + 1) / 2, son[j] = son[i], ++j;
            for (int i = 0, j2 = NC; j2 < T; i += 2, ++j2) {
                const unsigned f = freq[i] + freq[i + 1];
                int k = j2 - 1;
                while (f < freq[k]) --k;
                ++k;
                for (int m = j2; m > k; --m) freq[m] = freq[m - 1], son[m] = son[m - 1];
                freq[k] = f, son[k] = i;
            }
            for (int i = 0; i < T; ++i) {
                if (son[i] >= T) prnt[son[i]] = i;
                else prnt[son[i]] = prnt[son[i] + 1] = i;
            }
        }
        int k = prnt[c + T];
        do {
            const unsigned n = ++freq[k];
            if (n > freq[k + 1]) {
                int l = k + 1;
                while (n > freq[l + 1]) ++l;
                freq[k] = freq[l], freq[l] = n;
                const int i = son[k];
                prnt[i] = l;
                if (i < T) prnt[i + 1] = l;
                const int j = son[l];
                son[l] = i;
                prnt[j] = k;
                if (j < T) prnt[j + 1] = k;
                son[k] = j;
                k = l;
            }
        } while ((k = prnt[k]) != 0);
    };
    static const int kLen[] = {3, 4, 5, 6, 7, 8}, kCount[] = {1, 3, 8, 12, 24, 16};
    int code[256], len[256];
    for (int g = 0, b = 0, c = 0; g < 6; ++g)
        for (int n = 0; n < kCount[g]; ++n, ++c)
            for (int m = 0; m < 256 >> kLen[g]; ++m, ++b) code[b] = c, len[b] = kLen[g];
    std::uint8_t ring[N];
    std::fill(ring, ring + N, ' ');
    int r = N - F;
    std::vector<std::uint8_t> out;
    while (out.size() < size) {
        int c = son[R];
        while (c < T) c = son[c + bit()];
        c -= T;
        update(c);
        if (c < 256) {
            out.push_back(c), ring[r] = c, r = (r + 1) % N;
            continue;
        }
        int i = byte();
        const int hi = code[i];
        for (int n = len[i] - 2; n > 0; --n) i = (i << 1) + bit();
        const int s = (r - (hi * 64 + i % 64) - 1 + N) % N;
        for (int k = 0; k < c - 253; ++k) {
            const std::uint8_t b = ring[(s + k) % N];
            out.push_back(b), ring[r] = b, r = (r + 1) % N;
        }
    }
    return out;
}

TEST(Lzh, DecodesArbitraryStreamsAsThePlainDecoderDoes) {
    // Random streams walk every corner of the tree: all symbols, all
    // positions, rebuilds (300 kB is several of them) and truncation.
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const auto stream = RandomBytes(seed * 40000, seed, seed % 2 ? 256 : 3);
        const std::uint32_t size = seed * 50000;
        EXPECT_EQ(TLZH().Decode(stream, size), PlainDecode(stream, size)) << seed;
    }
    const auto text = TLZH().Encode(RandomBytes(200000, 9, 5));
    EXPECT_EQ(TLZH().Decode(text, 200000), PlainDecode(text, 200000));
}

TEST(Lzh, StreamReadsInAnyCutsGiveWhatDecodeGives) {
    // Cuts of every length from 1 byte to past a 60-byte match, some of them
    // dropped; a random stream adds rebuilds and every position code.
    for (const auto& stream : {TLZH().Encode(RandomBytes(300000, 4, 6)), RandomBytes(60000, 8)}) {
        const std::uint32_t size = 250000;
        const auto whole = TLZH().Decode(stream, size);
        auto reader = std::make_unique<TLZHStream>(stream);
        std::vector<std::uint8_t> piece;
        std::mt19937 gen(3);
        std::size_t at = 0;
        while (at < size) {
            const std::size_t n = std::min<std::size_t>(gen() % 150 + 1, size - at);
            piece.assign(n, 0);
            const bool keep = gen() % 3 != 0;
            reader->Read(keep ? piece.data() : nullptr, n);
            if (keep) {
                ASSERT_TRUE(std::equal(piece.begin(), piece.end(), whole.begin() + static_cast<std::ptrdiff_t>(at)))
                    << at;
            }
            at += n;
        }
        // What is owed at the size is Decode's copy past it.
        ASSERT_EQ(size + reader->Owed(), whole.size());
        piece.assign(reader->Owed(), 0);
        reader->Read(piece.data(), piece.size());
        EXPECT_TRUE(std::equal(piece.begin(), piece.end(), whole.begin() + size));
    }
}

}  // namespace
}  // namespace srt

#include "skin/data/lzh.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace srt

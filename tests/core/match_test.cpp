#include "core/match.h"

#include <gtest/gtest.h>

#include <random>

namespace srt {
namespace {

// Every offset in [-span, span] evaluated one by one.
OffsetMatch BruteForce(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference, int span) {
    OffsetMatch best;
    best.overlap = TotalOverlap(cues, reference, 0);
    for (int d = -span; d <= span; ++d) {
        const std::int64_t value = TotalOverlap(cues, reference, d);
        const int a = d < 0 ? -d : d, b = int(best.offset < 0 ? -best.offset : best.offset);
        if (value > best.overlap || (value == best.overlap && (a < b || (a == b && d < best.offset)))) {
            best.offset = d;
            best.overlap = value;
        }
    }
    return best;
}

std::vector<CueTimes> RandomCues(std::mt19937& random, int count, int spread, int longest) {
    std::vector<CueTimes> cues;
    for (int i = 0; i < count; ++i) {
        const std::int64_t start = random() % spread;
        // Now and then an empty or reversed cue, which overlaps nothing.
        const std::int64_t length = std::int64_t(random() % longest) - (random() % 8 == 0 ? longest / 4 : 0);
        cues.push_back({start, start + length});
    }
    return cues;
}

TEST(FindBestOffset, AgreesWithBruteForce) {
    std::mt19937 random(31);
    for (int round = 0; round < 400; ++round) {
        const int spread = 20 + int(random() % 300), longest = 1 + int(random() % 60);
        const auto cues = RandomCues(random, 1 + int(random() % 6), spread, longest);
        const auto reference = RandomCues(random, 1 + int(random() % 6), spread, longest);
        const OffsetMatch expected = BruteForce(cues, reference, spread + 2 * longest);
        const OffsetMatch got = FindBestOffset(cues, reference);
        ASSERT_EQ(got.offset, expected.offset) << "round " << round;
        ASSERT_EQ(got.overlap, expected.overlap) << "round " << round;
        EXPECT_EQ(got.overlapping, OverlappingCues(cues, reference, got.offset));
    }
}

TEST(FindBestOffset, TiesGoToTheSmallestOffsetThenTheNegativeOne) {
    // One cue of 10 ms inside a reference cue of 30 ms: a plateau from -5 to +15.
    EXPECT_EQ(FindBestOffset({{100, 110}}, {{95, 125}}).offset, 0);
    // The plateau from +5 to +25 holds no zero: its nearest end.
    EXPECT_EQ(FindBestOffset({{100, 110}}, {{105, 135}}).offset, 5);
    // Two equal peaks at -50 and +50.
    EXPECT_EQ(FindBestOffset({{100, 110}}, {{50, 60}, {150, 160}}).offset, -50);
    // Nothing can overlap: offset 0.
    const OffsetMatch none = FindBestOffset({{100, 100}}, {{50, 60}});
    EXPECT_EQ(none.offset, 0);
    EXPECT_EQ(none.overlap, 0);
    EXPECT_EQ(none.overlapping, 0u);
}

TEST(FindBestOffset, FindsAKnownShiftAcrossAWholeFilm) {
    std::mt19937 random(5);
    std::vector<CueTimes> reference, cues;
    std::int64_t t = 30000;
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t length = 800 + random() % 4000;
        reference.push_back({t, t + length});
        // The same cues 2.345 s early, a few of them missing or a little off.
        if (i % 17 != 0) cues.push_back({t - 2345 + (i % 29 == 0 ? 40 : 0), t - 2345 + length});
        t += length + 200 + random() % 3000;
    }
    const OffsetMatch best = FindBestOffset(cues, reference);
    EXPECT_EQ(best.offset, 2345);
    EXPECT_EQ(best.overlapping, cues.size());
}

TEST(FindBestOffset, AgreesWithBruteForceWhereTheBoundIsLoose) {
    std::mt19937 random(77);
    for (int round = 0; round < 150; ++round) {
        // Wide spreads give many offset buckets; short, dense or nested cues
        // and periodic layouts make many of them come close to the best.
        const int shape = round % 3;
        const int spread = 200 + int(random() % 3000), longest = 1 + int(random() % (shape == 0 ? 8 : 400));
        auto cues = RandomCues(random, 1 + int(random() % 12), spread, longest);
        auto reference = RandomCues(random, 1 + int(random() % 12), spread, longest);
        if (shape == 2) {  // evenly spaced copies: equal peaks, ties across buckets
            const std::int64_t period = 50 + random() % 200, length = 1 + random() % period;
            cues.clear();
            reference.clear();
            for (int i = 0; i < 8; ++i) {
                reference.push_back({i * period, i * period + length});
                if (i % 3 == 0) cues.push_back({i * period + 7, i * period + 7 + length});
            }
        }
        const OffsetMatch expected = BruteForce(cues, reference, spread + 2 * 400);
        const OffsetMatch got = FindBestOffset(cues, reference);
        ASSERT_EQ(got.offset, expected.offset) << "round " << round;
        ASSERT_EQ(got.overlap, expected.overlap) << "round " << round;
    }
}

TEST(FindBestOffset, OverlappingReferenceCuesCountOncePerPair) {
    // Three reference cues on top of each other: each pair counts.
    const OffsetMatch best = FindBestOffset({{0, 100}}, {{1000, 1100}, {1000, 1100}, {1050, 1100}});
    EXPECT_EQ(best.offset, 1000);
    EXPECT_EQ(best.overlap, 250);
    EXPECT_EQ(best.overlapping, 1u);
}

TEST(FindBestOffset, FarApartAndOutOfReach) {
    // The peak lies just inside one day; beyond a day it is out of reach.
    EXPECT_EQ(FindBestOffset({{0, 10}}, {{kMillisPerDay, kMillisPerDay + 10}}).offset, kMillisPerDay);
    const OffsetMatch beyond = FindBestOffset({{0, 10}}, {{kMillisPerDay + 20, kMillisPerDay + 30}});
    EXPECT_EQ(beyond.offset, 0);
    EXPECT_EQ(beyond.overlap, 0);
    // A second, smaller peak near zero loses to the larger one far away.
    const OffsetMatch far = FindBestOffset({{0, 10}, {50, 80}}, {{40, 45}, {9000000, 9000010}, {9000050, 9000080}});
    EXPECT_EQ(far.offset, 9000000);
    EXPECT_EQ(far.overlap, 40);
}

}  // namespace
}  // namespace srt

#include "core/retime.h"
#include "core/timeshift.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace srt {
namespace {

std::string Retimed(std::string_view line, const TimeMap& map) {
    std::string out;
    try {
        AppendRetimedLine(out, line, map);
    } catch (const EConvertError& e) {
        return std::string("error: ") + e.what();
    }
    return out;
}

TEST(Rounding, HalvesGoAwayFromZero) {
    const struct {
        std::int64_t value, divisor, result;
    } cases[] = {{5, 2, 3}, {-5, 2, -3}, {5, -2, -3}, {3, 2, 2}, {1, 2, 1}, {-1, 2, -1}, {7, 3, 2},
                 {-7, 3, -2}, {8, 3, 3}, {-8, 3, -3}, {0, 7, 0}, {999, 1000, 1}, {499, 1000, 0}};
    for (const auto& c : cases) EXPECT_EQ(DivideRounded(c.value, c.divisor), c.result) << c.value << "/" << c.divisor;
}

TEST(Rounding, MulDivIsExactBeyondSixtyFourBits) {
    // (2^40 * 10^12) / (3 * 10^6): the product needs 80 bits.
    const std::uint64_t t = std::uint64_t(1) << 40, num = 1000000000000ull, den = 3000000;
    // 2^40 * 10^6 / 3 = 1099511627776000000 / 3 = 366503875925333333.33...
    EXPECT_EQ(MulDivRounded(t, num, den), 366503875925333333ull);
    EXPECT_EQ(MulDivRounded(3, 1, 2), 2u);  // 1.5
    EXPECT_EQ(MulDivRounded(5, 1, 4), 1u);  // 1.25
    EXPECT_FALSE(MulDivRounded(UINT64_MAX / 2, UINT64_MAX / 2, 1).has_value());
#ifdef __SIZEOF_INT128__
    std::mt19937_64 random(19);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t a = random() >> (random() % 64), b = random() >> (random() % 64);
        const std::uint64_t d = (random() >> (1 + random() % 63)) | 1;
        const unsigned __int128 p = (unsigned __int128)a * b;
        unsigned __int128 q = p / d;
        if (2 * (p % d) >= d) ++q;
        const auto got = MulDivRounded(a, b, d);
        if (q >> 64) {
            EXPECT_FALSE(got.has_value());
        } else {
            ASSERT_TRUE(got.has_value());
            EXPECT_EQ(*got, std::uint64_t(q)) << a << "*" << b << "/" << d;
        }
    }
#endif
}

TEST(TimeMap, SyncMapsTheTwoPointsAndRoundsTheWholeValue) {
    // 00:00:10,000 -> 00:00:12,000 and 00:01:10,000 -> 00:01:14,000: factor 62/60.
    const TimeMap map = TimeMap::Sync(10000, 12000, 70000, 74000);
    EXPECT_EQ(map.Apply(10000), 12000);
    EXPECT_EQ(map.Apply(70000), 74000);
    EXPECT_EQ(map.Apply(40000), 43000);  // 12000 + 30000 * 62 / 60
    EXPECT_EQ(map.Apply(10001), 12001);  // 12001.03
    EXPECT_EQ(map.Apply(0), 1667);       // 12000 - 10333.3
    // Going down: t -> 1000 - t / 2; 999.5 rounds to 1000, not 999.
    const TimeMap down = TimeMap::Sync(0, 1000, 2000, 0);
    EXPECT_EQ(down.Apply(1), 1000);
    EXPECT_EQ(down.Apply(3), 999);  // 998.5
    EXPECT_EQ(down.Apply(2000), 0);
    EXPECT_EQ(down.Apply(4001), -1001);  // -1000.5
}

TEST(TimeMap, ScaleAndFrameRates) {
    ASSERT_EQ(ParseFrameRate("23.976")->num, 24000u);
    EXPECT_EQ(ParseFrameRate("23.976")->den, 1001u);
    EXPECT_EQ(ParseFrameRate("119.88")->num, 120000u);
    EXPECT_EQ(ParseFrameRate("25")->num, 25u);
    EXPECT_EQ(ParseFrameRate("12.5")->num, 25u);
    EXPECT_EQ(ParseFrameRate("12.5")->den, 2u);
    // The 1001-based rates however they are spelled.
    for (const char* spelled : {"29.970", "029.97", "29.9700"}) {
        ASSERT_TRUE(ParseFrameRate(spelled)) << spelled;
        EXPECT_EQ(ParseFrameRate(spelled)->num, 30000u) << spelled;
        EXPECT_EQ(ParseFrameRate(spelled)->den, 1001u) << spelled;
    }
    EXPECT_EQ(ParseFrameRate("059.940")->num, 60000u);
    EXPECT_EQ(ParseFrameRate("23.9760")->den, 1001u);
    EXPECT_EQ(ParseFrameRate("29.971")->den, 1000u);
    for (const char* bad : {"", "0", "0.000", "-25", "25.", ".5", "1.2.3", "25fps", "1234567", "1.1234567"})
        EXPECT_FALSE(ParseFrameRate(bad).has_value()) << bad;
    // 25 -> 23.976: t * 25 * 1001 / 24000 = t * 1001 / 960.
    const TimeMap map = TimeMap::Scale(25 * 1001, 24000);
    EXPECT_EQ(map.Apply(16320), 17017);  // exact
    EXPECT_EQ(map.Apply(500), 521);      // 521.35
    EXPECT_EQ(map.Apply(23880), 24900);  // 24899.875
    const TimeMap half = TimeMap::Scale(1, 2);
    EXPECT_EQ(half.Apply(1), 1);
    EXPECT_EQ(half.Apply(3), 2);
    EXPECT_EQ(half.Apply(-3), -2);
}

TEST(TimeMap, ClockTimes) {
    EXPECT_EQ(ParseClockTime("01:02:03,004"), 3723004);
    EXPECT_EQ(ParseClockTime("23:59:59.999"), 86399999);
    for (const char* bad : {"24:00:00,000", "00:60:00,000", "1:02:03,004", "01:02:03,04", "01:02:03;004", ""})
        EXPECT_FALSE(ParseClockTime(bad).has_value()) << bad;
}

TEST(RetimedLine, OutsideTheDayIsRefusedWithTheFieldNamed) {
    const TimeMap twice = TimeMap::Scale(2, 1);
    EXPECT_EQ(Retimed("12:00:00,000 --> 11:00:00,000", twice),
              "error: '12:00:00,000' re-timed is outside 00:00:00,000 to 23:59:59,999");
    EXPECT_EQ(Retimed("11:00:00,000 --> 12:00:00,000", twice),
              "error: '12:00:00,000' re-timed is outside 00:00:00,000 to 23:59:59,999");
    // The offset keeps the rule's own message; unreadable fields keep theirs.
    EXPECT_EQ(Retimed("00:00:01,000 --> 00:00:02,000", TimeMap::Offset(-1001)),
              "error: '00:00:01,000' shifted by -1001 ms is outside 00:00:00,000 to 23:59:59,999");
    EXPECT_EQ(Retimed("00:00:01,0y0 --> 00:00:02,000", twice), "error: '0y0' is not a valid integer value");
    EXPECT_EQ(Retimed("text", twice), "text");
}

// The fast path agrees with the general rule wherever it answers, and
// answers for every canonical line.
TEST(RetimedLine, FastPathMatchesTheRule) {
    const TimeMap maps[] = {TimeMap::Offset(1500), TimeMap::Offset(-86399999), TimeMap::Sync(0, 1000, 3000, 2000),
                            TimeMap::Scale(25 * 1001, 24000), TimeMap::Scale(24000, 25 * 1001)};
    std::mt19937 random(7);
    const std::string alphabet = "0123456789:,.-> x";
    for (int i = 0; i < 200000; ++i) {
        unsigned v[8];
        for (int k = 0; k < 8; ++k) v[k] = unsigned(random() % (k % 4 == 0 ? 26 : k % 4 == 3 ? 1000 : 62));
        char line[64];
        std::snprintf(line, sizeof line, "%02u:%02u:%02u,%03u --> %02u:%02u:%02u,%03u", v[0], v[1], v[2], v[3], v[4],
                      v[5], v[6], v[7]);
        std::string text = line;
        if (i % 3 == 0) text[random() % text.size()] = alphabet[random() % alphabet.size()];
        if (i % 5 == 0) text += " X1:40";
        const TimeMap& map = maps[i % 5];
        char fast[29];
        const bool answered = FastRetimeLine(fast, text, map);
        const std::string general = Retimed(text, map);
        if (answered) {
            EXPECT_EQ(std::string(fast, 29), general) << text;
        } else if (i % 3 != 0) {
            // A line as printed is canonical: only a time out of the day or
            // a field out of range sends it the general way.
            EXPECT_EQ(general.rfind("error: ", 0), 0u) << text;
        }
    }
}

}  // namespace
}  // namespace srt

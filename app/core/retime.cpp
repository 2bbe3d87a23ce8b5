#include "core/retime.h"

#include "core/digits.h"
#include "core/timeshift.h"

#include <array>
#include <cstring>
#include <numeric>

namespace srt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Two(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

// hh:mm:ss at p with two-digit fields within the day; -1 otherwise.
std::int64_t ClockSeconds(const char* p) {
    if (!IsDigit(p[0]) || !IsDigit(p[1]) || p[2] != ':' || !IsDigit(p[3]) || !IsDigit(p[4]) || p[5] != ':' ||
        !IsDigit(p[6]) || !IsDigit(p[7]))
        return -1;
    const int h = Two(p), m = Two(p + 3), s = Two(p + 6);
    if (h > 23 || m > 59 || s > 59) return -1;
    return h * 3600 + m * 60 + s;
}

std::int64_t ThreeDigits(const char* p) {
    if (!IsDigit(p[0]) || !IsDigit(p[1]) || !IsDigit(p[2])) return -1;
    return (p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0');
}

std::int64_t Apply(const TimeMap& map, std::string_view line, std::size_t column, std::int64_t t) {
    const std::int64_t result = map.Apply(t);
    if (result < 0 || result >= kMillisPerDay) ThrowOutsideDay(line, column, "re-timed");
    return result;
}

// hh:mm:ss,mmm of a time within the day.
inline void FormatClock(char* p, std::uint32_t t) {
    const std::uint32_t seconds = t / 1000, millis = t - seconds * 1000;
    const std::uint32_t hours = seconds / 3600, inHour = seconds - hours * 3600;
    const std::uint32_t minutes = inHour / 60, secs = inHour - minutes * 60;
    std::memcpy(p, &kTwoDigits[2 * hours], 2);
    p[2] = ':';
    std::memcpy(p + 3, &kTwoDigits[2 * minutes], 2);
    p[5] = ':';
    std::memcpy(p + 6, &kTwoDigits[2 * secs], 2);
    p[8] = ',';
    p[9] = char('0' + millis / 100);
    std::memcpy(p + 10, &kTwoDigits[2 * (millis % 100)], 2);
}

// Unsigned decimal of at most six digits; nullopt otherwise.
std::optional<std::uint64_t> SixDigits(std::string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        v = v * 10 + unsigned(c - '0');
    }
    return v;
}

}  // namespace

TimeMap TimeMap::Offset(std::int32_t offset) {
    TimeMap map;
    map.kind_ = Kind::Offset;
    map.offset_ = offset;
    return map;
}

TimeMap TimeMap::Sync(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
    TimeMap map;
    map.kind_ = Kind::Sync;
    map.a_ = a;
    map.b_ = b;
    map.num_ = d - b;
    map.den_ = c - a;
    return map;
}

TimeMap TimeMap::Scale(std::uint64_t num, std::uint64_t den) {
    TimeMap map;
    map.kind_ = Kind::Scale;
    const std::uint64_t g = std::gcd(num, den);
    map.num_ = std::int64_t(num / g);
    map.den_ = std::int64_t(den / g);
    return map;
}

std::int64_t TimeMap::Apply(std::int64_t t) const {
    switch (kind_) {
    case Kind::Offset: return t + offset_;
    // Times read by the rule stay below 2^32 ms and the points within a
    // day, so the products fit 64 bits.
    // The whole value is rounded, not just the quotient.
    case Kind::Sync: return DivideRounded(b_ * den_ + (t - a_) * num_, den_);
    case Kind::Scale: {
        const std::uint64_t magnitude = t < 0 ? std::uint64_t(-t) : std::uint64_t(t);
        const auto scaled = MulDivRounded(magnitude, std::uint64_t(num_), std::uint64_t(den_));
        if (!scaled || *scaled > std::uint64_t(INT64_MAX / 2)) return t < 0 ? -kMillisPerDay : kMillisPerDay;
        return t < 0 ? -std::int64_t(*scaled) : std::int64_t(*scaled);
    }
    }
    return t;
}

std::int64_t DivideRounded(std::int64_t value, std::int64_t divisor) {
    const bool negative = (value < 0) != (divisor < 0);
    const std::uint64_t v = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    const std::uint64_t d = divisor < 0 ? 0 - std::uint64_t(divisor) : std::uint64_t(divisor);
    std::uint64_t q = v / d;
    const std::uint64_t r = v % d;
    if (r >= d - r) ++q;  // 2r >= d without overflow
    return negative ? -std::int64_t(q) : std::int64_t(q);
}

std::optional<std::uint64_t> MulDivRounded(std::uint64_t t, std::uint64_t num, std::uint64_t den) {
    // The 128-bit product as two halves.
    const std::uint64_t mask = 0xFFFFFFFFu;
    const std::uint64_t t0 = t & mask, t1 = t >> 32, n0 = num & mask, n1 = num >> 32;
    const std::uint64_t p00 = t0 * n0, p01 = t0 * n1, p10 = t1 * n0, p11 = t1 * n1;
    const std::uint64_t middle = (p00 >> 32) + (p01 & mask) + (p10 & mask);
    const std::uint64_t low = (p00 & mask) | (middle << 32);
    const std::uint64_t high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
    if (high == 0) {
        std::uint64_t q = low / den;
        const std::uint64_t r = low % den;
        if (r >= den - r) ++q;
        return q;
    }
    if (high >= den) return std::nullopt;  // the quotient needs more than 64 bits
    // Long division, one bit at a time; the remainder stays below den < 2^63.
    std::uint64_t remainder = high, quotient = 0;
    for (int bit = 63; bit >= 0; --bit) {
        remainder = remainder << 1 | (low >> bit & 1);
        quotient <<= 1;
        if (remainder >= den) {
            remainder -= den;
            quotient |= 1;
        }
    }
    if (remainder >= den - remainder) {
        if (quotient == UINT64_MAX) return std::nullopt;
        ++quotient;
    }
    return quotient;
}

void AppendRetimedLine(std::string& out, std::string_view line, const TimeMap& map) {
    if (map.IsOffset()) {
        AppendShiftedLine(out, line, map.offset());
        return;
    }
    if (line.find("-->") == std::string_view::npos) {
        out.append(line);
        return;
    }
    const TimeLineTimes times = ReadTimeLine(line);
    const std::int64_t start = Apply(map, line, 1, times.start);
    const std::int64_t end = Apply(map, line, 18, times.end);
    char result[29];
    FormatTimeLine(result, start, end);
    out.append(result, sizeof result);
}

bool FastRetimeLine(char* out, std::string_view line, const TimeMap& map) {
    if (line.size() < 29) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    if (p[13] != '-' || p[14] != '-' || p[15] != '>' || p[2] != ':' || p[5] != ':' || p[19] != ':' || p[22] != ':')
        return false;
    // The eighteen digits, checked all at once.
    static constexpr std::uint8_t kDigitAt[18] = {0, 1, 3, 4, 6, 7, 9, 10, 11, 17, 18, 20, 21, 23, 24, 26, 27, 28};
    std::uint32_t d[18];
    bool bad = false;
#pragma GCC unroll 18
    for (int k = 0; k < 18; ++k) {
        d[k] = std::uint32_t(p[kDigitAt[k]] - '0');
        bad |= d[k] > 9;
    }
    if (bad) return false;
    const std::uint32_t h1 = d[0] * 10 + d[1], m1 = d[2] * 10 + d[3], s1 = d[4] * 10 + d[5];
    const std::uint32_t h2 = d[9] * 10 + d[10], m2 = d[11] * 10 + d[12], s2 = d[13] * 10 + d[14];
    if ((h1 > 23) | (h2 > 23) | (m1 > 59) | (m2 > 59) | (s1 > 59) | (s2 > 59)) return false;
    const std::int64_t start = map.Apply(((h1 * 60 + m1) * 60 + s1) * 1000 + d[6] * 100 + d[7] * 10 + d[8]);
    const std::int64_t end = map.Apply(((h2 * 60 + m2) * 60 + s2) * 1000 + d[15] * 100 + d[16] * 10 + d[17]);
    if (start < 0 || start >= kMillisPerDay || end < 0 || end >= kMillisPerDay) return false;
    FormatClock(out, std::uint32_t(start));
    std::memcpy(out + 12, " --> ", 5);
    FormatClock(out + 17, std::uint32_t(end));
    return true;
}

std::optional<std::int64_t> ParseClockTime(std::string_view text) {
    if (text.size() != 12 || (text[8] != ',' && text[8] != '.')) return std::nullopt;
    const std::int64_t seconds = ClockSeconds(text.data());
    const std::int64_t millis = ThreeDigits(text.data() + 9);
    if (seconds < 0 || millis < 0) return std::nullopt;
    return seconds * 1000 + millis;
}

namespace {

// An exact decimal rate, up to six digits either side of the point, reduced.
std::optional<Rate> DecimalRate(std::string_view text) {
    const std::size_t point = text.find('.');
    const auto whole = SixDigits(text.substr(0, point));
    if (!whole) return std::nullopt;
    Rate rate{*whole, 1};
    if (point != std::string_view::npos) {
        const std::string_view fraction = text.substr(point + 1);
        const auto digits = SixDigits(fraction);
        if (!digits) return std::nullopt;
        for (std::size_t i = 0; i < fraction.size(); ++i) rate.den *= 10;
        rate.num = rate.num * rate.den + *digits;
    }
    if (rate.num == 0) return std::nullopt;
    const std::uint64_t g = std::gcd(rate.num, rate.den);
    return Rate{rate.num / g, rate.den / g};
}

}  // namespace

std::optional<Rate> ParseFrameRate(std::string_view text) {
    struct Named {
        std::string_view text;
        std::uint64_t num;
    };
    static constexpr Named kNtsc[] = {
        {"23.976", 24000}, {"29.97", 30000}, {"47.952", 48000}, {"59.94", 60000}, {"119.88", 120000}};
    const auto rate = DecimalRate(text);
    if (!rate) return std::nullopt;
    // The same value however it is spelled: 29.970, 029.97.
    for (const auto& n : kNtsc) {
        const auto named = DecimalRate(n.text);
        if (named->num == rate->num && named->den == rate->den) return Rate{n.num, 1001};
    }
    return rate;
}

}  // namespace srt

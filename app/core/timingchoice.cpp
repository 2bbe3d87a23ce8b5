#include "core/timingchoice.h"

#include "core/timeshift.h"

#include <cctype>

namespace srt {
namespace {

std::string Trimmed(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    return text.substr(b, e - b);
}

// A cue number from 1 to count.
std::optional<std::uint64_t> CueNumber(const std::string& text, std::size_t count) {
    const std::string t = Trimmed(text);
    if (t.empty() || t.size() > 18) return std::nullopt;
    std::uint64_t n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (n < 1 || n > count) return std::nullopt;
    return n;
}

std::optional<std::int64_t> Clock(const std::string& text) { return ParseClockTime(Trimmed(text)); }

}  // namespace

TimingChoice ChooseTiming(const TimingFields& f, const std::vector<std::optional<std::int64_t>>& starts) {
    TimingChoice choice;
    auto fail = [&](TimingFault fault) {
        choice.fault = fault;
        return choice;
    };
// The range first: matching against a reference needs it.
    switch (f.range) {
    case RangeKind::All: break;
    case RangeKind::FromCue:
        if (!(choice.range.fromIndex = CueNumber(f.first, starts.size()))) return fail(TimingFault::First);
        break;
    case RangeKind::CueSpan:
        if (!(choice.range.fromIndex = CueNumber(f.first, starts.size()))) return fail(TimingFault::First);
        if (!(choice.range.toIndex = CueNumber(f.last, starts.size()))) return fail(TimingFault::Last);
        if (*choice.range.fromIndex > *choice.range.toIndex) return fail(TimingFault::Reversed);
        break;
    case RangeKind::TimeSpan:
        if (!(choice.range.from = Clock(f.first))) return fail(TimingFault::First);
        if (!(choice.range.to = Clock(f.last))) return fail(TimingFault::Last);
        if (*choice.range.from > *choice.range.to) return fail(TimingFault::Reversed);
        break;
    }
    switch (f.mode) {
    case TimingMode::Offset: {
        const std::optional<std::int32_t> offset = TryStrToInt(f.offset);
        if (!offset) return fail(TimingFault::Offset);
        choice.map = TimeMap::Offset(*offset);
        break;
    }
    case TimingMode::TwoPoints: {
        const auto a = CueNumber(f.cueA, starts.size());
        if (!a || !starts[*a - 1]) return fail(TimingFault::CueA);
        const auto b = Clock(f.timeB);
        if (!b) return fail(TimingFault::TimeB);
        const auto c = CueNumber(f.cueC, starts.size());
        if (!c || !starts[*c - 1]) return fail(TimingFault::CueC);
        const auto d = Clock(f.timeD);
        if (!d) return fail(TimingFault::TimeD);
        if (*starts[*a - 1] == *starts[*c - 1]) return fail(TimingFault::SamePoints);
        choice.map = TimeMap::Sync(*starts[*a - 1], *b, *starts[*c - 1], *d);
        break;
    }
    case TimingMode::FrameRate: {
        const auto from = ParseFrameRate(Trimmed(f.rateFrom));
        if (!from) return fail(TimingFault::RateFrom);
        const auto to = ParseFrameRate(Trimmed(f.rateTo));
        if (!to) return fail(TimingFault::RateTo);
        // t * FROM / TO, as the command-line tool has it.
        choice.map = TimeMap::Scale(from->num * to->den, from->den * to->num);
        break;
    }
    case TimingMode::Reference:
        if (!f.referenceOffset) return fail(TimingFault::NoReference);
        choice.map = TimeMap::Offset(static_cast<std::int32_t>(*f.referenceOffset));
        break;
    }
    return choice;
}

}  // namespace srt

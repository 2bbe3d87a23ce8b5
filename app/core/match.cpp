#include "core/match.h"

#include <algorithm>

namespace srt {
namespace {

// A point where an interval's indicator steps up (+1) or down (-1).
struct Step {
    std::int64_t at;
    int weight;
};

// Reference steps: +1 at each start, -1 at each end. Cue steps take the
// opposite signs (+1 at ends, -1 at starts), so that the overlap's slope in
// the offset changes by the product of the weights at offset = x - y.
std::vector<Step> Steps(const std::vector<CueTimes>& cues, bool reference) {
    std::vector<Step> steps;
    steps.reserve(cues.size() * 2);
    for (const CueTimes& c : cues) {
        if (c.end <= c.start) continue;
        steps.push_back({c.start, reference ? 1 : -1});
        steps.push_back({c.end, reference ? -1 : 1});
    }
    std::sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.at < b.at; });
    return steps;
}

bool Better(std::int64_t value, std::int64_t offset, const OffsetMatch& best) {
    if (value != best.overlap) return value > best.overlap;
    const std::int64_t a = offset < 0 ? -offset : offset, b = best.offset < 0 ? -best.offset : best.offset;
    if (a != b) return a < b;
    return offset < best.offset;
}

}  // namespace

OffsetMatch FindBestOffset(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference) {
    OffsetMatch best;  // nothing overlaps anywhere: offset 0
    const std::vector<Step> xs = Steps(reference, true), ys = Steps(cues, false);
    if (xs.empty() || ys.empty()) return best;
    const std::int64_t lo = std::max(xs.front().at - ys.back().at, -kMillisPerDay);
    const std::int64_t hi = std::min(xs.back().at - ys.front().at, kMillisPerDay);

    // Prefix sums of the reference weights and weighted positions.
    std::vector<std::int64_t> sumW(xs.size() + 1), sumWX(xs.size() + 1);
    for (std::size_t k = 0; k < xs.size(); ++k) {
        sumW[k + 1] = sumW[k] + xs[k].weight;
        sumWX[k + 1] = sumWX[k] + xs[k].weight * xs[k].at;
    }
    // The state at lo from the breakpoints before it: f(lo) and the slope.
    std::int64_t value = 0, slope = 0;
    std::vector<std::size_t> next(ys.size());  // per cue step: first x with x - y >= the sweep
    for (std::size_t j = 0; j < ys.size(); ++j) {
        const std::int64_t y = ys[j].at;
        const auto k = std::size_t(std::lower_bound(xs.begin(), xs.end(), lo + y,
                                                    [](const Step& s, std::int64_t v) { return s.at < v; }) -
                                   xs.begin());
        next[j] = k;
        slope += ys[j].weight * sumW[k];
        value += ys[j].weight * (sumW[k] * (lo + y) - sumWX[k]);
    }
    // Windows of offsets: the slope changes in each are added into an array,
    // then the window is swept one millisecond at a time.
    constexpr std::int64_t kWindow = std::int64_t(1) << 19;
    std::vector<std::int64_t> delta;
    for (std::int64_t begin = lo; begin <= hi; begin += kWindow) {
        const std::int64_t end = std::min(begin + kWindow, hi + 1);
        delta.assign(std::size_t(end - begin), 0);
        for (std::size_t j = 0; j < ys.size(); ++j) {
            const std::int64_t y = ys[j].at;
            std::size_t k = next[j];
            for (; k < xs.size() && xs[k].at - y < end; ++k)
                delta[std::size_t(xs[k].at - y - begin)] += xs[k].weight * ys[j].weight;
            next[j] = k;
        }
        for (std::int64_t d = begin; d < end; ++d) {
            if (Better(value, d, best)) {
                best.offset = d;
                best.overlap = value;
            }
            slope += delta[std::size_t(d - begin)];
            value += slope;
        }
    }
    best.overlapping = OverlappingCues(cues, reference, best.offset);
    return best;
}

std::int64_t TotalOverlap(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference,
                          std::int64_t offset) {
    std::int64_t total = 0;
    for (const CueTimes& c : cues)
        for (const CueTimes& r : reference) {
            const std::int64_t from = std::max(c.start + offset, r.start);
            const std::int64_t to = std::min(c.end + offset, r.end);
            if (to > from) total += to - from;
        }
    return total;
}

std::size_t OverlappingCues(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference,
                            std::int64_t offset) {
    // Reference cues by start, with the latest end among each prefix.
    std::vector<CueTimes> byStart;
    for (const CueTimes& r : reference)
        if (r.end > r.start) byStart.push_back(r);
    std::sort(byStart.begin(), byStart.end(), [](const CueTimes& a, const CueTimes& b) { return a.start < b.start; });
    std::vector<std::int64_t> latestEnd(byStart.size());
    for (std::size_t k = 0; k < byStart.size(); ++k)
        latestEnd[k] = k ? std::max(latestEnd[k - 1], byStart[k].end) : byStart[k].end;
    std::size_t count = 0;
    for (const CueTimes& c : cues) {
        if (c.end <= c.start) continue;
        // Reference cues that start before this one ends: does any end after it starts?
        const auto k = std::lower_bound(byStart.begin(), byStart.end(), c.end + offset,
                                        [](const CueTimes& r, std::int64_t v) { return r.start < v; }) -
                       byStart.begin();
        if (k > 0 && latestEnd[std::size_t(k - 1)] > c.start + offset) ++count;
    }
    return count;
}

}  // namespace srt

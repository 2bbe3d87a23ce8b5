#include "core/match.h"

#include "core/fft.h"

#include <algorithm>
#include <cmath>
#include <utility>

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


std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Reference steps xs against cue steps ys, both sorted, with prefix sums of
// the reference weights and weighted positions.
struct Sweep {
    std::vector<Step> xs, ys;
    std::vector<std::int64_t> sumW, sumWX;

    Sweep(std::vector<Step> reference, std::vector<Step> cues)
        : xs(std::move(reference)), ys(std::move(cues)), sumW(xs.size() + 1), sumWX(xs.size() + 1) {
        for (std::size_t k = 0; k < xs.size(); ++k) {
            sumW[k + 1] = sumW[k] + xs[k].weight;
            sumWX[k + 1] = sumWX[k] + xs[k].weight * xs[k].at;
        }
    }

    std::size_t FirstAtOrAfter(std::int64_t t) const {
        return std::size_t(std::lower_bound(xs.begin(), xs.end(), t,
                                            [](const Step& s, std::int64_t v) { return s.at < v; }) -
                           xs.begin());
    }

    // Every offset in [from, to), one at a time, into best: the value and
    // slope at from come from the breakpoints before it, then the slope
    // changes inside are added into an array, a piece at a time.
    void Search(std::int64_t from, std::int64_t to, OffsetMatch& best) const {
        std::int64_t value = 0, slope = 0;
        std::vector<std::size_t> next(ys.size());  // per cue step: first x with x - y >= the sweep
        for (std::size_t j = 0; j < ys.size(); ++j) {
            const std::int64_t y = ys[j].at;
            const std::size_t k = FirstAtOrAfter(from + y);
            next[j] = k;
            slope += ys[j].weight * sumW[k];
            value += ys[j].weight * (sumW[k] * (from + y) - sumWX[k]);
        }
        constexpr std::int64_t kPiece = std::int64_t(1) << 19;
        std::vector<std::int64_t> delta;
        for (std::int64_t begin = from; begin < to; begin += kPiece) {
            const std::int64_t end = std::min(begin + kPiece, to);
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
    }
};

// Upper bounds of the overlap for offset buckets [D * width, (D + 1) * width).
// With R(t) the reference cues covering t and C(t) the cues covering t, the
// overlap at d is the integral of R(t) * C(t - d). Time buckets of the same
// width from a common origin: when t lies in bucket k, t - d lies in bucket
// k - D - 1 or k - D, so the overlap is at most the sum over k of (the
// integral of R over bucket k) * (the larger maximum of C over buckets
// k - D - 1 and k - D), a correlation.
struct Bounds {
    std::int64_t width = 1;
    std::vector<double> correlation;  // index D + buckets
    double margin = 0;                // more than the correlation's rounding

    std::int64_t At(std::int64_t d) const {
        const std::int64_t index = d + std::int64_t(correlation.size() + 1) / 2;
        if (index < 0 || index >= std::int64_t(correlation.size())) return 0;
        // The true bound is an integer within the margin of the value.
        return std::int64_t(std::floor(std::max(correlation[std::size_t(index)], 0.0) + margin));
    }
};

Bounds OverlapBounds(const Sweep& sweep) {
    const std::vector<Step>&xs = sweep.xs, &ys = sweep.ys;
    const std::int64_t origin = std::min(xs.front().at, ys.front().at);
    const std::int64_t span = std::max(xs.back().at, ys.back().at) - origin;
    Bounds bounds;
    // Narrow buckets give tight bounds but a longer transform: at most 2^18
    // of them (a transform of 2^19, 8 MB), and no more than a few for each
    // step, so that a handful of cues far apart costs next to nothing.
    constexpr std::int64_t kNarrowest = 64;
    const std::int64_t buckets = std::clamp(std::int64_t(16 * (xs.size() + ys.size())), std::int64_t(1) << 12,
                                         std::int64_t(1) << 18);
    bounds.width = std::max(kNarrowest, span / buckets + 1);
    const std::size_t count = std::size_t(span / bounds.width + 1);

    // The integral of R over each bucket: F(t), the integral up to t, is
    // sumW * t - sumWX over the steps before t.
    std::vector<double> integral(count);
    std::size_t k = 0;
    std::int64_t previous = 0;
    for (std::size_t b = 0; b < count; ++b) {
        const std::int64_t end = origin + std::int64_t(b + 1) * bounds.width;
        for (; k < xs.size() && xs[k].at < end; ++k) {}
        const std::int64_t upTo = sweep.sumW[k] * end - sweep.sumWX[k];
        integral[b] = double(upTo - previous);
        previous = upTo;
    }
    // The maximum of C over each bucket; C is minus the sum of the cue
    // weights so far, and counts only once every step at an instant is in.
    std::vector<std::int64_t> most(count, 0);
    std::int64_t covering = 0;
    for (std::size_t j = 0; j < ys.size();) {
        const std::int64_t at = ys[j].at;
        for (; j < ys.size() && ys[j].at == at; ++j) covering -= ys[j].weight;
        std::size_t b = std::size_t((at - origin) / bounds.width);
        most[b] = std::max(most[b], covering);
        // It holds on to the next step, into the buckets between.
        const std::int64_t until = j < ys.size() ? ys[j].at : at;
        for (++b; b < count && origin + std::int64_t(b) * bounds.width < until; ++b)
            most[b] = std::max(most[b], covering);
    }
    std::vector<double> wider(count + 1);
    for (std::size_t m = 0; m <= count; ++m)
        wider[m] = double(std::max(m < count ? most[m] : 0, m > 0 ? most[m - 1] : 0));

    bounds.correlation = Correlate(integral, wider);
    double sum = 0, largest = 0;
    for (const double v : integral) sum += v;
    for (const double v : wider) largest = std::max(largest, v);
    bounds.margin = 0.5 + 1e-9 * sum * largest;
    return bounds;
}
}  // namespace

OffsetMatch FindBestOffset(const std::vector<CueTimes>& cues, const std::vector<CueTimes>& reference) {
    OffsetMatch best;  // nothing overlaps anywhere: offset 0
    const Sweep sweep(Steps(reference, true), Steps(cues, false));
    if (sweep.xs.empty() || sweep.ys.empty()) return best;
    const std::int64_t lo = std::max(sweep.xs.front().at - sweep.ys.back().at, -kMillisPerDay);
    const std::int64_t hi = std::min(sweep.xs.back().at - sweep.ys.front().at, kMillisPerDay);
    if (lo > hi) return best;

    // Branch and bound: offset buckets by decreasing bound, each searched
    // exactly while its bound can still reach the best overlap (a tie may
    // still win on the offset).
    const Bounds bounds = OverlapBounds(sweep);
    struct Bucket {
        std::int64_t from, to;  // offsets [from, to)
        std::int64_t bound;
        std::int64_t distance;  // from offset 0
    };
    std::vector<Bucket> buckets;
    for (std::int64_t d = FloorDiv(lo, bounds.width); d <= FloorDiv(hi, bounds.width); ++d) {
        const std::int64_t from = std::max(d * bounds.width, lo), to = std::min((d + 1) * bounds.width, hi + 1);
        const std::int64_t bound = bounds.At(d);
        if (bound > 0) buckets.push_back({from, to, bound, from > 0 ? from : to <= 0 ? 1 - to : 0});
    }
    std::sort(buckets.begin(), buckets.end(), [](const Bucket& a, const Bucket& b) {
        return a.bound != b.bound ? a.bound > b.bound : a.distance < b.distance;
    });
    // Where the bounds are loose (cues that match nowhere much), sweeping one
    // bucket after another could cost more than one sweep of every offset:
    // past a quarter of that, the whole range in one go.
    const double perBucket = double(sweep.ys.size()) * std::log2(double(sweep.xs.size()) + 2);
    const double wholeRange = double(sweep.xs.size()) * double(sweep.ys.size()) + double(hi - lo) + perBucket;
    double spent = 0;
    for (const Bucket& bucket : buckets) {
        if (bucket.bound < best.overlap) break;
        spent += perBucket + double(bucket.to - bucket.from);
        if (spent > wholeRange / 4) {
            sweep.Search(lo, hi + 1, best);
            break;
        }
        sweep.Search(bucket.from, bucket.to, best);
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

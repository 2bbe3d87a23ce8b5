#include "tests/screens/contrast.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace srt::screens {

namespace {

double Linear(std::uint32_t channel) {
    const double c = static_cast<double>(channel & 0xFF) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Pixels standing this far apart from the background are ink.
constexpr double kInk = 1.5;
// Colours closer than this are one to the eye.
constexpr double kSame = 1.15;
// Fewer ink pixels than this are a speck, not text.
constexpr long kMinTextPixels = 12;

// The most common colour of the largest group of nearly equal colours (a
// gradient's rows, a glyph's smoothed edge): what the eye takes for one.
std::uint32_t Dominant(const std::map<std::uint32_t, long>& counts, long* total = nullptr) {
    std::vector<std::pair<long, std::uint32_t>> byCount;
    for (const auto& [colour, n] : counts) byCount.push_back({n, colour});
    std::sort(byCount.begin(), byCount.end(), std::greater<>());
    std::vector<std::pair<std::uint32_t, long>> groups;  // leading colour, pixels
    for (const auto& [n, colour] : byCount) {
        auto g = std::find_if(groups.begin(), groups.end(), [&](const auto& x) { return Contrast(x.first, colour) < kSame; });
        if (g == groups.end())
            groups.push_back({colour, n});
        else
            g->second += n;
    }
    const auto best = std::max_element(groups.begin(), groups.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (best == groups.end()) {
        if (total) *total = 0;
        return 0;
    }
    if (total) *total = best->second;
    return best->first;
}

}  // namespace

double Luminance(std::uint32_t rgb) {
    return 0.2126 * Linear(rgb >> 16) + 0.7152 * Linear(rgb >> 8) + 0.0722 * Linear(rgb);
}

double Contrast(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<int> PaintOwners(const TImage& image, const std::vector<TRegion>& regions, int inset) {
    std::vector<int> owner(image.pixels.size(), -1);
    auto each = [&](const TRegion& r, auto&& f) {
        for (int y = std::max(0, r.top); y < std::min(image.height, r.bottom); ++y)
            for (int x = std::max(0, r.left); x < std::min(image.width, r.right); ++x)
                f(x, y, owner[static_cast<std::size_t>(y) * image.width + x]);
    };
    for (std::size_t i = 0; i < regions.size(); ++i) each(regions[i], [&](int, int, int& o) { o = static_cast<int>(i); });
    // A region's edge (its frame, often) belongs to no region.
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const TRegion& r = regions[i];
        each(r, [&](int x, int y, int& o) {
            const bool edge = x < r.left + inset || x >= r.right - inset || y < r.top + inset || y >= r.bottom - inset;
            if (edge && o == static_cast<int>(i)) o = -1;
        });
    }
    return owner;
}

std::vector<TRegionContrast> MeasureContrast(const TImage& image, const std::vector<TRegion>& regions,
                                             const std::vector<int>& owner,
                                             const std::vector<std::uint32_t>& ignore) {
    std::vector<std::map<std::uint32_t, long>> counts(regions.size());
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const int o = owner[i];
        const std::uint32_t p = image.pixels[i] & 0xFFFFFF;
        if (o < 0 || std::find(ignore.begin(), ignore.end(), p) != ignore.end()) continue;
        ++counts[static_cast<std::size_t>(o)][p];
    }
    std::vector<TRegionContrast> out;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (counts[i].empty()) continue;
        TRegionContrast c{i, Dominant(counts[i]), 0, 0, 21};
        std::map<std::uint32_t, long> ink;
        for (const auto& [colour, n] : counts[i])
            if (Contrast(colour, c.background) >= kInk) ink[colour] = n;
        long n = 0;
        const std::uint32_t text = Dominant(ink, &n);
        if (n >= kMinTextPixels) {
            c.text = text;
            c.textPixels = n;
            c.ratio = Contrast(text, c.background);
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace srt::screens

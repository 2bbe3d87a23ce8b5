#include "skin/data/contrast.h"

#include <algorithm>
#include <cmath>

namespace srt {

namespace {

double Linear(std::uint32_t channel) {
    const double c = static_cast<double>(channel & 0xFF) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(std::uint32_t rgb) {
    return 0.2126 * Linear(rgb) + 0.7152 * Linear(rgb >> 8) + 0.0722 * Linear(rgb >> 16);
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace srt

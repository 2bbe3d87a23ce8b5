// Relative luminance and contrast ratio of RGB colours (0x00BBGGRR), as the
// web accessibility guidelines define them: 1:1 for equal colours, 21:1 for
// black on white. Platform-free; system colours must be resolved first.
#pragma once

#include <cstdint>

namespace srt {

double RelativeLuminance(std::uint32_t rgb);
double ContrastRatio(std::uint32_t a, std::uint32_t b);

// The label rule: a control's own text colour stays unless it falls below
// 4.5:1 against the skin's background.
constexpr double kOwnColourContrast = 4.5;

}  // namespace srt

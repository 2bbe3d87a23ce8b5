// The program's logo as a GIF image: 78 x 79 pixels, a 32-entry global
// colour table whose last entry is the transparent one, one graphic control
// extension, one frame. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "image/gif.h"

namespace srt::logo {

inline constexpr int kWidth = 78;
inline constexpr int kHeight = 79;
inline constexpr int kColours = 32;
inline constexpr std::uint8_t kTransparentIndex = 31;

// Premultiplied colour (0 to 255) with coverage (0 to 1).
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

// The logo's picture at one point of its kWidth x kHeight plane, painted
// back to front; coverage 0 where nothing is drawn.
Rgba Sample(double x, double y);

// The logo reduced for 16 x 16 pixels: the bubble with its two lines and the
// clock, without the timeline, with strokes a pixel wide.
Rgba SampleSmall(double x, double y);

// Draws the logo into `image`, replacing what it held.
void BuildLogo(TGIFImage& image);

// The logo as a GIF stream, as committed in resources/logo/logo.gif.
std::vector<std::uint8_t> LogoBytes();

}  // namespace srt::logo

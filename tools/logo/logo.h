// The program's logo as a GIF image: 78 x 79 pixels at 96 DPI, drawn again
// for 125, 150 and 200 % at those sizes scaled; a 32-entry global colour
// table whose last entry is the transparent one, one graphic control
// extension, one frame. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "component/dpi.h"
#include "image/gif.h"

namespace srt::logo {

inline constexpr int kWidth = 78;
inline constexpr int kHeight = 79;
inline constexpr int kColours = 32;
inline constexpr std::uint8_t kTransparentIndex = 31;

// The scales the logo is drawn for besides 96 DPI, and the suffix of their
// files beside logo.gif (logo@125.gif ...).
struct LogoScale {
    int dpi;
    const char* suffix;
};
inline constexpr LogoScale kLogoScales[] = {{120, "@125"}, {144, "@150"}, {192, "@200"}};

constexpr int LogoWidth(int dpi) { return ScaleToDpi(kWidth, dpi); }
constexpr int LogoHeight(int dpi) { return ScaleToDpi(kHeight, dpi); }

// Premultiplied colour (0 to 255) with coverage (0 to 1).
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

// The logo's picture at one point of its kWidth x kHeight plane, painted
// back to front; coverage 0 where nothing is drawn.
Rgba Sample(double x, double y);

// The logo reduced for small icons (16 to 31 pixels) on a plane of
// size x size: the bubble with its two lines and the clock, without the
// timeline, laid out on whole pixels with strokes a pixel wide.
Rgba SampleSmall(double x, double y, int size);

// Draws the logo for `dpi` into `image`, replacing what it held.
void BuildLogo(TGIFImage& image, int dpi = kDesignDpi);

// The logo as a GIF stream, as committed in resources/logo/logo.gif (and
// logo@125.gif ... for the other scales).
std::vector<std::uint8_t> LogoBytes(int dpi = kDesignDpi);

}  // namespace srt::logo

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

// Draws the logo into `image`, replacing what it held.
void BuildLogo(TGIFImage& image);

// The logo as a GIF stream, as committed in resources/logo/logo.gif.
std::vector<std::uint8_t> LogoBytes();

}  // namespace srt::logo

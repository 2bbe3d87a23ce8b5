// The glyphs of the skinned system menu: a 64 x 16 strip of four 16 x 16
// cells, black on white: restore, maximise, minimise, close. Drawn here so
// that tools/menuglyphs can write the program's bitmap resource from it.
// Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "component/graphics.h"

namespace srt {

// The strip, pixels 0x000000 or 0xFFFFFF.
TBitmap DrawMenuGlyphs();

// A 1-bit BI_RGB bottom-up BMP file of `image`: black where a pixel is not
// white, colour table black then white.
std::vector<std::uint8_t> WriteBmp1(const TBitmap& image);

}  // namespace srt

// A minimal PNG writer: 8-bit RGB, zlib stream of stored blocks. Enough for
// the contact sheet; no compression library needed.
#pragma once

#include <cstdint>
#include <vector>

#include "component/graphics.h"

namespace srt::art {

std::vector<std::uint8_t> EncodePng(const TBitmap& image);

}  // namespace srt::art

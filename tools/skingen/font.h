// A 5 x 7 pixel font of our own for labels on the contact sheet and the
// mock-up: ASCII letters, digits and common punctuation, proportional.
#pragma once

#include <string_view>

#include "component/graphics.h"
#include "tools/skingen/raster.h"

namespace srt::art {

constexpr int kFontHeight = 7;

int TextWidth(std::string_view text, int scale = 1);
// Draws text with its top-left corner at (x, y); returns the end x.
int DrawText(TBitmap& image, int x, int y, std::string_view text, Rgb colour, int scale = 1);

}  // namespace srt::art

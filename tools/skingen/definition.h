// The definition text (skin.ini) of one of the program's own skins.
#pragma once

#include <string>

#include "tools/skingen/art.h"

namespace srt::art {

// The definition of the skin `palette` draws: sections, keys and the image
// names, every length at 96 DPI.
std::string SkinDefinition(const TPalette& palette);

}  // namespace srt::art

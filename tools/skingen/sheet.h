// Pictures of a loaded skin for judging it by eye: a contact sheet of every
// element image (scaled up, frames pulled apart, labelled) and a mock-up of
// skinned windows composed by the painters' rules.
#pragma once

#include <string>

#include "component/graphics.h"
#include "skin/data/records.h"

namespace srt::art {

// `drawnAt` names the scale the images were drawn for ("150 %"); empty for
// the skin's own (96 DPI) images.
TBitmap ContactSheet(const TSkinElements& skin, int scale = 2, const std::string& drawnAt = "");
TBitmap Mockup(const TSkinElements& skin, int scale = 2);

}  // namespace srt::art

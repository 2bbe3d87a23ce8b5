// A skin element's fields as the drawing routines take them.
#pragma once

#include "skin/data/records.h"
#include "skin/draw/skindraw.h"

namespace srt {

inline TMargins MarginsOf(const TDataSkinObject& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

// Tile 1 repeats the centre at natural size; any other value stretches it.
inline TFill FillOf(const TDataSkinObject& e) { return e.Tile == 1 ? TFill::Tile : TFill::Stretch; }

inline TKeying KeyedIf(bool keyed) { return keyed ? TKeying::Keyed : TKeying::Opaque; }

}  // namespace srt

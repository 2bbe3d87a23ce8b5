// The glyph layout of the component layer, under the skins' names.
#pragma once

#include "component/glyphlayout.h"

namespace srt {

using ::CalcGlyphLayout;
using ::TButtonLayout;
using ::TGlyphLayout;
using ::blGlyphBottom;
using ::blGlyphLeft;
using ::blGlyphRight;
using ::blGlyphTop;

}  // namespace srt

// The skin's value types as the platform's: a non-client rectangle, a skin
// colour, and the point a mouse message carries.
#pragma once

#include <windows.h>

#include "component/graphics.h"
#include "skin/data/records.h"
#include "skin/ncarea/skinrect.h"

namespace srt {

inline RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

inline COLORREF Rgb(TColour colour) { return ColorToRGB(static_cast<TColor>(colour)); }

// The signed coordinates in a mouse message's LPARAM.
inline POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace srt

// The menu bar's arithmetic: where the items go and which item a key moves
// to while a menu is open. Platform-free.
#pragma once

#include <vector>

#include "component/dpi.h"
#include "skin/ncarea/skinrect.h"

namespace srt {

// Where the first item starts: with the skin's bar element its cap plus a
// gap (a right-to-left bar counts from the right edge), 12 when that does
// not fit the bar; 6 without the element. The gaps are at 96 DPI, scaled
// to `dpi`.
int MenuBarStart(bool hasElement, bool rightToLeft, int leftWidth, int rightWidth, int barWidth,
                 int dpi = kDesignDpi);

// Item rectangles in bar coordinates for captions `textWidths` pixels wide
// (an empty caption is given as -1 and takes no room): each item is its
// text plus 10 (at 96 DPI, scaled to `dpi`), height `barHeight` - 1, laid
// out from `start` (right to left from barWidth - start).
std::vector<TSkinRect> LayoutMenuBar(const std::vector<int>& textWidths, int start, int barWidth, int barHeight,
                                     bool rightToLeft, int dpi = kDesignDpi);

enum class TMenuKeyMove { Left, Right };
// The bar item the arrow key opens while item `current` of `count` is open,
// or -1 for none: right goes to the next item (the first after the last)
// unless the selected item has a sub-menu of its own; left to the previous
// one (the last before the first) unless the selection sits in a nested
// sub-menu.
int MenuKeyTarget(TMenuKeyMove move, int current, int count, bool selectedHasSubItems, bool inNestedSubMenu);

// A centred caption: the measured text moved to the middle of `rect`.
TSkinRect CentreText(const TSkinRect& rect, int textWidth, int textHeight);

}  // namespace srt

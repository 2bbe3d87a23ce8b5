// The process's USER and GDI object counts, for leak tests.
#pragma once

#include <windows.h>

#include <string>

namespace soak {

struct TGuiCounts {
    long user = 0;  // windows, menus, icons and cursors
    long gdi = 0;   // without the window DCs below
    // Window and screen DCs: Wine makes them on demand and keeps them for
    // reuse, so a nested paint may leave one more. -1 where not counted.
    long windowDCs = -1;
    bool operator==(const TGuiCounts& o) const { return user == o.user && gdi == o.gdi; }
    // Where the handle tables were walked: the USER objects by kind.
    long windows = -1, menus = -1, icons = -1;
};

// GetGuiResources where it answers; where it answers 0 (Wine), the objects
// are counted in the process's own handle tables instead.
TGuiCounts GuiCounts();

std::string ToString(const TGuiCounts& c);

}  // namespace soak

#include "skin/controls/focuscue.h"

namespace srt {

RECT FocusCueRect(const RECT& r, int inset) {
    RECT cue{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
    if (cue.right - cue.left < 2 || cue.bottom - cue.top < 2) return RECT{};
    return cue;
}

bool FocusCuesShown(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!root) return false;
    const auto state = static_cast<UINT>(SendMessageW(root, WM_QUERYUISTATE, 0, 0));
    return (state & UISF_HIDEFOCUS) == 0;
}

// Dots along the perimeter, clockwise, every second pixel: the corners keep
// the pattern continuous as the platform's cue does.
void DrawFocusCue(HDC dc, const RECT& r, COLORREF colour) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!dc || w < 2 || h < 2) return;
    int step = 0;
    auto dot = [&](int x, int y) {
        if ((step++ & 1) == 0) SetPixelV(dc, x, y, colour);
    };
    for (int x = r.left; x < r.right - 1; ++x) dot(x, r.top);
    for (int y = r.top; y < r.bottom - 1; ++y) dot(r.right - 1, y);
    for (int x = r.right - 1; x > r.left; --x) dot(x, r.bottom - 1);
    for (int y = r.bottom - 1; y > r.top; --y) dot(r.left, y);
}

}  // namespace srt

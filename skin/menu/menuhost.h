// TMenuBarHost: what a skinned menu bar needs from the window that shows
// it. The window's skin implements it; the bar knows nothing else of it.
#pragma once

#include <windows.h>

#include "component/menus.h"
#include "skin/ncarea/ncobject.h"

namespace srt {

class TMenuBarHost {
public:
    // The window whose non-client area holds the bar.
    virtual HWND BarWindow() const = 0;
    // A screen point in window coordinates (origin at the window's corner),
    // as the bar's item rectangles are kept.
    virtual POINT BarScreenToWindow(POINT screen) const = 0;
    virtual bool BarRightToLeft() const = 0;
    // The DPI the window is painted at.
    virtual int BarDpi() const = 0;
    // Active look: the bar element's frame 1, else 2.
    virtual bool BarActiveLook() const = 0;
    // The owner of the bar's items: its hot object is the non-client object
    // under the mouse or pressed, a bar item or anything else the window has.
    virtual TNCOwner& BarItemOwner() = 0;
    // The window's menu component as it is now, null without one. Asked
    // each time: the component may be replaced or freed while the bar lives.
    virtual TMainMenu* BarMenu() const = 0;
    // Draws what the window shows over the bar (a maximised MDI child's
    // buttons) on `canvas`, which holds the bar composed at `bar` (window
    // coordinates).
    virtual void PaintOverBar(HDC canvas, const RECT& bar) = 0;

protected:
    ~TMenuBarHost() = default;
};

}  // namespace srt

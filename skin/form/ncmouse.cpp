// The mouse over the non-client area: caption buttons and menu bar items
// under the cursor, hover and clicks, the system menu on the caption.
// The caption buttons' hit-test codes never reach the procedure below: it
// would track and paint buttons of its own. What it is given instead is
// what it saw before the buttons had codes: the caption.
#include "skin/draw/convert.h"
#include "skin/form/winskinform.h"
#include "skin/menu/winskinmenu.h"

namespace srt {
namespace {

bool IsButtonCode(WPARAM wParam) { return IsCaptionButtonCode(LOWORD(wParam)); }

// The hit-test code in the low word; the high word of the X buttons' kept.
WPARAM WithoutButtonCode(WPARAM wParam) {
    return IsButtonCode(wParam) ? MAKEWPARAM(HTCAPTION, HIWORD(wParam)) : wParam;
}

}  // namespace

LRESULT TWinSkinForm::OnNcMouseMove(const TMsg& m) {
    if (!FActive) return 0;
    // Names as the system menu has them now (an application may rename).
    FTips.Update(FHandle, CaptionTipsFor(FButtons, FShowState, FWindow.sysMenu));
    FTips.Relay(FHandle, m.msg, PointOf(m.lParam));
    TNCObject* hit = ObjectAt(PointOf(m.lParam));
    if (!hit) {
        if (TNCObject* hot = HotObject()) hot->MouseLeave();
        return PassOn(m.msg, WithoutButtonCode(m.wParam), m.lParam);
    }
    hit->MouseMove();
    return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDown(const TMsg& m) {
    FTips.Relay(FHandle, m.msg, PointOf(m.lParam));
    if (TNCObject* hit = ObjectAt(PointOf(m.lParam))) {
        if (!FActive) SetForegroundWindow(FHandle);
        hit->MouseDown();
        if (auto* item = dynamic_cast<TMenuBtn*>(hit)) FMenus.bar->OpenMenuButton(*item);
        return 0;
    }
    if (IsButtonCode(m.wParam)) return 0;
    // A maximised window is not dragged by its caption.
    const WPARAM area = FShowState == ssMaximized && FActive && m.wParam == HTCAPTION ? HTMENU : m.wParam;
    return PassOn(m.msg, area, m.lParam);
}

LRESULT TWinSkinForm::OnNcLButtonUp(const TMsg& m) {
    const POINT screen = PointOf(m.lParam);
    TNCObject* hit = ObjectAt(screen);
    if (!hit) return IsButtonCode(m.wParam) ? 0 : PassOn(m.msg, m.wParam, m.lParam);
    auto* button = dynamic_cast<TWinSysButton*>(hit);
    if (button && hit == HotObject()) {
        hit->MouseUp();
        ExecuteAction(*button, screen);
    }
    return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDblClk(const TMsg&) {
    if (FShowState != ssNormal)
        Restore();
    else if (FBorderIcons & biMaximize)
        Maximize();
    return 0;
}

LRESULT TWinSkinForm::OnNcRButtonDown(const TMsg& m) {
    if ((m.wParam == HTCAPTION || IsButtonCode(m.wParam)) && FKind != fkMdiChild) {
        ShowSystemMenu(PointOf(m.lParam));
        return 0;
    }
    return PassOn(m.msg, WithoutButtonCode(m.wParam), m.lParam);
}

LRESULT TWinSkinForm::OnNcOtherMouse(const TMsg& m) { return PassOn(m.msg, WithoutButtonCode(m.wParam), m.lParam); }

void TWinSkinForm::OnHoverTimer() {
    if (MenuTracking()) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // Controls of a form get their mouse-leave from the form's own tracking.
    if (!FForm && FControls) FControls->LeaveHotOutside(cursor);
    TNCObject* hot = HotObject();
    if (!hot) return;
    const POINT p = ToWindow(cursor);
    if (!hot->FBounds.Contains(p.x, p.y)) hot->MouseLeave();
}

}  // namespace srt

// The form skin as the host of its menu bar.
#include <algorithm>

#include "skin/draw/skindraw.h"
#include "skin/form/winskinform.h"

namespace srt {

HWND TWinSkinForm::BarWindow() const { return Handle(); }

POINT TWinSkinForm::BarScreenToWindow(POINT screen) const { return ToWindow(screen); }

bool TWinSkinForm::BarRightToLeft() const { return RightToLeft(); }

bool TWinSkinForm::BarActiveLook() const { return ActiveLook(); }

TNCOwner& TWinSkinForm::BarItemOwner() { return *this; }

void TWinSkinForm::SetBarTracking(bool tracking) { SetMenuTracking(tracking); }

HMENU TWinSkinForm::BarTrackedMenu() const { return TrackedMenu(); }

void TWinSkinForm::SetBarTrackedMenu(HMENU menu) { SetTrackedMenu(menu); }

// A maximised MDI child's buttons sit in the frame's bar.
void TWinSkinForm::PaintOverBar(HDC canvas, const RECT&) {
    HWND client = MdiClient();
    if (!IsMdiFrame() || !client) return;
    BOOL maximized = FALSE;
    if (!SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)) || !maximized) return;
    const TFrameMetrics& m = Metrics();
    const TCaptionButtons& buttons = Buttons();
    for (std::size_t i = 0; i < buttons.Count(); ++i) {
        TWinSysButton& b = buttons[i];
        TDataSkinSysButton& r = *b.FRecord;
        if (r.Visibility != kMdiButtonMark || r.Image.Empty() || !b.FVisible) continue;
        const TSkinRect at = b.FBounds.Offset(-m.BorderLeft, -m.TitleHeight);
        const RECT target{at.Left, at.Top, at.Right, at.Bottom};
        DrawSkinFrame(canvas, target, r.Image, {std::max(r.FrameCount, 1), 1}, TKeying::Keyed);
    }
    if (!MdiMaximized()) SetMdiMaximized(true);
}

}  // namespace srt

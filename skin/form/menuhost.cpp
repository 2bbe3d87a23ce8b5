// The form skin as the host of its menu bar: the bar's start, what it
// asks of the window, changes of the window's menu, and the keyboard's way
// to the bar and the system menu.
#include <algorithm>

#include "skin/draw/skindraw.h"
#include "skin/form/winskinform.h"
#include "skin/menu/winskinmenu.h"

namespace srt {

HWND TWinSkinForm::BarWindow() const { return Handle(); }

POINT TWinSkinForm::BarScreenToWindow(POINT screen) const { return ToWindow(screen); }

bool TWinSkinForm::BarRightToLeft() const { return RightToLeft(); }

bool TWinSkinForm::BarActiveLook() const { return ActiveLook(); }

TNCOwner& TWinSkinForm::BarItemOwner() { return *this; }

TMainMenu* TWinSkinForm::BarMenu() const { return FForm ? FForm->Menu() : nullptr; }

bool TWinSkinForm::MenuTracking() const { return FMenus.bar && FMenus.bar->Tracking(); }

HMENU TWinSkinForm::TrackedMenu() const { return FMenus.bar ? FMenus.bar->TrackedMenu() : nullptr; }

void TWinSkinForm::StartMenuBar() {
    FMenus.bar = std::make_unique<TWinSkinMenu>(*this, *FSkinData);
    FMenus.height = SystemMetricForDpi(SM_CYMENU, FDpi);
    FMenus.bar->BuildFromWindowMenu();
}

// A changed item (renamed, hidden, disabled), another menu component, or a
// menu set on the window: the bar is built again and the window's own bar
// taken off; a menu taken away takes the bar with it.
void TWinSkinForm::MenuChanged() {
    if (!FSkinData || !FSkinData->HasControl(xcMainMenu) || FKind == fkMdiChild || !FSkinData->MenuUpdate()) return;
    if (!WindowAttached()) return;
    TMainMenu* menu = BarMenu();
    const HMENU shown = GetMenu(FHandle);
    if (!menu && !shown) {
        if (!FMenus.bar) return;
        FMenus.bar.reset();
        FMenus.height = 0;
        FWindow.menu = nullptr;
    } else if (!FMenus.bar) {
        FWindow.menu = shown ? shown : menu->Handle();
        StartMenuBar();
        if (menu) FMenus.bar->BuildFromMenuComponent();
    } else if (menu) {
        FMenus.bar->BuildFromMenuComponent();
    } else {
        FMenus.bar->BuildFromMenuHandle(shown);
    }
    if (FMenus.bar) FWindow.menu = FMenus.bar->MenuHandle();
    if (FBorderKind == bkNoFrame) FMenus.height = 0;
    UpdateLayout();
    RecalcFrame();
}

bool TWinSkinForm::OnMenuAccelerator(unsigned key) {
    TMenuBtn* button = FMenus.bar ? FMenus.bar->FindAccelButton(key) : nullptr;
    if (!button) return false;
    FMenus.bar->ClickMenuButton(*button);
    return true;
}

// Alt alone is swallowed (the platform would enter a menu mode of a bar it
// no longer shows); Alt+Space opens the system menu below the icon; an
// item's accelerator opens the item.
bool TWinSkinForm::OnKeyMenu(wchar_t key) {
    if (MenuTracking() || GetCapture()) return false;
    if (key == 0) return true;
    if (key == L' ') {
        if (!(FBorderIcons & biSystemMenu) || !FSystem.menu) return false;
        const TSkinRect& icon = FLayout.Icon;
        RECT wr{};
        GetWindowRect(FHandle, &wr);
        const bool iconShown = icon.Right > icon.Left;
        OpenSystemMenu({wr.left + (iconShown ? icon.Left : FMetrics.BorderLeft),
                        wr.top + (iconShown ? icon.Bottom : FMetrics.TitleHeight)});
        return true;
    }
    if (key == L'-') return false;
    return OnMenuAccelerator(key);
}

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

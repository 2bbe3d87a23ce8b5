// The skinned system menu and what the caption buttons do.
#include "skin/data/scaled.h"
#include "skin/form/winskinform.h"
#include "skin/menu/skinpopup.h"

namespace srt {

// A popup menu component whose items the skin measures and draws, with the
// skin's glyphs.
void TWinSkinForm::BuildSystemMenu() {
    // The glyphs at the window's DPI.
    const int size = ScaleToDpi(TMenuImages::kSize, FDpi);
    if (!FSystem.images || FSystem.images->Width() != size) {
        FSystem.images = std::make_unique<TImageList>(nullptr, size, size);
        for (int i = 0; i < FSkinData->MenuImages.ImageCount(); ++i)
            FSystem.images->AddMasked(ScaleSkinImage(FSkinData->MenuImages.Image(i), {1}, FDpi),
                                      TMenuImages::kTransparent);
    }
    FSystem.menu = std::make_unique<TPopupMenu>(nullptr);
    TPopupMenu& menu = *FSystem.menu;
    menu.SetImages(FSystem.images.get());
    menu.SetDpi(FDpi);
    menu.SetOwnerDraw(true);
    menu.SetRightToLeft(FWindow.rightToLeft);
    for (const TSystemMenuItem& entry : SystemMenuItems(FBorderIcons, FWindow.sizeable)) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(entry.caption);
        item->SetTag(entry.tag);
        item->SetImageIndex(entry.image);
        item->SetShortCut(TextToShortCut(entry.shortCut));
        item->OnMeasureItem.Code = [this, item](TObject*, HDC dc, int& w, int& h) {
            MeasureSysMenuItem(Skin(), *item, dc, w, h);
        };
        item->OnDrawItem.Code = [this, item](TObject*, HDC dc, const RECT& r, bool selected) {
            DrawSkinMenuItem(Skin(), *item, dc, r, selected);
        };
        item->OnClick.Code = [this, tag = entry.tag](TObject*) {
            switch (tag) {
            case 0: Restore(); break;
            case 1: Maximize(); break;
            case 2: Minimize(); break;
            case kSysMenuMoveTag: PostMessageW(FHandle, WM_SYSCOMMAND, SC_MOVE, 0); break;
            case kSysMenuSizeTag: PostMessageW(FHandle, WM_SYSCOMMAND, SC_SIZE, 0); break;
            case 3:
                SetTimerOn(false);
                PostMessageW(FHandle, WM_CLOSE, 0, 0);
                break;
            }
        };
        menu.Items()->Add(item);
    }
}

void TWinSkinForm::ShowSystemMenu(POINT p) {
    if (FSystem.iconClicks.Click(GetTickCount(), FSystem.dblClickTime)) {
        SetTimerOn(false);
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
        return;
    }
    OpenSystemMenu(p);
}

void TWinSkinForm::OpenSystemMenu(POINT p) {
    TMenuItem* items = FSystem.menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        const int tag = item->Tag();
        if (tag <= 2 || tag == kSysMenuMoveTag || tag == kSysMenuSizeTag)
            item->SetEnabled(SystemMenuItemEnabled(tag, FShowState));
    }
    if (FSkinData->HasControl(xcSystemMenu) && FKind != fkMdiChild) {
        FSystem.menu->Popup(p.x, p.y);
        return;
    }
    TrackPopupMenu(FWindow.sysMenu, TPM_RIGHTBUTTON, p.x, p.y, 0, FHandle, nullptr);
}

void TWinSkinForm::Restore() {
    FShowState = ssNormal;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::Maximize() {
    if (FShowState == ssMaximized) {
        Restore();
        return;
    }
    FShowState = ssMaximized;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    DropHotObject();
}

void TWinSkinForm::Minimize() {
    if (FShowState == ssMinimized) {
        Restore();
        return;
    }
    FShowState = ssMinimized;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::ExecuteAction(TWinSysButton& button, POINT screen) {
    const int action = button.FRecord->Action;
    const TCaptionEffect effect = CaptionActionEffect(action, FShowState);
    switch (effect.command) {
    case TCaptionCommand::Close:
        SetTimerOn(false);
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
        break;
    case TCaptionCommand::Maximize: Maximize(); break;
    case TCaptionCommand::Restore:
        if (action == 2 || action == 23)
            Minimize();
        else
            Maximize();
        break;
    case TCaptionCommand::Minimize: Minimize(); break;
    case TCaptionCommand::SystemMenu: ShowSystemMenu({screen.x + 1, screen.y + 1}); break;
    case TCaptionCommand::MdiChildCommand: {
        if (FKind != fkMdiFrame || !FMdi.client) break;
        BOOL maximized = FALSE;
        auto child = reinterpret_cast<HWND>(
            SendMessageW(FMdi.client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (!child) break;
        SendMessageW(child, WM_SYSCOMMAND, effect.sysCommand, 0);
        BOOL still = FALSE;
        SendMessageW(FMdi.client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&still));
        if (MdiMaximized() && !still) SetMdiMaximized(false);
        break;
    }
    case TCaptionCommand::PostQuery:
        PostMessageW(FHandle, kWmSkinQuery, static_cast<WPARAM>(action), 0);
        break;
    }
}

}  // namespace srt

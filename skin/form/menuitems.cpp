// The items of the menu bar's popups, measured and drawn by the form skin
// that receives them.
#include <algorithm>

#include "skin/form/winskinform.h"
#include "skin/menu/skinpopup.h"
#include "skin/menu/winskinmenu.h"

namespace srt {

// Items of the bar's popups: menu items of the form's menu bar by command
// id, the rest by menu handle and command.
LRESULT TWinSkinForm::OnMeasureItem(const TMsg& m) {
    auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(m.lParam);
    if (mis.CtlType != ODT_MENU || !FWindow.menu) return PassOn(m.msg, m.wParam, m.lParam);
    ClientDC dc(nullptr);
    GdiFont font(CreateMenuFont(false, FDpi));
    GdiSelect select(dc.Get(), font);
    int w = static_cast<int>(mis.itemWidth), h = static_cast<int>(mis.itemHeight);
    TMenuItem* item = FForm && FForm->Menu() ? FForm->Menu()->FindItem(mis.itemID, TFindItemKind::fkCommand) : nullptr;
    if (item)
        MeasureSkinItem(Skin(), *item, dc.Get(), w, h);
    else
        MeasureMenuText(Skin(), TrackedMenu(), mis.itemID, dc.Get(), w, h);
    mis.itemWidth = static_cast<UINT>(std::max(w, 0));
    mis.itemHeight = static_cast<UINT>(std::max(h, 0));
    return TRUE;
}

LRESULT TWinSkinForm::OnDrawItem(const TMsg& m) {
    const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
    if (dis.CtlType != ODT_MENU || !FWindow.menu) return PassOn(m.msg, m.wParam, m.lParam);
    HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
    GdiFont font(CreateMenuFont(false, FDpi));
    GdiSelect select(dis.hDC, font);
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    TMainMenu* bar = FForm ? FForm->Menu() : nullptr;
    TMenuItem* item = bar ? bar->FindItem(dis.itemID, TFindItemKind::fkCommand) : nullptr;
    if (item)
        DrawSkinMenuItem(Skin(), *item, dis.hDC, dis.rcItem, selected, bar);
    else
        DrawForeignMenuItem(Skin(), menu, dis.itemID, selected, dis.rcItem, dis.hDC, bar);
    return TRUE;
}

}  // namespace srt

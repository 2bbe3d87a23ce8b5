// Popup menus in the skin's look. TWinSkinPopMenu subclasses a "#32768"
// popup window and paints its 3-pixel frame from the MenuBackground
// element, keeping the composed background for the items. The item
// routines measure and paint owner-drawn items from the MenuItem element,
// the skin's menu colours and the screen's menu font: items of menu
// components (TMenuItem) and items known only by menu handle and command.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "component/dpi.h"
#include "component/graphics.h"
#include "component/menus.h"
#include "skin/data/skindata.h"
#include "skin/manager/skinmanager.h"
#include "skin/manager/windowskin.h"

namespace srt {

class TWinSkinPopMenu final : public TManagedPopupSkin, private TWindowSkin {
public:
    explicit TWinSkinPopMenu(TSkinManage* manager) : TWindowSkin(manager), FManager(manager) {}
    ~TWinSkinPopMenu() override;

    void AttachPopup(HWND window, ::TSkinData* data);
    void DetachPopup();

    // TManagedPopupSkin
    std::uintptr_t Window() const override { return reinterpret_cast<std::uintptr_t>(FHandle); }
    void Detach() override { DetachPopup(); }
    std::uintptr_t MenuHandle() const override { return reinterpret_cast<std::uintptr_t>(FMenuHandle); }

    TBitmap& Image() { return FImage; }

private:
    void WindowMessage(TMessage& m) override { m.Result = PopupWndProc(m.Msg, m.WParam, m.LParam); }
    LRESULT PopupWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool CanPaint() const;
    // The skin's records at the popup window's DPI.
    const TSkinElements& Skin() const { return FSkinData->ElementsAt(WindowDpi(FHandle)); }
    bool ComposeImage(int width, int height);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    void PaintBorder(HDC dc, int width, int height);

    TSkinManage* FManager;
    HWND FHandle = nullptr;
    ::TSkinData* FSkinData = nullptr;
    TBitmap FImage;
    HMENU FMenuHandle = nullptr;
};

// The composed background of the popup that shows `menu`, or null.
TBitmap* FindPopupImage(HMENU menu);
// Makes `manager` attach popup skins to "#32768" windows.
void UsePopupSkins(TSkinManage& manager);

// Switches every item of `menu` and its sub-menus to owner drawing.
void MakeMenuOwnerDraw(HMENU menu);

// Measuring; `dc` carries the menu font.
void MeasureSkinItem(const TSkinElements& data, TMenuItem& item, HDC dc, int& width, int& height);
void MeasureSysMenuItem(const TSkinElements& data, TMenuItem& item, HDC dc, int& width, int& height);
// Items without a menu item object, read from `menu` by command id.
void MeasureMenuText(const TSkinElements& data, HMENU menu, unsigned command, HDC dc, int& width, int& height);

// Drawing at `rect` (the popup's client coordinates) on `dc`, which carries
// the menu font. `barMenu`: the form's menu bar component, the fallback
// parent of items without a menu of their own (may be null).
void DrawSkinMenuItem(const TSkinElements& data, TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                      TMenu* barMenu = nullptr);
void DrawForeignMenuItem(const TSkinElements& data, HMENU menu, unsigned command, bool selected, const RECT& rect, HDC dc,
                         TMenu* barMenu = nullptr);
void DrawPlainMenuItem(const TSkinElements& data, TMenuItem& item, HDC dc, bool selected, const RECT& rect,
                       TMenu* barMenu = nullptr);
// An item object for a platform item: caption ("-" when it has no text),
// enabled and checked states. The caller frees it.
std::unique_ptr<TMenuItem> MakeTempMenuItem(HMENU menu, unsigned command);
// Glyph, caption and shortcut of an item inside `rect` of `dc`.
void DrawMenuItemContent(const TSkinElements& data, TMenuItem& item, HDC dc, bool selected, const RECT& rect,
                         TMenu* barMenu);
// Frame 2 of MenuItem over `rect`, colour-keyed.
void DrawMenuSeparator(const TSkinElements& data, HDC dc, const RECT& rect);

// The menu font of the screen (non-client metrics) at `dpi` (0: as the
// system gives it); the caller owns it.
HFONT CreateMenuFont(bool bold = false, int dpi = 0);

// The width of the popup frame painted from MenuBackground at `dpi`.
int PopupBorderWidth(int dpi);
// The size the platform's check mark of `bitmap` pixels is drawn at: its
// 96-DPI bitmap enlarged to `dpi`.
SIZE CheckMarkSize(SIZE bitmap, int dpi);

// Owner-drawn items of the popup menus of a form, painted by the skin
// while switched on. Restore puts each item's events and each menu's
// owner-draw flag back, touching only menus and items the form still has;
// Forget drops what was saved (the form is going away).
class TPopupSkinSwitch {
public:
    void Apply(TComponent* form, ::TSkinData* data, TMenu* barMenu);
    void Restore(TComponent* form);
    void Forget() { FItems.clear(); FMenus.clear(); }

private:
    struct TSaved {
        TMenuMeasureEvent measure;
        TMenuDrawEvent draw;
    };
    void Hook(TMenuItem& item, ::TSkinData* data, TMenu* barMenu);
    void Unhook(TMenuItem& item);
    std::map<TMenuItem*, TSaved> FItems;
    std::map<TPopupMenu*, bool> FMenus;  // owner-draw flag before
};

}  // namespace srt

// TWinSkinMenu: the menu bar of a skinned form, drawn in the non-client
// area between the caption and the client area. The form's own menu is
// taken off the window; one TMenuBtn per top-level item is laid out and
// painted from the skin's menuBar element, and opens its popup menu with
// TrackPopupMenu. While a popup is open a message-filter hook moves between
// the items with the mouse and the arrow keys. The bar reaches its window
// only through TMenuBarHost.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "component/graphics.h"
#include "component/menus.h"
#include "skin/data/skindata.h"
#include "skin/menu/menuhost.h"
#include "skin/ncarea/ncobject.h"

namespace srt {

class TWinSkinMenu;

class TMenuBtn final : public TNCObject {
public:
    TMenuBtn(TWinSkinMenu& bar, TNCOwner* owner) : TNCObject(owner), FBar(bar) {}
    void Draw() override;
    bool KeepsLookOverFramePaint() const override { return true; }
    // A button that kept its look through a frame paint which cleared the
    // owner's hot object gives it up before another one takes over.
    void MouseDown() override;
    void MouseMove() override;

    TWinSkinMenu& FBar;
    int FIndex = 0;
    std::string FCaption;  // UTF-8, with "&" marks
    bool FEnabled = true;
    HMENU FSubMenu = nullptr;
    unsigned FCommand = 0;
};

class TWinSkinMenu {
public:
    TWinSkinMenu(TMenuBarHost& host, ::TSkinData& data);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    void BuildFromWindowMenu();
    void BuildFromMenuComponent();
    void BuildFromMenuHandle(HMENU menu);

    // Composes the bar at `bar` (window coordinates) and draws it on `dc`.
    void PaintMenuBar(HDC dc, const RECT& bar);
    // The first button containing the point (window coordinates) whose
    // caption is not empty.
    TMenuBtn* HitMenuButton(POINT p) const;
    // The first enabled button whose caption has `key` as its accelerator.
    TMenuBtn* FindAccelButton(unsigned key) const;
    // Opens the button's popup menu; returns when it closes. False for a
    // button without sub-menu (its command is posted all the same).
    bool OpenMenuButton(TMenuBtn& button);
    // Posts a click on the button to the window (whose skin then opens it).
    void ClickMenuButton(TMenuBtn& button);

    int Count() const { return static_cast<int>(FButtons.size()); }
    TMenuBtn& Button(int i) const { return *FButtons.at(static_cast<std::size_t>(i)); }
    HMENU MenuHandle() const { return FMenuHandle; }
    bool RightToLeft() const;
    const RECT& BarRect() const { return FBarRect; }

    // The filter hook's reaction to one message while a popup is open
    // (also reached by tests).
    void FilterMessage(MSG& msg);
    // A WM_MENUSELECT of the open popup (the owner window hears of it).
    void MenuSelect(WPARAM wParam, LPARAM lParam);
    // The button whose popup is open, -1 when none.
    int OpenIndex() const { return FOpen.index; }
    // While one of the bar's popups is open (until it closes for good, not
    // while the bar moves to the next button).
    bool Tracking() const { return FTracking; }
    // The sub-menu last opened, kept after it closes.
    HMENU TrackedMenu() const { return FTrackedMenu; }
    // The item last selected in the open popup sits in a right-to-left menu:
    // the arrow keys swap sides.
    bool SwapsArrowKeys() const;

private:
    friend class TMenuBtn;
    void Clear();
    void AddButton(int index, const std::string& caption, bool enabled, HMENU subMenu, unsigned command);
    void DrawCaption(HDC dc, const TSkinRect& rect, const std::string& caption, bool enabled);
    void DrawButtonFace(HDC dc, const TSkinRect& rect, const TMenuBtn& button);
    // Buttons other than `keep` that still show a hot or pressed look
    // without being the owner's hot object go back to normal.
    void LeaveStaleButtons(const TMenuBtn* keep);
    void Finish();
    TNCObject* HotObject() const { return FHost.BarItemOwner().HotObject(); }

    // While one of the bar's popups is open.
    struct TOpenState {
        int index = -1;
        TMenuItem* item = nullptr;  // the item last selected in the popup
        bool switching = false;     // a move to another button is under way
        bool firstMessage = false;  // the filter has seen a message of the popup
        POINT lastMouse{};
    };

    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    RECT FBarRect{};
    ::TSkinData& FSkinData;
    TMenuBarHost& FHost;
    TOpenState FOpen;
    // Expires with the bar: a popup's message loop may destroy it.
    std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);
    TBitmap FBarImage;
    bool FPainting = false;
    bool FTracking = false;
    HMENU FTrackedMenu = nullptr;
    HMENU FMenuHandle = nullptr;
};

}  // namespace srt

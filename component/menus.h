// Menus: TMenuItem (a tree of items behind one platform menu), TMainMenu
// (a form's menu bar) and TPopupMenu (a context menu). Items carry a
// caption with "&" accelerator marks, a shortcut, their states, an image
// of the menu's image list, and can be measured and drawn by their owner
// (events) when the menu is owner-drawn. Win32.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "component/classes.h"
#include "component/imglist.h"
#include "component/menutext.h"

class TMenu;

// Canvas, width and height in pixels (the proposed size on entry).
using TMenuMeasureEvent = TEvent<void(TObject* sender, HDC dc, int& width, int& height)>;
// Canvas, item rectangle, selected.
using TMenuDrawEvent = TEvent<void(TObject* sender, HDC dc, const RECT& rect, bool selected)>;

class TMenuItem : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string Caption() const { return caption_; }  // UTF-8; "-" is a separator
    void SetCaption(const std::string& v);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    std::int32_t ImageIndex() const { return imageIndex_; }
    void SetImageIndex(std::int32_t v);
    bool IsLine() const { return caption_ == "-"; }

    // Sub-items: owned by this item, in menu order.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    void Clear();
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;

    // The platform menu of the sub-items (made on first use); for a root
    // item the menu's own handle. 0 for an item without sub-items.
    HMENU Handle();
    // The menu item id the platform reports for this item.
    unsigned Command() const { return command_; }
    // The menu whose tree holds this item, or null.
    TMenu* GetParentMenu() const;
    // The image list of the parent menu, or null.
    TImageList* GetImageList() const;

    // Measuring of an owner-drawn item: the item's own size, which the
    // event may then change. Drawing: the event when set, else the item's
    // own look.
    void MeasureItem(HDC dc, int& width, int& height);
    void DrawItem(HDC dc, const RECT& rect, bool selected);
    // Runs OnClick (when enabled).
    virtual void Click();

    TNotifyEvent OnClick;
    TMenuMeasureEvent OnMeasureItem;
    TMenuDrawEvent OnDrawItem;

    // The default look, also used by painters that compose their own.
    void DefaultMeasure(HDC dc, int& width, int& height);
    void DefaultDraw(HDC dc, const RECT& rect, bool selected);

    void SetParentComponent(TComponent* parent) override;
    TComponent* ParentComponent() const override;

private:
    friend class TMenu;
    void Changed();
    void BuildMenu(HMENU menu, bool ownerDraw, bool rightToLeft);
    void FreeHandle();

    std::string caption_;
    TShortCut shortCut_ = scNone;
    bool enabled_ = true, checked_ = false, default_ = false, visible_ = true;
    std::int32_t imageIndex_ = -1;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    HMENU handle_ = nullptr;
    unsigned command_;
};

enum class TFindItemKind { fkCommand, fkHandle };

class TMenu : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() { return &items_; }
    const TMenuItem* Items() const { return &items_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    bool IsRightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool v);

    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The item whose command id or sub-menu handle is `value`, or null.
    TMenuItem* FindItem(std::uintptr_t value, TFindItemKind kind);
    // The position in platform menu `menu` (this menu or one of its
    // sub-menus) of the first enabled item whose accelerator is `key`; -1
    // when none.
    int AcceleratorPosition(HMENU menu, unsigned key);
    // Clicks the item of command `id`; false when none has it.
    bool DispatchCommand(unsigned id);
    // Routes WM_MEASUREITEM / WM_DRAWITEM of an owner-drawn item of this
    // menu to the item, with the menu font at Dpi(); false when the item is
    // not one of ours.
    bool DispatchMeasure(MEASUREITEMSTRUCT& mis);
    bool DispatchDraw(const DRAWITEMSTRUCT& dis);
    // The DPI the items are measured and drawn at: the one set, else (0,
    // the default) that of the window active on this thread, the window the
    // menu shows for.
    int Dpi() const;
    void SetDpi(int dpi) { dpi_ = dpi; }

    // Runs after the platform menu was rebuilt.
    std::function<void()> OnChange;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    virtual HMENU CreateHandle() = 0;
    void Rebuild();

private:
    friend class TMenuItem;
    TMenuItem items_;
    TImageList* images_ = nullptr;
    bool ownerDraw_ = false;
    bool rightToLeft_ = false;
    int dpi_ = 0;
    HMENU handle_ = nullptr;
};

class TMainMenu : public TMenu {
    SRT_DECLARE_CLASS()
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

protected:
    HMENU CreateHandle() override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
    SRT_DECLARE_CLASS()
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    ~TPopupMenu() override;

    // Shows the menu at the screen point and returns when it closes; the
    // chosen item's OnClick runs before that.
    void Popup(int x, int y);
    // The window that owns the menu while it is shown (receives its
    // measuring, drawing and command messages).
    static HWND PopupWindow();

    TNotifyEvent OnPopup;

protected:
    HMENU CreateHandle() override { return CreatePopupMenu(); }
};

// Every popup menu of `owner`'s components, in component order.
std::vector<TPopupMenu*> PopupMenusOf(TComponent* owner);

#include "component/menus.h"

#include <algorithm>

#include "component/dpi.h"
#include "component/gdi.h"
#include "component/wstr.h"

namespace {

// Command ids in use; WM_COMMAND carries 16 bits and the system commands
// start at 0xF000.
constexpr unsigned kFirstCommand = 1, kLastCommand = 0xEFFF;
// Never destroyed: menus may still go during static destruction.
std::vector<bool>& CommandPool() {
    static auto* used = new std::vector<bool>(kLastCommand + 1, false);
    return *used;
}

unsigned AllocateCommand() {
    auto& used = CommandPool();
    for (unsigned id = kFirstCommand; id <= kLastCommand; ++id)
        if (!used[id]) {
            used[id] = true;
            return id;
        }
    return 0;
}

void FreeCommand(unsigned id) {
    if (id >= kFirstCommand && id <= kLastCommand) CommandPool()[id] = false;
}

std::vector<TPopupMenu*>& PopupList() {
    static auto* list = new std::vector<TPopupMenu*>;
    return *list;
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

// ---- TMenuItem -----------------------------------------------------------------

SRT_DEFINE_CLASS(TMenuItem, TComponent, {
    b.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    b.Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
    b.Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false);
    b.Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
    b.Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1);
    b.Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
    b.Event("OnClick", &TMenuItem::OnClick);
})

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
    Destroying();
    if (parent_) parent_->Remove(this);
    for (TMenuItem* item : items_) {
        item->parent_ = nullptr;
        if (!item->Owner()) delete item;
    }
    items_.clear();
    FreeHandle();
    FreeCommand(command_);
}

void TMenuItem::FreeHandle() {
    if (handle_ && !menu_) {
        // Sub-menus belong to their items: take them out before the menu goes.
        while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
        DestroyMenu(handle_);
    }
    handle_ = nullptr;
}

void TMenuItem::SetCaption(const std::string& v) {
    if (v == caption_) return;
    caption_ = v;
    Changed();
}
void TMenuItem::SetShortCut(TShortCut v) {
    if (v == shortCut_) return;
    shortCut_ = v;
    Changed();
}
void TMenuItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Changed();
}
void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed();
}
void TMenuItem::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    Changed();
}
void TMenuItem::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed();
}
void TMenuItem::SetImageIndex(std::int32_t v) {
    if (v == imageIndex_) return;
    imageIndex_ = v;
    Changed();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this || item->parent_ == this) return;
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    if (!InState(csDestroying)) Changed();
}

void TMenuItem::Clear() {
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        Remove(item);
        delete item;
    }
}

int TMenuItem::MenuIndex() const {
    if (!parent_) return -1;
    const auto& s = parent_->items_;
    return static_cast<int>(std::find(s.begin(), s.end(), this) - s.begin());
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* item = dyncast<TMenuItem>(parent)) item->Add(this);
    else if (auto* menu = dyncast<TMenu>(parent)) menu->Items()->Add(this);
}

TComponent* TMenuItem::ParentComponent() const {
    if (!parent_) return nullptr;
    if (parent_->menu_) return parent_->menu_;
    return parent_;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

TImageList* TMenuItem::GetImageList() const {
    TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

HMENU TMenuItem::Handle() {
    if (menu_) return menu_->Handle();
    if (items_.empty()) return nullptr;
    if (!handle_) {
        handle_ = CreatePopupMenu();
        TMenu* menu = GetParentMenu();
        BuildMenu(handle_, menu && menu->OwnerDraw(), menu && menu->IsRightToLeft());
    }
    return handle_;
}

void TMenuItem::Changed() {
    if (InState(csDestroying)) return;
    if (TMenu* menu = GetParentMenu()) menu->Rebuild();
}

// Fills `menu` with the visible sub-items; sub-menus keep their handles.
void TMenuItem::BuildMenu(HMENU menu, bool ownerDraw, bool rightToLeft) {
    while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
    for (TMenuItem* item : items_) {
        if (!item->visible_) continue;
        std::wstring text = Widen(item->caption_);
        if (item->shortCut_ != scNone) text += L"\t" + Widen(ShortCutToText(item->shortCut_));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        info.wID = item->command_;
        if (item->IsLine()) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        if (ownerDraw) info.fType |= MFT_OWNERDRAW;
        // Right-to-left menus are laid out by their painters: the item flags
        // for it are read as other flags by some platforms.
        (void)rightToLeft;
        info.fState = (item->enabled_ ? 0u : MFS_GRAYED) | (item->checked_ ? MFS_CHECKED : 0u) |
                      (item->default_ ? MFS_DEFAULT : 0u);
        if (item->items_.empty()) {
            item->FreeHandle();
        } else if (item->handle_) {
            item->BuildMenu(item->handle_, ownerDraw, rightToLeft);
        }
        info.hSubMenu = item->Handle();
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
}

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
    DefaultMeasure(dc, width, height);
    OnMeasureItem(this, dc, width, height);
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, bool selected) {
    if (OnDrawItem) OnDrawItem(this, dc, rect, selected);
    else DefaultDraw(dc, rect, selected);
}

void TMenuItem::Click() {
    if (enabled_) OnClick(this);
}

// Glyph column (the image list's width, else 16) + 3, the caption, and the
// shortcut 15 pixels after it; height the text's plus 4, at least the
// glyph's plus 3. A separator is 8 high. The gaps at the menu's DPI.
void TMenuItem::DefaultMeasure(HDC dc, int& width, int& height) {
    const TMenu* menu = GetParentMenu();
    const int dpi = menu ? menu->Dpi() : srt::SystemDpi();
    const auto px = [dpi](int v) { return srt::ScaleToDpi(v, dpi); };
    if (IsLine()) {
        width = 0;
        height = px(8);
        return;
    }
    const TImageList* images = GetImageList();
    const bool topLevel = parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_);
    const int glyph = topLevel ? 0 : (images ? images->Width() : 0);
    const std::wstring text = Widen(StripHotkey(caption_));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()),
                          &size);
    width = glyph + (glyph ? px(3) : 0) + size.cx;
    if (shortCut_ != scNone) width += px(15) + TextWidth(dc, Widen(ShortCutToText(shortCut_)));
    height = std::max<int>(size.cy + px(4), images && !topLevel ? images->Height() + px(3) : 0);
}

void TMenuItem::DefaultDraw(HDC dc, const RECT& rect, bool selected) {
    SavedDC saved(dc);
    GdiBrush back(CreateSolidBrush(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU)));
    FillRect(dc, &rect, back.Get());
    if (IsLine()) {
        RECT line{rect.left, rect.top + (rect.bottom - rect.top) / 2 - 1, rect.right, rect.bottom};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TImageList* images = GetImageList();
    const int glyph = images ? images->Width() : 16;
    if (images && imageIndex_ >= 0)
        images->Draw(dc, rect.left + 2, rect.top + (rect.bottom - rect.top - images->Height()) / 2, imageIndex_,
                     enabled_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled_ ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT text{rect.left + glyph + 6, rect.top, rect.right - 8, rect.bottom};
    const std::wstring caption = Widen(caption_);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    if (shortCut_ != scNone) {
        const std::wstring key = Widen(ShortCutToText(shortCut_));
        DrawTextW(dc, key.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

// ---- TMenu ---------------------------------------------------------------------

SRT_DEFINE_CLASS(TMenu, TComponent, {
    b.Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
})

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(nullptr) { items_.menu_ = this; }

TMenu::~TMenu() {
    Destroying();
    items_.Clear();
    if (handle_) {
        while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
        DestroyMenu(handle_);
    }
}

void TMenu::SetImages(TImageList* images) {
    images_ = images;
    Rebuild();
}

void TMenu::SetOwnerDraw(bool v) {
    if (v == ownerDraw_) return;
    ownerDraw_ = v;
    Rebuild();
}

void TMenu::SetRightToLeft(bool v) {
    if (v == rightToLeft_) return;
    rightToLeft_ = v;
    Rebuild();
}

HMENU TMenu::Handle() {
    if (!handle_) {
        handle_ = CreateHandle();
        items_.BuildMenu(handle_, ownerDraw_, rightToLeft_);
    }
    return handle_;
}

void TMenu::Rebuild() {
    if (!handle_ || InState(csDestroying)) return;
    items_.BuildMenu(handle_, ownerDraw_, rightToLeft_);
    if (OnChange) OnChange();
}

namespace {
TMenuItem* FindIn(TMenuItem* item, std::uintptr_t value, TFindItemKind kind) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (kind == TFindItemKind::fkCommand ? child->Command() == value
                                             : child->Count() && reinterpret_cast<std::uintptr_t>(child->Handle()) == value)
            return child;
        if (TMenuItem* found = FindIn(child, value, kind)) return found;
    }
    return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(std::uintptr_t value, TFindItemKind kind) {
    if (value == 0) return nullptr;
    return FindIn(&items_, value, kind);
}

int TMenu::AcceleratorPosition(HMENU menu, unsigned key) {
    TMenuItem* parent = handle_ && menu == handle_ ? &items_ : FindItem(reinterpret_cast<std::uintptr_t>(menu), TFindItemKind::fkHandle);
    if (!parent) return -1;
    int position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (!item->IsLine() && item->Enabled() && IsAccelerator(item->Caption(), key)) return position;
        ++position;
    }
    return -1;
}

bool TMenu::DispatchCommand(unsigned id) {
    TMenuItem* item = FindItem(id, TFindItemKind::fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

int TMenu::Dpi() const { return dpi_ > 0 ? dpi_ : srt::WindowDpi(GetActiveWindow()); }

namespace {
// The menu font of the screen at `dpi`; the system gives it at its own.
HFONT MenuFontAt(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    metrics.lfMenuFont.lfHeight = srt::RescaleDpi(metrics.lfMenuFont.lfHeight, srt::SystemDpi(), dpi);
    return CreateFontIndirectW(&metrics.lfMenuFont);
}
}  // namespace

bool TMenu::DispatchMeasure(MEASUREITEMSTRUCT& mis) {
    if (mis.CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(mis.itemID, TFindItemKind::fkCommand);
    if (!item) return false;
    HDC dc = GetDC(nullptr);
    {
        GdiFont font(MenuFontAt(Dpi()));
        GdiSelect select(dc, font);
        int w = static_cast<int>(mis.itemWidth), h = static_cast<int>(mis.itemHeight);
        item->MeasureItem(dc, w, h);
        mis.itemWidth = static_cast<UINT>(std::max(w, 0));
        mis.itemHeight = static_cast<UINT>(std::max(h, 0));
    }
    ReleaseDC(nullptr, dc);
    return true;
}

bool TMenu::DispatchDraw(const DRAWITEMSTRUCT& dis) {
    if (dis.CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(dis.itemID, TFindItemKind::fkCommand);
    if (!item) return false;
    GdiFont font(MenuFontAt(Dpi()));
    GdiSelect select(dis.hDC, font);
    item->DrawItem(dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
    return true;
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

SRT_DEFINE_CLASS(TMainMenu, TMenu, )

// ---- TPopupMenu ----------------------------------------------------------------

SRT_DEFINE_CLASS(TPopupMenu, TMenu, )

namespace {
LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        for (TPopupMenu* menu : PopupList())
            if (menu->DispatchCommand(LOWORD(wParam))) return 0;
        break;
    case WM_MEASUREITEM:
        for (TPopupMenu* menu : PopupList())
            if (menu->DispatchMeasure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        for (TPopupMenu* menu : PopupList())
            if (menu->DispatchDraw(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MENUCHAR:
        // Owner-drawn items have no text the platform could match a key to.
        for (TPopupMenu* menu : PopupList())
            if (int position = menu->AcceleratorPosition(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
                position >= 0)
                return MAKELRESULT(position, MNC_EXECUTE);
        break;
    default: break;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}
}  // namespace

HWND TPopupMenu::PopupWindow() {
    static HWND window = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PopupListProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TPopupList";
        RegisterClassW(&wc);
        return CreateWindowExW(0, L"TPopupList", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }();
    return window;
}

TPopupMenu::~TPopupMenu() {
    auto& list = PopupList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TPopupMenu::Popup(int x, int y) {
    auto& list = PopupList();
    if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
    OnPopup(this);
    HWND owner = PopupWindow();
    const UINT flags = TPM_RIGHTBUTTON | TPM_RETURNCMD | (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    const UINT id = static_cast<UINT>(TrackPopupMenu(Handle(), flags, x, y, 0, owner, nullptr));
    if (id) DispatchCommand(id);
}

std::vector<TPopupMenu*> PopupMenusOf(TComponent* owner) {
    std::vector<TPopupMenu*> menus;
    if (!owner) return menus;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* menu = dyncast<TPopupMenu>(owner->Components(i))) menus.push_back(menu);
    return menus;
}

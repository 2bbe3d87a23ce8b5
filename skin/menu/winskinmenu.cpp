#include "skin/menu/winskinmenu.h"

#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/draw/convert.h"
#include "skin/draw/elementdraw.h"
#include "skin/menu/menulayout.h"
#include "skin/menu/skinpopup.h"

namespace srt {
namespace {

// The message-filter hook of the bar whose popup is open. A hook procedure
// has no context of its own, and popups are modal on their thread: one at
// a time per thread.
struct TFilterHook {
    HHOOK hook = nullptr;
    TWinSkinMenu* bar = nullptr;
};
thread_local TFilterHook t_filter;

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* m = reinterpret_cast<MSG*>(lParam);
    if (m && m->message == WM_KEYDOWN && t_filter.bar && t_filter.bar->SwapsArrowKeys()) {
        if (m->wParam == VK_LEFT) m->wParam = VK_RIGHT;
        else if (m->wParam == VK_RIGHT) m->wParam = VK_LEFT;
    }
    const LRESULT r = CallNextHookEx(t_filter.hook, code, wParam, lParam);
    if (r != 0 || code != MSGF_MENU || !m || !t_filter.bar) return r;
    t_filter.bar->FilterMessage(*m);
    return 0;
}

std::wstring Wide(const std::string& s) { return Widen(s); }

}  // namespace

// ---- TMenuBtn

void TMenuBtn::Draw() {
    TWinSkinMenu& bar = FBar;
    if (bar.FBarImage.Empty()) return;
    HWND window = bar.FHost.BarWindow();
    WindowDC dc(window);
    if (!dc) return;
    const RECT& b = bar.FBarRect;
    const int x = FBounds.Left, w = FBounds.Width(), h = b.bottom - b.top;
    BitBlt(dc.Get(), x, b.top, w, h, bar.FBarImage.Canvas(), x - b.left, 0, SRCCOPY);
    GdiFont font(CreateMenuFont(false, bar.FHost.BarDpi()));
    GdiSelect select(dc.Get(), font);
    bar.DrawButtonFace(dc.Get(), FBounds, *this);
}

void TMenuBtn::MouseDown() {
    FBar.LeaveStaleButtons(this);
    TNCObject::MouseDown();
}

void TMenuBtn::MouseMove() {
    FBar.LeaveStaleButtons(this);
    TNCObject::MouseMove();
}

// ---- TWinSkinMenu

TWinSkinMenu::TWinSkinMenu(TMenuBarHost& host, ::TSkinData& data) : FSkinData(data), FHost(host) {}

TWinSkinMenu::~TWinSkinMenu() {
    // Let go while one of its popups is open: the filter hook forgets it.
    if (t_filter.bar == this) t_filter.bar = nullptr;
    Clear();
}

void TWinSkinMenu::Clear() {
    if (dynamic_cast<TMenuBtn*>(HotObject())) FHost.BarItemOwner().DropHotObject();
    FButtons.clear();
}

bool TWinSkinMenu::SwapsArrowKeys() const {
    TMenu* menu = FOpen.item ? FOpen.item->GetParentMenu() : nullptr;
    return menu && menu->IsRightToLeft();
}

bool TWinSkinMenu::RightToLeft() const {
    const TMainMenu* menu = FHost.BarMenu();
    return (menu && menu->IsRightToLeft()) || FHost.BarRightToLeft();
}

void TWinSkinMenu::AddButton(int index, const std::string& caption, bool enabled, HMENU subMenu, unsigned command) {
    auto button = std::make_unique<TMenuBtn>(*this, &FHost.BarItemOwner());
    button->FIndex = index;
    button->FCaption = caption;
    button->FEnabled = enabled;
    button->FSubMenu = subMenu;
    button->FCommand = command;
    button->FVisible = true;
    FButtons.push_back(std::move(button));
}

namespace {
struct TItemInfo {
    std::string text;
    bool enabled = true;
    HMENU subMenu = nullptr;
    unsigned id = 0;
};
TItemInfo ReadItem(HMENU menu, int position) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 80;
    TItemInfo item;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return item;
    item.text = Narrow(text);
    item.enabled = (info.fState & 3) == 0;
    item.subMenu = info.hSubMenu;
    item.id = info.wID;
    return item;
}
}  // namespace

void TWinSkinMenu::BuildFromWindowMenu() {
    if (HMENU menu = GetMenu(FHost.BarWindow())) FMenuHandle = menu;
    if (!FMenuHandle) return;
    Clear();
    TMainMenu* menu = FHost.BarMenu();
    const int count = GetMenuItemCount(FMenuHandle);
    for (int i = 0; i < count; ++i) {
        TItemInfo info = ReadItem(FMenuHandle, i);
        TMenuItem* item = menu && i < menu->Items()->Count() ? menu->Items()->Items(i) : nullptr;
        if (info.text.empty() && item) {
            info.text = item->Caption();
            info.enabled = item->Enabled();
            info.id = GetMenuItemID(FMenuHandle, i);
            info.subMenu = item->Count() ? item->Handle() : nullptr;
        }
        AddButton(i, info.text, info.enabled, info.subMenu, info.id);
    }
    Finish();
}

void TWinSkinMenu::BuildFromMenuComponent() {
    if (HMENU handle = GetMenu(FHost.BarWindow())) FMenuHandle = handle;
    // Without a menu component the items come from the menu itself; the
    // bar would otherwise lose all of them.
    TMainMenu* menu = FHost.BarMenu();
    if (!menu) return BuildFromMenuHandle(FMenuHandle);
    FMenuHandle = menu->Handle();
    Clear();
    int index = 0;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        TMenuItem* item = menu->Items()->Items(i);
        if (!item->Visible()) continue;
        AddButton(index++, item->Caption(), item->Enabled(), item->Count() ? item->Handle() : nullptr,
                  item->Command());
    }
    Finish();
}

void TWinSkinMenu::BuildFromMenuHandle(HMENU menu) {
    if (menu) FMenuHandle = menu;
    if (!FMenuHandle) return;
    Clear();
    TMainMenu* component = FHost.BarMenu();
    const int count = GetMenuItemCount(FMenuHandle);
    for (int i = 0; i < count; ++i) {
        TItemInfo info = ReadItem(FMenuHandle, i);
        if (info.text.empty() && component)
            if (TMenuItem* item = component->FindItem(info.id, TFindItemKind::fkCommand)) {
                info.text = item->Caption();
                info.enabled = item->Enabled();
                info.subMenu = item->Count() ? item->Handle() : nullptr;
            }
        AddButton(i, info.text, info.enabled, info.subMenu, info.id);
    }
    Finish();
}

// The window's own bar goes; the skin draws the items.
void TWinSkinMenu::Finish() {
    if (GetMenu(FHost.BarWindow())) SetMenu(FHost.BarWindow(), nullptr);
}

void TWinSkinMenu::DrawCaption(HDC dc, const TSkinRect& rect, const std::string& caption, bool enabled) {
    const std::wstring text = Wide(caption);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? Rgb(FSkinData.Colours.MenuBarText) : GetSysColor(COLOR_BTNSHADOW));
    RECT measured = ToRect(rect);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    RECT r = ToRect(CentreText(rect, measured.right - measured.left, measured.bottom - measured.top));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

// The button's look over the bar background: a frame when pressed or hot,
// then the caption. The menu font is selected in `dc`.
void TWinSkinMenu::DrawButtonFace(HDC dc, const TSkinRect& rect, const TMenuBtn& button) {
    if (button.FState == TNCObject::stPressed || button.FState == TNCObject::stHover) {
        GdiBrush frame(CreateSolidBrush(Rgb(FSkinData.Colours.ButtonHilight)));
        const RECT r = ToRect(rect);
        FrameRect(dc, &r, frame.Get());
    }
    if (!button.FCaption.empty()) DrawCaption(dc, rect, button.FCaption, button.FEnabled);
}

void TWinSkinMenu::LeaveStaleButtons(const TMenuBtn* keep) {
    for (const auto& b : FButtons) {
        if (b.get() == keep || b.get() == HotObject() || b->FState == TNCObject::stNormal) continue;
        b->FState = TNCObject::stNormal;
        b->Draw();
    }
}

void TWinSkinMenu::PaintMenuBar(HDC dc, const RECT& bar) {
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    if (w <= 0 || h <= 0) return;
    const int dpi = FHost.BarDpi();
    TBitmap& scratch = ScratchBitmap();
    scratch.SetSize(w, h);
    HDC canvas = scratch.Canvas();
    const RECT local{0, 0, w, h};
    const bool rtl = RightToLeft();
    TDataSkinObject* e = FSkinData.ElementsAt(dpi).MenuBar.get();
    const bool element = e && !e->Image.Empty();
    if (element) {
        const int frame = FHost.BarActiveLook() ? 1 : 2;
        const TFrameIndex look{2, frame, TFrameLayout::Stacked};
        if (e->Tile == 1)
            DrawSkinImage(canvas, local, e->Image, look, MarginsOf(*e),
                          TFill::Stretch, TKeying::Opaque);
        else
            DrawSkinStrip(canvas, local, e->Image, look, {e->LeftWidth, e->RightWidth}, TKeying::Opaque);
    } else {
        GdiBrush brush(CreateSolidBrush(Rgb(FSkinData.Colours.Menubar)));
        FillRect(canvas, &local, brush.Get());
    }
    const int x0 = MenuBarStart(element, rtl, element ? e->LeftWidth : 0, element ? e->RightWidth : 0, w, dpi);
    FBarRect = bar;
    FBarImage.Assign(scratch);
    canvas = scratch.Canvas();

    GdiFont font(CreateMenuFont(false, dpi));
    GdiSelect select(canvas, font);
    FPainting = true;
    std::vector<int> widths;
    for (const auto& b : FButtons) {
        if (b->FCaption.empty()) {
            widths.push_back(-1);
            continue;
        }
        const std::wstring text = Wide(b->FCaption);
        RECT m{0, 0, 0, 0};
        DrawTextW(canvas, text.c_str(), static_cast<int>(text.size()), &m,
                  DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
        widths.push_back(m.right - m.left);
    }
    const std::vector<TSkinRect> rects = LayoutMenuBar(widths, x0, w, h, rtl, dpi);
    for (std::size_t i = 0; i < FButtons.size(); ++i) {
        // The state belongs to the form skin's hot tracking: a repaint under
        // a hot or pressed item keeps its look.
        TMenuBtn& b = *FButtons[i];
        DrawButtonFace(canvas, rects[i], b);
        b.FBounds = rects[i].Offset(bar.left, bar.top);
    }
    FPainting = false;
    FHost.PaintOverBar(canvas, bar);
    BitBlt(dc, bar.left, bar.top, w, h, canvas, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::HitMenuButton(POINT p) const {
    for (const auto& b : FButtons)
        if (!b->FCaption.empty() && b->FBounds.Contains(p.x, p.y)) return b.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccelButton(unsigned key) const {
    for (const auto& b : FButtons)
        if (b->FEnabled && IsAccelerator(b->FCaption, key)) return b.get();
    return nullptr;
}

bool TWinSkinMenu::OpenMenuButton(TMenuBtn& button) {
    HWND window = FHost.BarWindow();
    PostMessageW(window, WM_COMMAND, button.FCommand, 0);
    if (!button.FSubMenu) return false;
    t_filter.bar = this;
    const int index = button.FIndex;
    FOpen.index = index;
    RECT wr{};
    GetWindowRect(window, &wr);
    MakeMenuOwnerDraw(button.FSubMenu);
    FTracking = true;
    FTrackedMenu = button.FSubMenu;
    if (!t_filter.hook)
        t_filter.hook = SetWindowsHookExW(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId());
    FOpen.switching = false;
    FOpen.firstMessage = false;
    GetCursorPos(&FOpen.lastMouse);
    const std::weak_ptr<const bool> alive = FAlive;
    const HMENU subMenu = button.FSubMenu;
    if (button.FEnabled)
        TrackPopupMenu(subMenu, TPM_RIGHTBUTTON | TPM_NONOTIFY, button.FBounds.Left + wr.left,
                       button.FBounds.Bottom + wr.top, 0, window, nullptr);
    if (t_filter.hook) UnhookWindowsHookEx(t_filter.hook);
    t_filter.hook = nullptr;
    // The window's skin may have let the bar go meanwhile (a skin change,
    // the window destroyed): nothing of it is left to touch.
    if (alive.expired()) return true;
    FOpen.item = nullptr;
    FOpen.index = -1;
    FOpen.firstMessage = false;
    // A frame paint during the popup may have cleared the owner's hot
    // object; the pressed button stays in its care so that it is left. The
    // bar may have been rebuilt meanwhile (a changed menu): `button` may be
    // gone, the one now at its place is asked.
    if (index < Count()) {
        TMenuBtn& pressed = Button(index);
        if (pressed.FState != TNCObject::stNormal && !HotObject()) FHost.BarItemOwner().SetHotObject(&pressed);
    }
    if (t_filter.bar == this) {
        t_filter.bar = nullptr;
        FTracking = false;
    }
    return true;
}

void TWinSkinMenu::ClickMenuButton(TMenuBtn& button) {
    HWND window = FHost.BarWindow();
    RECT wr{};
    GetWindowRect(window, &wr);
    // The open popup closes first; the posted click then opens the next.
    if (t_filter.bar) EndMenu();
    const LPARAM point = MAKELPARAM(button.FBounds.Left + 1 + wr.left, button.FBounds.Top + 1 + wr.top);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTCLIENT, point);
}

void TWinSkinMenu::FilterMessage(MSG& m) {
    if (!FOpen.firstMessage) {
        FOpen.firstMessage = true;
        PostMessageW(m.hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    int target = -1;
    const HMENU popup = FTrackedMenu;
    switch (m.message) {
    case WM_KEYDOWN:
        if (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) {
            FOpen.switching = false;
        } else if (m.wParam == VK_RIGHT || m.wParam == VK_LEFT) {
            TMenuItem* item = FOpen.item;
            const bool hasSub = item && item->Count() > 0;
            const bool nested = item && item->Parent() && item->Parent()->Handle() != popup && item->Handle() != popup;
            target = MenuKeyTarget(m.wParam == VK_RIGHT ? TMenuKeyMove::Right : TMenuKeyMove::Left, FOpen.index,
                                   Count(), hasSub, nested);
        }
        break;
    case WM_SYSKEYDOWN:
        if (m.wParam == VK_MENU) FTracking = false;
        break;
    case WM_MENUSELECT: MenuSelect(m.wParam, m.lParam); break;
    case WM_MOUSEMOVE:
        if (m.pt.x != FOpen.lastMouse.x || m.pt.y != FOpen.lastMouse.y) {
            if (TMenuBtn* hit = HitMenuButton(FHost.BarScreenToWindow(m.pt))) target = hit->FIndex;
            FOpen.lastMouse = m.pt;
        }
        break;
    default: break;
    }
    if (target >= 0 && target < Count() && target != FOpen.index) {
        FOpen.switching = true;
        ClickMenuButton(*FButtons[static_cast<std::size_t>(target)]);
    }
}

void TWinSkinMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
    if (t_filter.bar != this) return;
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {
        if (!FOpen.switching) FTracking = false;
        return;
    }
    FOpen.switching = false;
    TMainMenu* menu = FHost.BarMenu();
    if (!menu) return;
    if (flags & MF_POPUP) {
        HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
        FOpen.item = menu->FindItem(reinterpret_cast<std::uintptr_t>(sub), TFindItemKind::fkHandle);
    } else {
        FOpen.item = menu->FindItem(LOWORD(wParam), TFindItemKind::fkCommand);
    }
}

}  // namespace srt

#include "skin/menu/winskinmenu.h"

#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/draw/skindraw.h"
#include "skin/form/winskinform.h"
#include "skin/menu/menulayout.h"
#include "skin/menu/skinpopup.h"

namespace srt {
namespace {

COLORREF Rgb(TColour colour) { return ColorToRGB(static_cast<TColor>(colour)); }
RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The one bar popup that can be open (menus are modal on the GUI thread).
struct TOpenBar {
    TWinSkinMenu* bar = nullptr;
    int index = -1;
    HHOOK hook = nullptr;
    TMenuItem* item = nullptr;  // the item last selected in the popup
    bool switching = false;     // a move to another button is under way
    bool firstMessage = false;  // the hook has seen a message of the popup
    POINT lastMouse{};
};
TOpenBar g_open;

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* m = reinterpret_cast<MSG*>(lParam);
    TMenu* itemMenu = g_open.item ? g_open.item->GetParentMenu() : nullptr;
    if (m && (m->message == WM_KEYDOWN) && itemMenu && itemMenu->IsRightToLeft()) {
        if (m->wParam == VK_LEFT) m->wParam = VK_RIGHT;
        else if (m->wParam == VK_RIGHT) m->wParam = VK_LEFT;
    }
    const LRESULT r = CallNextHookEx(g_open.hook, code, wParam, lParam);
    if (r != 0 || code != MSGF_MENU || !m || !g_open.bar) return r;
    g_open.bar->FilterMessage(*m);
    return 0;
}

std::wstring Wide(const std::string& s) { return Widen(s); }

}  // namespace

int TWinSkinMenu::OpenIndex() { return g_open.index; }

// ---- TMenuBtn

void TMenuBtn::Draw() {
    TWinSkinMenu& bar = FBar;
    if (bar.FBarImage.Empty()) return;
    HWND window = bar.FOwnerSkin.Handle();
    WindowDC dc(window);
    if (!dc) return;
    const RECT& b = bar.FBarRect;
    const int x = FBounds.Left, w = FBounds.Width(), h = b.bottom - b.top;
    BitBlt(dc.Get(), x, b.top, w, h, bar.FBarImage.Canvas(), x - b.left, 0, SRCCOPY);
    GdiFont font(CreateMenuFont());
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

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& owner, ::TSkinData& data, TMainMenu* menu)
    : FMenu(menu), FSkinData(data), FOwnerSkin(owner) {}

TWinSkinMenu::~TWinSkinMenu() {
    if (g_open.bar == this) g_open.bar = nullptr;
    Clear();
}

void TWinSkinMenu::Clear() {
    if (FOwnerSkin.FHotObject && dynamic_cast<TMenuBtn*>(FOwnerSkin.FHotObject)) FOwnerSkin.FHotObject = nullptr;
    FButtons.clear();
}

bool TWinSkinMenu::RightToLeft() const { return (FMenu && FMenu->IsRightToLeft()) || FOwnerSkin.RightToLeft(); }

void TWinSkinMenu::AddButton(int index, const std::string& caption, bool enabled, HMENU subMenu, unsigned command) {
    auto button = std::make_unique<TMenuBtn>(*this, &FOwnerSkin);
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
    if (HMENU menu = GetMenu(FOwnerSkin.Handle())) FMenuHandle = menu;
    if (!FMenuHandle) return;
    Clear();
    const int count = GetMenuItemCount(FMenuHandle);
    for (int i = 0; i < count; ++i) {
        TItemInfo info = ReadItem(FMenuHandle, i);
        TMenuItem* item = FMenu && i < FMenu->Items()->Count() ? FMenu->Items()->Items(i) : nullptr;
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
    if (HMENU menu = GetMenu(FOwnerSkin.Handle())) FMenuHandle = menu;
    // Without a menu component the items come from the menu itself; the
    // bar would otherwise lose all of them.
    if (!FMenu) return BuildFromMenuHandle(FMenuHandle);
    Clear();
    if (FMenu) {
        int index = 0;
        for (int i = 0; i < FMenu->Items()->Count(); ++i) {
            TMenuItem* item = FMenu->Items()->Items(i);
            if (!item->Visible()) continue;
            AddButton(index++, item->Caption(), item->Enabled(), item->Count() ? item->Handle() : nullptr,
                      item->Command());
        }
    }
    Finish();
    FOwnerSkin.FHotObject = nullptr;
}

void TWinSkinMenu::BuildFromMenuHandle(HMENU menu) {
    if (menu) FMenuHandle = menu;
    if (!FMenuHandle) return;
    Clear();
    const int count = GetMenuItemCount(FMenuHandle);
    for (int i = 0; i < count; ++i) {
        TItemInfo info = ReadItem(FMenuHandle, i);
        if (info.text.empty() && FMenu)
            if (TMenuItem* item = FMenu->FindItem(info.id, TFindItemKind::fkCommand)) {
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
    if (GetMenu(FOwnerSkin.Handle())) SetMenu(FOwnerSkin.Handle(), nullptr);
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
        if (b.get() == keep || b.get() == FOwnerSkin.FHotObject || b->FState == TNCObject::stNormal) continue;
        b->FState = TNCObject::stNormal;
        b->Draw();
    }
}

void TWinSkinMenu::PaintMenuBar(HDC dc, const RECT& bar) {
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    if (w <= 0 || h <= 0) return;
    TBitmap& scratch = ScratchBitmap();
    scratch.SetSize(w, h);
    HDC canvas = scratch.Canvas();
    const RECT local{0, 0, w, h};
    const bool rtl = RightToLeft();
    TDataSkinObject* e = FSkinData.MenuBar.get();
    const bool element = e && !e->Image.Empty();
    if (element) {
        const int frame = FOwnerSkin.ActiveLook() ? 1 : 2;
        if (e->Tile == 1)
            DrawSkinImage(canvas, local, e->Image, true, false, false, 2, frame, e->LeftWidth, e->TopHeight,
                          e->RightWidth, e->BottomHeight);
        else
            DrawSkinStrip(canvas, local, e->Image, true, false, 2, frame, e->LeftWidth, 0, e->RightWidth, 0);
    } else {
        GdiBrush brush(CreateSolidBrush(Rgb(FSkinData.Colours.Menubar)));
        FillRect(canvas, &local, brush.Get());
    }
    const int x0 = MenuBarStart(element, rtl, element ? e->LeftWidth : 0, element ? e->RightWidth : 0, w);
    FBarRect = bar;
    FBarImage.Assign(scratch);
    canvas = scratch.Canvas();

    GdiFont font(CreateMenuFont());
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
    const std::vector<TSkinRect> rects = LayoutMenuBar(widths, x0, w, h, rtl);
    for (std::size_t i = 0; i < FButtons.size(); ++i) {
        // The state belongs to the form skin's hot tracking: a repaint under
        // a hot or pressed item keeps its look.
        TMenuBtn& b = *FButtons[i];
        DrawButtonFace(canvas, rects[i], b);
        b.FBounds = rects[i].Offset(bar.left, bar.top);
    }
    FPainting = false;
    DrawMdiButtons(canvas);
    BitBlt(dc, bar.left, bar.top, w, h, canvas, 0, 0, SRCCOPY);
}

// A maximised MDI child's buttons sit in the frame's bar.
void TWinSkinMenu::DrawMdiButtons(HDC canvas) {
    HWND client = FOwnerSkin.MdiClient();
    if (!FOwnerSkin.IsMdiFrame() || !client) return;
    BOOL maximized = FALSE;
    if (!SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)) || !maximized) return;
    const TFrameMetrics& m = FOwnerSkin.Metrics();
    const TCaptionButtons& buttons = FOwnerSkin.Buttons();
    for (std::size_t i = 0; i < buttons.Count(); ++i) {
        TWinSysButton& b = buttons[i];
        TDataSkinSysButton& r = *b.FRecord;
        if (r.Visibility != kMdiButtonMark || r.Image.Empty() || !b.FVisible) continue;
        const RECT target = ToRect(b.FBounds.Offset(-m.BorderLeft, -m.TitleHeight));
        DrawSkinFrame(canvas, target, r.Image, true, std::max(r.FrameCount, 1), 1);
    }
    if (!FOwnerSkin.MdiMaximized()) FOwnerSkin.SetMdiMaximized(true);
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
    HWND window = FOwnerSkin.Handle();
    PostMessageW(window, WM_COMMAND, button.FCommand, 0);
    if (!button.FSubMenu) return false;
    g_open.bar = this;
    g_open.index = button.FIndex;
    RECT wr{};
    GetWindowRect(window, &wr);
    MakeMenuOwnerDraw(button.FSubMenu);
    FOwnerSkin.SetMenuTracking(true);
    FOwnerSkin.SetTrackedMenu(button.FSubMenu);
    if (!g_open.hook)
        g_open.hook = SetWindowsHookExW(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId());
    g_open.switching = false;
    g_open.firstMessage = false;
    GetCursorPos(&g_open.lastMouse);
    const HMENU subMenu = button.FSubMenu;
    if (button.FEnabled)
        TrackPopupMenu(subMenu, TPM_RIGHTBUTTON | TPM_NONOTIFY, button.FBounds.Left + wr.left,
                       button.FBounds.Bottom + wr.top, 0, window, nullptr);
    if (g_open.hook) UnhookWindowsHookEx(g_open.hook);
    g_open.hook = nullptr;
    g_open.item = nullptr;
    g_open.index = -1;
    g_open.firstMessage = false;
    // A frame paint during the popup may have cleared the owner's hot
    // object; the pressed button stays in its care so that it is left.
    if (button.FState != TNCObject::stNormal && !FOwnerSkin.FHotObject) FOwnerSkin.FHotObject = &button;
    if (g_open.bar == this) {
        g_open.bar = nullptr;
        FOwnerSkin.SetMenuTracking(false);
    }
    return true;
}

void TWinSkinMenu::ClickMenuButton(TMenuBtn& button) {
    HWND window = FOwnerSkin.Handle();
    RECT wr{};
    GetWindowRect(window, &wr);
    // The open popup closes first; the posted click then opens the next.
    if (g_open.bar) EndMenu();
    const LPARAM point = MAKELPARAM(button.FBounds.Left + 1 + wr.left, button.FBounds.Top + 1 + wr.top);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTCLIENT, point);
}

void TWinSkinMenu::FilterMessage(MSG& m) {
    if (!g_open.firstMessage) {
        g_open.firstMessage = true;
        PostMessageW(m.hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    int target = -1;
    const HMENU popup = FOwnerSkin.TrackedMenu();
    switch (m.message) {
    case WM_KEYDOWN:
        if (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) {
            g_open.switching = false;
        } else if (m.wParam == VK_RIGHT || m.wParam == VK_LEFT) {
            TMenuItem* item = g_open.item;
            const bool hasSub = item && item->Count() > 0;
            const bool nested = item && item->Parent() && item->Parent()->Handle() != popup && item->Handle() != popup;
            target = MenuKeyTarget(m.wParam == VK_RIGHT ? TMenuKeyMove::Right : TMenuKeyMove::Left, g_open.index,
                                   Count(), hasSub, nested);
        }
        break;
    case WM_SYSKEYDOWN:
        if (m.wParam == VK_MENU) FOwnerSkin.SetMenuTracking(false);
        break;
    case WM_MENUSELECT: MenuSelect(m.wParam, m.lParam); break;
    case WM_MOUSEMOVE:
        if (m.pt.x != g_open.lastMouse.x || m.pt.y != g_open.lastMouse.y) {
            if (TMenuBtn* hit = HitMenuButton(FOwnerSkin.ToWindow(m.pt))) target = hit->FIndex;
            g_open.lastMouse = m.pt;
        }
        break;
    default: break;
    }
    if (target >= 0 && target < Count() && target != g_open.index) {
        g_open.switching = true;
        ClickMenuButton(*FButtons[static_cast<std::size_t>(target)]);
    }
}

void TWinSkinMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
    if (g_open.bar != this) return;
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {
        if (!g_open.switching) FOwnerSkin.SetMenuTracking(false);
        return;
    }
    g_open.switching = false;
    if (!FMenu) return;
    if (flags & MF_POPUP) {
        HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
        g_open.item = FMenu->FindItem(reinterpret_cast<std::uintptr_t>(sub), TFindItemKind::fkHandle);
    } else {
        g_open.item = FMenu->FindItem(LOWORD(wParam), TFindItemKind::fkCommand);
    }
}

}  // namespace srt

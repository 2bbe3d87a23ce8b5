#include "skin/menu/skinpopup.h"

#include <algorithm>
#include <string>

#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/draw/convert.h"
#include "skin/draw/elementdraw.h"

namespace srt {
namespace {

constexpr int kBorder = 3;  // the popup frame painted from MenuBackground, at 96 DPI
constexpr WORD kObmCheck = 0x7FF8;  // the platform check-mark bitmap
constexpr int kShortcutGap = 11;  // shortcut text ends this far before the item's right edge
constexpr UINT kTextFlags = DT_EXPANDTABS | DT_SINGLELINE;  // 0x60

bool Has(const std::unique_ptr<TDataSkinObject>& element) { return element && !element->Image.Empty(); }

bool NineXFamily() { return (GetVersion() & 0x80000000u) != 0; }

std::wstring MenuString(HMENU menu, unsigned command) {
    wchar_t text[81] = {};
    GetMenuStringW(menu, command, text, 80, MF_BYCOMMAND);
    return text;
}

// The font selected into `dc`, as a new font (bold when asked).
HFONT FontLike(HDC dc, bool bold) {
    LOGFONTW lf{};
    HGDIOBJ current = GetCurrentObject(dc, OBJ_FONT);
    if (!current || !GetObjectW(current, sizeof lf, &lf)) return CreateMenuFont(bold);
    if (bold) lf.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&lf);
}

// An off-screen bitmap of the item's size with the font of `dc`.
struct TItemBitmap {
    TItemBitmap(HDC dc, int w, int h) : bitmap(w, h), font(FontLike(dc, false)), select(bitmap.Canvas(), font) {}
    HDC Canvas() { return bitmap.Canvas(); }
    TBitmap bitmap;
    GdiFont font;
    GdiSelect select;
};

// The background behind an item: the popup's composed image under the
// item, else the "Menu" colour.
void FillItemBackground(const TSkinElements& data, HDC target, const RECT& item, HMENU menu) {
    const int w = item.right - item.left, h = item.bottom - item.top;
    TBitmap* image = FindPopupImage(menu);
    if (image && !image->Empty()) {
        const int border = PopupBorderWidth(data.Dpi);
        BitBlt(target, 0, 0, w, h, image->Canvas(), item.left + border, item.top + border, SRCCOPY);
        return;
    }
    GdiBrush brush(CreateSolidBrush(Rgb(data.Colours.Menu)));
    RECT r{0, 0, w, h};
    FillRect(target, &r, brush.Get());
}

void DrawItemFrame(const TSkinElements& data, HDC target, int w, int h, bool selected) {
    TDataSkinObject& e = *data.MenuItem;
    const RECT all{0, 0, w, h};
    DrawSkinImage(target, all, e.Image, {5, selected ? 4 : 1}, MarginsOf(e),
                  FillOf(e), KeyedIf(e.Trans != 0));
}

TMenu* ParentMenuOf(TMenuItem& item, TMenu* barMenu) {
    TMenu* menu = item.GetParentMenu();
    return menu ? menu : barMenu;
}

// The platform's check mark in `colour`, centred in the glyph box, at
// `dpi`: the platform's bitmap is the 96-DPI one, enlarged pixel by pixel.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour, int dpi) {
    GdiBitmap check(static_cast<HBITMAP>(LoadImageW(nullptr, MAKEINTRESOURCEW(kObmCheck), IMAGE_BITMAP, 0, 0, 0)));
    if (!check) return;
    BITMAP info{};
    GetObjectW(check.Get(), sizeof info, &info);
    const SIZE size = CheckMarkSize({info.bmWidth, info.bmHeight}, dpi);
    const int x = box.left + (box.right - box.left - size.cx) / 2 + ScaleToDpi(1, dpi);
    const int y = box.top + (box.bottom - box.top - size.cy) / 2 + ScaleToDpi(1, dpi);
    MemoryDC mono(dc);
    GdiSelect select(mono.Get(), check);
    GdiBrush brush(CreateSolidBrush(colour));
    GdiSelect useBrush(dc, brush);
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    const int mode = SetStretchBltMode(dc, COLORONCOLOR);
    // White bits keep the target, black bits take the brush.
    StretchBlt(dc, x, y, size.cx, size.cy, mono.Get(), 0, 0, info.bmWidth, info.bmHeight, 0x00B8074A);
    SetStretchBltMode(dc, mode);
    SetBkColor(dc, back);
    SetTextColor(dc, text);
}

// The checked look behind an image: an 8 x 8 checkerboard of button face
// and button highlight inside a sunken edge.
void DrawCheckedBox(HDC dc, RECT box) {
    TBitmap pattern(8, 8);
    const std::uint32_t face = ColorToRGB(clBtnFace), light = ColorToRGB(static_cast<TColor>(0xFF000014));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.SetPixel(x, y, (x + y) % 2 ? light : face);
    GdiBrush brush(CreatePatternBrush(pattern.Handle()));
    FillRect(dc, &box, brush.Get());
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
}

// Draws or (with DT_CALCRECT) measures an item's text.
void DrawMenuText(const TSkinElements& data, TMenuItem& item, HDC dc, UINT flags, bool selected, RECT& rect,
                  std::wstring text) {
    const bool measuring = (flags & DT_CALCRECT) != 0;
    if (measuring && (text.empty() || text == L"&")) text += L" ";
    if (text == L"-") {
        if (!measuring) {
            RECT line = rect;
            OffsetRect(&line, 0, 4);
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    GdiFont bold(item.Default() ? FontLike(dc, true) : nullptr);
    GdiSelect useBold(dc, bold);
    TColour colour = selected ? data.Colours.HilightText : data.Colours.MenuText;
    COLORREF rgb = Rgb(colour);
    if (!item.Enabled())
        rgb = data.Colours.ButtonShadow == data.Colours.MenuText ? GetSysColor(COLOR_BTNSHADOW)
                                                                 : Rgb(data.Colours.ButtonShadow);
    SetTextColor(dc, rgb);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

}  // namespace

int PopupBorderWidth(int dpi) { return ScaleToDpi(kBorder, dpi); }

SIZE CheckMarkSize(SIZE bitmap, int dpi) {
    // A bitmap larger than the 96-DPI glyph box is taken as made for the DPI.
    if (bitmap.cx > TMenuImages::kSize || bitmap.cy > TMenuImages::kSize) return bitmap;
    return {ScaleToDpi(bitmap.cx, dpi), ScaleToDpi(bitmap.cy, dpi)};
}

HFONT CreateMenuFont(bool bold, int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
    if (dpi > 0) metrics.lfMenuFont.lfHeight = RescaleDpi(metrics.lfMenuFont.lfHeight, SystemDpi(), dpi);
    return CreateFontIndirectW(&metrics.lfMenuFont);
}

// ---- the popup window

TBitmap* FindPopupImage(HMENU menu) {
    TSkinManage* manager = TheSkinManager();
    if (!manager || !menu) return nullptr;
    auto* popup = static_cast<TWinSkinPopMenu*>(manager->FindPopupByMenu(reinterpret_cast<std::uintptr_t>(menu)));
    return popup ? &popup->Image() : nullptr;
}

void UsePopupSkins(TSkinManage& manager) {
    TSkinManage* m = &manager;
    manager.SetPopupSkinFactory([m](std::uintptr_t window, ::TSkinData* data) {
        auto popup = std::make_unique<TWinSkinPopMenu>(m);
        popup->AttachPopup(reinterpret_cast<HWND>(window), data);
        return std::unique_ptr<TManagedPopupSkin>(std::move(popup));
    });
}

TWinSkinPopMenu::~TWinSkinPopMenu() { DetachPopup(); }

void TWinSkinPopMenu::AttachPopup(HWND window, ::TSkinData* data) {
    FHandle = window;
    FSkinData = data;
    FMenuHandle = nullptr;
    AttachWindow(window);
}

void TWinSkinPopMenu::DetachPopup() {
    DetachWindow();
    FImage.SetSize(0, 0);
}

// The manager lets go of the popup as its window is destroyed, before
// WM_DESTROY arrives.
LRESULT TWinSkinPopMenu::PopupWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kWmSkinQuery) return 1;
    if (!FManager->Active()) return CallPrevious(msg, wParam, lParam);
    switch (msg) {
    case WM_NCPAINT: return OnNcPaint(wParam, lParam);
    case WM_PRINT: return OnPrint(wParam, lParam);
    case WM_PAINT: return OnPaint(wParam, lParam);
    default: return CallPrevious(msg, wParam, lParam);
    }
}

bool TWinSkinPopMenu::CanPaint() const {
    return FSkinData && !FSkinData->Empty() && Has(Skin().MenuBackground);
}

bool TWinSkinPopMenu::ComposeImage(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    TDataSkinObject& e = *Skin().MenuBackground;
    const RECT target{0, 0, width, height};
    FImage = CreateSkinBitmap(target, e.Image, {1, 1}, MarginsOf(e),
                              FillOf(e));
    // The menu window knows its menu from its creation on.
    if (!FMenuHandle) FMenuHandle = reinterpret_cast<HMENU>(CallPrevious(MN_GETHMENU, 0, 0));
    return true;
}

void TWinSkinPopMenu::PaintBorder(HDC dc, int w, int h) {
    HDC image = FImage.Canvas();
    const int b = PopupBorderWidth(Skin().Dpi);
    BitBlt(dc, 0, 0, w, b, image, 0, 0, SRCCOPY);
    BitBlt(dc, 0, h - b, w, b, image, 0, h - b, SRCCOPY);
    BitBlt(dc, 0, b, b, h - b, image, 0, b, SRCCOPY);
    BitBlt(dc, w - b, b, b, h - b, image, w - b, b, SRCCOPY);
}

LRESULT TWinSkinPopMenu::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    if (!CanPaint()) return CallPrevious(WM_NCPAINT, wParam, lParam);
    RECT r{};
    GetWindowRect(FHandle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!ComposeImage(w, h)) return CallPrevious(WM_NCPAINT, wParam, lParam);
    WindowDC dc(FHandle);
    if (dc) PaintBorder(dc.Get(), w, h);
    return 0;
}

// A menu window without a non-client frame of its own paints its border in
// its client area: the skin's border goes over it after each paint.
LRESULT TWinSkinPopMenu::OnPaint(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = CallPrevious(WM_PAINT, wParam, lParam);
    if (!CanPaint() || !IsWindow(FHandle)) return r;
    RECT window{}, client{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &client);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (client.right < w || client.bottom < h) return r;  // the frame is non-client: WM_NCPAINT paints it
    if (FImage.Width() != w || FImage.Height() != h) ComposeImage(w, h);
    WindowDC dc(FHandle);
    if (dc) PaintBorder(dc.Get(), w, h);
    return r;
}

LRESULT TWinSkinPopMenu::OnPrint(WPARAM wParam, LPARAM lParam) {
    if (!CanPaint()) return CallPrevious(WM_PRINT, wParam, lParam);
    RECT r{};
    if (!GetWindowRect(FHandle, &r)) return CallPrevious(WM_PRINT, wParam, lParam);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!ComposeImage(w, h)) return CallPrevious(WM_PRINT, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    BitBlt(dc, 0, 0, w, h, FImage.Canvas(), 0, 0, SRCCOPY);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const int b = PopupBorderWidth(Skin().Dpi);
    GdiRegion clip(CreateRectRgn(b, b, w - b, h - b));
    SelectClipRgn(dc, clip.Get());
    const LRESULT result = CallPrevious(WM_PRINT, wParam, lParam);
    SelectClipRgn(dc, nullptr);
    SetBkMode(dc, mode);
    return result;
}

// ---- owner drawing switched on

// Keeps each item's text: MIIM_FTYPE changes the type bits only.
void MakeMenuOwnerDraw(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        HMENU sub = info.hSubMenu;
        info.fMask = MIIM_FTYPE;
        info.fType |= MFT_OWNERDRAW;
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (sub) MakeMenuOwnerDraw(sub);
    }
}

// ---- measuring

void MeasureSkinItem(const TSkinElements& data, TMenuItem& item, HDC dc, int& width, int& height) {
    const TMenuMeasureEvent saved = item.OnMeasureItem;
    item.OnMeasureItem = {};
    item.MeasureItem(dc, width, height);
    item.OnMeasureItem = saved;
    if (data.MenuItem) width += data.MenuItem->LeftWidth;
    width += ScaleToDpi(item.GetImageList() ? 10 : 35, data.Dpi);
}

void MeasureSysMenuItem(const TSkinElements& data, TMenuItem& item, HDC dc, int& width, int& height) {
    (void)dc;
    (void)height;
    if (data.MenuItem) width += data.MenuItem->LeftWidth;
    width += ScaleToDpi(item.GetImageList() ? 12 : 35, data.Dpi);
}

void MeasureMenuText(const TSkinElements& data, HMENU menu, unsigned command, HDC dc, int& width, int& height) {
    const std::wstring text = MenuString(menu, command);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    width = size.cx + ScaleToDpi(26, data.Dpi) + (data.MenuItem ? data.MenuItem->LeftWidth : 0);
    if (!text.empty())
        height += ScaleToDpi(4, data.Dpi);
    else
        height = ScaleToDpi(8, data.Dpi);
    if (NineXFamily()) height += ScaleToDpi(4, data.Dpi);
}

// ---- drawing

void DrawMenuSeparator(const TSkinElements& data, HDC dc, const RECT& rect) {
    if (!Has(data.MenuItem)) return;
    TDataSkinObject& e = *data.MenuItem;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    const int fw = e.Image.Width() / 5, ih = e.Image.Height();
    const int sy = ih > h ? ih - h : 0;
    const int l = e.LeftWidth, r = e.RightWidth;
    TBitmap piece(w, h);
    HDC src = e.Image.Canvas();
    HDC dst = piece.Canvas();
    StretchBlt(dst, 0, 0, l, h, src, fw, sy, l, ih - sy, SRCCOPY);
    StretchBlt(dst, w - r, 0, r, h, src, 2 * fw - r, sy, r, ih - sy, SRCCOPY);
    StretchBlt(dst, l, 0, w - r - l, h, src, fw + l, sy, fw - l - r, ih - sy, SRCCOPY);
    DrawTransparent(dc, rect, piece, kSkinKey);
}

void DrawMenuItemContent(const TSkinElements& data, TMenuItem& item, HDC dc, bool selected, const RECT& r,
                         TMenu* barMenu) {
    TMenu* parent = ParentMenuOf(item, barMenu);
    TImageList* images = parent ? parent->Images() : nullptr;
    const int box = ScaleToDpi(16, data.Dpi);
    int g = images ? images->Width() : box;
    if (item.Checked()) g = std::max(g, box);
    const bool rtl = parent && parent->IsRightToLeft();
    const int lw = data.MenuItem ? data.MenuItem->LeftWidth : 0;
    const bool line = item.IsLine();

    RECT glyph{};
    if (!line) {
        // A glyph smaller than the row (an image list at 96 DPI in a
        // larger menu) sits in its middle.
        glyph.top = r.top + std::max<LONG>(1, (r.bottom - r.top - g) / 2);
        glyph.bottom = glyph.top + g;
        glyph.left = rtl ? r.right - 1 - lw - g : r.left + 1 + lw;
        glyph.right = glyph.left + g;
        const int index = item.ImageIndex();
        if (images && index > -1 && index < images->Count()) {
            if (item.Checked()) DrawCheckedBox(dc, glyph);
            images->Draw(dc, glyph.left, glyph.top, index, item.Enabled());
        } else if (item.Checked()) {
            DrawCheckMark(dc, glyph, GetSysColor(COLOR_BTNTEXT), data.Dpi);
        }
    }

    const std::wstring caption = Widen(item.Caption());
    const std::wstring shortcut = Widen(ShortCutToText(item.ShortCut()));
    RECT text = rtl ? RECT{r.left + 1, r.top, glyph.left - 3, r.bottom} : RECT{glyph.right + 3, r.top, r.right - 1, r.bottom};
    const UINT flags = rtl ? DT_RIGHT | kTextFlags : kTextFlags;
    RECT measured = text;
    DrawMenuText(data, item, dc, flags | DT_CALCRECT | DT_NOCLIP, selected, measured, caption);
    const int mh = measured.bottom - measured.top;
    const int dy = ((text.bottom - text.top) - mh) / 2;
    if (rtl) {
        // Measured from the left; the caption is drawn right-aligned in the full width.
        RECT draw{text.left, text.top + dy, text.right, text.top + dy + mh};
        DrawMenuText(data, item, dc, flags, selected, draw, caption);
        if (!shortcut.empty()) {
            RECT key{r.left + ScaleToDpi(kShortcutGap, data.Dpi), draw.top,
                     draw.right - (measured.right - measured.left), draw.bottom};
            DrawMenuText(data, item, dc, kTextFlags, selected, key, shortcut);
        }
        return;
    }
    RECT draw{measured.left, text.top + dy, measured.right, text.top + dy + mh};
    if (line) draw = text;
    DrawMenuText(data, item, dc, kTextFlags, selected, draw, caption);
    if (!shortcut.empty()) {
        RECT key{draw.right, draw.top, r.right - ScaleToDpi(kShortcutGap, data.Dpi), draw.bottom};
        DrawMenuText(data, item, dc, DT_RIGHT | kTextFlags, selected, key, shortcut);
    }
}

void DrawPlainMenuItem(const TSkinElements& data, TMenuItem& item, HDC dc, bool selected, const RECT& rect,
                       TMenu* barMenu) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TItemBitmap off(dc, w, h);
    GdiBrush brush(CreateSolidBrush(Rgb(selected ? data.Colours.Hilight : data.Colours.Menu)));
    const RECT all{0, 0, w, h};
    FillRect(off.Canvas(), &all, brush.Get());
    DrawMenuItemContent(data, item, off.Canvas(), selected, all, barMenu);
    BitBlt(dc, rect.left, rect.top, w, h, off.Canvas(), 0, 0, SRCCOPY);
}

void DrawSkinMenuItem(const TSkinElements& data, TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                      TMenu* barMenu) {
    if (!Has(data.MenuItem)) return DrawPlainMenuItem(data, item, dc, selected, rect, barMenu);
    HMENU menu = item.Parent() ? item.Parent()->Handle() : nullptr;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TItemBitmap off(dc, w, h);
    FillItemBackground(data, off.Canvas(), rect, menu);
    if (!item.IsLine()) {
        DrawItemFrame(data, off.Canvas(), w, h, selected);
        DrawMenuItemContent(data, item, off.Canvas(), selected, {0, 0, w, h}, barMenu);
        BitBlt(dc, rect.left, rect.top, w, h, off.Canvas(), 0, 0, SRCCOPY);
        return;
    }
    BitBlt(dc, rect.left, rect.top, w, h, off.Canvas(), 0, 0, SRCCOPY);
    DrawMenuSeparator(data, dc, rect);
}

std::unique_ptr<TMenuItem> MakeTempMenuItem(HMENU menu, unsigned command) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoW(menu, command, FALSE, &info);
    auto item = std::make_unique<TMenuItem>(nullptr);
    const std::wstring text = MenuString(menu, command);
    item->SetCaption(text.empty() ? "-" : Narrow(text));
    item->SetEnabled((info.fState & 3) == 0);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    return item;
}

void DrawForeignMenuItem(const TSkinElements& data, HMENU menu, unsigned command, bool selected, const RECT& rect, HDC dc,
                         TMenu* barMenu) {
    std::unique_ptr<TMenuItem> item = MakeTempMenuItem(menu, command);
    if (!Has(data.MenuItem)) return DrawPlainMenuItem(data, *item, dc, selected, rect, barMenu);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TItemBitmap off(dc, w, h);
    FillItemBackground(data, off.Canvas(), rect, menu);
    DrawItemFrame(data, off.Canvas(), w, h, selected);
    DrawMenuItemContent(data, *item, off.Canvas(), selected, {0, 0, w, h}, barMenu);
    BitBlt(dc, rect.left, rect.top, w, h, off.Canvas(), 0, 0, SRCCOPY);
}

// ---- popup menus of a form

void TPopupSkinSwitch::Hook(TMenuItem& item, ::TSkinData* data, TMenu* barMenu) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem& child = *item.Items(i);
        FItems.emplace(&child, TSaved{child.OnMeasureItem, child.OnDrawItem});
        // At the DPI of the menu, as its font.
        const auto dpi = [&child](HDC dc) {
            const TMenu* menu = child.GetParentMenu();
            return menu ? menu->Dpi() : WindowDpi(WindowFromDC(dc));
        };
        child.OnMeasureItem.Code = [data, &child, dpi](TObject*, HDC dc, int& w, int& h) {
            MeasureSkinItem(data->ElementsAt(dpi(dc)), child, dc, w, h);
        };
        child.OnDrawItem.Code = [data, &child, barMenu, dpi](TObject*, HDC dc, const RECT& r, bool selected) {
            DrawSkinMenuItem(data->ElementsAt(dpi(dc)), child, dc, r, selected, barMenu);
        };
        Hook(child, data, barMenu);
    }
}

void TPopupSkinSwitch::Unhook(TMenuItem& item) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem& child = *item.Items(i);
        if (auto it = FItems.find(&child); it != FItems.end()) {
            child.OnMeasureItem = it->second.measure;
            child.OnDrawItem = it->second.draw;
        }
        Unhook(child);
    }
}

void TPopupSkinSwitch::Apply(TComponent* form, ::TSkinData* data, TMenu* barMenu) {
    Restore(form);
    for (TPopupMenu* menu : PopupMenusOf(form)) {
        FMenus.emplace(menu, menu->OwnerDraw());
        Hook(*menu->Items(), data, barMenu);
        menu->SetOwnerDraw(true);
    }
}

void TPopupSkinSwitch::Restore(TComponent* form) {
    for (TPopupMenu* menu : PopupMenusOf(form)) {
        const auto it = FMenus.find(menu);
        if (it == FMenus.end()) continue;
        Unhook(*menu->Items());
        menu->SetOwnerDraw(it->second);
    }
    Forget();
}

}  // namespace srt

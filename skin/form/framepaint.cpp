// The skinned frame: its layout, composed off screen and reaching the window
// in one blit, and the window region cut from the same composition.
#include <algorithm>
#include <optional>

#include "skin/draw/convert.h"
#include "skin/draw/skindraw.h"
#include "skin/form/winskinform.h"
#include "skin/menu/winskinmenu.h"

namespace srt {

// The platform-free frame rules keep the platform's values under names of
// their own.
static_assert(ws::Popup == WS_POPUP && ws::Child == WS_CHILD && ws::Caption == WS_CAPTION && ws::Border == WS_BORDER &&
              ws::SysMenu == WS_SYSMENU && ws::ThickFrame == WS_THICKFRAME && ws::MinimizeBox == WS_MINIMIZEBOX &&
              ws::MaximizeBox == WS_MAXIMIZEBOX && ws::HScroll == WS_HSCROLL && ws::VScroll == WS_VSCROLL &&
              ws::CaptionButtons == (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) && ws::ExWindowEdge == WS_EX_WINDOWEDGE &&
              ws::ExLeftScrollBar == WS_EX_LEFTSCROLLBAR && ws::ExMdiChild == WS_EX_MDICHILD);
static_assert(htNowhere == HTNOWHERE && htCaption == HTCAPTION && htSysMenu == HTSYSMENU && htMenu == HTMENU &&
              htMinButton == HTMINBUTTON && htMaxButton == HTMAXBUTTON && htClose == HTCLOSE && htHelp == HTHELP);
static_assert(sc::Minimize == SC_MINIMIZE && sc::Maximize == SC_MAXIMIZE && sc::Close == SC_CLOSE &&
              sc::Restore == SC_RESTORE);

namespace {

TDataSkinBorder* Edge(const TSkinElements& data, int index) {
    switch (index) {
    case 0: return data.Left.get();
    case 1: return data.Right.get();
    case 2: return data.Top.get();
    default: return data.Bottom.get();
    }
}

// Left and right edges hold their frames side by side, top and bottom stacked.
bool Stacked(int index) { return index >= 2; }

// One side composed at its size from its edge element onto `dc`.
void DrawEdge(HDC dc, const TSkinElements& data, int index, const TSkinRect& rect, bool active) {
    TDataSkinBorder* edge = Edge(data, index);
    if (!edge || edge->Image.Empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
    // An edge record keeps its stretch flag in Tile: 1 stretches the centre.
    const TFrameIndex frame{std::max(edge->FrameCount, 1), BorderFrame(*edge, active),
                            Stacked(index) ? TFrameLayout::Stacked : TFrameLayout::SideBySide};
    const TMargins margins{edge->LeftWidth, edge->TopHeight, edge->RightWidth, edge->BottomHeight};
    TBitmap part = CreateSkinBitmap(ToRect({0, 0, rect.Width(), rect.Height()}), edge->Image, frame, margins,
                                    edge->Tile == 1 ? TFill::Stretch : TFill::Tile);
    BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), part.Canvas(), 0, 0, SRCCOPY);
}

// A caption button at its bounds in frame `frame`; an icon button shows the
// window's icon.
void DrawButtonImage(HDC dc, TWinSysButton& button, TBitmap& icon, int frame) {
    const RECT bounds = ToRect(button.FBounds);
    TDataSkinSysButton& r = *button.FRecord;
    if (button.IsIconButton())
        DrawSkinFrame(dc, bounds, icon, {1, 1}, TKeying::Keyed);
    else
        DrawSkinFrame(dc, bounds, r.Image, {std::max(r.FrameCount, 1), frame}, TKeying::Keyed);
}

UINT CaptionFormat(bool rightToLeft) { return DT_SINGLELINE | DT_END_ELLIPSIS | (rightToLeft ? DT_RIGHT : 0); }

}  // namespace

void TWinSkinForm::FrameMetrics() {
    if (!FSkinData || FSkinData->Empty()) return;
    FMetrics = ComputeFrameMetrics(Skin(), FBorderKind);
    if (FBorderKind == bkNoFrame) FMenus.height = 0;
    BuildButtons();
    FBuffer.Drop();
    UpdateLayout();
}

void TWinSkinForm::BuildButtons() {
    FButtons.Build(this, Skin(), FCaption.icon, FSkinData->DefaultIcon);
    ++FButtonsGeneration;
    DropHotObject();
    FCachesFreed = false;
}

void TWinSkinForm::FreeCaches() {
    FButtons.Clear();
    ++FButtonsGeneration;
    DropHotObject();
    FCachesFreed = true;
    FBuffer.Drop();
}

void TWinSkinForm::BuildIconBitmap() {
    const int w = SystemMetricForDpi(SM_CXSMICON, FDpi), h = SystemMetricForDpi(SM_CYSMICON, FDpi);
    TBitmap& bitmap = FCaption.icon;
    bitmap.SetSize(w, h);
    for (int y = 0; y < h; ++y) std::fill_n(bitmap.ScanLine(y), w, TBitmap::ToColour(kSkinKey));
    auto icon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICONSM));
    if (icon) {
        HANDLE copy = CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE);
        if (!copy) copy = CopyImage(icon, IMAGE_ICON, w, h, 0);
        if (copy) {
            DrawIconEx(bitmap.Canvas(), 0, 0, static_cast<HICON>(copy), w, h, 0, nullptr, DI_NORMAL);
            DestroyIcon(static_cast<HICON>(copy));
        }
        return;
    }
    const TBitmap* fallback = FSkinData && !FSkinData->DefaultIcon.Empty() ? &FSkinData->DefaultIcon : nullptr;
    if (!fallback && FManager)
        for (::TSkinData* d : FManager->SkinDatas())
            if (d->SkinFormtype() == sfMainform && !d->DefaultIcon.Empty()) fallback = &d->DefaultIcon;
    if (fallback) bitmap.Assign(*fallback);
}

TButtonContext TWinSkinForm::ButtonContext() const {
    TButtonContext c;
    c.borderIcons = FBorderIcons;
    c.showState = FShowState;
    c.active = FActive;
    c.borderKind = FBorderKind;
    c.menuHeight = FMenus.height;
    c.windowWidth = FLayout.Width;
    c.metrics = FMetrics;
    c.textRect = FLayout.Text;
    c.rightToLeft = FWindow.rightToLeft;
    c.mdiChildMaximized = FLayoutKey.mdiChildMaximized;
    if (FSkinData && Skin().MenuBar) c.menuBarLeftWidth = Skin().MenuBar->LeftWidth;
    return c;
}

// ---- layout

void TWinSkinForm::UpdateLayout() {
    if (!FSkinData || FSkinData->Empty()) return;
    RECT wr{};
    GetWindowRect(FHandle, &wr);
    TLayoutKey key;
    key.width = wr.right - wr.left;
    key.height = wr.bottom - wr.top;
    key.active = FActive;
    key.showState = FShowState;
    key.style = FWindow.style;
    key.menuHeight = FMenus.height;
    key.metrics = FMetrics;
    key.text = FCaption.text;
    key.buttons = FButtonsGeneration;
    if (FKind == fkMdiFrame && FMdi.client) {
        BOOL maximized = FALSE;
        SendMessageW(FMdi.client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
        key.mdiChildMaximized = maximized != FALSE;
    }
    if (key == FLayoutKey) return;
    FLayoutKey = std::move(key);
    FBuffer.captionCurrent = false;

    const int w = FLayoutKey.width, h = FLayoutKey.height;
    TFrameGeometry layout = FrameGeometryFor(FMetrics, FMenus.height, FMenus.bar != nullptr, w, h);
    // The caption is placed against the buttons as they were last laid out.
    layout.Text = FLayout.Text;
    layout.ButtonsRight = FLayout.ButtonsRight;
    layout.Icon = FLayout.Icon;
    FLayout = layout;
    if (FMetrics.TitleHeight <= 0 || w <= 0) return;
    // Where the right-hand buttons begin limits a popup's caption text; the
    // buttons beside the text follow it.
    FLayout.ButtonsRight = FButtons.Layout(ButtonContext());
    MeasureCaption(FLayout.Title);
    FLayout.ButtonsRight = FButtons.Layout(ButtonContext());
    FLayout.Icon = {};
    FTips.Update(FHandle, CaptionTipsFor(FButtons, FShowState, FWindow.sysMenu));
    for (std::size_t i = 0; i < FButtons.Count(); ++i) {
        const TWinSysButton& b = FButtons[i];
        if (b.FVisible && b.IsIconButton() && !b.FRecord->Image.Empty()) {
            FLayout.Icon = b.FBounds;
            break;
        }
    }
}

void TWinSkinForm::MeasureCaption(const TSkinRect& title) {
    MemoryDC dc;
    if (!dc) return;
    GdiSelect font(dc.Get(), FCaption.font);
    const std::wstring measure = FCaption.text + L" " + FCaption.pad;
    RECT m = ToRect(title);
    DrawTextW(dc.Get(), measure.c_str(), static_cast<int>(measure.size()), &m,
              CaptionFormat(FWindow.rightToLeft) | DT_CALCRECT | DT_NOCLIP);
    TCaptionLayoutInput in;
    in.title = title;
    in.textWidth = m.right - m.left;
    in.textHeight = m.bottom - m.top;
    in.rightToLeft = FWindow.rightToLeft;
    in.popup = (FWindow.style & WS_POPUP) != 0;
    in.buttonsRight = FLayout.ButtonsRight;
    in.buttonsLeft = FButtons.LeftButtonsEnd();
    in.dpi = FDpi;
    FLayout.Text = LayoutCaptionText(*Skin().Title, in);
}

// ---- composition

void TWinSkinForm::ComposeEdges() {
    const int w = FLayout.Width, h = FLayout.Height;
    if (FBuffer.Holds(w, h, FActive)) return;
    if (FBuffer.width != w || FBuffer.height != h || FBuffer.edges.Empty()) {
        FBuffer.edges.SetSize(w, h);
        FBuffer.frame.SetSize(w, h);
    }
    FBuffer.width = w;
    FBuffer.height = h;
    FBuffer.active = FActive;
    FBuffer.composed = FBuffer.captionCurrent = false;
    if (FBuffer.edges.Empty()) return;
    HDC dc = FBuffer.edges.Canvas();
    for (const int index : {0, 1, 3, 2}) DrawEdge(dc, Skin(), index, FLayout.Edges[index], FActive);
}

// The edges and the caption stay composed while the layout, the look and
// the skin do; the menu bar, which changes on its own, is painted anew.
void TWinSkinForm::ComposeFrame() {
    ComposeEdges();
    if (FBuffer.edges.Empty() || FBuffer.frame.Empty()) {
        FBuffer.composed = false;
        return;
    }
    const int w = FLayout.Width, h = FLayout.Height;
    HDC dc = FBuffer.frame.Canvas();
    if (!FBuffer.captionCurrent) {
        BitBlt(dc, 0, 0, w, h, FBuffer.edges.Canvas(), 0, 0, SRCCOPY);
        if (FMetrics.TitleHeight > 0 && w > 0) {
            SavedDC saved(dc);
            IntersectClipRect(dc, 0, 0, w, FMetrics.TitleHeight);
            DrawCaption(dc);
            DrawButtons(dc);
        }
        FBuffer.captionCurrent = true;
    }
    if (FMenus.bar && FMenus.height > 0) {
        SavedDC saved(dc);
        FMenus.bar->PaintMenuBar(dc, ToRect(FLayout.MenuBar));
    }
    FBuffer.composed = true;
}

void TWinSkinForm::DrawCaption(HDC dc) {
    TDataSkinTitle& t = *Skin().Title;
    const TSkinRect& title = FLayout.Title;
    const TSkinRect& place = FLayout.Text;
    GdiSelect font(dc, FCaption.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Rgb(FActive ? FSkinData->Colours.TitleTextActive : FSkinData->Colours.TitleTextNoActive));
    if (!t.Image.Empty()) {
        const RECT back{place.Left, title.Top, place.Right, title.Bottom};
        DrawSkinStrip(dc, back, t.Image, {2, FActive ? 1 : 2, TFrameLayout::Stacked}, {t.TXTBackleft, t.TXTBackRight},
                      TKeying::Keyed);
    }
    RECT text{place.Left + t.TXTBackleft, place.Top, place.Right - t.TXTBackRight, place.Bottom};
    const std::wstring shown = FCaption.pad + FCaption.text;
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text, CaptionFormat(FWindow.rightToLeft));
}

void TWinSkinForm::DrawButtons(HDC dc) {
    for (std::size_t i = 0; i < FButtons.Count(); ++i) {
        TWinSysButton& b = FButtons[i];
        TDataSkinSysButton& r = *b.FRecord;
        if (!b.FVisible || r.Image.Empty() || r.Visibility == kMdiButtonMark) continue;
        DrawButtonImage(dc, b, FCaption.icon, ButtonPaintFrame(r, FActive));
    }
}

// ---- painting

// A caption button in its state: drawn into the composed frame and that
// rectangle blitted, or straight onto the window before any composition.
void TWinSkinForm::PaintNCObject(TNCObject& object) {
    auto* button = dynamic_cast<TWinSysButton*>(&object);
    if (!button || (FState != fsRunning && FState != fsRefreshing)) return;
    TDataSkinSysButton& r = *button->FRecord;
    if (r.Image.Empty()) return;
    WindowDC dc(FHandle);
    if (!dc) return;
    const int frame = ButtonStateFrame(r, button->FState);
    if (!FBuffer.composed || !FBuffer.Holds(FLayout.Width, FLayout.Height, FActive)) {
        DrawButtonImage(dc.Get(), *button, FCaption.icon, frame);
        return;
    }
    // A full paint draws every button in its plain look again.
    FBuffer.captionCurrent = false;
    HDC composed = FBuffer.frame.Canvas();
    DrawButtonImage(composed, *button, FCaption.icon, frame);
    const TSkinRect& b = button->FBounds;
    const TSkinRect& client = FLayout.Client;
    ExcludeClipRect(dc.Get(), client.Left, client.Top, client.Right, client.Bottom);
    BitBlt(dc.Get(), b.Left, b.Top, b.Width(), b.Height(), composed, b.Left, b.Top, SRCCOPY);
}

void TWinSkinForm::PaintFrame(HDC target) {
    if ((FState != fsRunning && FState != fsRefreshing) || FBorderKind == bkNoFrame || MdiChildNotNormal()) return;
    if (!FSkinData || FSkinData->Empty()) return;
    // Freed by a reload and not built again yet: from the skin as it is now.
    if (FCachesFreed) BuildButtons();
    std::optional<WindowDC> own;
    if (!target) own.emplace(FHandle);
    HDC dc = target ? target : own->Get();
    if (!dc) return;
    // The text may have been set past WM_SETTEXT (an MDI frame's title names
    // its maximised child).
    ReadCaptionText();
    UpdateLayout();
    ComposeFrame();
    if (FBuffer.composed) {
        SavedDC saved(dc);
        const TSkinRect& client = FLayout.Client;
        ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
        BitBlt(dc, 0, 0, FLayout.Width, FLayout.Height, FBuffer.frame.Canvas(), 0, 0, SRCCOPY);
    }
    // The menu bar painted its hot or pressed item as it is: it stays hot,
    // so leaving it for the client area gives its look up.
    if (HotObject() && !HotObject()->KeepsLookOverFramePaint()) DropHotObject();
}

// ---- region

void TWinSkinForm::BuildRegion() {
    if (FState != fsRunning && FState != fsRefreshing && FState != fsStartSizing) return;
    RECT wr{};
    GetWindowRect(FHandle, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (w * h == 0 || MdiChildNotNormal()) return;
    if (w == FRegionWidth && h == FRegionHeight && FKind != fkMdiChild && FState != fsRefreshing) return;

    // A region given to SetWindowRgn belongs to the system, which deletes
    // the previous one itself: nothing of ours is deleted here.
    bool anyTrans = false;
    for (int i = 0; i < 4; ++i)
        if (TDataSkinBorder* e = Edge(Skin(), i); e && e->Trans && !e->Image.Empty()) anyTrans = true;
    GdiRegion region;
    if (!anyTrans) {
        region.Reset(CreateRectRgn(0, 0, w, h));
    } else {
        FRegionWidth = w;
        FRegionHeight = h;
        const TFrameMetrics& m = FMetrics;
        region.Reset(CreateRectRgn(m.BorderLeft, m.TitleHeight, w - m.BorderRight, h - m.BorderBottom));
        if (FBorderKind != bkNoFrame) {
            UpdateLayout();
            ComposeEdges();
            const auto parts = BorderPartRects(m, w, h);
            const bool composed = FBuffer.Holds(w, h, FActive);
            const auto side = [&](int index, bool enough) {
                const TSkinRect& r = parts[index];
                TDataSkinBorder* e = Edge(Skin(), index);
                if (!e || !e->Trans || e->Image.Empty() || !enough || r.Width() < 1 || r.Height() < 1)
                    return GdiRegion(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
                TBitmap part(r.Width(), r.Height());
                if (composed)
                    BitBlt(part.Canvas(), 0, 0, r.Width(), r.Height(), FBuffer.edges.Canvas(), r.Left, r.Top, SRCCOPY);
                else
                    DrawEdge(part.Canvas(), Skin(), index, {0, 0, r.Width(), r.Height()}, FActive);
                return BitmapToRegion(part, r.Left, r.Top, kSkinKey, 1, 1, 1);
            };
            GdiRegion left = side(0, h >= 2), right = side(1, h >= 2);
            GdiRegion top = side(2, m.TitleHeight >= 2), bottom = side(3, m.BorderBottom >= 2);
            CombineRgn(left.Get(), left.Get(), right.Get(), RGN_OR);
            CombineRgn(top.Get(), top.Get(), bottom.Get(), RGN_OR);
            CombineRgn(left.Get(), left.Get(), top.Get(), RGN_OR);
            CombineRgn(region.Get(), region.Get(), left.Get(), RGN_OR);
        }
    }
    if (SetWindowRgn(FHandle, region.Get(), TRUE)) {
        (void)region.Release();
        FHasRegion = true;
    }
}

// ---- hit testing

POINT TWinSkinForm::ToWindow(POINT p) const {
    ScreenToClient(FHandle, &p);
    if (FShowState != ssMinimized) {
        p.x += FMetrics.BorderLeft;
        p.y += FMetrics.TitleHeight + FMenus.height;
    }
    return p;
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT screen) {
    UpdateLayout();
    const POINT p = ToWindow(screen);
    return FButtons.Hit(p.x, p.y);
}

// A caption button, else a menu bar item.
TNCObject* TWinSkinForm::ObjectAt(POINT screen) {
    if (TWinSysButton* button = ButtonAt(screen)) return button;
    return FMenus.bar ? FMenus.bar->HitMenuButton(ToWindow(screen)) : nullptr;
}

}  // namespace srt

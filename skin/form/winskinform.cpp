#include "skin/form/winskinform.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "skin/draw/skindraw.h"
#include "skin/menu/skinpopup.h"
#include "skin/menu/winskinmenu.h"

namespace srt {
namespace {

constexpr UINT kSwpRecalcFrame = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;  // 0x37
constexpr UINT kSwpResizeFrame = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;                   // 0x26
constexpr UINT kSwpDetachResize = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;              // 0x34
constexpr UINT CM_MENUCHANGED = 0xB015;

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

std::string ClassNameOf(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

COLORREF Rgb(TColour colour) { return ColorToRGB(static_cast<TColor>(colour)); }

TDataSkinBorder* Edge(::TSkinData& data, int index) {
    switch (index) {
    case 0: return data.Left.get();
    case 1: return data.Right.get();
    case 2: return data.Top.get();
    default: return data.Bottom.get();
    }
}

// Left and right edges hold their frames side by side, top and bottom stacked.
bool Stacked(int index) { return index >= 2; }

// A side composed at its size from its edge element.
TBitmap ComposeEdge(TDataSkinBorder& edge, int index, int width, int height, bool active) {
    const RECT target{0, 0, width, height};
    return CreateSkinBitmap(target, edge.Image, edge.LeftWidth, edge.TopHeight, edge.RightWidth,
                            edge.BottomHeight, Stacked(index), edge.Tile != 1,
                            std::max(edge.FrameCount, 1), BorderFrame(edge, active));
}

}  // namespace

TWinSkinForm::TWinSkinForm(HWND window, TSkinManage* manager)
    : FManager(manager), FHandle(window), FDblClickTime(GetDoubleClickTime()) {}

TWinSkinForm::~TWinSkinForm() {
    SetTimerOn(false);
    if (FThunk.Attached() || FClientThunk.Attached()) Release();
    FButtons.Clear();
}

void TWinSkinForm::StartForForm(::TSkinData* data, TCustomForm* form) {
    FForm = form;
    if (form && data->HasControl(xcMainMenu)) {
        FFormHook = std::make_shared<TFormHookState>(TFormHookState{this, form->WindowProc});
        form->WindowProc = TFormHook{FFormHook};
    }
    Start(data);
    if (form) {
        FOrigColor = form->Color();
        form->SetColor(static_cast<TColor>(data->Colours.ButtonFace));
        if (data->HasControl(xcMainMenu)) {
            FPopupSwitch = std::make_unique<TPopupSkinSwitch>();
            FPopupSwitch->Apply(form, data, form->Menu());
        }
    }
}

void TWinSkinForm::TFormHook::operator()(TMessage& m) const {
    if (state->skin)
        state->skin->FormProc(m);
    else if (state->previous)
        state->previous(m);
}

void TWinSkinForm::FormProc(TMessage& m) {
    if (m.Msg == kWmSkinReapply) {
        Refresh();
        return;
    }
    // Alt held alone with an item's accelerator opens that item.
    if (m.Msg == CM_DIALOGCHAR && GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_SHIFT) >= 0 && OnMenuAccelerator(static_cast<unsigned>(m.WParam))) {
        m.Result = 1;
        return;
    }
    FFormHook->previous(m);
}

// The form's method goes back only while ours is current; otherwise ours
// stays in the chain, passing messages on.
void TWinSkinForm::UnhookForm() {
    if (!FFormHook) return;
    if (FForm) {
        const auto* current = FForm->WindowProc.target<TFormHook>();
        if (current && current->state == FFormHook) FForm->WindowProc = FFormHook->previous;
    }
    FFormHook->skin = nullptr;
    FFormHook.reset();
}

void TWinSkinForm::Start(::TSkinData* data) {
    if (FThunk.Attached()) return;
    FSkinData = data;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        FCaptionFont.Reset(CreateFontIndirectW(&metrics.lfCaptionFont));

    FStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(FHandle, GWL_STYLE));
    const auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
    FRightToLeft = (exStyle & ws::ExLeftScrollBar) != 0;
    FSysMenu = GetSystemMenu(FHandle, FALSE);

    BuildIconBitmap();
    ReadCaptionText();
    FClassName = ClassNameOf(FHandle);
    GetClientRect(FHandle, &FClientRect);
    RECT wr{};
    GetWindowRect(FHandle, &wr);
    FOrigFrame = {0, 0, (wr.right - wr.left) - FClientRect.right, (wr.bottom - wr.top) - FClientRect.bottom};

    FBorderIcons = BorderIconsFor(FStyle, FSysMenu != nullptr);
    BuildSystemMenu();
    ReadShowState();

    FSizeable = (FStyle & ws::ThickFrame) != 0;
    if (HWND client = FindWindowExA(FHandle, nullptr, "MDIClient", nullptr)) {
        FKind = fkMdiFrame;
        FMdiClient = client;
        FManager->SetMdiClient(reinterpret_cast<std::uintptr_t>(client));
    }
    if (exStyle & ws::ExMdiChild) FKind = fkMdiChild;
    FBorderKind = BorderKindFor(FStyle, exStyle);

    if (FKind == fkMdiFrame) {
        FMdiMenuUpdate = data->MenuUpdate();
        FClientThunk.Attach(FMdiClient, this, ClientThunkProc);
    }
    if (data->HasControl(xcMainMenu)) {
        FMenu = GetMenu(FHandle);
        if (FMenu && FKind != fkMdiChild) StartMenuBar();
        if (!((FKind == fkMdiChild && FManager->MdiMaximized()) || FShowState == ssMinimized))
            SetIconsShown(false);
        FrameMetrics();
    }
    FThunk.Attach(FHandle, this, ThunkProc);
    FControls = std::make_unique<TControlSkins>(nullptr, data, FHandle);
    if (FForm)
        FControls->ClassifyComponents(FForm);
    else
        FControls->ClassifyByWindowClass();
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinSkinForm::StartMenuBar() {
    FMenuBar = std::make_unique<TWinSkinMenu>(*this, *FSkinData, FForm ? FForm->Menu() : nullptr);
    FMenuHeight = GetSystemMetrics(SM_CYMENU);
    FMenuBar->BuildFromWindowMenu();
}

void TWinSkinForm::ReadCaptionText() {
    wchar_t text[1000] = {};
    SendMessageW(FHandle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(text));
    FCaptionText = text;
}

void TWinSkinForm::ReadShowState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(FHandle, &wp);
    switch (wp.showCmd) {
    case SW_SHOWMAXIMIZED: FShowState = ssMaximized; break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FShowState = ssMinimized; break;
    default: FShowState = ssNormal; break;
    }
}

void TWinSkinForm::FrameMetrics() {
    if (!FSkinData || FSkinData->Empty()) return;
    FMetrics = ComputeFrameMetrics(*FSkinData, FBorderKind);
    if (FBorderKind == bkNoFrame) FMenuHeight = 0;
    BuildButtons();
}

void TWinSkinForm::BuildButtons() {
    FButtons.Build(this, *FSkinData, FIconBitmap, FSkinData->DefaultIcon);
    FHotObject = nullptr;
    FCachesFreed = false;
}

void TWinSkinForm::FreeCaches() {
    FButtons.Clear();
    FHotObject = nullptr;
    FCachesFreed = true;
}

void TWinSkinForm::BuildIconBitmap() {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    FIconBitmap.SetSize(w, h);
    for (int y = 0; y < h; ++y) std::fill_n(FIconBitmap.ScanLine(y), w, TBitmap::ToColour(kSkinKey));
    auto icon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICONSM));
    if (icon) {
        HANDLE copy = CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE);
        if (!copy) copy = CopyImage(icon, IMAGE_ICON, w, h, 0);
        if (copy) {
            DrawIconEx(FIconBitmap.Canvas(), 0, 0, static_cast<HICON>(copy), w, h, 0, nullptr, DI_NORMAL);
            DestroyIcon(static_cast<HICON>(copy));
        }
        return;
    }
    const TBitmap* fallback = FSkinData && !FSkinData->DefaultIcon.Empty() ? &FSkinData->DefaultIcon : nullptr;
    if (!fallback && FManager)
        for (::TSkinData* d : FManager->SkinDatas())
            if (d->SkinFormtype() == sfMainform && !d->DefaultIcon.Empty()) fallback = &d->DefaultIcon;
    if (fallback) FIconBitmap.Assign(*fallback);
}

// A popup menu component whose items the skin measures and draws, with the
// skin's glyphs.
void TWinSkinForm::BuildSystemMenu() {
    if (!FSysMenuImages) {
        FSysMenuImages = std::make_unique<TImageList>(nullptr, TMenuImages::kSize, TMenuImages::kSize);
        for (int i = 0; i < FSkinData->MenuImages.ImageCount(); ++i)
            FSysMenuImages->AddMasked(FSkinData->MenuImages.Image(i), TMenuImages::kTransparent);
    }
    FSkinSysMenu = std::make_unique<TPopupMenu>(nullptr);
    FSkinSysMenu->SetImages(FSysMenuImages.get());
    FSkinSysMenu->SetOwnerDraw(true);
    FSkinSysMenu->SetRightToLeft(FRightToLeft);
    ::TSkinData* data = FSkinData;
    for (const TSystemMenuItem& entry : SystemMenuItems(FBorderIcons)) {
        auto* item = new TMenuItem(FSkinSysMenu.get());
        item->SetCaption(entry.caption);
        item->SetTag(entry.tag);
        item->SetImageIndex(entry.tag);
        item->SetShortCut(TextToShortCut(entry.shortCut));
        item->OnMeasureItem.Code = [data, item](TObject*, HDC dc, int& w, int& h) {
            MeasureSysMenuItem(*data, *item, dc, w, h);
        };
        item->OnDrawItem.Code = [data, item](TObject*, HDC dc, const RECT& r, bool selected) {
            DrawSkinMenuItem(*data, *item, dc, r, selected);
        };
        item->OnClick.Code = [this, tag = entry.tag](TObject*) {
            switch (tag) {
            case 0: Restore(); break;
            case 1: Maximize(); break;
            case 2: Minimize(); break;
            case 3:
                SetTimerOn(false);
                PostMessageW(FHandle, WM_CLOSE, 0, 0);
                break;
            }
        };
        FSkinSysMenu->Items()->Add(item);
    }
}

void TWinSkinForm::SetIconsShown(bool shown) {
    if (FKind == fkMdiChild && FManager->MdiMaximized() && !shown) return;
    FIconsShown = shown;
    auto style = static_cast<std::uint32_t>(GetWindowLongPtrW(FHandle, GWL_STYLE));
    if (shown) {
        if (FBorderIcons & biSystemMenu) style |= ws::SysMenu;
        if (FBorderIcons & biMinimize) style |= ws::MinimizeBox;
        if (FBorderIcons & biMaximize) style |= ws::MaximizeBox;
    } else {
        style &= ~ws::CaptionButtons;
    }
    SetWindowLongPtrW(FHandle, GWL_STYLE, static_cast<LONG_PTR>(style));
}

void TWinSkinForm::SetTimerOn(bool on) {
    if (on == FTimerOn) return;
    FTimerOn = on;
    const auto id = reinterpret_cast<UINT_PTR>(this);
    if (on)
        SetTimer(FHandle, id, kActionInterval, nullptr);
    else if (IsWindow(FHandle))
        KillTimer(FHandle, id);
}

TButtonContext TWinSkinForm::ButtonContext() const {
    TButtonContext c;
    c.borderIcons = FBorderIcons;
    c.showState = FShowState;
    c.active = FActive;
    c.borderKind = FBorderKind;
    c.menuHeight = FMenuHeight;
    c.windowWidth = FWidth;
    c.metrics = FMetrics;
    c.textRect = FTextRect;
    c.rightToLeft = FRightToLeft;
    if (FKind == fkMdiFrame && FMdiClient) {
        BOOL maximized = FALSE;
        SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
        c.mdiChildMaximized = maximized != FALSE;
    }
    if (FSkinData && FSkinData->MenuBar) c.menuBarLeftWidth = FSkinData->MenuBar->LeftWidth;
    return c;
}

// ---- painting

void TWinSkinForm::DrawBorderPart(HDC dc, int index, const TSkinRect& rect) {
    TDataSkinBorder* edge = Edge(*FSkinData, index);
    if (!edge || edge->Image.Empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
    TBitmap part = ComposeEdge(*edge, index, rect.Width(), rect.Height(), FActive);
    BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), part.Canvas(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawCaption(HDC dc, const TSkinRect& title) {
    TDataSkinTitle& t = *FSkinData->Title;
    GdiSelect font(dc, FCaptionFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Rgb(FActive ? FSkinData->Colours.TitleTextActive : FSkinData->Colours.TitleTextNoActive));
    const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | (FRightToLeft ? DT_RIGHT : 0);

    const std::wstring measure = FCaptionText + L" " + FCaptionPad;
    RECT m = ToRect(title);
    DrawTextW(dc, measure.c_str(), static_cast<int>(measure.size()), &m, format | DT_CALCRECT | DT_NOCLIP);
    TCaptionLayoutInput in;
    in.title = title;
    in.textWidth = m.right - m.left;
    in.textHeight = m.bottom - m.top;
    in.rightToLeft = FRightToLeft;
    in.popup = (FStyle & ws::Popup) != 0;
    in.buttonsRight = FButtonsRight;
    FTextRect = LayoutCaptionText(t, in);

    if (!t.Image.Empty()) {
        const RECT back{FTextRect.Left, title.Top, FTextRect.Right, title.Bottom};
        DrawSkinStrip(dc, back, t.Image, true, true, 2, FActive ? 1 : 2, t.TXTBackleft, 0,
                      t.TXTBackRight, 0);
    }
    RECT text{FTextRect.Left + t.TXTBackleft, FTextRect.Top, FTextRect.Right - t.TXTBackRight, FTextRect.Bottom};
    const std::wstring shown = FCaptionPad + FCaptionText;
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text, format);
}

void TWinSkinForm::DrawButtons(HDC dc) {
    const TButtonContext ctx = ButtonContext();
    FButtonsRight = FButtons.Layout(ctx);
    for (std::size_t i = 0; i < FButtons.Count(); ++i) {
        TWinSysButton& b = FButtons[i];
        TDataSkinSysButton& r = *b.FRecord;
        if (!b.FVisible || r.Image.Empty() || r.Visibility == kMdiButtonMark) continue;
        const RECT bounds = ToRect(b.FBounds);
        if (b.IsIconButton())
            DrawSkinFrame(dc, bounds, FIconBitmap, true, 1, 1);
        else
            DrawSkinFrame(dc, bounds, r.Image, true, std::max(r.FrameCount, 1), ButtonPaintFrame(r, FActive));
    }
}

void TWinSkinForm::PaintNCObject(TNCObject& object) {
    auto* button = dynamic_cast<TWinSysButton*>(&object);
    if (!button || (FState != fsRunning && FState != fsRefreshing)) return;
    TDataSkinSysButton& r = *button->FRecord;
    if (r.Image.Empty()) return;
    WindowDC dc(FHandle);
    const RECT bounds = ToRect(button->FBounds);
    if (button->IsIconButton())
        DrawSkinFrame(dc.Get(), bounds, FIconBitmap, true, 1, 1);
    else
        DrawSkinFrame(dc.Get(), bounds, r.Image, true, std::max(r.FrameCount, 1),
                      ButtonStateFrame(r, button->FState));
}

void TWinSkinForm::PaintFrame(HDC target) {
    if ((FState != fsRunning && FState != fsRefreshing) || FBorderKind == bkNoFrame || MdiChildNotNormal()) return;
    if (!FSkinData || FSkinData->Empty()) return;
    // Freed by a reload and not built again yet: from the skin as it is now.
    if (FCachesFreed) BuildButtons();
    WindowDC own(target ? nullptr : FHandle);
    HDC dc = target ? target : own.Get();
    if (!dc) return;
    GetWindowRect(FHandle, &FWindowRect);
    const int w = FWindowRect.right - FWindowRect.left, h = FWindowRect.bottom - FWindowRect.top;
    FWidth = w;
    FHeight = h;
    const auto parts = BorderPartRects(FMetrics, w, h);
    DrawBorderPart(dc, 0, parts[0]);
    DrawBorderPart(dc, 1, parts[1]);
    DrawBorderPart(dc, 3, parts[3]);

    const int th = FMetrics.TitleHeight;
    if (th > 0 && w > 0) {
        FCaptionBitmap.SetSize(w, th);
        HDC cap = FCaptionBitmap.Canvas();
        BitBlt(cap, 0, 0, w, th, dc, 0, 0, SRCCOPY);
        DrawBorderPart(cap, 2, parts[2]);
        // Where the right-hand buttons begin limits a popup's caption text.
        FButtonsRight = FButtons.Layout(ButtonContext());
        // The text may have been set past WM_SETTEXT (an MDI frame's title
        // names its maximised child).
        ReadCaptionText();
        DrawCaption(cap, parts[2]);
        DrawButtons(cap);
        BitBlt(dc, 0, 0, w, th, cap, 0, 0, SRCCOPY);
    }
    if (FMenuBar && FMenuHeight > 0) {
        const RECT bar{FMetrics.BorderLeft, th, w - FMetrics.BorderRight, th + FMenuHeight};
        FMenuBar->PaintMenuBar(dc, bar);
    }
    SetBkMode(dc, OPAQUE);
    // The menu bar painted its hot or pressed item as it is: it stays hot,
    // so leaving it for the client area gives its look up.
    if (FHotObject && !FHotObject->KeepsLookOverFramePaint()) FHotObject = nullptr;
}

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
        if (TDataSkinBorder* e = Edge(*FSkinData, i); e && e->Trans && !e->Image.Empty()) anyTrans = true;
    GdiRegion region;
    if (!anyTrans) {
        region.Reset(CreateRectRgn(0, 0, w, h));
    } else {
        FRegionWidth = w;
        FRegionHeight = h;
        const TFrameMetrics& m = FMetrics;
        region.Reset(CreateRectRgn(m.BorderLeft, m.TitleHeight, w - m.BorderRight, h - m.BorderBottom));
        if (FBorderKind != bkNoFrame) {
            const auto parts = BorderPartRects(m, w, h);
            const auto side = [&](int index, bool enough) {
                const TSkinRect& r = parts[index];
                TDataSkinBorder* e = Edge(*FSkinData, index);
                if (!e || !e->Trans || e->Image.Empty() || !enough || r.Width() < 1 || r.Height() < 1)
                    return GdiRegion(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
                if (index == 2 && !FCaptionBitmap.Empty() && FCaptionBitmap.Width() >= r.Right &&
                    FCaptionBitmap.Height() >= r.Height()) {
                    TBitmap top(r.Width(), r.Height());
                    BitBlt(top.Canvas(), 0, 0, r.Width(), r.Height(), FCaptionBitmap.Canvas(), r.Left, 0, SRCCOPY);
                    return BitmapToRegion(top, r.Left, r.Top, kSkinKey, 1, 1, 1);
                }
                TBitmap part = ComposeEdge(*e, index, r.Width(), r.Height(), FActive);
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

void TWinSkinForm::WidenDialog(bool refresh) {
    if (FShowState == ssMaximized) {
        RecalcFrame();
        return;
    }
    if (refresh) GetClientRect(FHandle, &FClientRect);
    int width = FClientRect.right + FMetrics.BorderLeft + FMetrics.BorderRight;
    const int height = FClientRect.bottom + FMetrics.TitleHeight + FMetrics.BorderBottom + FMenuHeight;
    // At start (sizing) and on a refresh alike: a dialog is only ever widened
    // to what its caption needs, so a second pass moves nothing.
    if (IsMessageDialogClass(FClassName)) {
        HDC screen = GetDC(nullptr);
        {
            GdiSelect font(screen, FCaptionFont);
            SIZE size{};
            GetTextExtentPoint32W(screen, L" ", 1, &size);
            FSpaceWidth = size.cx;
        }
        ReleaseDC(nullptr, screen);
        ReadCaptionText();
        const int needed = DialogCaptionWidth(FMetrics, *FSkinData->Title, FSpaceWidth,
                                              static_cast<int>(FCaptionText.size()));
        if (width < needed) {
            const int shift = (needed - width) / 2;
            for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
            }
            width = needed;
        }
    }
    SetWindowPos(FHandle, nullptr, 0, 0, width, height, kSwpResizeFrame);
}

void TWinSkinForm::RecalcFrame() const { SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kSwpRecalcFrame); }

// ---- caption buttons

POINT TWinSkinForm::ToWindow(POINT p) const {
    ScreenToClient(FHandle, &p);
    if (FShowState != ssMinimized) {
        p.x += FMetrics.BorderLeft;
        p.y += FMetrics.TitleHeight + FMenuHeight;
    }
    return p;
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT screen) const {
    const POINT p = ToWindow(screen);
    return FButtons.Hit(p.x, p.y);
}

// A caption button, else a menu bar item.
TNCObject* TWinSkinForm::ObjectAt(POINT screen) const {
    if (TWinSysButton* button = ButtonAt(screen)) return button;
    return FMenuBar ? FMenuBar->HitMenuButton(ToWindow(screen)) : nullptr;
}

bool TWinSkinForm::OnMenuAccelerator(unsigned key) {
    TMenuBtn* button = FMenuBar ? FMenuBar->FindAccelButton(key) : nullptr;
    if (!button) return false;
    FMenuBar->ClickMenuButton(*button);
    return true;
}

// Items of the bar's popups: menu items of the form's menu bar by command
// id, the rest by menu handle and command.
LRESULT TWinSkinForm::OnMeasureItem(WPARAM wParam, LPARAM lParam) {
    auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mis.CtlType != ODT_MENU || !FMenu) return PassOn(WM_MEASUREITEM, wParam, lParam);
    HDC dc = GetDC(nullptr);
    {
        GdiFont font(CreateMenuFont());
        GdiSelect select(dc, font);
        int w = static_cast<int>(mis.itemWidth), h = static_cast<int>(mis.itemHeight);
        TMenuItem* item = FForm && FForm->Menu() ? FForm->Menu()->FindItem(mis.itemID, TFindItemKind::fkCommand) : nullptr;
        if (item)
            MeasureSkinItem(*FSkinData, *item, dc, w, h);
        else
            MeasureMenuText(*FSkinData, FTrackedMenu, mis.itemID, dc, w, h);
        mis.itemWidth = static_cast<UINT>(std::max(w, 0));
        mis.itemHeight = static_cast<UINT>(std::max(h, 0));
    }
    ReleaseDC(nullptr, dc);
    return TRUE;
}

LRESULT TWinSkinForm::OnDrawItem(WPARAM wParam, LPARAM lParam) {
    const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (dis.CtlType != ODT_MENU || !FMenu) return PassOn(WM_DRAWITEM, wParam, lParam);
    HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
    GdiFont font(CreateMenuFont());
    GdiSelect select(dis.hDC, font);
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    TMainMenu* bar = FForm ? FForm->Menu() : nullptr;
    TMenuItem* item = bar ? bar->FindItem(dis.itemID, TFindItemKind::fkCommand) : nullptr;
    if (item)
        DrawSkinMenuItem(*FSkinData, *item, dis.hDC, dis.rcItem, selected, bar);
    else
        DrawForeignMenuItem(*FSkinData, menu, dis.itemID, selected, dis.rcItem, dis.hDC, bar);
    return TRUE;
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
    FHotObject = nullptr;
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
        if (FKind != fkMdiFrame || !FMdiClient) break;
        BOOL maximized = FALSE;
        auto child = reinterpret_cast<HWND>(
            SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (!child) break;
        SendMessageW(child, WM_SYSCOMMAND, effect.sysCommand, 0);
        BOOL still = FALSE;
        SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&still));
        if (FManager->MdiMaximized() && !still) FManager->SetMdiMaximized(false);
        break;
    }
    case TCaptionCommand::PostQuery:
        PostMessageW(FHandle, kWmSkinQuery, static_cast<WPARAM>(action), 0);
        break;
    }
}

void TWinSkinForm::ShowSystemMenu(POINT p) {
    TMenuItem* items = FSkinSysMenu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        if (item->Tag() <= 2) item->SetEnabled(SystemMenuItemEnabled(item->Tag(), FShowState));
    }
    if (FIconClicks.Click(GetTickCount(), FDblClickTime)) {
        SetTimerOn(false);
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
        return;
    }
    if (FSkinData->HasControl(xcSystemMenu) && FKind != fkMdiChild) {
        FSkinSysMenu->Popup(p.x, p.y);
        return;
    }
    TrackPopupMenu(FSysMenu, TPM_RIGHTBUTTON | 2, p.x, p.y, 0, FHandle, nullptr);
}

// ---- window procedure

LRESULT TWinSkinForm::ThunkProc(void* self, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* skin = static_cast<TWinSkinForm*>(self);
    TSkinManage::TDispatchScope dispatch(skin->FManager);
    return skin->WndProc(msg, wParam, lParam);
}

bool TWinSkinForm::Stage3Runs() const {
    return FState != fsNew && FShowState != ssMinimized && !MdiChildNotNormal();
}

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Stage 1: every window.
    switch (msg) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        LRESULT r = PassOn(msg, wParam, lParam);
        if (!FForm) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            if (msg == WM_CTLCOLORSTATIC && FSkinData->ButtonFaceBrush())
                r = reinterpret_cast<LRESULT>(FSkinData->ButtonFaceBrush());
        }
        return r;
    }
    case WM_ERASEBKGND:
        if (!FForm && FSkinData->ButtonFaceBrush()) {
            RECT r{};
            GetClientRect(FHandle, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, FSkinData->ButtonFaceBrush());
            return 1;
        }
        return PassOn(msg, wParam, lParam);
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE))
            FStyle = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
        return PassOn(msg, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(wParam, lParam);
    case WM_TIMER:
        if (wParam == reinterpret_cast<UINT_PTR>(this)) {
            OnHoverTimer();
            return 0;
        }
        break;
    default:
        if (msg == kWmSkinQuery) return 1;
        break;
    }
    if (!FSkinData->HasControl(xcMainMenu)) return PassOn(msg, wParam, lParam);

    // Stage 2.
    if (FKind != fkMdiChild && (FStyle & ws::Child)) return PassOn(msg, wParam, lParam);
    bool passOn = false;
    switch (msg) {
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(wParam, lParam);
    case WM_SIZE:
        if (!Stage3Runs()) return OnSize(wParam, lParam);
        OnSize(wParam, lParam);
        break;
    case WM_ACTIVATE:
        FActive = LOWORD(wParam) != WA_INACTIVE;
        passOn = true;
        break;
    case WM_WINDOWPOSCHANGED:
        ReadShowState();
        return PassOn(msg, wParam, lParam);
    case WM_NCACTIVATE:
        FActive = wParam != 0;
        passOn = true;
        break;
    case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
    case WM_SETTEXT: return OnSetText(wParam, lParam);
    case CM_MENUCHANGED: {
        const bool paint = FSkinData->NCPaint;
        FSkinData->NCPaint = false;
        const LRESULT r = PassOn(msg, wParam, lParam);
        FSkinData->NCPaint = paint;
        if (FMenuBar && FSkinData->MenuUpdate() && GetMenu(FHandle)) {
            FMenuBar->BuildFromWindowMenu();
            RecalcFrame();
        }
        return r;
    }
    case WM_MENUSELECT:
        if (FMenuBar) FMenuBar->MenuSelect(wParam, lParam);
        passOn = true;
        break;
    default:
        if (msg == kWmSkinStart) return OnSkinStart();
        passOn = true;
        break;
    }

    // Stage 3.
    if (!Stage3Runs()) return passOn ? PassOn(msg, wParam, lParam) : 0;
    switch (msg) {
    case WM_NCACTIVATE: return OnNcActivate(wParam);
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(wParam, lParam);
    case WM_NCPAINT: return OnNcPaint(wParam);
    case WM_SIZE: return OnSize(wParam, lParam);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP: return OnNcLButtonUp(wParam, lParam);
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDblClk();
    case WM_NCRBUTTONDOWN: return OnNcRButtonDown(wParam, lParam);
    case WM_MEASUREITEM: return OnMeasureItem(wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(wParam, lParam);
    default:
        if (msg == kWmSkinRepaintFrame) {
            PaintFrame();
            return 0;
        }
        return passOn ? PassOn(msg, wParam, lParam) : 0;
    }
}

LRESULT TWinSkinForm::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    FState = fsClosing;
    // Our own previous procedure, once: whatever is current after Release
    // may be a subclass above ours that has seen the message already.
    const WNDPROC previous = FThunk.Previous();
    Release();
    const LRESULT r = CallWindowProcW(previous, FHandle, WM_NCDESTROY, wParam, lParam);
    FState = fsDead;
    // Dead, this object keeps no reference to what outlives it or goes first.
    FForm = nullptr;
    FManager->SetActionSource(std::exchange(FSkinData, nullptr));
    FManager->RequestAction(maPurge, kActionInterval);
    return r;
}

LRESULT TWinSkinForm::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case 0xF000: case 0xF010: case 0xF020: case 0xF030: case 0xF040: case 0xF050: case 0xF060: case 0xF120:
        PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
        return 0;
    default: return PassOn(WM_COMMAND, wParam, lParam);
    }
}

LRESULT TWinSkinForm::OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = PassOn(WM_GETMINMAXINFO, wParam, lParam);
    ReadShowState();
    if (FShowState == ssMinimized) {
        SetIconsShown(true);
    } else if (FKind != fkMdiChild) {
        SetIconsShown(false);
    } else if (FShowState == ssNormal) {
        if (FManager->MdiMaximized()) FManager->SetMdiMaximized(false);
        SetIconsShown(false);
    } else {
        SetIconsShown(true);
    }
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    return r;
}

LRESULT TWinSkinForm::OnSize(WPARAM wParam, LPARAM lParam) {
    // A maximised child shows in the frame without its own frame and region;
    // its buttons are back in its style before the platform moves them into
    // the frame's menu bar. Restoring leaves the mode (WM_GETMINMAXINFO).
    if (FKind == fkMdiChild && wParam == SIZE_MAXIMIZED) FManager->SetMdiMaximized(true);
    const LRESULT r = PassOn(WM_SIZE, wParam, lParam);
    if (wParam == SIZE_RESTORED) FShowState = ssNormal;
    if (wParam == SIZE_MINIMIZED) FShowState = ssMinimized;
    if (wParam == SIZE_MAXIMIZED) FShowState = ssMaximized;
    const bool mdiSkip = FKind == fkMdiChild && (FManager->MdiMaximized() || FShowState != ssNormal);
    if (FShowState != ssMinimized && !mdiSkip) BuildRegion();
    return r;
}

LRESULT TWinSkinForm::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    const UINT command = static_cast<UINT>(wParam & 0xFFF0);
    const auto ch = static_cast<wchar_t>(LOWORD(lParam));
    if (!FMenuTracking && command == SC_KEYMENU && ch != L' ' && ch != L'-' && !GetCapture()) {
        if (ch == 0) return 1;  // Alt alone
        if (OnMenuAccelerator(ch)) return 1;
    } else if (command == SC_MINIMIZE) {
        FShowState = ssMinimized;
        if (FKind == fkMdiChild) SetIconsShown(true);
    } else if (command == SC_MAXIMIZE) {
        FShowState = ssMaximized;
    } else if (command == SC_RESTORE) {
        FShowState = ssNormal;
        if (FKind == fkMdiChild) SetIconsShown(false);
    }
    return PassOn(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TWinSkinForm::OnSkinStart() {
    FStartSeen = true;
    if (FState == fsNew) {
        if (FKind == fkMdiChild && FManager->MdiMaximized()) {
            SetIconsShown(true);
            RecalcFrame();
        } else if (FShowState != ssMinimized && FBorderKind != bkNoFrame) {
            FState = fsStartSizing;
            WidenDialog(false);
            FState = fsRunning;
            BuildRegion();
        }
    }
    FState = fsRunning;
    SkinTrace("*****Skin Active finish");
    SetTimerOn(true);
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return 0;
}

// The platform repaints its own caption on WM_SETTEXT; the frame
// recalculation paints ours over it with the new text.
LRESULT TWinSkinForm::OnSetText(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = PassOn(WM_SETTEXT, wParam, lParam);
    ReadCaptionText();
    RecalcFrame();
    return r;
}

LRESULT TWinSkinForm::OnNcActivate(WPARAM wParam) {
    FActive = wParam != 0;
    SetTimerOn(FActive);
    if (!FActive && FControls) FControls->LeaveHot();
    if (!MdiChildNotNormal()) PaintFrame();
    return 1;
}

LRESULT TWinSkinForm::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = PassOn(WM_NCCALCSIZE, wParam, lParam);
    if (!wParam) return 0;
    (void)r;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    if (FBorderKind != bkNoFrame && !MdiChildNotNormal()) {
        const WINDOWPOS& pos = *params->lppos;
        const TSkinRect client =
            SkinnedClientRect(FMetrics, FMenuHeight, {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy});
        params->rgrc[0] = ToRect(client);
    }
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT r = PassOn(WM_NCHITTEST, wParam, lParam);
    if (r != HTNOWHERE) return r;
    const POINT p = ToWindow(PointOf(lParam));
    return FrameHitTest(static_cast<int>(r), p.y, FMetrics.TitleHeight);
}

LRESULT TWinSkinForm::OnNcPaint(WPARAM wParam) {
    if (!FSkinData->NCPaint) return 0;
    if (MdiChildNotNormal() || FBorderKind == bkNoFrame) return PassOn(WM_NCPAINT, wParam, 0);
    GdiRegion clip;
    if (wParam > 1) {
        clip.Reset(CreateRectRgn(0, 0, 0, 0));
        CombineRgn(clip.Get(), reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
    }
    WindowDC dc = clip ? WindowDC(FHandle, clip.Get(), DCX_WINDOW | DCX_INTERSECTRGN) : WindowDC(FHandle);
    if (dc) {
        (void)clip.Release();  // the DC owns it now
        PaintFrame(dc.Get());
    }
    return 0;
}

LRESULT TWinSkinForm::OnNcMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!FActive) return 0;
    TNCObject* hit = ObjectAt(PointOf(lParam));
    if (!hit) {
        if (FHotObject) FHotObject->MouseLeave();
        return PassOn(WM_NCMOUSEMOVE, wParam, lParam);
    }
    hit->MouseMove();
    return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDown(WPARAM wParam, LPARAM lParam) {
    if (TNCObject* hit = ObjectAt(PointOf(lParam))) {
        if (!FActive) SetForegroundWindow(FHandle);
        hit->MouseDown();
        if (auto* item = dynamic_cast<TMenuBtn*>(hit)) FMenuBar->OpenMenuButton(*item);
        return 0;
    }
    if (FShowState == ssMaximized && FActive && wParam == HTCAPTION) wParam = HTMENU;
    return PassOn(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonUp(WPARAM wParam, LPARAM lParam) {
    const POINT screen = PointOf(lParam);
    TNCObject* hit = ObjectAt(screen);
    if (!hit) return PassOn(WM_NCLBUTTONUP, wParam, lParam);
    auto* button = dynamic_cast<TWinSysButton*>(hit);
    if (button && hit == FHotObject) {
        hit->MouseUp();
        ExecuteAction(*button, screen);
    }
    return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDblClk() {
    if (FShowState != ssNormal)
        Restore();
    else if (FBorderIcons & biMaximize)
        Maximize();
    return 0;
}

LRESULT TWinSkinForm::OnNcRButtonDown(WPARAM wParam, LPARAM lParam) {
    if (wParam == HTCAPTION && FKind != fkMdiChild) {
        ShowSystemMenu(PointOf(lParam));
        return 0;
    }
    return PassOn(WM_NCRBUTTONDOWN, wParam, lParam);
}

void TWinSkinForm::OnHoverTimer() {
    if (FMenuTracking) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // Controls of a form get their mouse-leave from the form's own tracking.
    if (!FForm && FControls) FControls->LeaveHotOutside(cursor);
    if (!FHotObject) return;
    const POINT p = ToWindow(cursor);
    if (!FHotObject->FBounds.Contains(p.x, p.y)) FHotObject->MouseLeave();
}

// ---- MDI client

LRESULT TWinSkinForm::ClientThunkProc(void* self, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* skin = static_cast<TWinSkinForm*>(self);
    TSkinManage::TDispatchScope dispatch(skin->FManager);
    return skin->ClientProc(msg, wParam, lParam);
}

LRESULT TWinSkinForm::ClientProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool skinned = FSkinData->HasControl(xcMainMenu);
    const auto pass = [&] { return FClientThunk.CallPrevious(msg, wParam, lParam); };
    switch (msg) {
    case WM_MDICREATE: {
        FSkinData->SetMenuUpdate(false);
        const LRESULT r = pass();
        FPendingChild = reinterpret_cast<HWND>(r);
        return r;
    }
    case WM_MDIDESTROY: {
        const LRESULT r = pass();
        char line[48];
        std::snprintf(line, sizeof line, "WM_MDIDESTROY %4lx", static_cast<unsigned long>(wParam));
        SkinTrace(line);
        if (skinned) {
            BOOL maximized = FALSE;
            SendMessageW(FMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
            FManager->SetMdiMaximized(maximized != FALSE);
            int children = 0;
            for (const auto& skin : FManager->Forms()) children += skin->IsMdiChild() && skin->LifeState() != fsDead;
            if (FMenuBar && children == 0) {
                // The last child went: the bar drops the MDI buttons.
                FSkinData->SetMenuUpdate(FMdiMenuUpdate);
                FMenuBar->BuildFromMenuComponent();
                PaintFrame();
            }
        }
        return r;
    }
    case WM_MDISETMENU: {
        const LRESULT r = pass();
        char line[64];
        std::snprintf(line, sizeof line, "************WM_MDISETMENU %1lx,%1lx", static_cast<unsigned long>(wParam),
                      static_cast<unsigned long>(lParam));
        SkinTrace(line);
        if (!skinned) return r;
        const auto menu = reinterpret_cast<HMENU>(wParam);
        if (menu && FMenuBar && (menu != FMenuBar->MenuHandle() || FPendingChild)) {
            FMenuBar->BuildFromMenuHandle(GetMenu(FHandle));
            PaintFrame();
        }
        if (FMenuBar || !menu) SetMenu(FHandle, nullptr);
        return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (skinned && FManager->MdiMaximized()) FManager->SetMdiMaximized(false);
        return pass();
    case WM_MDIREFRESHMENU: {
        const LRESULT r = pass();
        if (FPendingChild) {
            HWND child = FPendingChild;
            FPendingChild = nullptr;
            FManager->SkinWindow(reinterpret_cast<std::uintptr_t>(child));
            PostMessageW(FHandle, kWmSkinRepaintFrame, 0, 0);
        }
        return r;
    }
    case WM_NCCALCSIZE:
        if (skinned) {
            const LONG_PTR style = GetWindowLongPtrW(FMdiClient, GWL_STYLE);
            SetWindowLongPtrW(FMdiClient, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
        }
        return pass();
    case WM_NCDESTROY: {
        const LRESULT r = pass();
        FClientThunk.Detach();
        return r;
    }
    default: return pass();
    }
}

void TWinSkinForm::ApplyMdiMaximized(bool maximized) {
    if (maximized) {
        if (FHasRegion) {
            SetWindowRgn(FHandle, nullptr, FALSE);
            FHasRegion = false;
            FCaptionBitmap.SetSize(0, 0);
        }
        SetIconsShown(true);
        return;
    }
    ReadShowState();
    if (FShowState == ssMinimized) {
        SetIconsShown(true);
        return;
    }
    FShowState = ssNormal;
    FRegionWidth = FRegionHeight = 0;
    BuildRegion();
    SetIconsShown(false);
    if (!FHasRegion) RecalcFrame();
}

// ---- letting go

void TWinSkinForm::Refresh() {
    if (FForm) {
        const auto face = static_cast<TColor>(FSkinData->Colours.ButtonFace);
        FForm->SetColor(face);
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (auto* owned = dyncast<TCustomForm>(FForm->Components(i))) owned->SetColor(face);
    }
    if (FControls) FControls->SkinChange();
    FState = fsRefreshing;
    if (FSkinData->HasControl(xcMainMenu)) {
        BuildSystemMenu();
        if (FForm && FPopupSwitch) FPopupSwitch->Apply(FForm, FSkinData, FForm->Menu());
        WidenDialog(true);
        FState = fsRunning;
        FRegionWidth = FRegionHeight = 0;
        BuildRegion();
    }
    FState = fsRunning;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TWinSkinForm::Release() {
    SetTimerOn(false);
    if (FControls) {
        // A window going away keeps its controls' skin colours.
        FControls->SetClosing(FState == fsClosing);
        FControls->Release();
    }
    UnhookForm();
    FThunk.Detach();
    FClientThunk.Detach();
    FCaptionBitmap.SetSize(0, 0);
    if (FPopupSwitch) FPopupSwitch->Forget();
    FMenuBar.reset();
}

void TWinSkinForm::DropSkinData() {
    // The window keeps running unless it or the program is going away too.
    const bool going = !IsWindow(FHandle) || (FForm && FForm->InState(csDestroying)) ||
                       (Application && Application->InState(csDestroying));
    if (going) {
        FState = fsClosing;
        Release();
    } else {
        Detach();
    }
    // Whatever still refers to the skin data's records goes with it.
    FControls.reset();
    FSkinSysMenu.reset();
    FMenuBar.reset();
    FButtons.Clear();
    FHotObject = nullptr;
    FCachesFreed = false;
    FPopupSwitch.reset();
    FSkinData = nullptr;
    FForm = nullptr;
    FState = fsDead;
}

void TWinSkinForm::Detach() {
    const bool closing = FState == fsClosing;
    const bool started = FThunk.Attached();
    // The form's popup menus draw themselves again; the window gets its menu back.
    if (FPopupSwitch && FForm) FPopupSwitch->Restore(FForm);
    const HMENU barMenu = FMenuBar ? FMenuBar->MenuHandle() : nullptr;
    if (!FSkinData->HasControl(xcMainMenu)) {
        Release();
        if (!FForm) return;
        if (!closing) FForm->SetColor(FOrigColor);
        for (int i = 0; i < FForm->ControlCount(); ++i) FForm->Controls(i)->Invalidate();
        // Minimising and restoring makes the platform lay out and paint the
        // whole window in its own look again; a hidden or maximised window
        // is not shown or restored by it.
        if (!closing && IsWindow(FHandle) && IsWindowVisible(FHandle) && !IsZoomed(FHandle) && !IsIconic(FHandle)) {
            ShowWindow(FHandle, SW_MINIMIZE);
            ShowWindow(FHandle, SW_RESTORE);
        }
        return;
    }
    Release();
    if (!started) return;
    if (FForm && !closing) FForm->SetColor(FOrigColor);
    SetIconsShown(true);
    if (barMenu && IsWindow(FHandle)) SetMenu(FHandle, barMenu);
    if (!closing && IsWindow(FHandle) && (FKind == fkMdiChild || !(FStyle & ws::Child))) {
        RECT r{};
        GetWindowRect(FHandle, &r);
        if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)
            MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
        const int w = (r.right - r.left) - (FMetrics.BorderLeft + FMetrics.BorderRight - FOrigFrame.right);
        const int h = (r.bottom - r.top) -
                      (FMetrics.TitleHeight + FMenuHeight + FMetrics.BorderBottom - FOrigFrame.bottom);
        SetWindowPos(FHandle, nullptr, r.left, r.top, w, h, kSwpDetachResize);
    }
    if (IsWindow(FHandle)) SetWindowRgn(FHandle, nullptr, TRUE);
    FHasRegion = false;
}

void UseFormSkins(TSkinManage& manager) {
    UsePopupSkins(manager);
    TSkinManage* m = &manager;
    manager.SetFormSkinFactory([m](std::uintptr_t window, ::TSkinData* data, TComponent* form) {
        auto skin = std::make_unique<TWinSkinForm>(reinterpret_cast<HWND>(window), m);
        if (auto* f = dynamic_cast<TCustomForm*>(form))
            skin->StartForForm(data, f);
        else
            skin->Start(data);
        return std::unique_ptr<TManagedFormSkin>(std::move(skin));
    });
}

// The manager exists only once a skin data component has loaded; it gets
// the form-skin factory as it is made.
void InstallFormSkins() {
    SetSkinManagerFactory([]() -> ISkinManagerLink* {
        auto* manager = new TSkinManage;
        UseFormSkins(*manager);
        return manager;
    });
}

}  // namespace srt

#include "skin/controls/tabs.h"

#include <commctrl.h>

#include <algorithm>

#include "component/comctrls.h"
#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/controls/contentrules.h"
#include "skin/controls/edits.h"
#include "skin/draw/skindraw.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinTab, TSkinControl, )
SRT_DEFINE_CLASS(TSkinTab31, TSkinControl, )

::TBitmap FlipVertical(const ::TBitmap& source) {
    ::TBitmap out(source.Width(), source.Height());
    if (out.Empty()) return out;
    for (int y = 0; y < source.Height(); ++y)
        std::copy_n(source.ScanLine(source.Height() - 1 - y), source.Width(), out.ScanLine(y));
    return out;
}

::TBitmap Rotate(const ::TBitmap& source, bool clockwise) {
    const int w = source.Width(), h = source.Height();
    ::TBitmap out(h, w);
    if (out.Empty()) return out;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = source.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (clockwise)
                out.ScanLine(x)[h - 1 - y] = row[x];
            else
                out.ScanLine(w - 1 - x)[y] = row[x];
        }
    }
    return out;
}

namespace {

bool Usable(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

void Copy(::TBitmap& to, const ::TBitmap& from) {
    to.Assign(from);
}

// The keyboard has the focus on `window` and its UI state shows focus cues:
// as the last WM_UPDATEUISTATE said (`hidden`), else as the platform answers.
bool FocusCueShown(HWND window, int hidden) {
    if (!window || GetFocus() != window) return false;
    if (hidden >= 0) return hidden == 0;
    return !(SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// `hidden` after the WM_UPDATEUISTATE message `m`.
void FollowUiState(const TMessage& m, int& hidden) {
    if (m.Msg != WM_UPDATEUISTATE || !(HIWORD(m.WParam) & UISF_HIDEFOCUS)) return;
    if (LOWORD(m.WParam) == UIS_SET) hidden = 1;
    if (LOWORD(m.WParam) == UIS_CLEAR) hidden = 0;
}

// The focus rectangle `inset` pixels inside the tab.
void DrawTabFocus(HDC dc, RECT tab, int inset) {
    InflateRect(&tab, -inset, -inset);
    DrawFocusRect(dc, &tab);
}

// The caption colour of a tab drawn from `frame` (1 normal, 2 selected) of
// `image`: the element's colour, or the skin's ClientText where that reads
// better on the tab's face.
TColor CaptionColour(const TSkinData& data, const TDataSkinBorder& tabs, const ::TBitmap& image, int frame) {
    const auto own = static_cast<TColor>(frame == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2);
    const int count = std::max(1, tabs.FrameCount), fw = image.Width() / count;
    if (!HasColour(data.Colours.ClientText) || fw <= 0 || image.Height() <= 0) return own;
    const std::uint32_t face = image.Pixel((frame - 1) * fw + fw / 2, image.Height() / 2);
    const auto text = static_cast<TColour>(ColorToRGB(static_cast<TColor>(data.Colours.ClientText)));
    return static_cast<TColor>(TabCaptionColour(face, ColorToRGB(own), text));
}

}  // namespace

// ---- tab control ---------------------------------------------------------------

void TSkinTab::InitWindow(HWND window, TSkinData* data) {
    if (FInited) return;
    TSkinControl::InitWindow(window, data);
    if (FInited) Prepare();
}

void TSkinTab::InitControl(TWinControl* control, TSkinData* data, bool changeColour) {
    if (FInited) return;
    TSkinControl::InitControl(control, data, changeColour);
    if (FInited) Prepare();
}

void TSkinTab::Prepare() {
    FFocused = ReadFocused();
    FEnabled = ReadEnabled();
    FText = ReadText();
    PrepareImages();
    RECT ignored;
    FindUpDown(ignored);
}

void TSkinTab::SkinChange() {
    PrepareImages();
    TSkinControl::SkinChange();
}

void TSkinTab::PrepareImages() {
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (!(style & TCS_VERTICAL))
        FTabPosition = (style & TCS_BOTTOM) ? 1 : 0;
    else
        FTabPosition = (style & TCS_RIGHT) ? 3 : 2;
    FImageDpi = Dpi();
    TDataSkinBorder* tabs = FSkinData ? FSkinData->ElementsAt(FImageDpi).Tabs.get() : nullptr;
    if (!tabs || tabs->Image.Empty() || tabs->Image2.Empty()) {
        FTabImage.SetSize(0, 0);
        FBorderImage.SetSize(0, 0);
        return;
    }
    switch (FTabPosition) {
    case 1:
        FTabImage = FlipVertical(tabs->Image);
        FBorderImage = FlipVertical(tabs->Image2);
        break;
    case 2:
        Copy(FTabImage, tabs->Image);
        FBorderImage = Rotate(tabs->Image2, false);
        break;
    case 3:
        Copy(FTabImage, tabs->Image);
        FBorderImage = Rotate(tabs->Image2, true);
        break;
    default:
        Copy(FTabImage, tabs->Image);
        Copy(FBorderImage, tabs->Image2);
        break;
    }
}

bool TSkinTab::FindUpDown(RECT& window) {
    HWND child = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
    if (!child) return false;
    if (!FUpDown) {
        auto* skin = new TSkinUpDown(Owner());
        skin->InitWindow(child, FSkinData);
        FUpDown = skin;
    }
    if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) return false;
    GetWindowRect(child, &window);
    return true;
}

void TSkinTab::DrawControl(HDC dc, const RECT& r) {
    const int dpi = Dpi();
    if (FSkinData && FImageDpi != dpi) PrepareImages();
    TDataSkinBorder* tabs = FSkinData ? FSkinData->ElementsAt(dpi).Tabs.get() : nullptr;
    if (!Usable(tabs) || FTabImage.Empty()) return;
    // The display area with its border, one pixel into the tabs' side.
    RECT d = r;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    InflateRect(&d, 4, 4);
    switch (FTabPosition) {
    case 1: --d.bottom; break;
    case 2: ++d.left; break;
    case 3: --d.right; break;
    default: ++d.top; break;
    }
    const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int focus = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    RECT a;
    switch (FTabPosition) {
    case 1: a = {r.left, d.bottom, r.right, r.bottom}; break;
    case 2: a = {r.left, r.top, d.left, r.bottom}; break;
    case 3: a = {d.right, r.top, r.right, r.bottom}; break;
    default: a = {r.left, r.top, r.right, d.top}; break;
    }
    const bool side = FTabPosition >= 2;
    const bool cue = ShowsFocusCue();
    const int aw = a.right - a.left, ah = a.bottom - a.top;
    if (aw <= 0 || ah <= 0) return;
    // Composed as if the tabs were on top, turned afterwards.
    FStripBuffer.SetSize(side ? ah : aw, side ? aw : ah);
    HDC sdc = FStripBuffer.Canvas();
    if (!sdc) return;
    {
        SavedDC saved(sdc);
        FillBackground(sdc, RECT{0, 0, FStripBuffer.Width(), FStripBuffer.Height()});
        if (auto font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0))) SelectObject(sdc, font);
        const int stripWidth = FStripBuffer.Width();
        for (int i = 0; i < count; ++i) {
            RECT ir{};
            if (!SendMessageW(FHandle, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir))) continue;
            wchar_t text[80] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
            item.pszText = text;
            item.cchTextMax = 80;
            SendMessageW(FHandle, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            switch (FTabPosition) {
            case 1: OffsetRect(&ir, 0, -(d.bottom + 1)); break;
            case 2: ir = {stripWidth - ir.bottom, ir.left, stripWidth - ir.top, ir.right}; break;
            case 3: ir = {ir.top - 1, r.right - ir.right, ir.bottom - 1, r.right - ir.left}; break;
            default: OffsetRect(&ir, 0, 1); break;
            }
            const int frame = i == focus ? 2 : 1;
            // A flipped image keeps its thick margin where it now lies.
            const int top = FTabPosition == 1 ? tabs->BottomHeight : tabs->TopHeight;
            const int bottom = FTabPosition == 1 ? tabs->TopHeight : tabs->BottomHeight;
            DrawSkinImage(sdc, ir, FTabImage, {tabs->FrameCount, frame},
                          {tabs->LeftWidth, top, tabs->RightWidth, bottom}, FillOf(*tabs), KeyedIf(tabs->Trans == 1));
            DrawIconCaption(sdc, ir, 1, text, item.iImage, images, CaptionColour(*FSkinData, *tabs, FTabImage, frame));
            if (i == focus && cue) DrawTabFocus(sdc, ir, ScaleToDpi(3, dpi));
        }
    }
    GdiFlush();
    if (FTabPosition == 2) FStripBuffer = Rotate(FStripBuffer, false);
    if (FTabPosition == 3) FStripBuffer = Rotate(FStripBuffer, true);
    HDC src = FStripBuffer.Canvas();
    if (!src) return;
    RECT updown;
    if (FindUpDown(updown)) {
        RECT self;
        GetWindowRect(FHandle, &self);
        OffsetRect(&updown, -self.left, -self.top);
        SavedDC saved(dc);
        ExcludeClipRect(dc, updown.left, updown.top, updown.right, updown.bottom);
        BitBlt(dc, a.left, a.top, FStripBuffer.Width(), FStripBuffer.Height(), src, 0, 0, SRCCOPY);
    } else {
        BitBlt(dc, a.left, a.top, FStripBuffer.Width(), FStripBuffer.Height(), src, 0, 0, SRCCOPY);
    }
    FillSheet(dc, d);
    if (!FBorderImage.Empty()) {
        // The border image's margins at the scale it was drawn for.
        const int drawn = tabs->Image2.Width(), design = FSkinData->Tabs ? FSkinData->Tabs->Image2.Width() : drawn;
        const int m = RescaleDpi(4, design, drawn);
        DrawSkinBorder(dc, d, FBorderImage, {1, 1}, {m, RescaleDpi(5, design, drawn), m, m});
    }
}

void TSkinTab::FillSheet(HDC dc, const RECT& border) {
    const HBRUSH brush = FSkinData ? FSkinData->ClientBrush() : nullptr;
    if (!brush) return;
    SavedDC saved(dc);
    for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT c;
        GetWindowRect(child, &c);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&c), 2);
        ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
    }
    RECT sheet = border;
    InflateRect(&sheet, -2, -2);
    FillRect(dc, &sheet, brush);
}

bool TSkinTab::ShowsFocusCue() const { return FocusCueShown(FHandle, FFocusHidden); }

bool TSkinTab::BeforeProc(TMessage& m) {
    // Under a skin with a Client colour the sheet never shows the
    // platform's window colour, not even for the moment before the paint.
    if (m.Msg != WM_ERASEBKGND || !FSkinData || !FSkinData->ClientBrush()) return true;
    RECT c;
    GetClientRect(FHandle, &c);
    FillRect(reinterpret_cast<HDC>(m.WParam), &c, FSkinData->ClientBrush());
    m.Result = 1;
    return false;
}

void TSkinTab::AfterProc(TMessage& m) {
    FollowUiState(m, FFocusHidden);
    if (m.Msg == WM_UPDATEUISTATE) Redraw();
    TSkinControl::AfterProc(m);
}

// ---- tab set -------------------------------------------------------------------

void TSkinTab31::InitControl(TWinControl* control, TSkinData* data, bool changeColour) {
    if (FInited) return;
    TSkinControl::InitControl(control, data, changeColour);
    if (!FInited) return;
    FImageDpi = Dpi();
    if (const auto& tabs = data->ElementsAt(FImageDpi).Tabs; Usable(tabs.get())) FTabImage = FlipVertical(tabs->Image);
    if (HWND scroller = GetWindow(FHandle, GW_CHILD)) {
        auto* skin = new TSkinUpDown(Owner());
        skin->FHorizontal = 1;
        skin->InitWindow(scroller, data);
    }
}

void TSkinTab31::AfterProc(TMessage& m) {
    FollowUiState(m, FFocusHidden);
    if (m.Msg == WM_UPDATEUISTATE) Redraw();
    TSkinControl::AfterProc(m);
}

// The tab set's own procedure gets WM_PAINT too, once the skin has painted:
// without a DC it finds nothing left to validate or paint; on a DC it was
// given it paints the native tabs, which the skin then covers once more.
// Without a DC the skin's paint stands: the window's DC would not leave the
// scroll arrows out.
void TSkinTab31::OnPaint(TMessage& m) {
    PaintHandler(m);
    CallOldProc(m);
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) PaintControl(dc);
}

void TSkinTab31::DrawControl(HDC dc, const RECT& r) {
    auto* set = dyncast<TTabSet>(FControl);
    const int dpi = Dpi();
    TDataSkinBorder* tabs = FSkinData ? FSkinData->ElementsAt(dpi).Tabs.get() : nullptr;
    if (Usable(tabs) && FImageDpi != dpi) {
        FImageDpi = dpi;
        FTabImage = FlipVertical(tabs->Image);
    }
    if (!set || !Usable(tabs) || FTabImage.Empty() || r.right <= 0 || r.bottom <= 0) return;
    ::TBitmap buffer(r.right, r.bottom);
    HDC bdc = buffer.Canvas();
    if (!bdc) return;
    SavedDC saved(bdc);
    FillBackground(bdc, r);
    SelectObject(bdc, set->Font()->Handle());
    TStrings& names = set->Tabs();
    const bool cue = FocusCueShown(FHandle, FFocusHidden);
    // Where the set's own hit test finds them.
    for (const TTabSet::TTab& shown : set->VisibleTabs()) {
        const int i = shown.Index;
        const RECT tab{shown.Bounds.left, 0, shown.Bounds.right, r.bottom};
        const int frame = i == set->TabIndex() ? 2 : 1;
        // The image is flipped: its bottom margin now lies on top.
        DrawSkinImage(bdc, tab, FTabImage, {tabs->FrameCount, frame},
                      {tabs->LeftWidth, tabs->BottomHeight, tabs->RightWidth, tabs->TopHeight}, FillOf(*tabs),
                      KeyedIf(tabs->Trans == 1));
        DrawCaption(bdc, tab, DT_CENTER, true, Widen(names.Get(i)), CaptionColour(*FSkinData, *tabs, FTabImage, frame));
        if (frame == 2 && cue) DrawTabFocus(bdc, tab, Scaled(3));
    }
    GdiFlush();
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bdc, 0, 0, SRCCOPY);
}

}  // namespace srt

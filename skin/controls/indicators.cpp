#include "skin/controls/indicators.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "component/comctrls.h"
#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/controls/trackgeom.h"
#include "skin/data/scaled.h"
#include "skin/draw/skindraw.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinBox, TSkinControl, )
SRT_DEFINE_CLASS(TSkinStatusBar, TSkinControl, )
SRT_DEFINE_CLASS(TSkinProgress, TSkinControl, )
SRT_DEFINE_CLASS(TSkinTrackBar, TSkinControl, )
SRT_DEFINE_CLASS(TSkinHeader, TSkinControl, )
SRT_DEFINE_CLASS(TSkinSizer, TSkinControl, )

namespace {

bool Usable(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

// The scratch bitmap at least `r`'s size, or null.
HDC Scratch(const RECT& r) {
    ::TBitmap& s = ScratchBitmap();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return nullptr;
    if (s.Width() < w || s.Height() < h) s.SetSize(IntMax(s.Width(), w), IntMax(s.Height(), h));
    return s.Canvas();
}

// An element composed for `r` and copied there.
void CopyElement(HDC dc, const RECT& r, TDataSkinObject& e, TFrameIndex frame, TKeying keying) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    ::TBitmap b = CreateSkinBitmap(r, e.Image, frame, MarginsOf(e), FillOf(e));
    if (b.Empty()) return;
    if (keying == TKeying::Keyed)
        DrawTransparent(dc, r, b, kSkinKey);
    else
        BitBlt(dc, r.left, r.top, b.Width(), b.Height(), b.Canvas(), 0, 0, SRCCOPY);
}

void Frame3D(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    GdiPen tl(CreatePen(PS_SOLID, 1, topLeft)), br(CreatePen(PS_SOLID, 1, bottomRight));
    {
        GdiSelect pen(dc, tl);
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
    }
    GdiSelect pen(dc, br);
    MoveToEx(dc, r.right - 1, r.top, nullptr);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left - 1, r.bottom - 1);
}

HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The platform's visual-style functions, looked up at run time in the library
// a themed common control has loaded; null where there is none.
struct TThemeFunctions {
    HTHEME(WINAPI* GetWindowTheme)(HWND) = nullptr;
    HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* GetThemeColor)(HTHEME, int, int, int, COLORREF*) = nullptr;
};

template <typename F>
void Lookup(HMODULE module, const char* name, F& f) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const TThemeFunctions& ThemeFunctions() {
    static const TThemeFunctions functions = [] {
        TThemeFunctions f;
        if (const HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll")) {
            Lookup(uxtheme, "GetWindowTheme", f.GetWindowTheme);
            Lookup(uxtheme, "DrawThemeBackground", f.DrawThemeBackground);
            Lookup(uxtheme, "GetThemeColor", f.GetThemeColor);
        }
        return f;
    }();
    return functions;
}

// The theme of `window` when every function needed is there.
HTHEME WindowTheme(HWND window) {
    const TThemeFunctions& f = ThemeFunctions();
    return f.GetWindowTheme && f.DrawThemeBackground && f.GetThemeColor ? f.GetWindowTheme(window) : nullptr;
}

TIntRect ToIntRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const TIntRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---- panels and groups -------------------------------------------------------

void TSkinBox::InitControl(TWinControl* control, TSkinData* data, bool changeColour) {
    // Kept as attached, so a second classification does not save the skin's
    // colour as the control's own.
    if (FInited || !control || !data) return;
    // Every message passes through untouched; the method in the control's
    // WindowProc only tells when the control has been freed.
    AttachControl(control, data, changeColour);
    FInited = true;
}

// ---- status bar ----------------------------------------------------------------

void TSkinStatusBar::DrawControl(HDC dc, const RECT& r) {
    auto* bar = dyncast<TStatusBar>(FControl);
    if (!bar || !FSkinData) return;
    HDC sdc = Scratch(r);
    if (!sdc) return;
    SavedDC saved(sdc);
    FillBackground(sdc, r);
    if (HFONT font = WindowFont(FHandle)) SelectObject(sdc, font);
    const TSkinElements& elements = Elements();
    const int inset = Scaled(2), edge = Scaled(1);
    TDataSkinObject* edges = elements.StatusBarEdges.get();
    const TColor colour = edges ? static_cast<TColor>(edges->NormalColour2) : bar->Font()->Color();
    struct TPanel {
        RECT r;
        UINT align;
        int bevel;  // frame: 1 lowered, 2 raised, 3 none
        std::wstring text;
    };
    std::vector<TPanel> panels;
    if (bar->SimplePanel() || bar->Panels().empty()) {
        panels.push_back({r, DT_LEFT, 1, Widen(bar->SimpleText())});
    } else {
        const auto& list = bar->Panels();
        for (size_t i = 0; i < list.size(); ++i) {
            const TStatusPanel& p = list[i];
            RECT pr{};
            SendMessageW(FHandle, SB_GETRECT, i, reinterpret_cast<LPARAM>(&pr));
            if (i + 1 == list.size()) pr.right = r.right;
            // Down to the foot of the bar: a bar that keeps its size (as ours
            // do) reports its parts at the height it had when they were set,
            // short of the bar once it has been scaled.
            pr.bottom = r.bottom;
            TAlignment a = p.Alignment;
            if (p.BiDiMode == bdRightToLeft && a != taCenter) a = a == taLeftJustify ? taRightJustify : taLeftJustify;
            const UINT align = a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT;
            const int bevel = p.Bevel == pbNone ? 3 : p.Bevel == pbLowered ? 1 : 2;
            panels.push_back({pr, align, bevel, Widen(p.Text)});
        }
    }
    for (TPanel& p : panels) {
        if (Usable(edges)) {
            CopyElement(sdc, p.r, *edges, {3, p.bevel}, TKeying::Opaque);
        } else if (p.bevel != 3) {
            const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
            if (p.bevel == 1)
                Frame3D(sdc, p.r, shadow, light);
            else
                Frame3D(sdc, p.r, light, shadow);
        }
        if (p.text.empty()) p.text = L" ";
        RECT t = p.r;
        t.left += inset;
        t.right -= inset;
        DrawCaption(sdc, t, p.align, true, p.text, colour);
    }
    TDataSkinObject* extra = elements.ExtraImages.get();
    if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && Usable(extra) && extra->FrameCount > 0) {
        const int cw = extra->Image.Width() / extra->FrameCount, ch = extra->Image.Height();
        const RECT cell{r.right - edge - cw, r.bottom - edge - ch, r.right - edge, r.bottom - edge};
        DrawStripFrame(sdc, cell, {extra->FrameCount, 5}, extra->Image);
    }
    GdiFlush();
    BlitBuffer(dc, r);
}

// ---- progress bar --------------------------------------------------------------

// Without the element the native bar paints.
TSkinControl::TPaintMode TSkinProgress::PaintMode() const {
    return FSkinData && Usable(Elements().Progress.get()) ? TPaintMode::Whole : TPaintMode::Over;
}

int TSkinProgress::BarRight(const RECT& r, int pos, int max) {
    if (pos < 1 || max < 1) return r.left;
    // 64 bits: a large range must not overflow the product.
    const std::int64_t x = r.left + static_cast<std::int64_t>(r.right - r.left) * pos / max;
    return static_cast<int>(std::clamp<std::int64_t>(x, r.left, r.right));
}

void TSkinProgress::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Usable(Elements().Progress.get())) return;
    TDataSkinBorder& e = *Elements().Progress;
    const int pos = static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
    const int max = static_cast<int>(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
    const int x = BarRight(r, pos, max);
    HDC sdc = Scratch(r);
    if (!sdc) return;
    FillBackground(sdc, r);
    const RECT at{0, 0, r.right - r.left, r.bottom - r.top};
    if (e.Style == 1 && !e.Image2.Empty()) {
        CopyElement(sdc, at, e, {1, 1}, TKeying::Keyed);
        const int w = x - r.left, cw = e.Image2.Width(), ch = e.Image2.Height();
        if (w > 0 && cw > 0) {
            ::TBitmap bar(w, ch);
            HDC bdc = bar.Canvas();
            HDC chunk = e.Image2.Canvas();
            if (bdc && chunk) {
                for (int i = 0; i <= w / cw; ++i) BitBlt(bdc, i * cw, 0, cw, ch, chunk, 0, 0, SRCCOPY);
                const int top = (at.bottom - ch) / 2;
                DrawTransparent(sdc, RECT{e.LeftWidth, top, e.LeftWidth + w, top + ch}, bar, kSkinKey);
            }
        }
    } else {
        CopyElement(sdc, at, e, {2, 1}, TKeying::Keyed);
        if (x > r.left) CopyElement(sdc, RECT{0, 0, x - r.left, at.bottom}, e, {2, 2}, TKeying::Keyed);
    }
    GdiFlush();
    BlitBuffer(dc, r);
}

// ---- track bar -----------------------------------------------------------------

bool TSkinTrackBar::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NOTIFY:
    case CN_NOTIFY: return !OnNotify(m);
    default: return true;
    }
}

bool TSkinTrackBar::OnNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (!hdr || hdr->code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
    m.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(m.LParam));
    return true;
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& cd) {
    if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (cd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    switch (cd.dwItemSpec) {
    case TBCD_THUMB: DrawThumb(cd.hdc); return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL: return DrawChannel(cd.hdc, cd.rc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    case TBCD_TICS: return DrawTicks(cd.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
    }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
    RECT thumb{};
    SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const auto& trackbar = Elements().Trackbar;
    TDataSkinObject* image = nullptr;
    if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) && trackbar.ThumbVert)
        image = trackbar.ThumbVert.get();
    else if (trackbar.ThumbHorz)
        image = trackbar.ThumbHorz.get();
    if (Usable(image)) {
        DrawStripFrame(dc, thumb, {5, 2}, image->Image);
    } else {
        GdiPen pen(CreatePen(PS_SOLID, 1, Colour(FSkinData->Colours.ButtonShadow)));
        GdiSelect select(dc, pen);
        Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
    }
}

bool TSkinTrackBar::DrawChannel(HDC dc, const RECT& channel) {
    const int dpi = Dpi();
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (dpi == kDesignDpi || (style & TBS_ENABLESELRANGE)) return false;
    const bool vertical = (style & TBS_VERT) != 0;
    const RECT target = ToRect(TrackChannel(ToIntRect(channel), vertical, dpi));
    const int length = vertical ? channel.bottom - channel.top : channel.right - channel.left;
    const int thickness = vertical ? channel.right - channel.left : channel.bottom - channel.top;
    if (length <= 0 || thickness <= 0) return true;
    // The platform's channel at its own size and 96-DPI length, on what lies
    // under the target, then scaled as a skin image with a one-pixel edge.
    const int length96 = std::max(RescaleDpi(length, dpi, kDesignDpi), 3);
    ::TBitmap small(vertical ? thickness : length96, vertical ? length96 : thickness);
    HDC sdc = small.Canvas();
    if (!sdc) return false;
    BitBlt(sdc, 0, 0, small.Width(), small.Height(), dc, target.left, target.top, SRCCOPY);
    RECT all{0, 0, small.Width(), small.Height()};
    if (HTHEME theme = WindowTheme(FHandle))
        ThemeFunctions().DrawThemeBackground(theme, sdc, vertical ? TKP_TRACKVERT : TKP_TRACK, TKS_NORMAL, &all,
                                             nullptr);
    else
        DrawEdge(sdc, &all, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    GdiFlush();
    ::TBitmap scaled = ScaleSkinImage(small, TImageSlices{1, false, 1, 1, 1, 1, false}, dpi);
    const int edge = Scaled(1);
    DrawSkinImage(dc, target, scaled, {1, 1}, {edge, edge, edge, edge}, TFill::Stretch, TKeying::Opaque);
    return true;
}

bool TSkinTrackBar::DrawTicks(HDC dc) {
    const int dpi = Dpi();
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (dpi == kDesignDpi || (style & TBS_ENABLESELRANGE)) return false;
    TTrackLayout t;
    t.Vertical = (style & TBS_VERT) != 0;
    t.Style = static_cast<std::uint32_t>(style);
    RECT channel{}, thumb{};
    SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    // Some platforms report a vertical bar's channel as if it lay across.
    if (t.Vertical && channel.right - channel.left > channel.bottom - channel.top)
        channel = {channel.top, channel.left, channel.bottom, channel.right};
    t.Channel = ToIntRect(channel);
    t.Thumb = ToIntRect(thumb);
    t.Min = static_cast<std::int32_t>(SendMessageW(FHandle, TBM_GETRANGEMIN, 0, 0));
    t.Max = static_cast<std::int32_t>(SendMessageW(FHandle, TBM_GETRANGEMAX, 0, 0));
    // The count includes the two ends, which have no entry of their own.
    const int count = static_cast<int>(SendMessageW(FHandle, TBM_GETNUMTICS, 0, 0)) - 2;
    std::vector<std::int32_t> ticks;
    for (int i = 0; i < count; ++i) ticks.push_back(static_cast<std::int32_t>(SendMessageW(FHandle, TBM_GETTIC, i, 0)));
    COLORREF colour = GetSysColor(COLOR_3DDKSHADOW);
    if (HTHEME theme = WindowTheme(FHandle))
        ThemeFunctions().GetThemeColor(theme, t.Vertical ? TKP_TICSVERT : TKP_TICS, TSS_NORMAL, TMT_COLOR, &colour);
    GdiBrush brush(CreateSolidBrush(colour));
    for (const TIntRect& r : TrackTicks(t, ticks, dpi)) {
        const RECT tick = ToRect(r);
        FillRect(dc, &tick, brush.Get());
    }
    return true;
}

// ---- header --------------------------------------------------------------------

void TSkinHeader::InitWindow(HWND window, TSkinData* data) {
    TSkinControl::InitWindow(window, data);
    if (TSkinControlOwner* skins = Skins(); FInited && skins) skins->Add(this);
}

bool TSkinHeader::SkipsErase() const { return FSkinData && Usable(Elements().Headerbar.get()); }

void TSkinHeader::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Usable(Elements().Headerbar.get()) || r.right <= 0 || r.bottom <= 0) return;
    TDataSkinObject& e = *Elements().Headerbar;
    ::TBitmap buffer(r.right, r.bottom);
    HDC bdc = buffer.Canvas();
    if (!bdc) return;
    SavedDC saved(bdc);
    if (HFONT font = WindowFont(FHandle)) SelectObject(bdc, font);
    SetBkMode(bdc, TRANSPARENT);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
    const int count = static_cast<int>(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0));
    int edge = 0;
    for (int i = 0; i < count; ++i) {
        RECT ir{};
        if (!SendMessageW(FHandle, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir))) continue;
        wchar_t text[201] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        item.pszText = text;
        item.cchTextMax = 201;
        SendMessageW(FHandle, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        CopyElement(bdc, ir, e, {5, 1}, TKeying::Opaque);
        if (text[0]) {
            const UINT align = (item.fmt & HDF_RIGHT) ? 2 : (item.fmt & HDF_CENTER) ? 1 : 0;
            const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
            DrawIconCaption(bdc, ir, align, text, image, images, static_cast<TColor>(FSkinData->Colours.ButtonText));
        }
        edge = std::max(edge, static_cast<int>(ir.right));
    }
    if (r.right > edge) CopyElement(bdc, RECT{edge, r.top, r.right, r.bottom}, e, {5, 1}, TKeying::Opaque);
    GdiFlush();
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bdc, 0, 0, SRCCOPY);
}

}  // namespace srt

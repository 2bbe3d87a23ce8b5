#include "skin/controls/scrollbars.h"

#include <windowsx.h>

#include <algorithm>

#include "component/comctrls.h"
#include "component/gdi.h"
#include "skin/controls/indicators.h"
#include "skin/draw/skindraw.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinScrollBar, TSkinControl, )
SRT_DEFINE_CLASS(TSkinListView, TSkinScrollBar, )
SRT_DEFINE_CLASS(TSkinScControl, TSkinControl, )

namespace {

constexpr UINT kScrollInfoMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

TScrollValues Values(const SCROLLINFO& i) {
    return {i.nMin, i.nMax, static_cast<std::int32_t>(i.nPage), i.nPos, i.nTrackPos};
}

bool ReadBar(HWND window, int bar, TScrollValues& v) {
    SCROLLINFO info{};
    info.cbSize = sizeof(SCROLLINFO);
    info.fMask = kScrollInfoMask;
    if (!GetScrollInfo(window, bar, &info)) return false;
    v = Values(info);
    return true;
}

bool Usable(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

}  // namespace

int PressedPartForCode(int code, bool vertical) {
    switch (code) {
    case SB_LINEUP: return vertical ? kPartUp : kPartLeft;
    case SB_LINEDOWN: return vertical ? kPartDown : kPartRight;
    case SB_THUMBTRACK: return vertical ? kPartVertThumb : kPartHorzThumb;
    default: return kPartNone;
    }
}

TScrollBarLengths ScrollBarLengths(int dpi) {
    return ScrollBarLengthsAt(dpi, SystemMetricForDpi(SM_CXHSCROLL, dpi), SystemMetricForDpi(SM_CXHTHUMB, dpi),
                              GetVersion() >= 0x80000000u);
}

void ComposeScrollBar(HDC dc, const TIntRect& bar, bool vertical, const TScrollMetrics& m, int pressedPart,
                      const TSkinElements& data, const TScrollBarLengths& lengths, bool limitSize) {
    if (!Usable(data.Scrollbar.get())) return;
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    if (w <= 0 || h <= 0) return;
    if (limitSize && (w > 10000 || h > 10000)) return;
    ::TBitmap buffer(w, h);
    HDC bdc = buffer.Canvas();
    if (!bdc) return;
    {
        GdiBrush fill(CreateSolidBrush(ColorToRGB(static_cast<TColor>(data.Colours.Scrollbar))));
        const RECT all{0, 0, w, h};
        FillRect(bdc, &all, fill.Get());
    }
    const int length = vertical ? h : w, thickness = vertical ? w : h;
    // The arrows, halved when the bar is too short for two, the track between
    // them and the thumb, where the hit test finds them.
    TScrollMetrics at = m;
    at.Thickness = lengths.Arrow;
    const TScrollSpans spans = ScrollBarSpans(length, at);
    const int a = spans.FirstArrowEnd, b = spans.SecondArrowStart;
    TDataSkinObject* t = vertical ? data.VertScroll.get() : data.HorzScroll.get();
    if (Usable(t) && length > 2 * lengths.Arrow) {
        const RECT track = vertical ? RECT{0, a, w, b} : RECT{a, 0, b, h};
        DrawSkinImage(bdc, track, t->Image, {4, 1}, MarginsOf(*t), FillOf(*t), KeyedIf(t->Trans == 1));
    }
    const int firstPart = vertical ? kPartUp : kPartLeft, secondPart = vertical ? kPartDown : kPartRight;
    const int firstFrame = (vertical ? 9 : 1) + (pressedPart == firstPart ? 1 : 0);
    const int secondFrame = (vertical ? 13 : 5) + (pressedPart == secondPart ? 1 : 0);
    auto arrow = [&](int start, int end, int frame) {
        const TIntRect r = ArrowImageRect(start, end, thickness, vertical);
        if (!r.Empty())
            DrawSkinFrame(bdc, RECT{r.left, r.top, r.right, r.bottom}, data.Scrollbar->Image, {23, frame},
                          TKeying::Keyed);
    };
    arrow(0, a, firstFrame);
    arrow(b, length, secondFrame);
    // A frame count of 0 draws no thumb.
    TDataSkinObject* thumb = vertical ? data.VertScrollThumb.get() : data.HorzScrollThumb.get();
    if (Usable(thumb) && thumb->FrameCount > 0 && spans.ThumbEnd > spans.ThumbStart) {
        const int start = spans.ThumbStart, end = spans.ThumbEnd;
        const RECT r = vertical ? RECT{0, start, w, end} : RECT{start, 0, end, h};
        const bool pressed = pressedPart == (vertical ? kPartVertThumb : kPartHorzThumb);
        const int frame = std::min(pressed ? 2 : 1, thumb->FrameCount);
        DrawSkinImage(bdc, r, thumb->Image, {thumb->FrameCount, frame}, MarginsOf(*thumb), TFill::Stretch,
                      KeyedIf(thumb->Trans == 1));
    }
    GdiFlush();
    BitBlt(dc, bar.left, bar.top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---- scroll bars of a scrolling control ------------------------------------------

void TSkinScrollBar::InitScrollBar(TWinControl* control, TSkinData* data, bool ownThumbDrag) {
    if (FInited || !control || !data) return;
    FSkinData = data;
    FControl = control;
    FHandle = control->Handle();
    AttachMethod(control);
    if (TSkinControlOwner* skins = Skins(); skins && !skins->Contains(this)) skins->Add(this);
    FDragging = FVScrolling = FHScrolling = false;
    FOwnThumbDrag = ownThumbDrag;
    FHorzInfo.cbSize = FVertInfo.cbSize = sizeof(SCROLLINFO);
    FHorzMetrics.StyleBit = kHScrollBit;
    FVertMetrics.StyleBit = kVScrollBit;
    FInited = true;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollBar::InitControl(TWinControl* control, TSkinData* data, bool changeColour) {
    InitScrollBar(control, data, changeColour);
}

bool TSkinScrollBar::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        CallOldProc(m);
        return false;
    case WM_NCMOUSEMOVE:
        // The platform's hot tracking would draw its own bar.
        return m.WParam != HTHSCROLL && m.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
        return !FOwnThumbDrag || !ThumbTest(m);
    case WM_HSCROLL:
    case WM_VSCROLL:
        // A child scroll bar control's notification is not about our bars.
        if (m.LParam != 0) return true;
        OnScroll(m);
        return false;
    case WM_CAPTURECHANGED: OnCaptureChanged(m); return true;
    default: return true;
    }
}

// The platform scrolls; the bar it drew meanwhile is painted over after.
void TSkinScrollBar::OnScroll(TMessage& m) {
    const bool vertical = m.Msg == WM_VSCROLL;
    FPressedPart = PressedPartForCode(LOWORD(m.WParam), vertical);
    bool& scrolling = vertical ? FVScrolling : FHScrolling;
    scrolling = true;
    CallOldProc(m);
    scrolling = false;
    PaintControl(nullptr);
}

// Capture taken away mid-drag ends the drag where the thumb is.
void TSkinScrollBar::OnCaptureChanged(const TMessage& m) {
    if (FDragging && reinterpret_cast<HWND>(m.LParam) != FHandle)
        EndDrag(FDragMessage == WM_VSCROLL, FDragMessage, FDragValue);
}

void TSkinScrollBar::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCPAINT: PaintControl(nullptr); return;
    case WM_PRINT: PaintControl(reinterpret_cast<HDC>(m.WParam)); return;
    case WM_PRINTCLIENT: return;  // a print changes no bar
    case WM_NCDESTROY: TSkinControl::AfterProc(m); return;
    default: break;
    }
    TSkinControl::AfterProc(m);
    if (FHandle && !FDragging && BarsChanged()) PaintControl(nullptr);
}

bool TSkinScrollBar::TSeen::operator==(const TSeen& o) const {
    auto same = [](const TScrollValues& a, const TScrollValues& b) {
        return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
    };
    return bars == o.bars && same(horz, o.horz) && same(vert, o.vert);
}

TSkinScrollBar::TSeen TSkinScrollBar::Look() const {
    TSeen s;
    s.bars = GetWindowLongPtrW(FHandle, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
    if (s.bars & WS_HSCROLL) ReadBar(FHandle, SB_HORZ, s.horz);
    if (s.bars & WS_VSCROLL) ReadBar(FHandle, SB_VERT, s.vert);
    return s;
}

bool TSkinScrollBar::BarsChanged() {
    if (!IsWindowVisible(FHandle)) return false;
    const TSeen now = Look();
    if (now == FSeen) return false;
    FSeen = now;
    return true;
}

void TSkinScrollBar::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Usable(Elements().Scrollbar.get())) return;
    FStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
    FExStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
    if (FVScrolling) FStyle |= WS_VSCROLL;
    if (FHScrolling) FStyle |= WS_HSCROLL;
    FSeen = Look();
    const bool horz = (FStyle & WS_HSCROLL) != 0, vert = (FStyle & WS_VSCROLL) != 0;
    if (!horz && !vert) return;
    RECT c{};
    GetClientRect(FHandle, &c);
    const int dpi = Dpi();
    FLengths = ScrollBarLengths(dpi);
    const int sb = FLengths.Arrow;
    FRects = CalcScrollBarRects(r.right, r.bottom, c.right, c.bottom, sb, SystemMetricForDpi(SM_CXEDGE, dpi),
                                static_cast<std::uint32_t>(FStyle), static_cast<std::uint32_t>(FExStyle), FRects);
    FHorzMetrics.Thickness = FVertMetrics.Thickness = sb;
    if (horz && !FRects.Horz.Empty()) DrawScrollBar(dc, FRects.Horz, false);
    if (vert && !FRects.Vert.Empty()) DrawScrollBar(dc, FRects.Vert, true);
    if (horz && vert && !FRects.SizeBox.Empty()) {
        const RECT box{FRects.SizeBox.left, FRects.SizeBox.top, FRects.SizeBox.right, FRects.SizeBox.bottom};
        FillBackground(dc, box);
    }
}

void TSkinScrollBar::DrawScrollBar(HDC dc, const TIntRect& bar, bool vertical) {
    if (vertical ? FVScrolling : FHScrolling) return;
    CalcThumb(bar, vertical);
    ComposeScrollBar(dc, bar, vertical, vertical ? FVertMetrics : FHorzMetrics, FPressedPart, Elements(), FLengths,
                     true);
}

void TSkinScrollBar::CalcThumb(const TIntRect& bar, bool vertical) {
    if (FDragging) return;
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    TScrollValues v;
    if (!ReadBar(FHandle, vertical ? SB_VERT : SB_HORZ, v)) return;
    TScrollMetrics& m = vertical ? FVertMetrics : FHorzMetrics;
    if (!srt::CalcThumb(length, FLengths, v, m)) return;
    SCROLLINFO& info = vertical ? FVertInfo : FHorzInfo;
    info.nMin = v.nMin;
    info.nMax = v.nMax;
    info.nPage = static_cast<UINT>(v.nPage);
    info.nPos = v.nPos;
    info.nTrackPos = v.nTrackPos;
}

bool TSkinScrollBar::ThumbTest(TMessage& m) {
    if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return false;
    const bool vertical = m.WParam == HTVSCROLL;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ScreenToClient(FHandle, &p);
    FPressedPart = vertical ? kPartVertThumb : kPartHorzThumb;
    if (ScrollHitTest(vertical ? p.y : p.x, vertical ? FVertMetrics : FHorzMetrics) != SB_THUMBTRACK) return false;
    PaintControl(nullptr);
    TrackThumb(vertical, vertical ? WM_VSCROLL : WM_HSCROLL);
    m.Result = 0;
    return true;
}

void TSkinScrollBar::TrackThumb(bool vertical, UINT scrollMessage) {
    FDragging = true;
    FDragMessage = scrollMessage;
    POINT start;
    GetCursorPos(&start);
    TScrollMetrics& metrics = vertical ? FVertMetrics : FHorzMetrics;
    SCROLLINFO& info = vertical ? FVertInfo : FHorzInfo;
    const int p0 = metrics.ThumbPos;
    FDragValue = info.nPos;
    const HWND window = FHandle;
    // Capture brings the release even when it happens outside the window.
    SetCapture(window);
    while (FDragging) {
        if (!FHandle || !IsWindow(window)) {
            FDragging = false;
            break;
        }
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        switch (msg.message) {
        case WM_QUIT:
            PostQuitMessage(static_cast<int>(msg.wParam));
            EndDrag(vertical, scrollMessage, FDragValue);
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (!FDragging || !FHandle) break;
            POINT now;
            GetCursorPos(&now);
            int p = p0 + (vertical ? now.y - start.y : now.x - start.x);
            const int value = DragValue(p, Values(info), metrics, p);
            if (value == FDragValue) break;
            info.fMask = SIF_POS;
            info.nPos = info.nTrackPos = value;
            metrics.ThumbPos = p;
            SetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &info, FALSE);
            FDragValue = value;
            SendMessageW(FHandle, scrollMessage, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(value)), 0);
            break;
        }
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP: EndDrag(vertical, scrollMessage, FDragValue); break;
        default:
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            break;
        }
    }
    if (GetCapture() == window) ReleaseCapture();
}

void TSkinScrollBar::EndDrag(bool, UINT scrollMessage, int value) {
    if (!FDragging) return;
    FDragging = false;
    if (!FHandle) return;
    SendMessageW(FHandle, scrollMessage, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(value)), 0);
    PostMessageW(FHandle, scrollMessage, SB_ENDSCROLL, 0);
}

// ---- list view -----------------------------------------------------------------

void TSkinListView::InitControl(TWinControl* control, TSkinData* data, bool changeColour) {
    if (FInited) return;
    InitScrollBar(control, data, changeColour);
    if (!FInited) return;
    HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
    if (!header) return;
    auto* skin = new TSkinHeader(Owner());
    skin->InitWindow(header, data);
    FHeaderSkin = skin;
}

// ---- stand-alone scroll bar control --------------------------------------------

bool TSkinScControl::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCMOUSEMOVE: return m.WParam != HTHSCROLL && m.WParam != HTVSCROLL;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGEREDRAW: OnSetValues(m); return false;
    case CN_BASE + WM_HSCROLL:
    case CN_BASE + WM_VSCROLL: OnScroll(m); return false;
    default: return true;
    }
}

// The control takes the new values and draws its own bar; ours goes over it.
void TSkinScControl::OnSetValues(TMessage& m) {
    CallOldProc(m);
    PaintControl(nullptr);
}

void TSkinScControl::OnScroll(TMessage& m) {
    FPressedPart = PressedPartForCode(LOWORD(m.WParam), m.Msg == CN_BASE + WM_VSCROLL);
    CallOldProc(m);
    PaintControl(nullptr);
}

void TSkinScControl::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Usable(Elements().Scrollbar.get())) return;
    const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & SBS_VERT) != 0;
    TScrollValues v;
    if (auto* bar = dyncast<TScrollBar>(FControl)) {
        v = {bar->Min(), bar->Max(), bar->PageSize(), bar->Position(), bar->Position()};
    } else {
        SCROLLINFO info{};
        info.cbSize = sizeof(SCROLLINFO);
        info.fMask = kScrollInfoMask;
        if (!GetScrollInfo(FHandle, SB_CTL, &info)) return;
        v = Values(info);
    }
    ++v.nMax;  // the control's range counts both ends
    const TScrollBarLengths lengths = ScrollBarLengths(Dpi());
    TScrollMetrics m{lengths.Arrow, TrackLength, ThumbLength, ThumbPos, 0};
    const int length = vertical ? r.bottom - r.top : r.right - r.left;
    if (srt::CalcThumb(length, lengths, v, m)) {
        TrackLength = m.TrackLength;
        ThumbLength = m.ThumbLength;
        ThumbPos = m.ThumbPos;
    }
    ComposeScrollBar(dc, TIntRect{r.left, r.top, r.right, r.bottom}, vertical, m, FPressedPart, Elements(), lengths,
                     false);
}

}  // namespace srt

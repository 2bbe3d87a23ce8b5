#include "skin/controls/skincontrol.h"

#include <commctrl.h>

#include <optional>

#include "component/gdi.h"
#include "skin/draw/convert.h"
#include "skin/draw/skindraw.h"
#include "skin/manager/skinmanager.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinControl, TComponent, )

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
    TSkinControl::Unsubclass();
}

TSkinControlOwner* TSkinControl::Skins() const { return dynamic_cast<TSkinControlOwner*>(Owner()); }

void TSkinControl::InitControl(TWinControl* control, TSkinData* data, bool changeColour) {
    if (FInited || !control || !data) return;
    AttachControl(control, data, changeColour);
    control->SetDoubleBuffered(true);
    FFocused = ReadFocused();
    FEnabled = ReadEnabled();
    FText = ReadText();
    control->Invalidate();
    FInited = true;
}

void TSkinControl::AttachControl(TWinControl* control, TSkinData* data, bool changeColour) {
    FChangeColor = changeColour;
    FSkinData = data;
    FControl = control;
    FHandle = control->Handle();
    AttachMethod(control);
    if (TSkinControlOwner* skins = Skins(); skins && !skins->Contains(this)) skins->Add(this);
    if (FChangeColor) {
        FOldColor = control->Color();
        control->SetColor(static_cast<TColor>(data->Colours.ButtonFace));
    }
}

void TSkinControl::InitWindow(HWND window, TSkinData* data) {
    if (FInited || !window || !data) return;
    FSkinData = data;
    FHandle = window;
    FEnabled = true;
    FText = ReadText();
    AttachWindow(window);
    FInited = true;
}

void TSkinControl::Unsubclass() {
    if (TControl* control = MethodControl()) {
        if (!MethodAlive() && FControl == control) FControl = nullptr;
        DetachMethod();
    }
    DetachWindow();
    if (FChangeColor && FControl) {
        TSkinControlOwner* skins = Skins();
        if (!skins || !skins->Closing()) FControl->SetColor(FOldColor);
    }
}

void TSkinControl::Free() {
    Unsubclass();
    // The colour is settled now; the destructor's detach must not undo a closing.
    FChangeColor = false;
    if (TComponent* owner = Owner()) owner->RemoveComponent(this);
    DeleteWhenIdle();
}

namespace {

bool IsClientPaint(UINT msg) { return msg == WM_PAINT || msg == WM_PRINTCLIENT || msg == WM_ERASEBKGND; }

}  // namespace

void TSkinControl::WndProc(TMessage& m) {
    const bool paint = IsClientPaint(m.Msg);
    if (paint && PaintBefore(m)) return;
    if (!BeforeProc(m)) return;
    CallOldProc(m);
    if (paint) PaintAfter(m);
    AfterProc(m);
}

bool TSkinControl::PaintBefore(TMessage& m) {
    const TPaintMode mode = PaintMode();
    const bool own = mode == TPaintMode::Whole || mode == TPaintMode::Hidden;
    if (m.Msg == WM_ERASEBKGND) {
        if (!own && !SkipsErase()) return false;
        m.Result = 1;
        return true;
    }
    if (!own) return false;
    if (mode == TPaintMode::Hidden) {
        if (m.Msg == WM_PAINT && FHandle) ValidateRect(FHandle, nullptr);
        m.Result = 0;
    } else if (m.Msg == WM_PAINT) {
        OnPaint(m);
    } else {
        PrintClientHandler(m);
    }
    return true;
}

void TSkinControl::PaintAfter(const TMessage& m) {
    const auto dc = reinterpret_cast<HDC>(m.WParam);
    switch (PaintMode()) {
    case TPaintMode::Over:
        if (m.Msg == WM_PAINT) {
            PaintControl(dc);
        } else if (m.Msg == WM_PRINTCLIENT && dc && FHandle) {
            SavedDC saved(dc);
            PaintControl(dc);
        }
        break;
    case TPaintMode::Outside:
        if (m.Msg == WM_PAINT && !dc) PaintControl(nullptr);
        break;
    default: break;
    }
}

void TSkinControl::CallOldProc(TMessage& m) {
    if (HasPreviousMethod())
        CallPreviousMethod(m);
    else if (PreviousProc())
        m.Result = CallPrevious(m.Msg, m.WParam, m.LParam);
    else if (FHandle && IsWindow(FHandle))
        m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeProc(TMessage&) { return true; }

void TSkinControl::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED: Redraw(); break;
    case WM_SETTEXT: OnSetText(m); break;
    case WM_NCDESTROY: OnNcDestroy(); break;
    default: break;
    }
}

void TSkinControl::OnSetText(const TMessage& m) {
    FText = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
    Redraw();
}

void TSkinControl::OnNcDestroy() {
    Unsubclass();
    FHandle = nullptr;
    FControl = nullptr;
}

void TSkinControl::WithWindowDC(HDC dc, const std::function<void(HDC, const RECT&)>& draw) {
    RECT r;
    if (!FHandle || !GetWindowRect(FHandle, &r)) return;
    FWindowRect = r;
    OffsetRect(&r, -r.left, -r.top);
    std::optional<WindowDC> own;
    if (!dc) own.emplace(FHandle);
    HDC target = dc ? dc : own->Get();
    if (target) draw(target, r);
}

void TSkinControl::PaintControl(HDC dc) {
    WithWindowDC(dc, [this](HDC target, const RECT& r) {
        try {
            DrawControl(target, r);
        } catch (...) {
        }
    });
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::SkinChange() {
    // A control freed while its window stayed skinned: let go of it first.
    if (MethodGone()) Unsubclass();
    if (FChangeColor && FControl && FSkinData) FControl->SetColor(static_cast<TColor>(FSkinData->Colours.ButtonFace));
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
    else if (TGraphicControl* graphic = GraphicControl())
        graphic->Invalidate();
}

void TSkinControl::SendMouseLeave() {
    if (FHandle) SendMessageW(FHandle, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::Redraw() {
    RECT r;
    if (!FHandle || !GetWindowRect(FHandle, &r)) return;
    OffsetRect(&r, -r.left, -r.top);
    if (!GetParent(FHandle)) return;
    InvalidateRect(FHandle, &r, FALSE);
    UpdateWindow(FHandle);
}

COLORREF TSkinControl::Colour(TColour c) const { return Rgb(c); }

int TSkinControl::Dpi() const {
    if (FHandle) return WindowDpi(FHandle);
    TGraphicControl* graphic = GraphicControl();
    TWinControl* parent = graphic ? graphic->Parent() : nullptr;
    return WindowDpi(parent && parent->HandleAllocated() ? parent->Handle() : nullptr);
}

void TSkinControl::FillBackground(HDC dc, const RECT& r) {
    if (!FSkinData) return;
    GdiBrush brush(CreateSolidBrush(Colour(FSkinData->Colours.ButtonFace)));
    FillRect(dc, &r, brush.Get());
}

void TSkinControl::PaintClient(HDC dc) {
    RECT r;
    if (!dc || !FHandle || !GetWindowRect(FHandle, &r)) return;
    FWindowRect = r;
    DrawControl(dc, RECT{0, 0, r.right - r.left, r.bottom - r.top});
}

void TSkinControl::PaintHandler(TMessage& m) {
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
        PaintClient(dc);
    } else {
        PaintDC paint(FHandle);
        PaintClient(paint.Get());
    }
    m.Result = 0;
}

void TSkinControl::PrintClientHandler(TMessage& m) {
    PaintClient(reinterpret_cast<HDC>(m.WParam));
    m.Result = 0;
}

void TSkinControl::DrawElement(HDC dc, const RECT& r, TFrameIndex frame, TDataSkinObject& e) {
    if (r.right < r.left || r.bottom < r.top || e.Image.Empty()) return;
    ::TBitmap b = CreateSkinBitmap(r, e.Image, frame, MarginsOf(e), FillOf(e));
    if (b.Empty()) return;
    if (e.Trans == 1)
        DrawTransparent(dc, r, b, kSkinKey);
    else
        BitBlt(dc, r.left, r.top, b.Width(), b.Height(), b.Canvas(), 0, 0, SRCCOPY);
}

void TSkinControl::DrawElementToBuffer(const RECT& r, TDataSkinObject& e, TKeying keying, TFrameIndex frame) {
    if (r.right < r.left || r.bottom < r.top) return;
    ::TBitmap& scratch = ScratchBitmap();
    if (scratch.Width() < r.right - r.left || scratch.Height() < r.bottom - r.top)
        scratch.SetSize(IntMax(scratch.Width(), r.right - r.left), IntMax(scratch.Height(), r.bottom - r.top));
    HDC sdc = scratch.Canvas();
    if (!sdc) return;
    FillBackground(sdc, r);
    if (e.Image.Empty()) return;
    ::TBitmap b = CreateSkinBitmap(r, e.Image, frame, MarginsOf(e), FillOf(e));
    if (b.Empty()) return;
    const RECT at{0, 0, b.Width(), b.Height()};
    if (keying == TKeying::Keyed)
        DrawTransparent(sdc, at, b, kSkinKey);
    else
        BitBlt(sdc, 0, 0, b.Width(), b.Height(), b.Canvas(), 0, 0, SRCCOPY);
}

void TSkinControl::DrawStripFrame(HDC dc, const RECT& r, TFrameIndex frame, ::TBitmap& bitmap) {
    if (r.right < r.left || r.bottom < r.top || bitmap.Empty()) return;
    DrawSkinFrame(dc, r, bitmap, frame, TKeying::Keyed);
}

void TSkinControl::DrawCaption(HDC dc, const RECT& r, UINT align, bool enabled, const std::wstring& text,
                               TColor colour) {
    SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    RECT m = r;
    DrawTextW(dc, text.c_str(), -1, &m, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | align);
    const int tw = m.right - m.left, th = m.bottom - m.top;
    const int dy = (r.bottom - r.top - th) / 2 - Scaled(1);
    if (align == DT_CENTER) {
        OffsetRect(&m, (r.right - r.left - tw) / 2, dy);
    } else {
        OffsetRect(&m, 0, dy);
        m.left = r.left;
        m.right = r.right;
    }
    SetTextColor(dc, enabled ? ColorToRGB(colour) : GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(dc, text.c_str(), -1, &m, align | DT_EXPANDTABS);
}

void TSkinControl::DrawIconCaption(HDC dc, const RECT& r, UINT align, const std::wstring& text, int imageIndex,
                                   HIMAGELIST images, TColor colour) {
    int iw = 0, ih = 0;
    const bool icon = images && imageIndex != -1 && ImageList_GetIconSize(images, &iw, &ih);
    if (!icon) iw = ih = 0;
    constexpr UINT format = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
    RECT m = r;
    int tw = 0, th = 0;
    if (!text.empty()) {
        DrawTextW(dc, text.c_str(), -1, &m, format | DT_CALCRECT | DT_NOCLIP);
        tw = m.right - m.left;
        th = m.bottom - m.top;
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int margin = Scaled(2);
    const int left = align == 0 ? margin : align == 1 ? (w - iw - tw) / 2 : w - iw - tw - margin;
    if (icon) ImageList_Draw(images, imageIndex, dc, r.left + left, r.top + (h - ih) / 2, ILD_TRANSPARENT);
    if (text.empty()) return;
    SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, FEnabled ? ColorToRGB(colour) : GetSysColor(COLOR_BTNSHADOW));
    RECT t{r.left + left + iw + Scaled(1), r.top + (h - th) / 2, 0, 0};
    t.right = t.left + tw;
    t.bottom = t.top + th;
    DrawTextW(dc, text.c_str(), -1, &t, format | DT_NOCLIP);
}

void TSkinControl::BlitBuffer(HDC dc, const RECT& r) {
    if (HDC src = ScratchBitmap().Canvas()) BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, SRCCOPY);
}

void TSkinControl::HotMouseMove() {
    if (FState & kHot) return;
    FState |= kHot;
    TSkinControlOwner* skins = Skins();
    if (!skins) return Redraw();
    if (skins->HotControl() && skins->HotControl() != this) skins->HotControl()->SendMouseLeave();
    if (skins->HotControl() != this) {
        Redraw();
        skins->SetHotControl(this);
    }
}

void TSkinControl::HotMouseEnter() {
    if (!FEnabled) return;
    FState |= kHot;
    TSkinControlOwner* skins = Skins();
    // Entering hands the hot look over as a move does, so only one shows it.
    if (skins && skins->HotControl() && skins->HotControl() != this) skins->HotControl()->SendMouseLeave();
    Redraw();
    if (skins) skins->SetHotControl(this);
}

void TSkinControl::HotMouseLeave() {
    if (!FEnabled) return;
    FState &= static_cast<unsigned char>(~(kHot | kPressed));
    Redraw();
    if (TSkinControlOwner* skins = Skins(); skins && skins->HotControl() == this) skins->SetHotControl(nullptr);
}

std::wstring TSkinControl::ReadText() const {
    if (!FHandle) return {};
    wchar_t buffer[1000] = {};
    SendMessageW(FHandle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

bool TSkinControl::ReadEnabled() const {
    return FHandle && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
}

bool TSkinControl::ReadFocused() const { return FHandle && GetFocus() == FHandle; }

}  // namespace srt

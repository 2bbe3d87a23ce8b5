#include "skin/controls/edits.h"

#include <commctrl.h>

#include <optional>

#include "component/gdi.h"
#include "skin/draw/skindraw.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinEdit, TSkinControl, )
SRT_DEFINE_CLASS(TSkinComBox, TSkinControl, )
SRT_DEFINE_CLASS(TSkinUpDown, TSkinControl, )

namespace {

void Frame(HDC dc, const RECT& r, COLORREF colour) {
    GdiBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &r, brush.Get());
}

RECT Shrunk(RECT r, int by) {
    InflateRect(&r, -by, -by);
    return r;
}

bool Empty(const TDataSkinObject* e) { return !e || e->Image.Empty(); }

}  // namespace

// ---- edit ----------------------------------------------------------------------

void TSkinEdit::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PRINT: PrintBorder(reinterpret_cast<HDC>(m.WParam)); break;
    default: TSkinControl::AfterProc(m);
    }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& r) {
    if (!FUpDown) {
        for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, "msctls_updown32") != 0 && lstrcmpiA(name, "TSpinButton") != 0) continue;
            auto* updown = new TSkinUpDown(Owner());
            updown->InitWindow(child, FSkinData);
            updown->FInEdit = true;
            FUpDown = updown;
            break;
        }
    }
    RECT c;
    GetClientRect(FHandle, &c);
    if (c.right - c.left == r.right - r.left || c.bottom - c.top == r.bottom - r.top) return;
    Frame(dc, r, Colour(FSkinData->Colours.ButtonShadow));
    Frame(dc, Shrunk(r, 1), RGB(255, 255, 255));
}

void TSkinEdit::PrintBorder(HDC dc) {
    WithWindowDC(dc, [this](HDC target, const RECT& r) {
        RECT c;
        GetClientRect(FHandle, &c);
        if (c.right - c.left + 2 >= r.right || c.bottom - c.top + 2 >= r.bottom) return;
        const RECT inner = Shrunk(r, 1);
        FrameRect(target, &inner, static_cast<HBRUSH>(GetCurrentObject(target, OBJ_BRUSH)));
        Frame(target, r, Colour(FSkinData->Colours.ButtonShadow));
    });
}

// ---- combo box -----------------------------------------------------------------

void TSkinComBox::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: SetStateBit(kPressed, true); break;
    case WM_LBUTTONUP: SetStateBit(kPressed, false); break;
    case CM_MOUSEENTER:
        if (FEnabled) SetStateBit(kHot, true);
        break;
    case CM_MOUSELEAVE:
        if (FEnabled) SetStateBit(kHot, false);
        break;
    default: TSkinControl::AfterProc(m);
    }
}

void TSkinComBox::SetStateBit(unsigned char bit, bool on) {
    if (on)
        FState |= bit;
    else
        FState &= static_cast<unsigned char>(~bit);
    PaintControl(nullptr);
}

RECT TSkinComBox::ButtonRect(const RECT& r, bool left, int dpi) {
    const int b = SystemMetricForDpi(SM_CXHSCROLL, dpi), e = SystemMetricForDpi(SM_CXEDGE, dpi);
    return left ? RECT{r.left, r.top, r.left + b + e, r.bottom} : RECT{r.right - b - e, r.top, r.right, r.bottom};
}

void TSkinComBox::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || Empty(Elements().ComboButton.get())) return;
    FStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
    FExStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
    if (Elements().ComboButton->Style == 1)
        DrawFlat(dc, r);
    else if (!Empty(Elements().SunkEdge.get()))
        DrawEdge(dc, r);
}

void TSkinComBox::DrawEdge(HDC dc, const RECT& r) {
    const TSkinElements& elements = Elements();
    TDataSkinBorder& button = *elements.ComboButton;
    TDataSkinObject& edge = *elements.SunkEdge;
    FFocused = ReadFocused();
    FEnabled = (FStyle & WS_DISABLED) == 0;
    int state = 1;
    if (!FEnabled) state = 3;
    if (FFocused) state = 4;
    if (FState & kPressed)
        state = 2;
    else if (FState & kHot)
        state = 4;
    const int dpi = Dpi();
    const int b = SystemMetricForDpi(SM_CXHSCROLL, dpi), e = SystemMetricForDpi(SM_CXEDGE, dpi);
    const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    RECT glyph;
    if (!left) {
        ExcludeClipRect(dc, r.left + e, r.top + e, r.right - b - 2 * e, r.bottom - e);
        glyph = {r.right - b - e, r.top, r.right - e, r.bottom};
    } else {
        ExcludeClipRect(dc, r.left + b + 2 * e, r.top + e, r.right - e, r.bottom - e);
        glyph = {e, r.top, b + e, r.bottom};
    }
    DrawElement(dc, r, {edge.FrameCount, state}, edge);
    ::TBitmap& strip = left ? button.Image2 : button.Image;
    DrawStripFrame(dc, ButtonRect(r, left, dpi), {button.FrameCount, state}, strip.Empty() ? button.Image : strip);
    TDataSkinObject* extra = elements.ExtraImages.get();
    if (Empty(extra) || extra->FrameCount < 1) return;
    const int cw = extra->Image.Width() / extra->FrameCount, ch = extra->Image.Height();
    const int x = glyph.left + (glyph.right - glyph.left - cw) / 2;
    const int y = glyph.top + (glyph.bottom - glyph.top - ch) / 2;
    DrawStripFrame(dc, RECT{x, y, x + cw, y + ch}, {extra->FrameCount, state}, extra->Image);
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& r) {
    TDataSkinBorder& button = *Elements().ComboButton;
    FFocused = ReadFocused();
    FEnabled = (FStyle & WS_DISABLED) == 0;
    int state = FFocused ? 4 : FEnabled ? 1 : 3;
    if (FState & kPressed)
        state = 2;
    else if (FState & kHot)
        state = 4;
    auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    const RECT inner = Shrunk(r, 1);
    FrameRect(dc, &inner, brush);
    RECT box = Shrunk(r, 2);
    box.left = box.right - SystemMetricForDpi(SM_CYVTHUMB, Dpi());
    FillRect(dc, &box, brush);
    const int count = button.FrameCount;
    if (count >= 1 && state <= count) {
        const int fw = button.Image.Width() / count;
        if (HDC src = button.Image.Canvas(); src && fw > 0)
            StretchBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, src, (state - 1) * fw, 0,
                       fw, button.Image.Height(), SRCCOPY);
    }
    Frame(dc, r, Colour(FSkinData->Colours.ButtonShadow));
}

// ---- up-down -------------------------------------------------------------------

bool TSkinUpDown::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnLButtonDown(m); return false;
    case WM_LBUTTONUP: OnLButtonUp(m); return false;
    default: return true;
    }
}

// The control keeps its own press and auto-repeat; the skin follows it.
void TSkinUpDown::OnLButtonDown(TMessage& m) {
    CallOldProc(m);
    FState |= kPressed;
    PaintControl(nullptr);
}

void TSkinUpDown::OnLButtonUp(TMessage& m) {
    FState &= static_cast<unsigned char>(~kPressed);
    CallOldProc(m);
    PaintControl(nullptr);
}

void TSkinUpDown::ButtonStates(const RECT& c, bool horizontal, POINT p, bool pressed, bool hot, bool enabled,
                               int& first, int& second, RECT& firstRect, RECT& secondRect) {
    int half;
    bool inFirst, inSecond;
    if (!horizontal) {
        half = (c.bottom - c.top) / 2;
        firstRect = {c.left, c.top, c.right, c.top + half};
        secondRect = {c.left, c.top + half, c.right, c.bottom};
        inFirst = p.y < half;
        inSecond = p.y >= half;
    } else {
        half = (c.right - c.left) / 2;
        firstRect = {c.left, c.top, c.left + half, c.bottom};
        secondRect = {c.left + half, c.top, c.right, c.bottom};
        inFirst = p.x < half;
        inSecond = p.x >= half;
    }
    auto state = [&](bool in) {
        int s = 1;
        if (in) s = pressed ? 2 : hot ? 4 : 1;
        if (!enabled) s = 3;
        return s;
    };
    first = state(inFirst);
    second = state(inSecond);
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData) return;
    RECT c;
    GetClientRect(FHandle, &c);
    if (c.right <= 0 || c.bottom <= 0) return;
    ::TBitmap buffer(c.right, c.bottom);
    HDC bdc = buffer.Canvas();
    if (!bdc) return;
    FillBackground(bdc, c);
    if (FInEdit) c = Shrunk(c, 1);
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    FEnabled = (style & WS_DISABLED) == 0;
    const bool horizontal = FHorizontal == 1 || (style & UDS_HORZ) != 0;
    int s1, s2;
    RECT b1, b2;
    ButtonStates(c, horizontal, p, FState & kPressed, FState & kHot, FEnabled, s1, s2, b1, b2);
    const auto& upDown = Elements().UpDown;
    TDataSkinBorder* element = horizontal ? upDown.Horz.get() : upDown.Vert.get();
    const int part = horizontal ? 2 : 0;
    if (element && !element->Image.Empty() && !element->Image2.Empty()) {
        DrawUpDownButton(bdc, *element, b1, part, s1);
        DrawUpDownButton(bdc, *element, b2, part + 1, s2);
    } else {
        DrawPlainButton(bdc, b1, part, s1);
        DrawPlainButton(bdc, b2, part + 1, s2);
    }
    BitBlt(dc, r.left, r.top, c.right, c.bottom, bdc, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawUpDownButton(HDC dc, TDataSkinBorder& e, const RECT& r, int part, int state) {
    const int frame = (part % 2) * 4 + state;
    DrawSkinFrame(dc, r, e.Image, {8, frame}, TKeying::Keyed);
    if (e.Image2.Empty()) return;
    const int cw = e.Image2.Width() / 8, ch = e.Image2.Height();
    const int x = r.left + (r.right - r.left - cw) / 2, y = r.top + (r.bottom - r.top - ch) / 2;
    DrawSkinFrame(dc, RECT{x, y, x + cw, y + ch}, e.Image2, {8, frame}, TKeying::Keyed);
}

void TSkinUpDown::DrawPlainButton(HDC dc, const RECT& r, int part, int state) {
    const TSkinColours& colours = FSkinData->Colours;
    GdiBrush brush(CreateSolidBrush(Colour(state == 2 || state == 4 ? colours.ButtonShadow : colours.ButtonFace)));
    GdiPen pen(CreatePen(PS_SOLID, 1, Colour(colours.ButtonDkShadow)));
    GdiSelect selectBrush(dc, brush);
    GdiSelect selectPen(dc, pen);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    const int x = r.left + (r.right - r.left) / 2;
    const int y = r.top + (r.bottom - r.top) / 2 - (part < 2 ? 2 : 0);
    auto line = [&](int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x + x0, y + y0, nullptr);
        LineTo(dc, x + x1, y + y1);
    };
    switch (part) {
    case 0:
        line(0, 0, 0, -1); line(1, 1, 4, 4); line(0, 1, 3, 4); line(0, 2, 2, 4);
        line(-1, 1, -4, 4); line(0, 2, -3, 4); line(0, 1, -2, 4);
        break;
    case 1:
        line(0, 3, 0, 4); line(1, 2, 4, -1); line(0, 2, 3, -1); line(0, 1, 2, 0);
        line(-1, 2, -4, -1); line(0, 2, -3, -1); line(0, 1, -2, 0);
        break;
    case 2: {
        const POINT pts[] = {{x, y}, {x + 1, y + 2}, {x + 1, y - 2}, {x - 1, y}, {x + 1, y + 2}};
        Polyline(dc, pts, 5);
        break;
    }
    default: {
        const POINT pts[] = {{x, y}, {x - 1, y + 2}, {x - 1, y - 2}, {x + 1, y}, {x - 1, y + 2}};
        Polyline(dc, pts, 5);
        break;
    }
    }
}

}  // namespace srt

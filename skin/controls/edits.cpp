#include "skin/controls/edits.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "component/gdi.h"
#include "skin/controls/contentrules.h"
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

bool OfClass(HWND window, const char* name) {
    char actual[64] = {};
    GetClassNameA(window, actual, sizeof actual);
    return lstrcmpiA(actual, name) == 0;
}

// The date picker draws its fields in the platform's window text colour,
// whatever brush its parent answers for its field (black on black under a
// dark skin), and offers no message to change that: under a skin with
// EditText its client is composed off screen, the control's own procedure
// (`callOld`) drawing its text on fuchsia (on no path between any text
// colour and the window colour a focused field shows its text in), and
// that text is then moved onto the field in the skin's colour.
bool RecoloursDatePicker(HWND window, const TSkinData* data) {
    return data && HasColour(data->Colours.EditText) && OfClass(window, "SysDateTimePick32");
}

// Bitmap pixels are 0x00RRGGBB, colour values 0x00BBGGRR.
std::uint32_t BitmapOrder(COLORREF c) { return (c & 0xFF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }

// The colour of the brush `window`'s parent answers `question` with on `dc`.
std::optional<COLORREF> ParentsColour(HWND window, HDC dc, UINT question) {
    SavedDC saved(dc);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(window), question, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    LOGBRUSH lb{};
    if (!brush || GetObjectW(brush, sizeof lb, &lb) != sizeof lb || lb.lbStyle != BS_SOLID) return std::nullopt;
    return lb.lbColor;
}

// The field in the brush the parent answers (the platform's erase takes its
// face colour for a disabled picker): under the picker's children, which
// the recoloured paint leaves out.
bool EraseDatePicker(HWND window, TMessage& m) {
    const auto dc = reinterpret_cast<HDC>(m.WParam);
    const UINT question = IsWindowEnabled(window) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    if (const std::optional<COLORREF> field = dc ? ParentsColour(window, dc, question) : std::nullopt) {
        RECT c{};
        GetClientRect(window, &c);
        GdiBrush brush(CreateSolidBrush(*field));
        FillRect(dc, &c, brush.Get());
    }
    m.Result = 1;
    return false;
}

void PaintDatePicker(HWND window, const TSkinData& data, TMessage& m, const std::function<void(TMessage&)>& callOld) {
    std::optional<PaintDC> paint;
    auto dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) dc = paint.emplace(window).Get();
    RECT c{};
    GetClientRect(window, &c);
    ::TBitmap buffer(c.right, c.bottom);
    HDC bdc = buffer.Canvas();
    if (dc && bdc) {
        const bool enabled = IsWindowEnabled(window);
        constexpr COLORREF platformBack = RGB(255, 0, 255);
        const COLORREF platformInk = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        const COLORREF field = ParentsColour(window, bdc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC)
                                   .value_or(ColorToRGB(static_cast<TColor>(data.Colours.Edit)));
        const TColour skinInk = enabled || !HasColour(data.Colours.DisabledText) ? data.Colours.EditText
                                                                                 : data.Colours.DisabledText;
        {
            GdiBrush back(CreateSolidBrush(platformBack));
            FillRect(bdc, &c, back.Get());
        }
        TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bdc), PRF_CLIENT, 0};
        callOld(print);
        GdiFlush();
        const std::uint32_t from0 = BitmapOrder(platformBack), from1 = BitmapOrder(platformInk);
        const std::uint32_t to0 = BitmapOrder(field), to1 = BitmapOrder(ColorToRGB(static_cast<TColor>(skinInk)));
        for (int y = 0; y < buffer.Height(); ++y)
            for (std::uint32_t *p = buffer.ScanLine(y), *end = p + buffer.Width(); p != end; ++p)
                *p = Recoloured(*p & 0xFFFFFFu, from0, from1, to0, to1);
        SavedDC saved(dc);
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;  // the up-down of a time picker paints itself
            RECT cr{};
            GetWindowRect(child, &cr);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&cr), 2);
            ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
        }
        BitBlt(dc, 0, 0, c.right, c.bottom, bdc, 0, 0, SRCCOPY);
    }
    m.Result = 0;
}

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
    const TColour field = FSkinData->Colours.Edit;
    Frame(dc, Shrunk(r, 1), HasColour(field) ? Colour(field) : RGB(255, 255, 255));
}

bool TSkinEdit::BeforeProc(TMessage& m) {
    if (!RecoloursDatePicker(FHandle, FSkinData)) return true;
    if (m.Msg == WM_ERASEBKGND) return EraseDatePicker(FHandle, m);
    if (m.Msg != WM_PAINT) return true;
    PaintDatePicker(FHandle, *FSkinData, m, [this](TMessage& old) { CallOldProc(old); });
    if (!m.WParam) PaintControl(nullptr);  // the border, as after any paint
    return false;
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

bool TSkinComBox::BeforeProc(TMessage& m) {
    if (!RecoloursDatePicker(FHandle, FSkinData)) return true;
    if (m.Msg == WM_ERASEBKGND) return EraseDatePicker(FHandle, m);
    if (m.Msg != WM_PAINT) return true;
    PaintDatePicker(FHandle, *FSkinData, m, [this](TMessage& old) { CallOldProc(old); });
    // The edge and button, as after any paint; the caller's DC keeps its clipping.
    if (auto dc = reinterpret_cast<HDC>(m.WParam)) {
        SavedDC saved(dc);
        PaintControl(dc);
    } else {
        PaintControl(nullptr);
    }
    return false;
}

void TSkinComBox::FillEditPadding(HDC dc, const RECT& inside) {
    if (!HasColour(FSkinData->Colours.Edit)) return;
    HWND edit = FindWindowExW(FHandle, nullptr, L"Edit", nullptr);
    if (!edit || !IsWindowVisible(edit)) return;
    // The brush the combo box itself was given for its field.
    HBRUSH brush = nullptr;
    {
        SavedDC saved(dc);
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(FHandle), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(FHandle)));
    }
    if (!brush) brush = FSkinData->EditBrush();
    if (!brush) return;
    RECT self{}, field{};
    GetWindowRect(FHandle, &self);
    GetWindowRect(edit, &field);
    OffsetRect(&field, -self.left, -self.top);
    SavedDC saved(dc);
    ExcludeClipRect(dc, field.left, field.top, field.right, field.bottom);
    FillRect(dc, &inside, brush);
}

void TSkinComBox::SetStateBit(unsigned char bit, bool on) {
    if (on)
        FState |= bit;
    else
        FState &= static_cast<unsigned char>(~bit);
    PaintControl(nullptr);
}

RECT TSkinComBox::ButtonRect(const RECT& r, bool left, int dpi) {
    const int b = SystemMetricForDpi(SM_CXVSCROLL, dpi), e = SystemMetricForDpi(SM_CXEDGE, dpi);
    return left ? RECT{r.left, r.top, r.left + b + e, r.bottom} : RECT{r.right - b - e, r.top, r.right, r.bottom};
}

RECT TSkinComBox::ClickedButtonRect(const RECT& r, bool left) const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(FHandle, &info) || IsRectEmpty(&info.rcButton)) return ButtonRect(r, left, Dpi());
    // The client's place in the window rectangle at origin.
    RECT self{};
    GetWindowRect(FHandle, &self);
    POINT client{0, 0};
    ClientToScreen(FHandle, &client);
    const int dx = r.left + client.x - self.left;
    const int from = info.rcButton.left + dx, to = info.rcButton.right + dx;
    // A platform that keeps the button on the right whatever the style: the
    // skin's button on the left is as wide.
    const bool onLeft = from + to < r.left + r.right;
    if (left) return RECT{r.left, r.top, onLeft ? to : r.left + r.right - from, r.bottom};
    return RECT{onLeft ? r.left + r.right - to : from, r.top, r.right, r.bottom};
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
    const int e = SystemMetricForDpi(SM_CXEDGE, Dpi());
    const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const RECT box = ClickedButtonRect(r, left);
    const RECT text = left ? RECT{box.right + e, r.top + e, r.right - e, r.bottom - e}
                           : RECT{r.left + e, r.top + e, box.left - e, r.bottom - e};
    const RECT glyph =
        left ? RECT{r.left + e, r.top, box.right, r.bottom} : RECT{box.left, r.top, box.right - e, r.bottom};
    // Between the edge and the edit the platform leaves a strip of its window colour.
    FillEditPadding(dc, text);
    ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
    DrawElement(dc, r, {edge.FrameCount, state}, edge);
    ::TBitmap& strip = left ? button.Image2 : button.Image;
    DrawStripFrame(dc, box, {button.FrameCount, state}, strip.Empty() ? button.Image : strip);
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
    box.left = ClickedButtonRect(r, false).left;
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

TMargins TSkinUpDown::ButtonMargins(const TDataSkinObject& e, int dpi) {
    const TMargins given = MarginsOf(e);
    if (given.left || given.top || given.right || given.bottom) return given;
    const int corner = ScaleToDpi(kButtonCorner, dpi);
    return {corner, corner, corner, corner};
}

void TSkinUpDown::DrawUpDownButton(HDC dc, TDataSkinBorder& e, const RECT& r, int part, int state) {
    const int frame = (part % 2) * 4 + state;
    // At the design DPI the frame is stretched whole, the look the skins are
    // drawn for. At any other its corners and edges keep the size drawn for
    // that scale: stretched whole, a box wider than its frame would thicken
    // its side edges by the stretch factor.
    const int dpi = Dpi();
    if (dpi == kDesignDpi)
        DrawSkinFrame(dc, r, e.Image, {8, frame}, TKeying::Keyed);
    else
        DrawSkinImage(dc, r, e.Image, {8, frame}, ButtonMargins(e, dpi), TFill::Stretch, TKeying::Keyed);
    if (e.Image2.Empty()) return;
    const int cw = e.Image2.Width() / 8, ch = e.Image2.Height();
    const int x = r.left + (r.right - r.left - cw) / 2, y = r.top + (r.bottom - r.top - ch) / 2;
    DrawSkinFrame(dc, RECT{x, y, x + cw, y + ch}, e.Image2, {8, frame}, TKeying::Keyed);
}

void TSkinUpDown::DrawPlainButton(HDC dc, const RECT& r, int part, int state) {
    const TSkinColours& colours = FSkinData->Colours;
    const COLORREF ink = Colour(colours.ButtonDkShadow);
    GdiBrush brush(CreateSolidBrush(Colour(state == 2 || state == 4 ? colours.ButtonShadow : colours.ButtonFace)));
    const int dpi = Dpi();
    if (dpi != kDesignDpi) {
        DrawPlainButtonAt(dc, r, part, brush.Get(), ink, dpi);
        return;
    }
    GdiPen pen(CreatePen(PS_SOLID, 1, ink));
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

// The plain button away from the design DPI: the outline as thick as a
// pixel scaled, and the arrow the triangle the 96-DPI strokes fill (six or
// seven pixels wide and four high up or down, five high sideways) at its
// scaled size.
void TSkinUpDown::DrawPlainButtonAt(HDC dc, const RECT& r, int part, HBRUSH face, COLORREF ink, int dpi) {
    const int line = ScaleToDpi(1, dpi);
    GdiPen outline(CreatePen(PS_INSIDEFRAME, line, ink));
    {
        GdiSelect selectBrush(dc, face);
        GdiSelect selectPen(dc, outline);
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    const auto s = [dpi](int n) { return ScaleToDpi(n, dpi); };
    const int x = r.left + (r.right - r.left) / 2, y = r.top + (r.bottom - r.top) / 2;
    // Within the outline, a pixel of face on either side.
    const int room = (r.right - r.left - 2 * line - 3) / 2;
    const int half = std::max(1, std::min(s(6) / 2, room)), top = y - (half + 1) / 2;
    POINT pts[3];
    switch (part) {
    case 0: pts[0] = {x, top}; pts[1] = {x + half, top + half}; pts[2] = {x - half, top + half}; break;
    case 1: pts[0] = {x - half, top}; pts[1] = {x + half, top}; pts[2] = {x, top + half}; break;
    case 2: pts[0] = {x - s(1), y}; pts[1] = {x + s(1), y - s(2)}; pts[2] = {x + s(1), y + s(2)}; break;
    default: pts[0] = {x + s(1), y}; pts[1] = {x - s(1), y - s(2)}; pts[2] = {x - s(1), y + s(2)}; break;
    }
    GdiBrush fill(CreateSolidBrush(ink));
    GdiPen edge(CreatePen(PS_SOLID, 1, ink));
    GdiSelect selectBrush(dc, fill);
    GdiSelect selectPen(dc, edge);
    Polygon(dc, pts, 3);
}

}  // namespace srt

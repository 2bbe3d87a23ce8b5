#include "skin/controls/buttons.h"

#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/controls/classify.h"
#include "skin/controls/focuscue.h"
#include "skin/draw/skindraw.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinButton, TSkinControl, )
SRT_DEFINE_CLASS(TSkinCheckBox, TSkinControl, )
SRT_DEFINE_CLASS(TSkinRadioButton, TSkinCheckBox, )

int ButtonFrame(bool focused, bool pressed, bool hot, bool enabled) {
    int frame = bfNormal;
    if (focused) frame = bfHot;
    if (pressed)
        frame = bfPressed;
    else if (hot)
        frame = bfHot;
    if (!enabled) frame = bfDisabled;
    return frame;
}

bool TSkinButton::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnLButtonDown(m); return false;
    default: return true;
    }
}

void TSkinButton::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE: HotMouseMove(); break;
    case CM_MOUSEENTER: HotMouseEnter(); break;
    case CM_MOUSELEAVE: HotMouseLeave(); break;
    case WM_LBUTTONUP: OnLButtonUp(); break;
    case WM_UPDATEUISTATE: Redraw(); break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (!OnKey(m)) TSkinControl::AfterProc(m);
        break;
    default: TSkinControl::AfterProc(m);
    }
}

void TSkinButton::OnLButtonDown(TMessage& m) {
    FFocused = ReadFocused();
    if (!FFocused) ::SetFocus(FHandle);
    FState |= kPressed;
    PaintControl(nullptr);
    m.Result = 0;
}

// The click comes on the mouse-up, only after a press on the button.
void TSkinButton::OnLButtonUp() {
    if (!(FState & kPressed)) return;
    FState &= static_cast<unsigned char>(~kPressed);
    Redraw();
    if (FControl) {
        FControl->Click();
    } else if (HWND parent = GetParent(FHandle)) {
        PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), BN_CLICKED),
                     reinterpret_cast<LPARAM>(FHandle));
    }
}

bool TSkinButton::OnKey(TMessage& m) {
    if (m.WParam != VK_SPACE) return false;
    if (m.Msg == WM_KEYDOWN)
        FState |= kPressed;
    else
        FState &= static_cast<unsigned char>(~kPressed);
    Redraw();
    return true;
}

TColor TSkinButton::CaptionColour(int frame, bool enabled) const {
    const TSkinColours& c = FSkinData->Colours;
    TColour colour = c.ButtonText;
    const TDataSkinButton& b = *FSkinData->Buttons;
    if (frame == bfNormal) colour = b.NormalColour2;
    if (frame == bfHot) colour = b.MouseOverColour2;
    if (frame == bfPressed) colour = b.PressedColour2;
    if (!enabled) return static_cast<TColor>(SysColour(COLOR_BTNSHADOW));
    return static_cast<TColor>(colour);
}

void TSkinButton::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Elements().Buttons || Elements().Buttons->Image.Empty()) return;
    FFocused = ReadFocused();
    FEnabled = ReadEnabled();
    FText = ReadText();
    if (FText.empty() && FControl) FText = Widen(FControl->Caption());
    const int frame = ButtonFrame(FFocused, FState & kPressed, FState & kHot, FEnabled);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (FBuffer.Width() != w || FBuffer.Height() != h) FBuffer.SetSize(w, h);
    HDC bdc = FBuffer.Canvas();
    if (!bdc) return;
    const RECT all{0, 0, w, h};
    FillBackground(bdc, all);
    DrawElement(bdc, all, {5, frame}, *Elements().Buttons);
    {
        GdiSelect font(bdc, reinterpret_cast<HGDIOBJ>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
        DrawCaption(bdc, all, DT_CENTER, FEnabled, FText, CaptionColour(frame, FEnabled));
    }
    DrawFocus(bdc, all, CaptionColour(frame, FEnabled));
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

void TSkinButton::DrawFocus(HDC dc, const RECT& r, TColor colour) const {
    if (FEnabled && ShowsFocusCue(FHandle, FFocused))
        DrawFocusCue(dc, FocusCueRect(r, kButtonFocusInset), ColorToRGB(colour));
}

void DrawGlyphFrame(HDC dc, POINT at, int count, int index, ::TBitmap& glyph) {
    if (count < 1 || glyph.Empty()) return;
    const int fw = glyph.Width() / count;
    if (fw <= 0 || index < 1 || index > count) return;
    ::TBitmap frame(fw, glyph.Height());
    HDC fdc = frame.Canvas();
    HDC gdc = glyph.Canvas();
    if (!fdc || !gdc) return;
    BitBlt(fdc, 0, 0, fw, glyph.Height(), gdc, (index - 1) * fw, 0, SRCCOPY);
    const RECT to{at.x, at.y, at.x + fw, at.y + glyph.Height()};
    DrawTransparent(dc, to, frame, frame.Pixel(0, 0));
}

// ---- check boxes and radio buttons ----------------------------------------------

void TSkinCheckBox::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case BM_SETCHECK:
    case WM_UPDATEUISTATE:
    case CM_EXIT:
    case 0xB0D0: Redraw(); break;
    default: TSkinControl::AfterProc(m);
    }
}

int TSkinCheckBox::Cell() {
    const auto state = SendMessageW(FHandle, Radio() ? BM_GETCHECK : BM_GETSTATE, 0, 0);
    int cell = (state & BST_CHECKED) ? 2 : 1;
    if (FControl && IsPublishedProp(*FControl, "Checked")) {
        try {
            cell = Lower(GetEnumProp(*FControl, "Checked")) == "true" ? 2 : 1;
        } catch (const EPropertyError&) {
        }
    }
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) cell += 2;
    if (!Radio() && (SendMessageW(FHandle, BM_GETSTATE, 0, 0) & BST_INDETERMINATE)) cell = 4;
    return cell;
}

RECT MarkRect(const RECT& r, int w, int h, bool leftText, int dpi) {
    const int cell = ScaleToDpi(13, dpi) + 1;  // the platform's box and a pixel
    RECT m;
    m.top = r.top + (r.bottom - r.top - h) / 2;
    m.bottom = m.top + h;
    if (leftText) {
        m.right = w <= cell ? r.right - (cell - w) / 2 : r.right - ScaleToDpi(1, dpi);
        m.left = m.right - w;
    } else {
        m.left = w <= cell ? r.left + (cell - w) / 2 : r.left;
        m.right = m.left + w;
    }
    return m;
}

void TSkinCheckBox::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Elements().Buttons) return;
    TDataSkinButton& b = *Elements().Buttons;
    ::TBitmap& image = Radio() ? b.RadioButton : b.CheckButton;
    const int n = Radio() ? b.RadioButtonFrame : b.CheckButtonFrame;
    if (image.Empty() || n < 1 || image.Width() / n == 0) return;
    const int w = image.Width() / n, h = image.Height();
    // A cell the image does not have draws nothing: the native mark stays.
    const int cell = Cell();
    if (cell > n) return;
    const bool leftText = (GetWindowLongPtrW(FHandle, GWL_STYLE) & BS_LEFTTEXT) != 0;
    const int dpi = Dpi();
    const RECT mark = MarkRect(r, w, h, leftText, dpi);
    // The platform's own mark, larger than an image drawn for a lower DPI, goes too.
    RECT erase = mark;
    if (const int native = ScaleToDpi(13, dpi); native > w || native > h) {
        const RECT box = MarkRect(r, native, native, leftText, dpi);
        UnionRect(&erase, &mark, &box);
    }
    FillBackground(dc, erase);
    DrawStripFrame(dc, mark, {n, cell}, image);
}

}  // namespace srt

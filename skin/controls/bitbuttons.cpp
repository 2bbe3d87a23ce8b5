// Bitmap and speed buttons: the push button's frames with a glyph beside the
// caption.
#include <algorithm>

#include "component/buttons.h"
#include "component/gdi.h"
#include "component/wstr.h"
#include "skin/controls/buttons.h"
#include "skin/draw/skindraw.h"

namespace srt {

SRT_DEFINE_CLASS(TSkinBitButton, TSkinButton, )
SRT_DEFINE_CLASS(TSkinSpeedButton, TSkinBitButton, )

namespace {

UINT LayoutFormat(TButtonLayout layout) {
    switch (layout) {
    case blGlyphLeft: return DT_LEFT;
    case blGlyphRight: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

SIZE MeasureText(HDC dc, const std::wstring& text, const RECT& client) {
    if (text.empty()) return {0, 0};
    RECT m = client;
    DrawTextW(dc, text.c_str(), -1, &m, DT_CALCRECT | DT_SINGLELINE);
    return {m.right - m.left, m.bottom - m.top};
}

// Glyph and caption of a bitmap or speed button onto `dc`; no glyph for a
// glyph count of 0 (after the modulo 128).
void DrawGlyphAndCaption(HDC dc, const RECT& client, TBitmap& glyph, int numGlyphs, int glyphIndex,
                         TButtonLayout layout, int margin, int spacing, const std::wstring& caption, COLORREF colour,
                         bool speedButton) {
    const int count = numGlyphs % 128;
    const int gw = count > 0 && !glyph.Empty() ? glyph.Width() / count : 0;
    const int gh = gw > 0 ? glyph.Height() : 0;
    const SIZE t = MeasureText(dc, caption, client);
    const TGlyphLayout g = CalcGlyphLayout(client.right - client.left, client.bottom - client.top, gw, gh, t.cx, t.cy,
                                           layout, margin, spacing, speedButton);
    if (gw > 0) DrawGlyphFrame(dc, {client.left + g.glyphX, client.top + g.glyphY}, count, glyphIndex, glyph);
    SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT text{client.left + g.textLeft, client.top + g.textTop, client.left + g.textRight, client.top + g.textBottom};
    DrawTextW(dc, caption.c_str(), -1, &text, LayoutFormat(layout) | DT_SINGLELINE);
}

}  // namespace

// ---- bitmap button -------------------------------------------------------------

void TSkinBitButton::DrawControl(HDC dc, const RECT& r) {
    auto* button = dyncast<TBitBtn>(FControl);
    if (!button) return TSkinButton::DrawControl(dc, r);
    if (!FSkinData || !Elements().Buttons || Elements().Buttons->Image.Empty()) return;
    TDataSkinButton& element = *Elements().Buttons;
    FFocused = ReadFocused();
    FEnabled = ReadEnabled();
    FText = ReadText();
    if (FText.empty()) FText = Widen(button->Caption());
    const bool enabled = button->Enabled();
    const int frame = ButtonFrame(button->Focused(), FState & kPressed, FState & kHot, enabled);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (FBuffer.Width() != w || FBuffer.Height() != h) FBuffer.SetSize(w, h);
    HDC bdc = FBuffer.Canvas();
    if (!bdc) return;
    GdiSelect font(bdc, reinterpret_cast<HGDIOBJ>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
    const RECT all{0, 0, w, h};
    FillBackground(bdc, all);
    DrawElement(bdc, all, {std::max(element.FrameCount, 1), frame}, element);
    DrawGlyphAndCaption(bdc, button->ClientRect(), button->Glyph(), button->NumGlyphs(), 1, button->Layout(),
                        button->Margin(), button->Spacing(), FText, ColorToRGB(CaptionColour(frame, enabled)), false);
    FFocused = button->Focused();
    FEnabled = enabled;
    DrawFocus(bdc, all, CaptionColour(frame, enabled));
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---- speed button --------------------------------------------------------------

TSkinSpeedButton::~TSkinSpeedButton() { TSkinSpeedButton::Unsubclass(); }

void TSkinSpeedButton::InitSpeedButton(TSpeedButton* button, TSkinData* data) {
    if (FInited || !button || !data) return;
    FSkinData = data;
    FGraphicControl = button;
    AttachMethod(button);
    if (TSkinControlOwner* skins = Skins()) skins->Add(this);
    FInited = true;
}

TSpeedButton* TSkinSpeedButton::Button() const {
    return MethodAlive() ? dyncast<TSpeedButton>(FGraphicControl) : nullptr;
}

bool TSkinSpeedButton::BeforeProc(TMessage& m) {
    TSpeedButton* button = Button();
    if (!button) return true;
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnLButtonDown(m); return false;
    default: TSkinButton::BeforeProc(m); return true;
    }
}

// Once the button has gone, its own procedure paints (nothing).
TSkinControl::TPaintMode TSkinSpeedButton::PaintMode() const {
    return Button() ? TPaintMode::Whole : TPaintMode::Over;
}

// The component layer paints a button without a window with a DC in WParam.
void TSkinSpeedButton::OnPaint(TMessage& m) {
    if (TSpeedButton* button = Button(); button && m.WParam)
        DrawSpeedButton(reinterpret_cast<HDC>(m.WParam), button->ClientRect());
    m.Result = 1;
}

void TSkinSpeedButton::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
        FState |= kHot;
        PaintControl(nullptr);
        break;
    case CM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_LBUTTONUP: SetPressed(false); break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (m.WParam == VK_SPACE)
            SetPressed(m.Msg == WM_KEYDOWN);
        else
            TSkinButton::AfterProc(m);
        break;
    case WM_NCDESTROY:
    case CM_RELEASE: Unsubclass(); break;
    default: TSkinButton::AfterProc(m);
    }
}

void TSkinSpeedButton::OnLButtonDown(TMessage& m) {
    CallOldProc(m);  // the speed button keeps its own press
    SetPressed(true);
}

void TSkinSpeedButton::OnMouseLeave() {
    FState &= static_cast<unsigned char>(~(kHot | kPressed));
    if (TSpeedButton* button = Button(); button && button->Visible()) PaintControl(nullptr);
}

void TSkinSpeedButton::SetPressed(bool pressed) {
    if (pressed)
        FState |= kPressed;
    else
        FState &= static_cast<unsigned char>(~kPressed);
    PaintControl(nullptr);
}

// The button has no window: it is painted on its parent's, clipped to it.
void TSkinSpeedButton::PaintControl(HDC) {
    TSpeedButton* button = Button();
    TWinControl* parent = button ? button->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated() || !button->Visible()) return;
    HWND window = parent->Handle();
    ClientDC dc(window);
    if (!dc) return;
    RECT r = button->BoundsRect();
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    FWindowRect = r;
    SavedDC saved(dc.Get());
    SetViewportOrgEx(dc.Get(), button->Left(), button->Top(), nullptr);
    IntersectClipRect(dc.Get(), 0, 0, button->Width(), button->Height());
    DrawSpeedButton(dc.Get(), button->ClientRect());
}

int SpeedButtonFrame(bool pressed, bool hot, bool enabled, bool down) {
    int frame = pressed ? bfPressed : hot ? bfHot : bfNormal;
    if (!enabled) frame = bfDisabled;
    if (down) frame = bfPressed;
    return frame;
}

int SpeedButtonGlyph(int frame, int numGlyphs) {
    const int index = frame == bfDisabled ? 2 : frame == bfPressed ? 3 : 1;
    return numGlyphs % 128 < index ? 1 : index;
}

void TSkinSpeedButton::DrawSpeedButton(HDC dc, const RECT& r) {
    TSpeedButton* button = Button();
    if (!button || !FSkinData || !Elements().Buttons || Elements().Buttons->Image.Empty()) return;
    TDataSkinButton& element = *Elements().Buttons;
    const bool enabled = button->Enabled();
    const int frame = SpeedButtonFrame(FState & kPressed, FState & kHot, enabled, button->Down());
    const RECT at{0, 0, r.right - r.left, r.bottom - r.top};
    DrawElementToBuffer(at, element, KeyedIf(element.Trans == 1), {std::max(element.FrameCount, 1), frame});
    HDC sdc = ScratchBitmap().Canvas();
    if (!sdc) return;
    {
        GdiSelect font(sdc, button->Font()->Handle());
        const std::wstring caption = Widen(button->Caption());
        const int count = button->NumGlyphs() % 128;
        if (!button->Glyph().Empty() && count > 0) {
            DrawGlyphAndCaption(sdc, at, button->Glyph(), button->NumGlyphs(), SpeedButtonGlyph(frame, count),
                                button->Layout(), button->Margin(), button->Spacing(), caption,
                                ColorToRGB(CaptionColour(frame, enabled)), true);
        } else {
            DrawCaption(sdc, at, DT_CENTER, enabled, caption, CaptionColour(frame, enabled));
        }
    }
    BitBlt(dc, r.left, r.top, at.right, at.bottom, sdc, 0, 0, SRCCOPY);
}

}  // namespace srt

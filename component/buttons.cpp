#include "component/buttons.h"

#include <algorithm>

#include "component/wstr.h"

namespace {

const std::vector<std::string> kLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

// Stored as given: a count of 0 shows no glyph.
std::int32_t GlyphCount(std::int32_t v) { return v < 0 ? 0 : v; }

}  // namespace

// ---- check boxes ---------------------------------------------------------------

SRT_DEFINE_CLASS(TCheckBox, TButtonControl, {
    b.Enum("Alignment", "TLeftRight", {"taLeftJustify", "taRightJustify"}, &TCheckBox::Alignment,
           &TCheckBox::SetAlignment, taRightJustify);
    b.Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false);
    b.String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption);
    b.Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false);
    b.Enum("State", "TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}, &TCheckBox::State,
           &TCheckBox::SetState, cbUnchecked);
    b.Event("OnClick", &TCheckBox::OnClick);
})

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

TCheckBoxState TCheckBox::State() const {
    if (!HandleAllocated()) return state_;
    const auto w = const_cast<TCheckBox*>(this)->Handle();
    const LRESULT r = SendMessageW(w, BM_GETCHECK, 0, 0);
    return r == BST_CHECKED ? cbChecked : r == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCheckBox::SetState(TCheckBoxState v) {
    if (v == cbGrayed && !allowGrayed_) SetAllowGrayed(true);
    state_ = v;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, v == cbChecked ? BST_CHECKED : v == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED, 0);
}

void TCheckBox::SetAllowGrayed(bool v) {
    allowGrayed_ = v;
    UpdateStyle();
}

void TCheckBox::SetAlignment(TAlignment v) {
    alignment_ = v;
    UpdateStyle();
}

DWORD TCheckBox::ButtonStyle() const {
    return (allowGrayed_ ? BS_AUTO3STATE : BS_AUTOCHECKBOX) | (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCheckBox::UpdateStyle() {
    if (!HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(BS_TYPEMASK | BS_LEFTTEXT);
    SetWindowLongPtrW(Handle(), GWL_STYLE, style | static_cast<LONG_PTR>(ButtonStyle()));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    p.WinClassName = L"BUTTON";
    p.Style |= ButtonStyle();
}

void TCheckBox::InitWnd() {
    TButtonControl::InitWnd();
    SetState(state_);
}

void TCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        state_ = State();
        Click();
        m.Result = 0;
        return;
    }
    TButtonControl::WndProc(m);
}

// ---- radio buttons -------------------------------------------------------------

SRT_DEFINE_CLASS(TRadioButton, TButtonControl, {
    b.String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption);
    b.Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
    b.Event("OnClick", &TRadioButton::OnClick);
})

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

bool TRadioButton::Checked() const {
    if (!HandleAllocated()) return checked_;
    return SendMessageW(const_cast<TRadioButton*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool v) {
    checked_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    p.WinClassName = L"BUTTON";
    p.Style |= BS_AUTORADIOBUTTON;
}

void TRadioButton::InitWnd() {
    TButtonControl::InitWnd();
    SetChecked(checked_);
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        checked_ = Checked();
        Click();
        m.Result = 0;
        return;
    }
    TButtonControl::WndProc(m);
}

// ---- glyphs --------------------------------------------------------------------

int TButtonGlyph::FrameWidth() const { return NumGlyphs > 0 ? Glyph.Width() / NumGlyphs : 0; }

void TButtonGlyph::Draw(HDC dc, const RECT& client, const std::wstring& caption, int frame, bool enabled,
                        bool speedButton) {
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    const int gw = FrameWidth(), gh = gw > 0 ? Glyph.Height() : 0;
    RECT measured = client;
    int tw = 0, th = 0;
    if (!caption.empty()) {
        DrawTextW(dc, caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
        tw = measured.right - measured.left;
        th = measured.bottom - measured.top;
    }
    const TGlyphLayout g = CalcGlyphLayout(cw, ch, gw, gh, tw, th, Layout, Margin, Spacing, speedButton);
    if (gw > 0) {
        HDC src = Glyph.Canvas();
        const int index = (frame < 1 || frame > NumGlyphs ? 1 : frame) - 1;
        if (src)
            TransparentBlt(dc, client.left + g.glyphX, client.top + g.glyphY, gw, gh, src, index * gw, 0, gw, gh,
                           Glyph.Pixel(0, 0));
    }
    if (caption.empty()) return;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT text{client.left + g.textLeft, client.top + g.textTop, client.left + g.textRight, client.top + g.textBottom};
    if (!enabled) {
        // Embossed, as the system draws disabled text.
        OffsetRect(&text, 1, 1);
        const COLORREF old = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOCLIP);
        OffsetRect(&text, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOCLIP);
        SetTextColor(dc, old);
    } else {
        DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOCLIP);
    }
    SetBkMode(dc, oldMode);
}

// ---- bitmap buttons ------------------------------------------------------------

SRT_DEFINE_CLASS(TBitBtn, TButton, {
    b.Enum("Layout", "TButtonLayout", kLayoutNames, &TBitBtn::Layout, &TBitBtn::SetLayout, blGlyphLeft);
    b.Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, -1);
    b.Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1);
    b.Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4);
})

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetNumGlyphs(std::int32_t v) {
    glyph_.NumGlyphs = GlyphCount(v);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout v) {
    glyph_.Layout = v;
    Invalidate();
}

void TBitBtn::SetMargin(std::int32_t v) {
    glyph_.Margin = v;
    Invalidate();
}

void TBitBtn::SetSpacing(std::int32_t v) {
    glyph_.Spacing = v;
    Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
    if (m.Msg != CN_BASE + WM_DRAWITEM) return TButton::WndProc(m);
    const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    const bool down = (d.itemState & ODS_SELECTED) != 0, disabled = (d.itemState & ODS_DISABLED) != 0;
    RECT r = d.rcItem;
    DrawFrameControl(d.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    RECT face = d.rcItem;
    if (down) OffsetRect(&face, 1, 1);
    const int saved = SaveDC(d.hDC);
    SelectObject(d.hDC, Font()->Handle());
    SetTextColor(d.hDC, ColorToRGB(Font()->Color()));
    glyph_.Draw(d.hDC, face, GetTextW(), disabled ? 2 : down ? 3 : 1, !disabled, false);
    RestoreDC(d.hDC, saved);
    if (d.itemState & ODS_FOCUS) {
        RECT focus = d.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(d.hDC, &focus);
    }
    m.Result = TRUE;
}

// ---- speed buttons -------------------------------------------------------------

SRT_DEFINE_CLASS(TSpeedButton, TGraphicControl, {
    b.Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false);
    b.String("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
    b.Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false);
    b.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false);
    b.Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0);
    b.Enum("Layout", "TButtonLayout", kLayoutNames, &TSpeedButton::Layout, &TSpeedButton::SetLayout, blGlyphLeft);
    b.Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin, -1);
    b.Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1);
    b.Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing, 4);
    b.Event("OnClick", &TSpeedButton::OnClick);
})

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetNumGlyphs(std::int32_t v) {
    glyph_.NumGlyphs = GlyphCount(v);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
    glyph_.Layout = v;
    Invalidate();
}

void TSpeedButton::SetMargin(std::int32_t v) {
    glyph_.Margin = v;
    Invalidate();
}

void TSpeedButton::SetSpacing(std::int32_t v) {
    glyph_.Spacing = v;
    Invalidate();
}

void TSpeedButton::SetFlat(bool v) {
    flat_ = v;
    Invalidate();
}

void TSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    down_ = v;
    if (v && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* other = dyncast<TSpeedButton>(Parent()->Controls(i));
                other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
                other->down_ = false;
                other->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::Click() {
    if (groupIndex_ != 0) {
        if (!down_)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
    }
    TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        Invalidate();
        m.Result = 0;
        return;
    case WM_LBUTTONUP:
        if (!pressed_) {
            m.Result = 0;
            return;
        }
        pressed_ = false;
        Invalidate();
        break;  // the click, over the button only
    case CM_MOUSEENTER:
        hot_ = true;
        if (flat_) Invalidate();
        break;
    case CM_MOUSELEAVE:
        hot_ = false;
        if (flat_) Invalidate();
        break;
    default: break;
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    RECT r = ClientRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const bool sunk = pressed_ || down_;
    if (sunk)
        DrawEdge(dc, &r, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else if (!flat_ || hot_)
        DrawEdge(dc, &r, flat_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    if (sunk) OffsetRect(&r, 1, 1);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    const int frame = !Enabled() ? 2 : down_ ? (glyph_.NumGlyphs >= 4 ? 4 : 3) : pressed_ ? 3 : 1;
    glyph_.Draw(dc, r, Widen(Caption()), frame, Enabled(), true);
}

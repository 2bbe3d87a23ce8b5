#include "component/stdctrls.h"

#include "component/wstr.h"

// ---- buttons -------------------------------------------------------------------

SRT_DEFINE_CLASS(TButtonControl, TWinControl, )

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

SRT_DEFINE_CLASS(TButton, TButtonControl, {
    b.String("Caption", &TButton::Caption, &TButton::SetCaption);
    b.Boolean("Default", &TButton::Default, &TButton::SetDefault, false);
    b.Event("OnClick", &TButton::OnClick);
})

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = L"BUTTON";
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        m.Result = 0;
        return;
    }
    TButtonControl::WndProc(m);
}

// ---- edit boxes ----------------------------------------------------------------

SRT_DEFINE_CLASS(TCustomEdit, TWinControl, {
    b.Enum("BorderStyle", "TBorderStyle", {"bsNone", "bsSingle"}, &TCustomEdit::BorderStyle,
           &TCustomEdit::SetBorderStyle, bsSingle);
    b.Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0);
    b.Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false);
    b.Event("OnChange", &TCustomEdit::OnChange);
})

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetMaxLength(std::int32_t v) {
    maxLength_ = v < 0 ? 0 : v;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = L"EDIT";
    p.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) p.Style |= ES_READONLY;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitWnd() {
    TWinControl::InitWnd();
    // 0 lifts the control's default limit of 32767 characters.
    SendMessageW(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (!Creating()) OnChange(this);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

SRT_DEFINE_CLASS(TEdit, TCustomEdit, {
    b.String("Text", &TEdit::GetText, &TEdit::SetText);
    b.Event("OnClick", &TEdit::OnClick);
})

// ---- memos ---------------------------------------------------------------------

SRT_DEFINE_CLASS(TMemoStrings, TStrings, )

int TMemoStrings::Count() const { return static_cast<int>(SplitCRLF(memo_.GetText()).size()); }

std::string TMemoStrings::Get(int index) const { return SplitCRLF(memo_.GetText()).at(index); }

void TMemoStrings::Clear() { memo_.SetText({}); }

void TMemoStrings::Add(const std::string& line) {
    std::string text = memo_.GetText();
    if (!text.empty() && !(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)) text += "\r\n";
    memo_.SetText(text + line);
}

std::string TMemoStrings::Text() const { return memo_.GetText(); }

void TMemoStrings::SetText(std::string_view text) { memo_.SetText(std::string(text)); }

SRT_DEFINE_CLASS(TCustomMemo, TCustomEdit, {
    b.Object("Lines", &TCustomMemo::Lines);
    b.Enum("ScrollBars", "TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
           &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone);
    b.Boolean("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true);
    b.Boolean("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true);
})

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(*this) { SetBounds(0, 0, 185, 89); }

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (wantReturns_) p.Style |= ES_WANTRETURN;
    if (!wordWrap_ || scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
}

SRT_DEFINE_CLASS(TMemo, TCustomMemo, )

// ---- labels --------------------------------------------------------------------

SRT_DEFINE_CLASS(TLabel, TGraphicControl, {
    b.Enum("Alignment", "TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TLabel::Alignment,
           &TLabel::SetAlignment, taLeftJustify);
    b.String("Caption", &TLabel::Caption, &TLabel::SetCaption);
    b.Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
    b.Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    b.Event("OnClick", &TLabel::OnClick);
})

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

// What shows through a transparent label: its parent's background and the
// graphic controls painted before it. Smoothed text blends with the pixels
// beneath, so a paint without them (one whose background was not erased)
// would draw the text over itself and thicken its edges.
void TLabel::PaintBeneath(HDC dc) const {
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) return;
    const RECT mine = BoundsRect();
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, origin.x - mine.left, origin.y - mine.top, nullptr);
    SendMessageW(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
    for (int i = 0; i < parent->ControlCount() && parent->Controls(i) != this; ++i) {
        TControl* below = parent->Controls(i);
        RECT r = below->BoundsRect(), meet;
        if (!below->Visible() || !below->Is<TGraphicControl>() || !IntersectRect(&meet, &r, &mine)) continue;
        const int state = SaveDC(dc);
        SetViewportOrgEx(dc, origin.x + r.left - mine.left, origin.y + r.top - mine.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        below->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, state);
    }
}

void TLabel::Paint(TCanvas& canvas) {
    RECT r = ClientRect();
    if (transparent_)
        PaintBeneath(canvas.Handle());
    else
        canvas.FillRect(r, Color());
    UINT format = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    format |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    canvas.TextRect(Caption(), r, format, Enabled() ? Font()->Color() : static_cast<TColor>(0xFF000011));
}

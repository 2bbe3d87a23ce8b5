#include "component/groups.h"

#include <algorithm>

#include "component/wstr.h"

// ---- group boxes ---------------------------------------------------------------

SRT_DEFINE_CLASS(TGroupBox, TWinControl, {
    b.String("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
})

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = L"BUTTON";
    p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TGroupBox::WndProc(TMessage& m) {
    // The class paints only its frame and caption: the inside is ours.
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush().Handle());
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- panels --------------------------------------------------------------------

SRT_DEFINE_CLASS(TPanel, TWinControl, {
    b.Enum("BevelOuter", "TBevelCut", {"bvNone", "bvLowered", "bvRaised"}, &TPanel::BevelOuter,
           &TPanel::SetBevelOuter, bvRaised);
    b.Enum("BorderStyle", "TBorderStyle", {"bsNone", "bsSingle"}, &TPanel::BorderStyle, &TPanel::SetBorderStyle,
           bsNone);
    b.String("Caption", &TPanel::Caption, &TPanel::SetCaption);
    b.Boolean("Transparent", &TPanel::Transparent, &TPanel::SetTransparent, false);
})

TPanel::TPanel(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut v) {
    bevelOuter_ = v;
    Invalidate();
}

void TPanel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TPanel::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.OwnClass = true;
    p.WinClassName = L"TPanel";
    p.Style |= WS_CLIPCHILDREN;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TPanel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;  // painted with the rest
        return;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
        RECT r;
        GetClientRect(Handle(), &r);
        if (!transparent_) FillRect(dc, &r, ColorBrush().Handle());
        if (bevelOuter_ != bvNone) DrawEdge(dc, &r, bevelOuter_ == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        const std::wstring text = GetTextW();
        if (!text.empty()) {
            const int saved = SaveDC(dc);
            SelectObject(dc, Font()->Handle());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, Enabled() ? ColorToRGB(Font()->Color()) : GetSysColor(COLOR_GRAYTEXT));
            DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            RestoreDC(dc, saved);
        }
        PaintControls(dc, r);
        if (!m.WParam) EndPaint(Handle(), &ps);
        m.Result = 0;
        return;
    }
    default: TWinControl::WndProc(m);
    }
}

// ---- button groups -------------------------------------------------------------

SRT_DEFINE_CLASS(TCustomButtonGroup, TGroupBox, {
    b.Integer("Columns", &TCustomButtonGroup::Columns, &TCustomButtonGroup::SetColumns, 1);
})

TCustomButtonGroup::TCustomButtonGroup(TComponent* owner) : TGroupBox(owner) {}

void TCustomButtonGroup::SetItems(const std::vector<std::string>& captions) {
    for (TButtonControl* b : buttons_) delete b;
    buttons_.clear();
    items_.Clear();
    for (const std::string& caption : captions) {
        items_.Add(caption);
        TButtonControl* b = NewButton();
        b->SetCaption(caption);
        b->SetParent(this);
        buttons_.push_back(b);
    }
    Arrange();
}

void TCustomButtonGroup::SetColumns(std::int32_t v) {
    columns_ = std::clamp(v, 1, 16);
    Arrange();
}

void TCustomButtonGroup::SetBounds(int left, int top, int width, int height) {
    TGroupBox::SetBounds(left, top, width, height);
    Arrange();
}

// Rows share the room below the caption; columns share the width. The
// margins and the most a row takes are at the group's DPI; the buttons'
// own scaling (before the group's) is overruled.
void TCustomButtonGroup::Arrange() {
    if (buttons_.empty()) return;
    const int dpi = LayoutDpi();
    const auto px = [dpi](int designed) { return srt::ScaleToDpi(designed, dpi); };
    const int n = static_cast<int>(buttons_.size());
    const int rows = (n + columns_ - 1) / columns_;
    const int top = px(16), inner = std::max(Height() - top - px(4), rows);
    const int rowHeight = inner / rows, columnWidth = std::max((Width() - px(16)) / columns_, 1);
    for (int i = 0; i < n; ++i) {
        const int row = i % rows, column = i / rows;
        const int h = std::min(rowHeight, px(20));
        buttons_[static_cast<std::size_t>(i)]->SetBounds(px(8) + column * columnWidth,
                                                         top + row * rowHeight + (rowHeight - h) / 2,
                                                         columnWidth - px(4), h);
    }
}

SRT_DEFINE_CLASS(TRadioGroup, TCustomButtonGroup, {
    b.Integer("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex, -1);
    b.Event("OnClick", &TRadioGroup::OnClick);
})

std::int32_t TRadioGroup::ItemIndex() const {
    for (int i = 0; i < ButtonCount(); ++i)
        if (static_cast<TRadioButton*>(Buttons(i))->Checked()) return i;
    return -1;
}

void TRadioGroup::SetItemIndex(std::int32_t v) {
    for (int i = 0; i < ButtonCount(); ++i) static_cast<TRadioButton*>(Buttons(i))->SetChecked(i == v);
}

TButtonControl* TRadioGroup::NewButton() {
    auto* b = new TRadioButton(this);
    b->OnClick.Code = [this](TObject*) { OnClick(this); };
    return b;
}

SRT_DEFINE_CLASS(TCheckGroup, TCustomButtonGroup, )

bool TCheckGroup::Checked(int index) const {
    return index >= 0 && index < ButtonCount() && static_cast<TCheckBox*>(Buttons(index))->Checked();
}

void TCheckGroup::SetChecked(int index, bool v) {
    if (index >= 0 && index < ButtonCount()) static_cast<TCheckBox*>(Buttons(index))->SetChecked(v);
}

TButtonControl* TCheckGroup::NewButton() { return new TCheckBox(this); }

#include "component/pickers.h"

#include <commctrl.h>

#include <algorithm>

#include "component/dpi.h"
#include "component/wstr.h"

// ---- combo boxes ---------------------------------------------------------------

SRT_DEFINE_CLASS(TComboBox, TWinControl, {
    b.Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex, -1);
    b.Enum("Style", "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"}, &TComboBox::Style,
           &TComboBox::SetStyle, csDropDown);
    b.String("Text", &TComboBox::GetText, &TComboBox::SetText);
    b.Event("OnChange", &TComboBox::OnChange);
})

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    items_ = items;
    itemIndex_ = -1;
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items_) SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

std::int32_t TComboBox::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    return static_cast<std::int32_t>(SendMessageW(const_cast<TComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(std::int32_t v) {
    itemIndex_ = v >= 0 && v < static_cast<std::int32_t>(items_.size()) ? v : -1;
    if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = L"COMBOBOX";
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    p.Style |= style_ == csSimple ? CBS_SIMPLE : style_ == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
    p.Height = WindowHeight();
}

int TComboBox::WindowHeight() const {
    // Room for the list below the closed box, at the layout's DPI.
    return style_ == csSimple ? Height() : std::max(Height(), srt::ScaleToDpi(200, LayoutDpi()));
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, Left(), Top(), Width(), WindowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::InitWnd() {
    TWinControl::InitWnd();
    const std::int32_t index = itemIndex_;
    SetItems(items_);
    SetItemIndex(index);
}

void TComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && (HIWORD(m.WParam) == CBN_SELCHANGE || HIWORD(m.WParam) == CBN_EDITCHANGE)) {
        if (!Creating()) OnChange(this);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- up-down buttons -----------------------------------------------------------

SRT_DEFINE_CLASS(TUpDown, TWinControl, {
    b.Integer("Max", &TUpDown::Max, &TUpDown::SetMax, 100);
    b.Integer("Min", &TUpDown::Min, &TUpDown::SetMin, 0);
    b.Enum("Orientation", "TUDOrientation", {"udHorizontal", "udVertical"}, &TUpDown::Orientation,
           &TUpDown::SetOrientation, udVertical);
    b.Integer("Position", &TUpDown::Position, &TUpDown::SetPosition, 0);
})

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }

void TUpDown::SetMin(std::int32_t v) {
    min_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetMax(std::int32_t v) {
    max_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

std::int32_t TUpDown::Position() const {
    if (!HandleAllocated()) return position_;
    return static_cast<std::int32_t>(SendMessageW(const_cast<TUpDown*>(this)->Handle(), UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(std::int32_t v) {
    position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (HandleAllocated()) SendMessageW(Handle(), UDM_SETPOS32, 0, position_);
}

void TUpDown::SetAssociate(TWinControl* control) {
    associate_ = control;
    if (!HandleAllocated()) return;
    if (control)
        AlignToAssociate();
    else
        SendMessageW(Handle(), UDM_SETBUDDY, 0, 0);
}

void TUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = UPDOWN_CLASSW;
    p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
    if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
}

void TUpDown::InitWnd() {
    TWinControl::InitWnd();
    SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    AlignToAssociate();
    SendMessageW(Handle(), UDM_SETPOS32, 0, position_);
}

void TUpDown::SiblingsScaled() {
    // Both windows took their own scaled bounds, the associate whole.
    if (!HandleAllocated() || !associate_ || !associate_->HandleAllocated()) return;
    const RECT r = associate_->BoundsRect();
    SetWindowPos(associate_->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    AlignToAssociate();
}

// The platform puts the window against the associate's right edge and makes
// the associate narrower. A width of its own choosing (not the one given)
// is of 96 DPI: at another, that width, the narrowing and the overlap are
// scaled to the layout's DPI.
void TUpDown::AlignToAssociate() {
    const HWND buddyWindow = associate_ ? associate_->Handle() : nullptr;
    if (!buddyWindow) return;
    SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddyWindow), 0);
    const int dpi = LayoutDpi();
    const HWND parent = GetParent(Handle());
    if (dpi == srt::kDesignDpi || !parent || GetParent(buddyWindow) != parent) return;
    RECT self, buddy;
    GetWindowRect(Handle(), &self);
    GetWindowRect(buddyWindow, &buddy);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&self), 2);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&buddy), 2);
    const int width = self.right - self.left;
    if (width == Width() || orientation_ == udHorizontal) return;
    const RECT whole = associate_->BoundsRect();
    const int narrowed = (whole.right - whole.left) - (buddy.right - buddy.left);
    const int buddyWidth = (whole.right - whole.left) - srt::ScaleToDpi(narrowed, dpi);
    const int left = buddy.left + buddyWidth - srt::ScaleToDpi(buddy.right - self.left, dpi);
    SetWindowPos(buddyWindow, nullptr, buddy.left, buddy.top, buddyWidth, buddy.bottom - buddy.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Handle(), nullptr, left, self.top, srt::ScaleToDpi(width, dpi), self.bottom - self.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) associate_ = nullptr;
}

// ---- date-time pickers ---------------------------------------------------------

SRT_DEFINE_CLASS(TDateTimePicker, TWinControl, {
    b.Enum("Kind", "TDateTimeKind", {"dtkDate", "dtkTime"}, &TDateTimePicker::Kind, &TDateTimePicker::SetKind, dtkDate);
})

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 186, 21);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = DATETIMEPICK_CLASSW;
    p.Style |= kind_ == dtkTime ? DTS_TIMEFORMAT : DTS_SHORTDATEFORMAT;
}

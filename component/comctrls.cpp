#include "component/comctrls.h"

#include <commctrl.h>

#include <algorithm>

#include "component/dpi.h"
#include "component/gdi.h"
#include "component/wstr.h"

namespace {

void InitClasses(DWORD classes) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
    InitCommonControlsEx(&icc);
}

}  // namespace

// ---- scroll bar ----------------------------------------------------------------

SRT_DEFINE_CLASS(TScrollBar, TWinControl, {
    b.Enum("Kind", "TScrollBarKind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind, &TScrollBar::SetKind,
           sbHorizontal);
    b.Event("OnChange", &TScrollBar::OnChange);
})

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    // The platform's thickness at the 96 DPI a layout is given at (the
    // screen's would be scaled once more with the form).
    SetBounds(0, 0, 121, srt::SystemMetricForDpi(SM_CYHSCROLL, srt::kDesignDpi));
}

std::int32_t TScrollBar::Limit() const { return pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_; }

void TScrollBar::SetParams(std::int32_t position, std::int32_t min, std::int32_t max, std::int32_t pageSize) {
    if (max < min) max = min;
    min_ = min;
    max_ = max;
    pageSize_ = std::clamp(pageSize, 0, max - min + 1);
    const std::int32_t old = position_;
    position_ = std::clamp(position, min_, Limit());
    Apply();
    if (position_ != old) OnChange(this);
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = L"SCROLLBAR";
    p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::InitWnd() {
    TWinControl::InitWnd();
    Apply();
}

void TScrollBar::Apply() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_),
                    position_, 0};
    SendMessageW(Handle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg == CN_BASE + WM_HSCROLL || m.Msg == CN_BASE + WM_VSCROLL) {
        std::int32_t p = position_;
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP: p -= smallChange_; break;
        case SB_LINEDOWN: p += smallChange_; break;
        case SB_PAGEUP: p -= pageSize_ > 0 ? pageSize_ : largeChange_; break;
        case SB_PAGEDOWN: p += pageSize_ > 0 ? pageSize_ : largeChange_; break;
        case SB_TOP: p = min_; break;
        case SB_BOTTOM: p = max_; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 32-bit track position; the message carries 16 bits only.
            SCROLLINFO info{};
            info.cbSize = sizeof(SCROLLINFO);
            info.fMask = SIF_TRACKPOS;
            p = GetScrollInfo(Handle(), SB_CTL, &info) ? info.nTrackPos : HIWORD(m.WParam);
            break;
        }
        default: break;
        }
        if (p != position_) SetPosition(p);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- list view -----------------------------------------------------------------

SRT_DEFINE_CLASS(TListView, TWinControl, )

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 250, 150);
}

void TListView::CreateParams(TCreateParams& p) {
    InitClasses(ICC_LISTVIEW_CLASSES);
    TWinControl::CreateParams(p);
    p.WinClassName = WC_LISTVIEWW;
    p.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::InitWnd() {
    TWinControl::InitWnd();
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) InsertColumn(i);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) InsertItem(i);
}

void TListView::AddColumn(const std::string& caption, int width) {
    columns_.push_back({caption, width});
    if (HandleAllocated()) InsertColumn(static_cast<int>(columns_.size()) - 1);
}

void TListView::AddItem(const std::vector<std::string>& cells) {
    items_.push_back(cells);
    if (HandleAllocated()) InsertItem(static_cast<int>(items_.size()) - 1);
}

int TListView::ColumnWidth(int index) {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, index, 0));
    return columns_[index].width;
}

void TListView::ChangeScale(int to, int from) {
    if (to == from) return;
    TWinControl::ChangeScale(to, from);
    // From the window's widths, which the user may have dragged.
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
        columns_[i].width = srt::RescaleDpi(ColumnWidth(i), from, to);
        if (HandleAllocated()) SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, MAKELPARAM(columns_[i].width, 0));
    }
}

void TListView::InsertColumn(int index) {
    std::wstring text = Widen(columns_[index].caption);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    c.cx = columns_[index].width;
    c.pszText = text.data();
    c.iSubItem = index;
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&c));
}

void TListView::InsertItem(int index) {
    const auto& cells = items_[index];
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        std::wstring text = Widen(cells[i]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.iSubItem = i;
        item.pszText = text.data();
        SendMessageW(Handle(), i == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    }
}

// ---- tab control ---------------------------------------------------------------

namespace {

// The platform's tab metrics at 96 DPI: the room left and right of a
// caption, above and below it, and the least width of a tab.
constexpr int kTabPaddingX = 6, kTabPaddingY = 3, kMinTabWidth = 54;

}  // namespace

SRT_DEFINE_CLASS(TTabControl, TWinControl, {
    b.Enum("TabPosition", "TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}, &TTabControl::TabPosition,
           &TTabControl::SetTabPosition, tpTop);
    b.Boolean("MultiLine", &TTabControl::MultiLine, &TTabControl::SetMultiLine, false);
    b.Integer("TabWidth", &TTabControl::TabWidth, &TTabControl::SetTabWidth, 0);
    b.Integer("TabHeight", &TTabControl::TabHeight, &TTabControl::SetTabHeight, 0);
    b.Event("OnChange", &TTabControl::OnChange);
})

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TTabControl::CreateParams(TCreateParams& p) {
    InitClasses(ICC_TAB_CLASSES);
    TWinControl::CreateParams(p);
    p.WinClassName = WC_TABCONTROLW;
    p.Style |= WS_CLIPCHILDREN;
    // Tabs at the side need several rows: the control has no scroll arrows there.
    if (multiLine_ || position_ == tpLeft || position_ == tpRight) p.Style |= TCS_MULTILINE;
    if (position_ == tpBottom) p.Style |= TCS_BOTTOM;
    if (position_ == tpLeft) p.Style |= TCS_VERTICAL;
    if (position_ == tpRight) p.Style |= TCS_VERTICAL | TCS_RIGHT;
    if (tabWidth_ > 0) p.Style |= TCS_FIXEDWIDTH;
}

void TTabControl::InitWnd() {
    TWinControl::InitWnd();
    ApplyTabMetrics(false);
    for (int i = 0; i < tabs_.Count(); ++i) {
        std::wstring text = Widen(tabs_.Get(i));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Handle(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(Handle(), TCM_SETCURSEL, tabIndex_, 0);
}

void TTabControl::ApplyTabMetrics(bool always) {
    if (!HandleAllocated()) return;
    const HWND h = Handle();
    const int dpi = LayoutDpi();
    SendMessageW(h, TCM_SETPADDING, 0,
                 MAKELPARAM(srt::ScaleToDpi(kTabPaddingX, dpi), srt::ScaleToDpi(kTabPaddingY, dpi)));
    // A size of 0 is the platform's own; it is sent only to undo one set before.
    if (always || tabWidth_ > 0 || tabHeight_ > 0)
        SendMessageW(h, TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth_, tabHeight_));
    // Lays the tabs out again, with the padding too.
    SendMessageW(h, TCM_SETMINTABWIDTH, 0, srt::ScaleToDpi(kMinTabWidth, dpi));
}

void TTabControl::SetTabWidth(std::int32_t v) {
    v = std::max(v, 0);
    if (v == tabWidth_) return;
    tabWidth_ = v;
    if (!HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE), fixed = TCS_FIXEDWIDTH;
    SetWindowLongPtrW(Handle(), GWL_STYLE, v > 0 ? style | fixed : style & ~fixed);
    ApplyTabMetrics(true);
    Invalidate();
}

void TTabControl::SetTabHeight(std::int32_t v) {
    v = std::max(v, 0);
    if (v == tabHeight_) return;
    tabHeight_ = v;
    ApplyTabMetrics(true);
    Invalidate();
}

void TTabControl::ChangeScale(int to, int from) {
    if (to == from) return;
    tabWidth_ = srt::RescaleDpi(tabWidth_, from, to);
    tabHeight_ = srt::RescaleDpi(tabHeight_, from, to);
    TWinControl::ChangeScale(to, from);
    ApplyTabMetrics(false);
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
    tabs_.SetLines(tabs);
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
    InitWnd();
}

std::int32_t TTabControl::TabIndex() const {
    if (!HandleAllocated()) return tabIndex_;
    return static_cast<std::int32_t>(SendMessageW(const_cast<TTabControl*>(this)->Handle(), TCM_GETCURSEL, 0, 0));
}

void TTabControl::SetTabIndex(std::int32_t v) {
    tabIndex_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, v, 0);
}

RECT TTabControl::DisplayRect() {
    RECT r = ClientRect();
    if (HandleAllocated()) SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TTabControl::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
        tabIndex_ = static_cast<std::int32_t>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
        OnChange(this);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- tab set -------------------------------------------------------------------

namespace {

// The room around a tab set's caption at 96 DPI.
constexpr int kTabSetPadding = 9;

}  // namespace

SRT_DEFINE_CLASS(TTabSet, TWinControl, {
    b.Integer("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin, 5);
    b.Integer("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin, 5);
    b.Event("OnChange", &TTabSet::OnChange);
})

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 185, 21);
}

void TTabSet::CreateParams(TCreateParams& p) {
    InitClasses(ICC_UPDOWN_CLASS);
    TWinControl::CreateParams(p);
    p.WinClassName = L"TTabSet";
    p.OwnClass = true;
    p.Style |= WS_CLIPCHILDREN;
    p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TTabSet::InitWnd() {
    TWinControl::InitWnd();
    const RECT r = ScrollerRect();
    scroller_ = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | UDS_HORZ, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateScroller();
}

void TTabSet::SetTabs(const std::vector<std::string>& tabs) {
    tabs_.SetLines(tabs);
    tabIndex_ = tabs.empty() ? -1 : std::clamp(tabIndex_, 0, static_cast<int>(tabs.size()) - 1);
    firstIndex_ = std::clamp(firstIndex_, 0, std::max(0, static_cast<int>(tabs.size()) - 1));
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetTabIndex(std::int32_t v) {
    if (v < -1 || v >= tabs_.Count() || v == tabIndex_) return;
    tabIndex_ = v;
    Invalidate();
    OnChange(this);
}

void TTabSet::SetFirstIndex(std::int32_t v) {
    v = std::clamp(v, 0, std::max(0, tabs_.Count() - 1));
    if (v == firstIndex_) return;
    firstIndex_ = v;
    UpdateScroller();
    Invalidate();
}

void TTabSet::ChangeScale(int to, int from) {
    if (to == from) return;
    startMargin_ = srt::RescaleDpi(startMargin_, from, to);
    endMargin_ = srt::RescaleDpi(endMargin_, from, to);
    TWinControl::ChangeScale(to, from);
    // The font may have changed after the size did.
    UpdateScroller();
    Invalidate();
}

int TTabSet::TabWidth(HDC dc, int index) {
    const std::wstring text = Widen(tabs_.Get(index));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx + srt::ScaleToDpi(kTabSetPadding, LayoutDpi());
}

int TTabSet::TabWidth(int index) {
    if (index < 0 || index >= tabs_.Count()) return 0;
    HDC dc = HandleAllocated() ? GetDC(Handle()) : nullptr;
    if (!dc) return srt::ScaleToDpi(kTabSetPadding, LayoutDpi());
    int w;
    {
        GdiSelect font(dc, Font()->Handle());
        w = TabWidth(dc, index);
    }
    ReleaseDC(Handle(), dc);
    return w;
}

std::vector<TTabSet::TTab> TTabSet::VisibleTabs() {
    std::vector<TTab> shown;
    HDC dc = HandleAllocated() ? GetDC(Handle()) : nullptr;
    if (!dc) return shown;
    {
        GdiSelect font(dc, Font()->Handle());
        const RECT r = ClientRect();
        const int limit = r.right - endMargin_;
        int left = startMargin_;
        for (int i = std::max(0, firstIndex_); i < tabs_.Count(); ++i) {
            const int w = TabWidth(dc, i);
            if (left + w > limit) continue;  // the next, shorter one may still fit here
            shown.push_back({i, RECT{left, r.top, left + w, r.bottom}});
            left += w;
        }
    }
    ReleaseDC(Handle(), dc);
    return shown;
}

int TTabSet::TabAt(int x) {
    for (const TTab& tab : VisibleTabs())
        if (x >= tab.Bounds.left && x < tab.Bounds.right) return tab.Index;
    return -1;
}

RECT TTabSet::ScrollerRect() const {
    // Two squares side by side, a pixel in from the top and the bottom.
    const RECT r = ClientRect();
    const int h = std::max(0, static_cast<int>(r.bottom - r.top) - 2), w = 2 * h;
    return {r.right - w, r.top + 1, r.right, r.top + 1 + h};
}

void TTabSet::UpdateScroller() {
    if (!scroller_) return;
    int total = startMargin_ + endMargin_;
    for (int i = 0; i < tabs_.Count(); ++i) total += TabWidth(i);
    const bool show = total > Width() || firstIndex_ > 0;
    const RECT r = ScrollerRect();
    SetWindowPos(scroller_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(scroller_, UDM_SETRANGE32, 0, std::max(0, tabs_.Count() - 1));
    SendMessageW(scroller_, UDM_SETPOS32, 0, firstIndex_);
    ShowWindow(scroller_, show ? SW_SHOWNA : SW_HIDE);
}

void TTabSet::Paint(HDC dc) {
    RECT r = ClientRect();
    GdiBrush face(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, face.Get());
    GdiPen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    GdiPen dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
    GdiSelect font(dc, Font()->Handle());
    GdiSelect pen(dc, dark);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, r.right, 0);
    for (const TTab& shown : VisibleTabs()) {
        const int i = shown.Index;
        RECT tab{shown.Bounds.left, i == tabIndex_ ? 0 : 2, shown.Bounds.right, r.bottom - 2};
        if (i == tabIndex_) {
            GdiBrush white(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
            FillRect(dc, &tab, white.Get());
        }
        MoveToEx(dc, tab.left, tab.top, nullptr);
        LineTo(dc, tab.left, tab.bottom);
        LineTo(dc, tab.right, tab.bottom);
        LineTo(dc, tab.right, tab.top - 1);
        const std::wstring text = Widen(tabs_.Get(i));
        DrawTextW(dc, text.c_str(), -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TTabSet::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        if (m.WParam) {
            Paint(reinterpret_cast<HDC>(m.WParam));
        } else {
            PaintDC paint(Handle());
            if (paint) Paint(paint.Get());
        }
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_LBUTTONDOWN: {
        const int i = TabAt(static_cast<short>(LOWORD(m.LParam)));
        if (i >= 0) SetTabIndex(i);
        if (CanFocus()) SetFocus();
        break;
    }
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(m.LParam) == scroller_ && scroller_) {
            if (LOWORD(m.WParam) == SB_THUMBPOSITION) SetFirstIndex(static_cast<short>(HIWORD(m.WParam)));
            m.Result = 0;
            return;
        }
        break;
    case WM_SIZE: UpdateScroller(); break;
    default: break;
    }
    TWinControl::WndProc(m);
}

// ---- status bar ----------------------------------------------------------------

SRT_DEFINE_CLASS(TStatusBar, TWinControl, {
    b.Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false);
    b.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    b.Boolean("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip, true);
})

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 200, 19); }

void TStatusBar::CreateParams(TCreateParams& p) {
    InitClasses(ICC_BAR_CLASSES);
    TWinControl::CreateParams(p);
    p.WinClassName = STATUSCLASSNAMEW;
    p.Style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (sizeGrip_) p.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::InitWnd() {
    TWinControl::InitWnd();
    Apply();
}

void TStatusBar::SetPanels(std::vector<TStatusPanel> panels) {
    panels_ = std::move(panels);
    Apply();
}

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    Apply();
}

void TStatusBar::SetSimpleText(const std::string& v) {
    simpleText_ = v;
    Apply();
}

void TStatusBar::ChangeScale(int to, int from) {
    if (to == from) return;
    // The edges rather than the widths: rounding each width would move the
    // later edges by the sum of the roundings.
    int edge = 0, scaledEdge = 0;
    for (TStatusPanel& p : panels_) {
        edge += p.Width;
        const int next = srt::RescaleDpi(edge, from, to);
        p.Width = next - scaledEdge;
        scaledEdge = next;
    }
    TWinControl::ChangeScale(to, from);
    if (HandleAllocated()) {
        ApplyParts(false);
        Invalidate();
    }
}

void TStatusBar::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    if (m.Msg == WM_SIZE && HandleAllocated()) ApplyParts(true);
}

void TStatusBar::ApplyParts(bool resized) {
    if (panels_.empty()) return;
    std::vector<int> edges;
    int x = 0;
    for (const TStatusPanel& p : panels_) edges.push_back(x += p.Width);
    const auto send = [&] {
        SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    };
    // The control lays its parts out on its own resize only when it sizes
    // itself (not with CCS_NORESIZE), and on SB_SETPARTS only when an edge
    // changed: after a resize the last panel is first told to end at the new
    // right end, then to reach it, or it keeps the old one.
    if (resized) {
        edges.back() = ClientRect().right;
        send();
    }
    edges.back() = -1;
    send();
}

void TStatusBar::Apply() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    ApplyParts(false);
    for (size_t i = 0; i < panels_.size(); ++i) {
        const TStatusPanel& p = panels_[i];
        std::wstring text = Widen(p.Text);
        if (p.Alignment == taCenter) text = L"\t" + text;
        if (p.Alignment == taRightJustify) text = L"\t\t" + text;
        const WPARAM flags = p.Bevel == pbNone ? SBT_NOBORDERS : p.Bevel == pbRaised ? SBT_POPOUT : 0;
        SendMessageW(h, SB_SETTEXTW, i | flags | (p.BiDiMode == bdRightToLeft ? SBT_RTLREADING : 0),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    const bool simple = simplePanel_ || panels_.empty();
    SendMessageW(h, SB_SIMPLE, simple, 0);
    if (simple) {
        const std::wstring text = Widen(simpleText_);
        SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    }
    Invalidate();
}

// ---- progress bar --------------------------------------------------------------

SRT_DEFINE_CLASS(TProgressBar, TWinControl, {
    b.Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0);
    b.Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth, false);
})

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& p) {
    InitClasses(ICC_PROGRESS_CLASS);
    TWinControl::CreateParams(p);
    p.WinClassName = PROGRESS_CLASSW;
    if (orientation_ == pbVertical) p.Style |= PBS_VERTICAL;
    if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::InitWnd() {
    TWinControl::InitWnd();
    SendMessageW(Handle(), PBM_SETRANGE32, min_, max_);
    SendMessageW(Handle(), PBM_SETPOS, position_, 0);
}

void TProgressBar::SetRange(std::int32_t min, std::int32_t max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETRANGE32, min_, max_);
}

void TProgressBar::SetPosition(std::int32_t v) {
    position_ = std::clamp(v, min_, max_);
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETPOS, position_, 0);
}

// ---- track bar -----------------------------------------------------------------

SRT_DEFINE_CLASS(TTrackBar, TWinControl, {
    b.Enum("Orientation", "TTrackBarOrientation", {"trHorizontal", "trVertical"}, &TTrackBar::Orientation,
           &TTrackBar::SetOrientation, trHorizontal);
    b.Event("OnChange", &TTrackBar::OnChange);
})

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& p) {
    InitClasses(ICC_BAR_CLASSES);
    TWinControl::CreateParams(p);
    p.WinClassName = TRACKBAR_CLASSW;
    p.Style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::InitWnd() {
    TWinControl::InitWnd();
    SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(Handle(), TBM_SETTICFREQ, frequency_, 0);
    SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

std::int32_t TTrackBar::Position() const { return position_; }

void TTrackBar::SetRange(std::int32_t min, std::int32_t max) {
    min_ = min;
    max_ = std::max(min, max);
    if (HandleAllocated()) {
        SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
        SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, max_);
    }
    SetPosition(position_);
}

void TTrackBar::SetPosition(std::int32_t v) {
    v = std::clamp(v, min_, max_);
    const bool changed = v != position_;
    position_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPOS, TRUE, v);
    if (changed) OnChange(this);
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_BASE + WM_HSCROLL || m.Msg == CN_BASE + WM_VSCROLL) {
        const auto p = static_cast<std::int32_t>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
        if (p != position_) {
            position_ = p;
            OnChange(this);
        }
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void RegisterCommonControlClasses(TClassRegistry& classes) {
    classes.Register<TScrollBar, TListView, TTabControl, TTabSet, TStatusBar, TProgressBar, TTrackBar>();
}

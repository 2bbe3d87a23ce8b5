#include "component/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "component/dpi.h"
#include "component/wstr.h"

namespace {
// The window property that leads from a window to its control.
constexpr wchar_t kControlProp[] = L"SrtRetime.Control";

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL; }
}  // namespace

// ---- TControl ------------------------------------------------------------------

SRT_DEFINE_CLASS(TControl, TComponent, {
    b.Integer("Left", &TControl::Left, &TControl::SetLeft);
    b.Integer("Top", &TControl::Top, &TControl::SetTop);
    b.Integer("Width", &TControl::Width, &TControl::SetWidth).IsStored = [](const TObject& o) {
        return static_cast<const TControl&>(o).StoresSize();
    };
    b.Integer("Height", &TControl::Height, &TControl::SetHeight).IsStored = [](const TObject& o) {
        return static_cast<const TControl&>(o).StoresSize();
    };
    b.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
    b.Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true);
    b.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
    b.Integer("Color", &TControl::Color, &TControl::SetColor).IsStored = [](const TObject& o) {
        return !static_cast<const TControl&>(o).ParentColor();
    };
    b.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
    b.Object("Font", &TControl::Font).IsStored = [](const TObject& o) {
        return !static_cast<const TControl&>(o).ParentFont();
    };
    b.String("Hint", &TControl::Hint, &TControl::SetHint);
    b.Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
})

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this] {
        if (!fontSync_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    if (parent_) {
        ParentFontChanged();
        ParentColorChanged();
        Invalidate();
    }
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dyncast<TWinControl>(parent)) SetParent(w);
}

TComponent* TControl::ParentComponent() const { return parent_; }

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    Invalidate();
}

void TControl::ChangeScale(int to, int from) {
    if (to == from) return;
    layoutDpi_ = to;
    ScaleFont(to, from);
    RECT source = BoundsRect();
    const RECT current = source;
    if (scaleOrigin_.dpi > 0 && EqualRect(&scaleOrigin_.to, &current)) {
        source = scaleOrigin_.from;
        from = scaleOrigin_.dpi;
    }
    const int left = srt::RescaleDpi(source.left, from, to), top = srt::RescaleDpi(source.top, from, to);
    const int width = srt::RescaleDpi(source.right - source.left, from, to);
    const int height = srt::RescaleDpi(source.bottom - source.top, from, to);
    scaleOrigin_ = {from, source, {left, top, left + width, top + height}};
    SetBounds(left, top, width, height);
}

void TControl::ScaleFont(int to, int from) {
    // Zero is the face's default size, which follows the screen by itself.
    if (parentFont_ || font_.Height() == 0) return;
    font_.SetHeight(srt::RescaleDpi(font_.Height(), from, to));
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    // A hidden control must be painted away as well.
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->handle_, &r, TRUE);
    }
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    EnabledChanged();
}

void TControl::EnabledChanged() {
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor v) {
    parentColor_ = false;
    if (v == color_) return;
    color_ = v;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    if (color_ != parent_->color_) {
        color_ = parent_->color_;
        ColorChanged();
    }
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    fontSync_ = true;
    font_.Assign(parent_->font_);
    fontSync_ = false;
}

void TControl::SetText(const std::string& v) {
    if (v == text_) return;
    text_ = v;
    TextChanged();
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
    TMessage m{msg, wparam, lparam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Invalidate() {}

void TControl::Click() { OnClick(this); }

void TControl::WndProc(TMessage& message) { message.Result = 0; }

// ---- TGraphicControl -----------------------------------------------------------

SRT_DEFINE_CLASS(TGraphicControl, TControl, )

void TGraphicControl::Invalidate() {
    if (Parent() && Parent()->HandleAllocated() && Visible()) {
        RECT r = BoundsRect();
        InvalidateRect(Parent()->Handle(), &r, TRUE);
    }
}

void TGraphicControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        TCanvas canvas(reinterpret_cast<HDC>(m.WParam));
        canvas.UseFont(*Font());
        Paint(canvas);
        m.Result = 0;
        return;
    }
    case WM_LBUTTONUP: {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        RECT r = ClientRect();
        if (Enabled() && PtInRect(&r, p)) Click();
        m.Result = 0;
        return;
    }
    default: TControl::WndProc(m);
    }
}

// ---- TWinControl ---------------------------------------------------------------

SRT_DEFINE_CLASS(TWinControl, TControl, {
    b.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
    b.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
    b.Boolean("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, false);
})

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(clBtnFace) {}

TWinControl::~TWinControl() {
    Destroying();
    // Out of the parent first, while the controls inside still say where
    // they are (a form forgets its active control when it goes with us).
    if (Parent()) Parent()->RemoveControl(this);
    for (TControl* c : std::vector<TControl*>(controls_)) c->parent_ = nullptr;
    controls_.clear();
    DestroyHandle();
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = dyncast<TWinControl>(control); w && handle_) w->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    ChildRemoved(control);
    if (control->Is<TGraphicControl>()) control->Invalidate();
    controls_.erase(it);
    control->parent_ = nullptr;
    if (mouseControl_ == control) {
        mouseControl_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    if (hoverControl_ == control) hoverControl_ = nullptr;
}

void TWinControl::ChildRemoved(TControl* control) {
    if (Parent()) Parent()->ChildRemoved(control);
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    TControl::SetParent(parent);
    if (!handle_) return;
    const bool child = (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) != 0;
    if (child && parent && parent->handle_) {
        ::SetParent(handle_, parent->handle_);
        return;
    }
    DestroyHandle();
    if (parent && parent->handle_) HandleNeeded();
}

std::int32_t TWinControl::TabOrder() const { return tabOrder_; }

void TWinControl::SetTabOrder(std::int32_t v) { tabOrder_ = v; }

void TWinControl::SetTabStop(bool v) {
    tabStop_ = v;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        SetWindowLongPtrW(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

HWND TWinControl::Handle() {
    if (!handle_ && !creating_ && !InState(csDestroying)) CreateWnd();
    return handle_;
}

TWinControl* TWinControl::FindControl(HWND window) {
    return window ? static_cast<TWinControl*>(GetPropW(window, kControlProp)) : nullptr;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = Widen(text_);
    p.Style = WS_CLIPSIBLINGS;
    if (Parent()) p.Style |= WS_CHILD;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    if (Parent()) p.WndParent = Parent()->Handle();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    creating_ = true;
    CreateParams(p);
    if (Parent() && !p.WndParent) {
        creating_ = false;
        return;  // the parent could not get a window
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (p.OwnClass) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (!GetClassInfoExW(instance, p.WinClassName.c_str(), &wc)) {
            wc = {};
            wc.cbSize = sizeof(wc);
            wc.style = p.ClassStyle;
            wc.lpfnWndProc = ClassProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.hIcon = LoadIconW(instance, L"MAINICON");
            wc.lpszClassName = p.WinClassName.c_str();
            RegisterClassExW(&wc);
        }
    }
    HMENU id = nullptr;
    if (p.Style & WS_CHILD) {
        auto& siblings = Parent()->controls_;
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(
            100 + (std::find(siblings.begin(), siblings.end(), this) - siblings.begin())));
    }
    HWND hwnd = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                p.Height, p.WndParent, id, instance, p.OwnClass ? this : nullptr);
    creating_ = false;
    if (!hwnd) {
        handle_ = nullptr;
        return;
    }
    if (!p.OwnClass) Attach(hwnd);
    InitWnd();
    // Children in tab order, so that the window order is the tab order.
    std::vector<TWinControl*> children;
    for (TControl* c : controls_)
        if (auto* w = dyncast<TWinControl>(c)) children.push_back(w);
    std::stable_sort(children.begin(), children.end(), [](TWinControl* a, TWinControl* b) {
        auto key = [](TWinControl* w) { return w->tabOrder_ < 0 ? INT32_MAX : w->tabOrder_; };
        return key(a) < key(b);
    });
    for (TWinControl* w : children) w->HandleNeeded();
}

void TWinControl::InitWnd() { ApplyFont(); }

void TWinControl::ApplyFont() {
    if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
}

void TWinControl::Attach(HWND hwnd) {
    handle_ = hwnd;
    SetPropW(hwnd, kControlProp, this);
    defProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
}

void TWinControl::Detach() {
    if (!handle_) return;
    // Put the system procedure back only while ours is still the current one.
    if (defProc_ && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC)) == &TWinControl::SubclassProc)
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc_));
    RemovePropW(handle_, kControlProp);
    text_ = {};  // the window held the text
    handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    // Keep the window's text for a later window.
    int n = GetWindowTextLengthW(handle_);
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    w.resize(static_cast<std::size_t>(GetWindowTextW(handle_, w.data(), n + 1)));
    std::string saved = Narrow(w);
    DestroyWindow(handle_);
    text_ = std::move(saved);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* c = FindControl(hwnd);
    if (!c) return DefWindowProcW(hwnd, msg, wparam, lparam);
    return c->Dispatch(hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK TWinControl::ClassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* c = FindControl(hwnd);
    if (!c && msg == WM_NCCREATE) {
        c = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        if (c) {
            c->handle_ = hwnd;
            c->defProc_ = DefWindowProcW;
            SetPropW(hwnd, kControlProp, c);
        }
    }
    if (!c) return DefWindowProcW(hwnd, msg, wparam, lparam);
    return c->Dispatch(hwnd, msg, wparam, lparam);
}

LRESULT TWinControl::Dispatch(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    TMessage m{msg, wparam, lparam, 0};
    WindowProc(m);
    if (msg == WM_NCDESTROY && handle_ == hwnd) Detach();
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    m.Result = handle_ && defProc_ ? CallWindowProcW(defProc_, handle_, m.Msg, m.WParam, m.LParam) : 0;
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
    TWinControl* c = FindControl(child);
    if (c && c != this && c->parent_ == this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::ChildFocused(TWinControl* control) {
    if (Parent()) Parent()->ChildFocused(control);
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam) return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        break;
    case WM_NOTIFY:
        return ReflectToChild(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
    case WM_DRAWITEM: {
        // Owner-drawn controls draw themselves; menu items are the menus' own.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        if (item && item->CtlType != ODT_MENU) return ReflectToChild(m, item->hwndItem);
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam) return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_BASE + WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(brush_.Handle());
        return;
    }
    case WM_SETFOCUS:
        ChildFocused(this);
        DoEnter();
        break;
    case WM_KILLFOCUS:
        DoExit();
        Perform(CM_EXIT);
        break;
    case WM_MOUSELEAVE:
        mouseInside_ = false;
        if (hoverControl_) {
            hoverControl_->Perform(CM_MOUSELEAVE);
            hoverControl_ = nullptr;
        }
        Perform(CM_MOUSELEAVE);
        break;
    default:
        if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
            m.Result = 0;  // a reflected notification this control does not handle
            return;
        }
        if (IsMouseMessage(m.Msg)) {
            if (m.Msg == WM_MOUSEMOVE && !mouseInside_) {
                mouseInside_ = true;
                TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, handle_, 0};
                TrackMouseEvent(&t);
                Perform(CM_MOUSEENTER);
            }
            if (RouteMouse(m)) return;
        }
        break;
    }
    DefaultHandler(m);
}

TControl* TWinControl::GraphicControlAt(POINT p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || !c->Is<TGraphicControl>()) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

bool TWinControl::RouteMouse(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = mouseControl_ ? mouseControl_ : GraphicControlAt(p);
    if (m.Msg == WM_MOUSEMOVE && target != hoverControl_ && !mouseControl_) {
        if (hoverControl_) hoverControl_->Perform(CM_MOUSELEAVE);
        hoverControl_ = target;
        if (target) target->Perform(CM_MOUSEENTER);
    }
    if (!target || !target->Enabled()) return false;
    bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                m.Msg == WM_LBUTTONDBLCLK;
    bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
    if (down) {
        mouseControl_ = target;
        SetCapture(handle_);
    }
    m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    if (up && mouseControl_) {
        mouseControl_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    return true;
}

void TWinControl::PaintControls(HDC dc, const RECT& clip) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (!c->Visible() || !c->Is<TGraphicControl>()) continue;
        RECT r = c->BoundsRect(), meet;
        if (!IntersectRect(&meet, &r, &clip)) continue;
        int saved = SaveDC(dc);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

std::wstring TWinControl::GetTextW() const {
    // The text lives in the window, made on demand, so that it is kept as
    // UTF-16 exactly.
    HWND h = const_cast<TWinControl*>(this)->Handle();
    if (!h) return Widen(text_);
    int n = GetWindowTextLengthW(h);
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    w.resize(static_cast<std::size_t>(GetWindowTextW(h, w.data(), n + 1)));
    return w;
}

void TWinControl::SetTextW(const std::wstring& v) {
    if (HWND h = Handle())
        SetWindowTextW(h, v.c_str());
    else
        text_ = Narrow(v);
    TextChanged();
}

std::string TWinControl::GetText() const { return handle_ ? Narrow(GetTextW()) : text_; }

void TWinControl::SetText(const std::string& v) {
    if (!handle_) return TControl::SetText(v);
    SetWindowTextW(handle_, Widen(v).c_str());
    TextChanged();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_) SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::ChangeScale(int to, int from) {
    if (to == from) return;
    ScaleControls(to, from);
    TControl::ChangeScale(to, from);
}

void TWinControl::ScaleControls(int to, int from) {
    for (TControl* c : controls_) c->ChangeScale(to, from);
    for (TControl* c : controls_) c->SiblingsScaled();
}

void TWinControl::FontChanged() {
    ApplyFont();
    for (TControl* c : controls_) c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged() {
    brush_.SetColor(Color());
    for (TControl* c : controls_) c->ParentColorChanged();
    Invalidate();
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOW : SW_HIDE);
}

void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
    TControl::EnabledChanged();
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    if (top != this && top->RequestFocus(this)) return;
    if (HWND h = Handle()) ::SetFocus(h);
}

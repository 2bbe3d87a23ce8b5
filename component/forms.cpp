#include "component/forms.h"

#include <shellapi.h>

#include <algorithm>

#include "component/dialogs.h"
#include "component/filer.h"
#include "component/menus.h"
#include "component/wstr.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

// ---- TCustomForm ---------------------------------------------------------------

SRT_DEFINE_CLASS(TCustomForm, TWinControl, {
    b.Set("BorderIcons", "TBorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
          &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, biSystemMenu | biMinimize | biMaximize);
    b.Enum("BorderStyle", "TFormBorderStyle",
           {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
           &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable);
    b.String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
    b.Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
    b.Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
    b.Enum("FormStyle", "TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"},
           &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal);
    b.Enum("Position", "TPosition",
           {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
            "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
           &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned);
    b.Event("OnClose", &TCustomForm::OnClose);
    b.Event("OnCreate", &TCustomForm::OnCreate);
    b.Event("OnDestroy", &TCustomForm::OnDestroy);
    b.Event("OnShow", &TCustomForm::OnShow);
})

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    OnDestroy(this);
    DestroyComponents();
    if (menu_ && HandleAllocated()) ::SetMenu(Handle(), nullptr);
    DestroyHandle();
    if (Screen) {
        auto& forms = Screen->forms_;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    }
    if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    OnCreate(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
    if (operation == TOperation::opRemove && component == menu_) {
        // The window would destroy the menu's handles with itself.
        if (HandleAllocated() && GetMenu(Handle()) == menu_->Handle()) ::SetMenu(Handle(), nullptr);
        menu_ = nullptr;
    }
}

namespace {
DWORD FormStyleBits(TBorderStyle border, std::uint32_t icons, DWORD& exStyle) {
    DWORD style = WS_CLIPCHILDREN;
    exStyle = 0;
    switch (border) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        style |= WS_CAPTION | WS_DLGFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (border == bsToolWindow || border == bsSizeToolWin) exStyle |= WS_EX_TOOLWINDOW;
    if (border != bsNone && (icons & biSystemMenu)) {
        style |= WS_SYSMENU;
        if (border != bsDialog && border != bsToolWindow && border != bsSizeToolWin) {
            if (icons & biMinimize) style |= WS_MINIMIZEBOX;
            if (icons & biMaximize) style |= WS_MAXIMIZEBOX;
        }
    }
    return style;
}
}  // namespace

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.OwnClass = true;
    p.WinClassName = Widen(ClassName());
    p.Style = FormStyleBits(borderStyle_, borderIcons_, p.ExStyle);
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (clientWidth_ > 0 || clientHeight_ > 0) {
        RECT r{0, 0, clientWidth_ > 0 ? clientWidth_ : Width(), clientHeight_ > 0 ? clientHeight_ : Height()};
        AdjustWindowRectEx(&r, p.Style, menu_ != nullptr, p.ExStyle);
        p.Width = r.right - r.left;
        p.Height = r.bottom - r.top;
        TControl::SetBounds(Left(), Top(), p.Width, p.Height);
    }
    p.WndParent = nullptr;
}

void TCustomForm::ChangeScale(int to, int from) {
    if (to == from) return;
    ScaleFont(to, from);
    if (clientWidth_ > 0) clientWidth_ = srt::RescaleDpi(clientWidth_, from, to);
    if (clientHeight_ > 0) clientHeight_ = srt::RescaleDpi(clientHeight_, from, to);
    if (!HandleAllocated() && StoresSize())
        TControl::SetBounds(Left(), Top(), srt::RescaleDpi(Width(), from, to), srt::RescaleDpi(Height(), from, to));
    ScaleControls(to, from);
}

void TCustomForm::ScaleTo(int dpi, const RECT* bounds) {
    const int from = pixelsPerInch_;
    if (dpi <= 0 || dpi == from) return;
    pixelsPerInch_ = dpi;
    const int width = srt::RescaleDpi(Width(), from, dpi), height = srt::RescaleDpi(Height(), from, dpi);
    ChangeScale(dpi, from);
    if (!HandleAllocated()) return;
    if (bounds) {
        SetBounds(bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top);
        return;
    }
    // Where the window is now (it may have been moved since it was placed).
    RECT window;
    GetWindowRect(Handle(), &window);
    TControl::SetBounds(window.left, window.top, window.right - window.left, window.bottom - window.top);
    if (StoresSize()) return SetBounds(window.left, window.top, width, height);
    if (clientWidth_ > 0) SetClientWidth(clientWidth_);
    if (clientHeight_ > 0) SetClientHeight(clientHeight_);
}

// The new DPI in wParam (x in the low word, y in the high word, the same),
// the window's suggested place at it in lParam.
void TCustomForm::OnDpiChanged(TMessage& m) {
    const RECT suggested = *reinterpret_cast<const RECT*>(m.LParam);
    ScaleTo(HIWORD(m.WParam), &suggested);
    m.Result = 0;
}

void TCustomForm::InitWnd() {
    TWinControl::InitWnd();
    if (menu_) ::SetMenu(Handle(), menu_->Handle());
    if (dragAccept_) DragAcceptFiles(Handle(), TRUE);
}

std::int32_t TCustomForm::ClientWidth() const { return HandleAllocated() ? ClientRect().right : clientWidth_; }
std::int32_t TCustomForm::ClientHeight() const { return HandleAllocated() ? ClientRect().bottom : clientHeight_; }

void TCustomForm::SetClientWidth(std::int32_t v) {
    clientWidth_ = v;
    if (HandleAllocated()) SetWidth(Width() + v - ClientRect().right);
}

void TCustomForm::SetClientHeight(std::int32_t v) {
    clientHeight_ = v;
    if (HandleAllocated()) SetHeight(Height() + v - ClientRect().bottom);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu_) menu_->OnChange = nullptr;
    menu_ = menu;
    if (menu_) {
        // A changed menu: the bar is redrawn and the skin hears of it.
        menu_->OnChange = [this] {
            if (!HandleAllocated()) return;
            if (GetMenu(Handle())) DrawMenuBar(Handle());
            Perform(CM_MENUCHANGED);
        };
    }
    if (HandleAllocated()) {
        ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
        Perform(CM_MENUCHANGED);
    }
}

// Commands, measuring and drawing of the menu bar's items.
bool TCustomForm::OnMenuMessage(TMessage& m) {
    if (!menu_) return false;
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam || HIWORD(m.WParam) > 1 || !menu_->DispatchCommand(LOWORD(m.WParam))) return false;
        m.Result = 0;
        return true;
    case WM_MEASUREITEM:
        if (m.WParam || !menu_->DispatchMeasure(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) return false;
        m.Result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (m.WParam || !menu_->DispatchDraw(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) return false;
        m.Result = TRUE;
        return true;
    default: return false;
    }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && Active() && control->CanFocus()) ::SetFocus(control->Handle());
}

bool TCustomForm::RequestFocus(TWinControl* control) {
    SetActiveControl(control);
    return true;
}

// The active control goes with `control` if it is it or inside it.
void TCustomForm::ChildRemoved(TControl* control) {
    for (TControl* c = activeControl_; c; c = c->Parent())
        if (c == control) {
            activeControl_ = nullptr;
            break;
        }
    TWinControl::ChildRemoved(control);
}

void TCustomForm::ChildFocused(TWinControl* control) {
    if (control != this) activeControl_ = control;
}

bool TCustomForm::Active() const { return HandleAllocated() && GetActiveWindow() == const_cast<TCustomForm*>(this)->Handle(); }

void TCustomForm::SetDragAccept(bool on) {
    dragAccept_ = on;
    if (HandleAllocated()) DragAcceptFiles(Handle(), on);
}

void TCustomForm::Centre() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    int x = area.left + (area.right - area.left - Width()) / 2;
    int y = area.top + (area.bottom - area.top - Height()) / 2;
    SetBounds(std::max<int>(x, area.left), std::max<int>(y, area.top), Width(), Height());
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HandleAllocated()) {
        SetForegroundWindow(Handle());
        BringWindowToTop(Handle());
    }
}

void TCustomForm::VisibleChanged() {
    if (!Visible()) {
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        return;
    }
    HandleNeeded();
    // Scaled when first shown, not when the window is made: code that builds
    // a form may make its window before every control is in place.
    if (!shown_ && scaled_) ScaleTo(srt::WindowDpi(Handle()), nullptr);
    if (!shown_ && (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter))
        Centre();
    shown_ = true;
    DoShow();
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
}

void TCustomForm::Close() {
    if (HandleAllocated()) SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TCustomForm::Release() {
    if (HandleAllocated()) PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::FocusActive() {
    if (activeControl_ && activeControl_->CanFocus() && activeControl_->HandleAllocated())
        ::SetFocus(activeControl_->Handle());
}

void TCustomForm::OnActivate(TMessage& m) {
    if (LOWORD(m.WParam) != WA_INACTIVE && activeControl_ && activeControl_->CanFocus()) {
        FocusActive();
        m.Result = 0;
        return;
    }
    DefaultHandler(m);
}

void TCustomForm::OnEraseBackground(TMessage& m) {
    if (!DoubleBuffered()) {
        RECT r;
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush().Handle());
    }
    m.Result = 1;
}

void TCustomForm::OnPaint(TMessage& m) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (DoubleBuffered()) {
        // Background and graphic controls composed off screen, one blit.
        RECT r;
        GetClientRect(Handle(), &r);
        TBitmap buffer(r.right, r.bottom);
        if (HDC mem = buffer.Canvas()) {
            FillRect(mem, &r, ColorBrush().Handle());
            PaintControls(mem, ps.rcPaint);
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        }
    } else {
        PaintControls(dc, ps.rcPaint);
    }
    EndPaint(Handle(), &ps);
    m.Result = 0;
}

void TCustomForm::OnDropFiles(TMessage& m) {
    auto drop = reinterpret_cast<HDROP>(m.WParam);
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> paths;
    for (UINT i = 0; i < n; ++i) {
        UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(len + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), len + 1));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    for (const auto& p : paths)
        if (OnDropFile) OnDropFile(p);
    m.Result = 0;
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: return OnEraseBackground(m);
    case WM_PAINT: return OnPaint(m);
    case WM_ACTIVATE: return OnActivate(m);
    case WM_SETFOCUS:
        if (activeControl_ && activeControl_->CanFocus()) {
            FocusActive();
            m.Result = 0;
            return;
        }
        break;
    case WM_DROPFILES: return OnDropFiles(m);
    case WM_DPICHANGED:
        if (scaled_) return OnDpiChanged(m);
        break;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (OnMenuMessage(m)) return;
        break;
    case WM_CLOSE:
        OnClose(this);
        Hide();
        if (Application && Application->MainForm() == this) Application->Terminate();
        m.Result = 0;
        return;
    case CM_RELEASE:
        if (Application) Application->released_.push_back(this);
        m.Result = 0;
        return;
    default: break;
    }
    TWinControl::WndProc(m);
}

SRT_DEFINE_CLASS(TForm, TCustomForm, )

// ---- TScreen -------------------------------------------------------------------

SRT_DEFINE_CLASS(TScreen, TComponent, )

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        menuFont_.SetName(Narrow(metrics.lfMenuFont.lfFaceName));
        menuFont_.SetHeight(metrics.lfMenuFont.lfHeight);
        menuFont_.SetCharset(metrics.lfMenuFont.lfCharSet);
    }
}

TCustomForm* TScreen::ActiveForm() const {
    return dyncast<TCustomForm>(TWinControl::FindControl(GetActiveWindow()));
}

// ---- TPrompts ------------------------------------------------------------------

namespace {
HWND PromptOwner() {
    HWND active = GetActiveWindow();
    if (active) return active;
    return Application && Application->MainForm() && Application->MainForm()->HandleAllocated()
               ? Application->MainForm()->Handle()
               : nullptr;
}
}  // namespace

bool TPrompts::ExecuteOpen(TOpenDialog& dialog) { return RunFileDialog(dialog, PromptOwner(), false); }

bool TPrompts::ExecuteSave(TSaveDialog& dialog) { return RunFileDialog(dialog, PromptOwner(), true); }

// The dialogs run through the application's prompts, which a test may answer.
bool TOpenDialog::Execute() { return Application && Application->Prompts().ExecuteOpen(*this); }

bool TSaveDialog::Execute() { return Application && Application->Prompts().ExecuteSave(*this); }

void TPrompts::Message(const std::string& caption, const std::string& text) {
    MessageBoxW(PromptOwner(), Widen(text).c_str(), Widen(caption).c_str(), MB_OK);
}

void TPrompts::Error(const std::string& caption, const std::string& text) {
    MessageBoxW(PromptOwner(), Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONERROR);
}

// ---- TApplication --------------------------------------------------------------

SRT_DEFINE_CLASS(TApplication, TComponent, )

namespace {
LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}
}  // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    Application = this;
    TGraphicFormats::SetCurrent(&formats_);
    screen_ = new TScreen(this);
    Screen = screen_;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, L"TApplication", &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ApplicationProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, L"MAINICON");
        wc.lpszClassName = L"TApplication";
        RegisterClassExW(&wc);
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.rfind(L'.'));
    title_ = Narrow(name);
    handle_ = CreateWindowExW(0, L"TApplication", name.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU,
                              0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

TApplication::~TApplication() {
    Destroying();
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
    Screen = nullptr;
    if (TGraphicFormats::Current() == &formats_) TGraphicFormats::SetCurrent(nullptr);
    Application = nullptr;
}

void TApplication::Initialize() {}

void TApplication::SetTitle(const std::string& v) {
    title_ = v;
    if (handle_) SetWindowTextW(handle_, Widen(v).c_str());
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        HandleMessage(msg);
    }
    terminated_ = true;
}

bool TApplication::HandleMessage(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    bool handled = root && dyncast<TCustomForm>(TWinControl::FindControl(root)) && IsDialogMessageW(root, &msg);
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (TCustomForm* f : std::exchange(released_, {})) delete f;
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        HandleMessage(msg);
    }
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

std::string TApplication::ErrorBoxText(const std::string& text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') return text + ".";
    return text;
}

void TApplication::ShowException(const std::string& text) { Prompts().Error(title_, ErrorBoxText(text)); }

void TApplication::ShowMessage(const std::string& text) { Prompts().Message(title_, text); }

// ---- stored descriptions -------------------------------------------------------

void ReadFormResource(TCustomForm& form, const TClassRegistry& classes) {
    std::wstring name = Widen(form.ClassName());
    for (auto& c : name) c = static_cast<wchar_t>(towupper(c));
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!res) throw EReadError("Resource " + form.ClassName() + " not found");
    HGLOBAL loaded = LoadResource(module, res);
    auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    DWORD size = SizeofResource(module, res);
    if (!data) throw EReadError("Resource " + form.ClassName() + " not found");
    ReadComponent(form, ReadStoredObject(data, size), classes);
}

void RegisterControlClasses(TClassRegistry& classes) {
    classes.Register<TForm, TButton, TEdit, TMemo, TLabel, TImage, TOpenDialog, TSaveDialog, TTimer>();
}

#include "skin/form/winskinform.h"

#include <iterator>
#include <utility>

#include "component/trace.h"
#include "skin/draw/convert.h"
#include "skin/draw/skindraw.h"
#include "skin/menu/skinpopup.h"
#include "skin/menu/winskinmenu.h"

namespace srt {
namespace {

constexpr UINT kSwpRecalcFrame = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;  // 0x37
constexpr UINT kSwpDetachResize = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;              // 0x34
constexpr std::uint32_t kCaptionButtonStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

std::string ClassNameOf(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

template <class Route>
const Route* Find(const Route* begin, const Route* end, UINT msg) {
    for (const Route* r = begin; r != end; ++r)
        if (r->msg == msg) return r;
    return nullptr;
}

}  // namespace

TWinSkinForm::TWinSkinForm(HWND window, TSkinManage* manager)
    : TWindowSkin(manager), FManager(manager), FHandle(window) {
    FSystem.dblClickTime = GetDoubleClickTime();
}

TWinSkinForm::~TWinSkinForm() {
    SetTimerOn(false);
    if (WindowAttached() || FClientThunk.Attached()) Release();
    FButtons.Clear();
}

// ---- start

void TWinSkinForm::StartForForm(::TSkinData* data, TCustomForm* form) {
    FForm = form;
    if (form && data->HasControl(xcMainMenu)) AttachMethod(form);
    Start(data);
    if (form) {
        FWindow.origColor = form->Color();
        form->SetColor(static_cast<TColor>(data->Colours.ButtonFace));
        FWindow.content.Apply(*form, *data);
        if (data->HasControl(xcMainMenu)) {
            FMenus.popupSwitch = std::make_unique<TPopupSkinSwitch>();
            FMenus.popupSwitch->Apply(form, data, form->Menu());
        }
    }
}

void TWinSkinForm::MethodMessage(TMessage& m) {
    if (m.Msg == kWmSkinReapply) {
        Refresh();
        return;
    }
    // The component layer announces its menu changes here only.
    CallPreviousMethod(m);
    if (m.Msg == CM_MENUCHANGED && MethodAlive()) MenuChanged();
}

void TWinSkinForm::Start(::TSkinData* data) {
    if (WindowAttached()) return;
    FSkinData = data;
    ReadDpi();

    FWindow.style = static_cast<std::uint32_t>(GetWindowLongPtrW(FHandle, GWL_STYLE));
    const auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
    FWindow.rightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FWindow.sysMenu = GetSystemMenu(FHandle, FALSE);

    BuildIconBitmap();
    ReadCaptionText();
    FWindow.className = ClassNameOf(FHandle);
    RECT& client = FWindow.clientRect;
    GetClientRect(FHandle, &client);
    RECT wr{};
    GetWindowRect(FHandle, &wr);
    FWindow.origFrame = {0, 0, (wr.right - wr.left) - client.right, (wr.bottom - wr.top) - client.bottom};

    FBorderIcons = BorderIconsFor(FWindow.style, FWindow.sysMenu != nullptr);
    FWindow.sizeable = (FWindow.style & WS_THICKFRAME) != 0;
    BuildSystemMenu();
    ReadShowState();

    if (HWND mdiClient = FindWindowExA(FHandle, nullptr, "MDIClient", nullptr)) {
        FKind = fkMdiFrame;
        FMdi.client = mdiClient;
    }
    if (exStyle & WS_EX_MDICHILD) FKind = fkMdiChild;
    FBorderKind = BorderKindFor(FWindow.style, exStyle);

    if (FKind == fkMdiFrame) {
        FMdi.menuUpdate = data->MenuUpdate();
        FClientThunk.Attach(FMdi.client, this, ClientThunkProc);
    }
    FKeyCues.Start();
    if (data->HasControl(xcMainMenu)) {
        FMenus.keys.Start();
        FWindow.menu = GetMenu(FHandle);
        if (FWindow.menu && FKind != fkMdiChild) StartMenuBar();
        if (!((FKind == fkMdiChild && MdiMaximized()) || FShowState == ssMinimized))
            SetIconsShown(false);
        FrameMetrics();
    }
    AttachWindow(FHandle);
    FControls = std::make_unique<TControlSkins>(nullptr, data, FHandle);
    if (FForm)
        FControls->ClassifyComponents(FForm);
    else
        FControls->ClassifyByWindowClass();
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinSkinForm::ReadDpi(int dpi) {
    FDpi = dpi > 0 ? dpi : WindowDpi(FHandle);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    LOGFONTW& font = metrics.lfCaptionFont;
    font.lfHeight = RescaleDpi(font.lfHeight, SystemDpi(), FDpi);
    FCaption.font.Reset(CreateFontIndirectW(&font));
}

void TWinSkinForm::ReadCaptionText() {
    wchar_t text[1000] = {};
    SendMessageW(FHandle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(text));
    FCaption.text = text;
}

void TWinSkinForm::ReadShowState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(FHandle, &wp);
    switch (wp.showCmd) {
    case SW_SHOWMAXIMIZED: FShowState = ssMaximized; break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FShowState = ssMinimized; break;
    default: FShowState = ssNormal; break;
    }
}

void TWinSkinForm::SetIconsShown(bool shown) {
    if (FKind == fkMdiChild && MdiMaximized() && !shown) return;
    FWindow.iconsShown = shown;
    auto style = static_cast<std::uint32_t>(GetWindowLongPtrW(FHandle, GWL_STYLE));
    if (shown) {
        if (FBorderIcons & biSystemMenu) style |= WS_SYSMENU;
        if (FBorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
        if (FBorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    } else {
        style &= ~kCaptionButtonStyles;
    }
    SetWindowLongPtrW(FHandle, GWL_STYLE, static_cast<LONG_PTR>(style));
}

void TWinSkinForm::SetTimerOn(bool on) {
    if (on == FTimerOn) return;
    FTimerOn = on;
    const auto id = reinterpret_cast<UINT_PTR>(this);
    if (on)
        SetTimer(FHandle, id, kActionInterval, nullptr);
    else if (IsWindow(FHandle))
        KillTimer(FHandle, id);
}

void TWinSkinForm::RecalcFrame() const { SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kSwpRecalcFrame); }

// ---- dispatch

bool TWinSkinForm::Stage3Runs() const {
    return FState != fsNew && FShowState != ssMinimized && !MdiChildNotNormal();
}

// Stage 1 answers for every window; stage 2 only for a window whose skin
// has a frame (xcMainMenu) and is not a child; stage 3 only while it runs
// and is neither minimised nor an MDI child out of its normal state. A
// message no stage handles goes to the previous procedure once. WM_SIZE is
// handled in stage 2 and again in stage 3.
LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    static constexpr TRoute<THandler> kStage1[] = {
        {WM_CTLCOLORBTN, &TWinSkinForm::OnCtlColor},
        {WM_CTLCOLORSTATIC, &TWinSkinForm::OnCtlColor},
        {WM_CTLCOLOREDIT, &TWinSkinForm::OnCtlColor},
        {WM_CTLCOLORLISTBOX, &TWinSkinForm::OnCtlColor},
        {WM_NOTIFY, &TWinSkinForm::OnNotify},
        {WM_ERASEBKGND, &TWinSkinForm::OnEraseBkgnd},
        {WM_STYLECHANGED, &TWinSkinForm::OnStyleChanged},
        {WM_NCDESTROY, &TWinSkinForm::OnNcDestroy},
        {WM_TIMER, &TWinSkinForm::OnTimer},
        {kWmSkinQuery, &TWinSkinForm::OnSkinQuery},
        {WM_CHANGEUISTATE, &TWinSkinForm::OnUiState},
        {WM_UPDATEUISTATE, &TWinSkinForm::OnUiState},
        {WM_QUERYUISTATE, &TWinSkinForm::OnUiState},
    };
    static constexpr TRoute<TEarlyHandler> kStage2[] = {
        {WM_COMMAND, &TWinSkinForm::OnCommand},
        {WM_GETMINMAXINFO, &TWinSkinForm::OnGetMinMaxInfo},
        {WM_SIZE, &TWinSkinForm::OnSizeFirst},
        {WM_ACTIVATE, &TWinSkinForm::OnActivate},
        {WM_WINDOWPOSCHANGED, &TWinSkinForm::OnWindowPosChanged},
        {WM_NCACTIVATE, &TWinSkinForm::OnNcActivateFirst},
        {WM_SYSCOMMAND, &TWinSkinForm::OnSysCommand},
        {WM_SETTEXT, &TWinSkinForm::OnSetText},
        {WM_SETICON, &TWinSkinForm::OnSetIcon},
        {CM_MENUCHANGED, &TWinSkinForm::OnMenuChanged},
        {WM_MENUSELECT, &TWinSkinForm::OnMenuSelect},
        {kWmSkinStart, &TWinSkinForm::OnSkinStart},
        {kWmDpiChanged, &TWinSkinForm::OnDpiChanged},
    };
    static constexpr TRoute<THandler> kStage3[] = {
        {WM_NCACTIVATE, &TWinSkinForm::OnNcActivate},
        {WM_NCCALCSIZE, &TWinSkinForm::OnNcCalcSize},
        {WM_NCHITTEST, &TWinSkinForm::OnNcHitTest},
        {WM_NCPAINT, &TWinSkinForm::OnNcPaint},
        {WM_SIZE, &TWinSkinForm::OnSize},
        {WM_NCMOUSEMOVE, &TWinSkinForm::OnNcMouseMove},
        {WM_NCLBUTTONDOWN, &TWinSkinForm::OnNcLButtonDown},
        {WM_NCLBUTTONUP, &TWinSkinForm::OnNcLButtonUp},
        {WM_NCLBUTTONDBLCLK, &TWinSkinForm::OnNcLButtonDblClk},
        {WM_NCRBUTTONDOWN, &TWinSkinForm::OnNcRButtonDown},
        {WM_NCRBUTTONUP, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCRBUTTONDBLCLK, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCMBUTTONDOWN, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCMBUTTONUP, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCMBUTTONDBLCLK, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCXBUTTONDOWN, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCXBUTTONUP, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCXBUTTONDBLCLK, &TWinSkinForm::OnNcOtherMouse},
        {WM_NCMOUSEHOVER, &TWinSkinForm::OnNcOtherMouse},
        {WM_MEASUREITEM, &TWinSkinForm::OnMeasureItem},
        {WM_DRAWITEM, &TWinSkinForm::OnDrawItem},
        {kWmSkinRepaintFrame, &TWinSkinForm::OnRepaintFrame},
    };
    const TMsg m{msg, wParam, lParam};

    if (const auto* route = Find(std::begin(kStage1), std::end(kStage1), msg)) return (this->*route->handler)(m);
    if (!FSkinData->HasControl(xcMainMenu)) return PassOn(msg, wParam, lParam);

    if (FKind != fkMdiChild && (FWindow.style & WS_CHILD)) return PassOn(msg, wParam, lParam);
    TNext next = TNext::Stage3PassOn;
    if (const auto* route = Find(std::begin(kStage2), std::end(kStage2), msg)) {
        LRESULT result = 0;
        next = (this->*route->handler)(m, result);
        if (next == TNext::Done) return result;
    }
    const bool passOn = next == TNext::Stage3PassOn;

    if (Stage3Runs())
        if (const auto* route = Find(std::begin(kStage3), std::end(kStage3), msg)) return (this->*route->handler)(m);
    return passOn ? PassOn(msg, wParam, lParam) : 0;
}

// ---- stage 1

LRESULT TWinSkinForm::OnEraseBkgnd(const TMsg& m) {
    if (!FForm && FSkinData->ButtonFaceBrush()) {
        RECT r{};
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(m.wParam), &r, FSkinData->ButtonFaceBrush());
        return 1;
    }
    return PassOn(m.msg, m.wParam, m.lParam);
}

LRESULT TWinSkinForm::OnStyleChanged(const TMsg& m) {
    if (m.wParam == static_cast<WPARAM>(GWL_STYLE))
        FWindow.style = reinterpret_cast<const STYLESTRUCT*>(m.lParam)->styleNew;
    return PassOn(m.msg, m.wParam, m.lParam);
}

LRESULT TWinSkinForm::OnNcDestroy(const TMsg& m) {
    FState = fsClosing;
    // Our own previous procedure, once: whatever is current after Release
    // may be a subclass above ours that has seen the message already.
    Release();
    const LRESULT r = PassOn(WM_NCDESTROY, m.wParam, m.lParam);
    FState = fsDead;
    // Dead, this object keeps no reference to what outlives it or goes first.
    FForm = nullptr;
    FManager->RequestAction(maPurge, std::exchange(FSkinData, nullptr), kActionInterval);
    return r;
}

// The hover timer is ours; any other timer of the window is passed on.
LRESULT TWinSkinForm::OnTimer(const TMsg& m) {
    if (m.wParam != reinterpret_cast<UINT_PTR>(this)) return PassOn(m.msg, m.wParam, m.lParam);
    OnHoverTimer();
    return 0;
}

LRESULT TWinSkinForm::OnSkinQuery(const TMsg&) { return 1; }

// ---- stage 2

TWinSkinForm::TNext TWinSkinForm::OnCommand(const TMsg& m, LRESULT& result) {
    switch (LOWORD(m.wParam)) {
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW: case SC_PREVWINDOW:
    case SC_CLOSE: case SC_RESTORE:
        PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(m.wParam), 0);
        result = 0;
        break;
    default: result = PassOn(m.msg, m.wParam, m.lParam); break;
    }
    return TNext::Done;
}

TWinSkinForm::TNext TWinSkinForm::OnGetMinMaxInfo(const TMsg& m, LRESULT& result) {
    result = PassOn(m.msg, m.wParam, m.lParam);
    ReadShowState();
    if (FShowState == ssMinimized) {
        SetIconsShown(true);
    } else if (FKind != fkMdiChild) {
        SetIconsShown(false);
    } else if (FShowState == ssNormal) {
        if (MdiMaximized()) SetMdiMaximized(false);
        SetIconsShown(false);
    } else {
        SetIconsShown(true);
    }
    auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    return TNext::Done;
}

TWinSkinForm::TNext TWinSkinForm::OnSizeFirst(const TMsg& m, LRESULT& result) {
    if (!Stage3Runs()) {
        result = OnSize(m);
        return TNext::Done;
    }
    OnSize(m);
    return TNext::Stage3;
}

TWinSkinForm::TNext TWinSkinForm::OnActivate(const TMsg& m, LRESULT&) {
    FActive = LOWORD(m.wParam) != WA_INACTIVE;
    UpdateLayout();
    return TNext::Stage3PassOn;
}

TWinSkinForm::TNext TWinSkinForm::OnWindowPosChanged(const TMsg& m, LRESULT& result) {
    ReadShowState();
    result = PassOn(m.msg, m.wParam, m.lParam);
    UpdateLayout();
    return TNext::Done;
}

TWinSkinForm::TNext TWinSkinForm::OnNcActivateFirst(const TMsg& m, LRESULT&) {
    FActive = m.wParam != 0;
    UpdateLayout();
    return TNext::Stage3PassOn;
}

TWinSkinForm::TNext TWinSkinForm::OnSysCommand(const TMsg& m, LRESULT& result) {
    const UINT command = static_cast<UINT>(m.wParam & 0xFFF0);
    if (command == SC_KEYMENU) {
        // Passed on, the key does not come back through the key route.
        const TKeyMenuScope ownKey;
        result = OnKeyMenu(static_cast<wchar_t>(LOWORD(m.lParam))) ? 1 : PassOn(m.msg, m.wParam, m.lParam);
        return TNext::Done;
    }
    if (command == SC_MINIMIZE) {
        FShowState = ssMinimized;
        if (FKind == fkMdiChild) SetIconsShown(true);
    } else if (command == SC_MAXIMIZE) {
        FShowState = ssMaximized;
    } else if (command == SC_RESTORE) {
        FShowState = ssNormal;
        if (FKind == fkMdiChild) SetIconsShown(false);
    }
    result = PassOn(m.msg, m.wParam, m.lParam);
    return TNext::Done;
}

// The frame recalculation paints our caption with the new text.
TWinSkinForm::TNext TWinSkinForm::OnSetText(const TMsg& m, LRESULT& result) {
    result = PassOnUnpainted(m);
    ReadCaptionText();
    UpdateLayout();
    RecalcFrame();
    return TNext::Done;
}

TWinSkinForm::TNext TWinSkinForm::OnSetIcon(const TMsg& m, LRESULT& result) {
    result = PassOnUnpainted(m);
    return TNext::Done;
}

// The platform paints its own caption at once on WM_SETTEXT and WM_SETICON
// (not through WM_NCPAINT), unless the window's style lacks WS_VISIBLE.
LRESULT TWinSkinForm::PassOnUnpainted(const TMsg& m) {
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (!(style & WS_VISIBLE) || !Stage3Runs() || FBorderKind == bkNoFrame) return PassOn(m.msg, m.wParam, m.lParam);
    SetWindowLongPtrW(FHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    const LRESULT result = PassOn(m.msg, m.wParam, m.lParam);
    SetWindowLongPtrW(FHandle, GWL_STYLE, GetWindowLongPtrW(FHandle, GWL_STYLE) | WS_VISIBLE);
    return result;
}

TWinSkinForm::TNext TWinSkinForm::OnMenuChanged(const TMsg& m, LRESULT& result) {
    const bool paint = FSkinData->NCPaint;
    FSkinData->NCPaint = false;
    result = PassOn(m.msg, m.wParam, m.lParam);
    FSkinData->NCPaint = paint;
    MenuChanged();
    return TNext::Done;
}

TWinSkinForm::TNext TWinSkinForm::OnMenuSelect(const TMsg& m, LRESULT&) {
    if (FMenus.bar) FMenus.bar->MenuSelect(m.wParam, m.lParam);
    return TNext::Stage3PassOn;
}

TWinSkinForm::TNext TWinSkinForm::OnSkinStart(const TMsg&, LRESULT& result) {
    FStartSeen = true;
    if (FState == fsNew) {
        if (FKind == fkMdiChild && MdiMaximized()) {
            SetIconsShown(true);
            RecalcFrame();
        } else if (FShowState != ssMinimized && FBorderKind != bkNoFrame) {
            FState = fsStartSizing;
            WidenDialog(false);
            FState = fsRunning;
            BuildRegion();
        }
    }
    FState = fsRunning;
    SkinTrace("skin active");
    SetTimerOn(true);
    UpdateLayout();
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    result = 0;
    return TNext::Done;
}

// The frame, caption and buttons at the new DPI; the window itself moves
// to the suggested rectangle in its previous procedure.
TWinSkinForm::TNext TWinSkinForm::OnDpiChanged(const TMsg& m, LRESULT& result) {
    ReadDpi(LOWORD(m.wParam));
    BuildIconBitmap();
    FrameMetrics();
    if (FSystem.menu) BuildSystemMenu();
    if (FMenus.bar && FMenus.height > 0) FMenus.height = SystemMetricForDpi(SM_CYMENU, FDpi);
    result = PassOn(m.msg, m.wParam, m.lParam);
    FRegionWidth = FRegionHeight = 0;
    RecalcFrame();
    BuildRegion();
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return TNext::Done;
}

// ---- stage 3

LRESULT TWinSkinForm::OnNcActivate(const TMsg& m) {
    FActive = m.wParam != 0;
    SetTimerOn(FActive);
    if (!FActive && FControls) FControls->LeaveHot();
    if (!MdiChildNotNormal()) PaintFrame();
    return 1;
}

LRESULT TWinSkinForm::OnNcCalcSize(const TMsg& m) {
    (void)PassOn(m.msg, m.wParam, m.lParam);
    if (!m.wParam) return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.lParam);
    if (FBorderKind != bkNoFrame && !MdiChildNotNormal()) {
        const WINDOWPOS& pos = *params->lppos;
        const TSkinRect client =
            SkinnedClientRect(FMetrics, FMenus.height, {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy});
        params->rgrc[0] = ToRect(client);
    }
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
}

// The caption buttons answer the platform's codes from the layout painting
// reads; the mouse messages carrying them are ours alone (ncmouse.cpp).
LRESULT TWinSkinForm::OnNcHitTest(const TMsg& m) {
    const LRESULT r = PassOn(m.msg, m.wParam, m.lParam);
    UpdateLayout();
    const POINT p = ToWindow(PointOf(m.lParam));
    return FrameHitTest(static_cast<int>(r), FLayout, FButtons.HitCode(p.x, p.y), p.x, p.y);
}

LRESULT TWinSkinForm::OnNcPaint(const TMsg& m) {
    if (!FSkinData->NCPaint) return 0;
    if (MdiChildNotNormal() || FBorderKind == bkNoFrame) return PassOn(WM_NCPAINT, m.wParam, 0);
    GdiRegion clip;
    if (m.wParam > 1) {
        clip.Reset(CreateRectRgn(0, 0, 0, 0));
        CombineRgn(clip.Get(), reinterpret_cast<HRGN>(m.wParam), nullptr, RGN_COPY);
    }
    WindowDC dc = clip ? WindowDC(FHandle, clip.Get(), DCX_WINDOW | DCX_INTERSECTRGN) : WindowDC(FHandle);
    if (dc) {
        (void)clip.Release();  // the DC owns it now
        PaintFrame(dc.Get());
    }
    return 0;
}

LRESULT TWinSkinForm::OnSize(const TMsg& m) {
    const WPARAM kind = m.wParam;
    // A maximised child shows in the frame without its own frame and region;
    // its buttons are back in its style before the platform moves them into
    // the frame's menu bar. Restoring leaves the mode (WM_GETMINMAXINFO).
    if (FKind == fkMdiChild && kind == SIZE_MAXIMIZED) SetMdiMaximized(true);
    const LRESULT r = PassOn(WM_SIZE, m.wParam, m.lParam);
    if (kind == SIZE_RESTORED) FShowState = ssNormal;
    if (kind == SIZE_MINIMIZED) FShowState = ssMinimized;
    if (kind == SIZE_MAXIMIZED) FShowState = ssMaximized;
    const bool mdiSkip = FKind == fkMdiChild && (MdiMaximized() || FShowState != ssNormal);
    if (FShowState != ssMinimized && !mdiSkip) BuildRegion();
    UpdateLayout();
    return r;
}

LRESULT TWinSkinForm::OnRepaintFrame(const TMsg&) {
    PaintFrame();
    return 0;
}

// ---- letting go

void TWinSkinForm::Refresh() {
    if (FForm) {
        const auto face = static_cast<TColor>(FSkinData->Colours.ButtonFace);
        FForm->SetColor(face);
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (auto* owned = dyncast<TCustomForm>(FForm->Components(i))) owned->SetColor(face);
        FWindow.content.Apply(*FForm, *FSkinData);
    }
    if (FControls) FControls->SkinChange();
    FState = fsRefreshing;
    FBuffer.Drop();
    FLayoutKey = {};
    if (FSkinData->HasControl(xcMainMenu)) {
        BuildSystemMenu();
        if (FForm && FMenus.popupSwitch) FMenus.popupSwitch->Apply(FForm, FSkinData, FForm->Menu());
        WidenDialog(true);
        FState = fsRunning;
        FRegionWidth = FRegionHeight = 0;
        BuildRegion();
    }
    FState = fsRunning;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TWinSkinForm::Release() {
    SetTimerOn(false);
    FTips.Destroy();
    if (FControls) {
        // A window going away keeps its controls' skin colours.
        FControls->SetClosing(FState == fsClosing);
        FControls->Release();
    }
    FMenus.keys.Stop();
    FKeyCues.Stop();
    DetachMethod();
    DetachWindow();
    FClientThunk.Detach();
    FBuffer.Drop();
    if (FMenus.popupSwitch) FMenus.popupSwitch->Forget();
    FMenus.bar.reset();
}

void TWinSkinForm::DropSkinData() {
    // The window keeps running unless it or the program is going away too.
    const bool going = !IsWindow(FHandle) || (FForm && FForm->InState(csDestroying)) ||
                       (Application && Application->InState(csDestroying));
    if (going) {
        FState = fsClosing;
        Release();
    } else {
        Detach();
    }
    // Whatever still refers to the skin data's records goes with it.
    FControls.reset();
    FSystem.menu.reset();
    FMenus.bar.reset();
    FButtons.Clear();
    DropHotObject();
    FCachesFreed = false;
    FMenus.popupSwitch.reset();
    FSkinData = nullptr;
    FForm = nullptr;
    FState = fsDead;
}

void TWinSkinForm::Detach() {
    const bool closing = FState == fsClosing;
    const bool started = WindowAttached();
    // The form's popup menus draw themselves again; the window gets its menu back.
    if (FMenus.popupSwitch && FForm) FMenus.popupSwitch->Restore(FForm);
    const HMENU barMenu = FMenus.bar ? FMenus.bar->MenuHandle() : nullptr;
    if (!FSkinData->HasControl(xcMainMenu)) {
        Release();
        if (!FForm) return;
        if (!closing) {
            FForm->SetColor(FWindow.origColor);
            FWindow.content.Restore(*FForm);
        }
        for (int i = 0; i < FForm->ControlCount(); ++i) FForm->Controls(i)->Invalidate();
        // Minimising and restoring makes the platform lay out and paint the
        // whole window in its own look again; a hidden or maximised window
        // is not shown or restored by it.
        if (!closing && IsWindow(FHandle) && IsWindowVisible(FHandle) && !IsZoomed(FHandle) && !IsIconic(FHandle)) {
            ShowWindow(FHandle, SW_MINIMIZE);
            ShowWindow(FHandle, SW_RESTORE);
        }
        return;
    }
    Release();
    if (!started) return;
    if (FForm && !closing) {
        FForm->SetColor(FWindow.origColor);
        FWindow.content.Restore(*FForm);
    }
    SetIconsShown(true);
    if (barMenu && IsWindow(FHandle)) SetMenu(FHandle, barMenu);
    if (!closing && IsWindow(FHandle) && (FKind == fkMdiChild || !(FWindow.style & WS_CHILD))) {
        RECT r{};
        GetWindowRect(FHandle, &r);
        if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)
            MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
        const RECT& orig = FWindow.origFrame;
        const int w = (r.right - r.left) - (FMetrics.BorderLeft + FMetrics.BorderRight - orig.right);
        const int h = (r.bottom - r.top) -
                      (FMetrics.TitleHeight + FMenus.height + FMetrics.BorderBottom - orig.bottom);
        SetWindowPos(FHandle, nullptr, r.left, r.top, w, h, kSwpDetachResize);
    }
    if (IsWindow(FHandle)) SetWindowRgn(FHandle, nullptr, TRUE);
    FHasRegion = false;
}

void UseFormSkins(TSkinManage& manager) {
    UsePopupSkins(manager);
    TSkinManage* m = &manager;
    manager.SetFormSkinFactory([m](std::uintptr_t window, ::TSkinData* data, TComponent* form) {
        auto skin = std::make_unique<TWinSkinForm>(reinterpret_cast<HWND>(window), m);
        if (auto* f = dynamic_cast<TCustomForm*>(form))
            skin->StartForForm(data, f);
        else
            skin->Start(data);
        return std::unique_ptr<TManagedFormSkin>(std::move(skin));
    });
}

// Makes the one manager with the form-skin factory.
void InstallFormSkins() { UseFormSkins(SkinManagerInstance()); }

}  // namespace srt

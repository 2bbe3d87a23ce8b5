// TWinSkinForm: the skin of one top-level window. It takes over the window's
// procedure and its form's WindowProc through TWindowSkin, lays out, composes and paints the skinned
// non-client area (frame, caption text, caption buttons), cuts the window
// region from the same composition, operates the caption buttons and the
// system menu, and gives the window back when detached.
//   winskinform.cpp  start, the three-stage dispatch and its handlers, letting go
//   framepaint.cpp   frame layout, off-screen composition, painting, region
//   ncmouse.cpp      the mouse over caption buttons and menu bar items
//   menuitems.cpp    the menu bar popups' items and accelerators
//   menuhost.cpp     the host of the menu bar, menu changes, keyboard access
//   systemmenu.cpp   the skinned system menu and the caption buttons' actions
//   mdiclient.cpp    an MDI frame's client window and the MDI-maximised mode
//   dialogwiden.cpp  message dialogs widened to their caption
//   formuistate.cpp  the UI state (focus cues) of the window and its controls
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "component/dpi.h"
#include "component/forms.h"
#include "component/gdi.h"
#include "component/menus.h"
#include "component/graphics.h"
#include "skin/controls/controlskins.h"
#include "skin/data/skindata.h"
#include "skin/form/captionbuttons.h"
#include "skin/form/captiontips.h"
#include "skin/form/framegeom.h"
#include "skin/form/contentcolours.h"
#include "skin/form/keycues.h"
#include "skin/form/keymenu.h"
#include "skin/form/uistate.h"
#include "skin/manager/skinmanager.h"
#include "skin/manager/windowskin.h"
#include "skin/menu/menuhost.h"
#include "skin/thunk/wndthunk.h"

namespace srt {

class TWinSkinMenu;
class TPopupSkinSwitch;

// WM_DPICHANGED, which older headers lack.
constexpr UINT kWmDpiChanged = 0x02E0;

// Form kinds.
constexpr std::uint8_t fkWindow = 0, fkMdiFrame = 1, fkMdiChild = 2;

class TWinSkinForm final : public TManagedFormSkin, public TNCOwner, public TMenuBarHost, private TWindowSkin {
public:
    TWinSkinForm(HWND window, TSkinManage* manager);
    ~TWinSkinForm() override;

    // Starts for a form of the application, or for any window.
    void StartForForm(::TSkinData* data, TCustomForm* form);
    void Start(::TSkinData* data);

    // TManagedFormSkin
    std::uintptr_t Window() const override { return reinterpret_cast<std::uintptr_t>(FHandle); }
    ::TSkinData* SkinData() const override { return FSkinData; }
    int LifeState() const override { return FState; }
    void SetLifeState(int state) override { FState = state; }
    bool IsMdiChild() const override { return FKind == fkMdiChild; }
    void FreeCaches() override;
    bool CachesFreed() const override { return FCachesFreed; }
    void RecomputeFrame() override { FrameMetrics(); }
    void Reapply() override { Refresh(); }
    void Detach() override;
    void Release() override;
    void DropSkinData() override;
    void ApplyMdiMaximized(bool maximized) override;

    void Refresh();
    void SetIconsShown(bool shown);
    // The MDI-maximised mode of the MDI frame this window is or sits in: on
    // while a maximised child shows inside the frame. Switching it applies
    // the child part to every living child skin of that frame.
    bool MdiMaximized() const;
    void SetMdiMaximized(bool maximized);

    // TNCOwner
    void PaintNCObject(TNCObject& object) override;

    // TMenuBarHost (menuhost.cpp)
    HWND BarWindow() const override;
    POINT BarScreenToWindow(POINT screen) const override;
    bool BarRightToLeft() const override;
    int BarDpi() const override { return FDpi; }
    bool BarActiveLook() const override;
    TNCOwner& BarItemOwner() override;
    TMainMenu* BarMenu() const override;
    void PaintOverBar(HDC canvas, const RECT& bar) override;

    // What the caption-button and frame rules read; also for tests.
    TButtonContext ButtonContext() const;
    const TFrameMetrics& Metrics() const { return FMetrics; }
    std::uint8_t BorderKind() const { return FBorderKind; }
    std::uint8_t BorderIcons() const { return FBorderIcons; }
    TShowState ShowState() const { return FShowState; }
    bool ActiveLook() const { return FActive; }
    const TCaptionButtons& Buttons() const { return FButtons; }
    const TCaptionTips& Tips() const { return FTips; }
    const TSkinRect& TextRect() const { return FLayout.Text; }
    // The frame's layout as painting and hit testing read it.
    const TFrameGeometry& Layout() const { return FLayout; }
    // The DPI the window is laid out and painted at, and the skin's records
    // at it: the one set its painting and hit testing read. Asked for anew
    // at every use, so a reload never leaves a stale set behind.
    int Dpi() const { return FDpi; }
    const TSkinElements& Skin() const { return FSkinData->ElementsAt(FDpi); }
    bool HasRegion() const { return FHasRegion; }
    void ExecuteAction(TWinSysButton& button, POINT screen);
    // The system menu at a click on the icon (a double click closes).
    void ShowSystemMenu(POINT screen);
    // The system menu itself, its top left corner at `screen`.
    void OpenSystemMenu(POINT screen);
    // Paints the whole frame on `dc` (the window DC when null): composed off
    // screen, reaching `dc` in one blit that leaves the client rectangle out.
    void PaintFrame(HDC dc = nullptr);
    // The control skins of the window; null before the start.
    TControlSkins* Controls() const { return FControls.get(); }

    // What the menu bar and the menus read and set.
    HWND Handle() const { return FHandle; }
    bool RightToLeft() const { return FWindow.rightToLeft; }
    bool IsMdiFrame() const { return FKind == fkMdiFrame; }
    int MdiChildCount() const { return static_cast<int>(MdiChildren().size()); }
    HWND MdiClient() const { return FMdi.client; }
    // While one of the bar's popups is open; the sub-menu it last opened.
    bool MenuTracking() const;
    HMENU TrackedMenu() const;
    TWinSkinMenu* MenuBar() const { return FMenus.bar.get(); }
    int MenuHeight() const { return FMenus.height; }
    TPopupMenu* SkinSystemMenu() const { return FSystem.menu.get(); }
    // Window coordinates of a screen point.
    POINT ToWindow(POINT screen) const;

private:
    // ---- core (winskinform.cpp): start, dispatch, letting go
    void WindowMessage(TMessage& m) override { m.Result = WndProc(m.Msg, m.WParam, m.LParam); }
    // The form's own messages (Perform included), through its WindowProc.
    void MethodMessage(TMessage& m) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PassOn(UINT msg, WPARAM wParam, LPARAM lParam) { return CallPrevious(msg, wParam, lParam); }
    bool Stage3Runs() const;
    bool MdiChildNotNormal() const { return FKind == fkMdiChild && FShowState != ssNormal; }

    // A message on its way through the three stages.
    struct TMsg {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    // What a stage-2 handler leaves to stage 3: nothing (the result is
    // final), the message (not passed on unless stage 3 handles it), or the
    // message to be passed on unless stage 3 handles it.
    enum class TNext : std::uint8_t { Done, Stage3, Stage3PassOn };
    using THandler = LRESULT (TWinSkinForm::*)(const TMsg&);
    using TEarlyHandler = TNext (TWinSkinForm::*)(const TMsg&, LRESULT&);
    template <class Handler>
    struct TRoute {
        UINT msg;
        Handler handler;
    };

    // Stage 1: every window.
    LRESULT OnCtlColor(const TMsg& m);
    // List views' and trees' custom draw: selected and hot items in the skin's colours.
    LRESULT OnNotify(const TMsg& m);
    LRESULT OnEraseBkgnd(const TMsg& m);
    LRESULT OnStyleChanged(const TMsg& m);
    LRESULT OnNcDestroy(const TMsg& m);
    LRESULT OnTimer(const TMsg& m);
    LRESULT OnSkinQuery(const TMsg& m);
    // WM_CHANGEUISTATE, WM_UPDATEUISTATE and WM_QUERYUISTATE (formuistate.cpp).
    LRESULT OnUiState(const TMsg& m);
    // Stage 2: windows with a skinned frame.
    TNext OnCommand(const TMsg& m, LRESULT& result);
    TNext OnGetMinMaxInfo(const TMsg& m, LRESULT& result);
    TNext OnSizeFirst(const TMsg& m, LRESULT& result);
    TNext OnActivate(const TMsg& m, LRESULT& result);
    TNext OnWindowPosChanged(const TMsg& m, LRESULT& result);
    TNext OnNcActivateFirst(const TMsg& m, LRESULT& result);
    TNext OnSysCommand(const TMsg& m, LRESULT& result);
    TNext OnSetText(const TMsg& m, LRESULT& result);
    TNext OnSetIcon(const TMsg& m, LRESULT& result);
    // Passes a message on without the platform painting its own caption.
    LRESULT PassOnUnpainted(const TMsg& m);
    TNext OnMenuChanged(const TMsg& m, LRESULT& result);
    TNext OnMenuSelect(const TMsg& m, LRESULT& result);
    TNext OnSkinStart(const TMsg& m, LRESULT& result);
    TNext OnDpiChanged(const TMsg& m, LRESULT& result);
    // Stage 3: a running, not minimised frame.
    LRESULT OnNcActivate(const TMsg& m);
    LRESULT OnNcCalcSize(const TMsg& m);
    LRESULT OnNcHitTest(const TMsg& m);
    LRESULT OnNcPaint(const TMsg& m);
    LRESULT OnSize(const TMsg& m);
    LRESULT OnNcMouseMove(const TMsg& m);
    LRESULT OnNcLButtonDown(const TMsg& m);
    LRESULT OnNcLButtonUp(const TMsg& m);
    LRESULT OnNcLButtonDblClk(const TMsg& m);
    LRESULT OnNcRButtonDown(const TMsg& m);
    // The other buttons' and the hover's non-client messages: passed on.
    LRESULT OnNcOtherMouse(const TMsg& m);
    LRESULT OnMeasureItem(const TMsg& m);
    LRESULT OnDrawItem(const TMsg& m);
    LRESULT OnRepaintFrame(const TMsg& m);
    void OnHoverTimer();

    void ReadShowState();
    void ReadCaptionText();
    // The window's DPI (`dpi`, or the platform's answer when 0) and the
    // caption font at it.
    void ReadDpi(int dpi = 0);
    // ---- menu bar (menuhost.cpp)
    void StartMenuBar();
    // The window's menu or one of its items changed.
    void MenuChanged();
    bool OnMenuAccelerator(unsigned key);
    // The keyboard's SC_KEYMENU: true when the skin opened a menu or
    // swallowed the key.
    bool OnKeyMenu(wchar_t key);
    void SetTimerOn(bool on);
    void RecalcFrame() const;

    // ---- frame (framepaint.cpp): layout, composition, region
    void FrameMetrics();
    void BuildButtons();
    void BuildIconBitmap();
    // Lays the frame out again when what it depends on has changed.
    void UpdateLayout();
    void MeasureCaption(const TSkinRect& title);
    void ComposeEdges();
    void ComposeFrame();
    void DrawCaption(HDC dc);
    void DrawButtons(HDC dc);
    void BuildRegion();
    TWinSysButton* ButtonAt(POINT screen);
    TNCObject* ObjectAt(POINT screen);

    // ---- system menu and caption-button actions (systemmenu.cpp)
    void BuildSystemMenu();
    void Restore();
    void Maximize();
    void Minimize();

    // ---- MDI client (mdiclient.cpp)
    static LRESULT ClientThunkProc(void* self, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ClientProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // This skin for an MDI frame, the frame's skin for an MDI child, else null.
    TWinSkinForm* MdiFrameSkin() const;
    // The living skins of this MDI frame's children (none unless a frame).
    std::vector<TManagedFormSkin*> MdiChildren() const;

    // ---- dialog widening (dialogwiden.cpp)
    void WidenDialog(bool refresh);

    // What the window was before the skin, and what it is now.
    struct TWindowState {
        std::uint32_t style = 0;
        std::string className;
        RECT clientRect{};
        RECT origFrame{};          // the platform's frame widths at start
        TColor origColor = clBtnFace;
        TContentColours content;   // the controls' own colours while the skin recolours them
        HMENU menu = nullptr;      // the window's menu at start
        HMENU sysMenu = nullptr;
        bool rightToLeft = false;
        bool sizeable = false;
        bool iconsShown = true;
    };
    // The caption: its font, text and icon.
    struct TCaption {
        GdiFont font;
        std::wstring pad = L"  ";
        std::wstring text;
        TBitmap icon;
        int spaceWidth = 0;
    };
    // The frame's layout and what it was computed from.
    struct TLayoutKey {
        int width = -1, height = -1;
        bool active = false;
        TShowState showState = ssNormal;
        bool mdiChildMaximized = false;
        std::uint32_t style = 0;
        int menuHeight = 0;
        TFrameMetrics metrics;
        std::wstring text;
        unsigned buttons = 0;  // generation of FButtons
        bool operator==(const TLayoutKey&) const = default;
    };
    // The non-client area composed off screen: the edges alone (kept while
    // size, active look and skin stay) and the whole frame over them.
    struct TFrameBuffer {
        TBitmap edges;
        TBitmap frame;
        int width = 0, height = 0;
        bool active = false;
        bool composed = false;  // `frame` holds a whole frame of this size
        bool captionCurrent = false;  // its caption and buttons as laid out now
        bool Holds(int w, int h, bool look) const {
            return !edges.Empty() && width == w && height == h && active == look;
        }
        void Drop() {
            edges.SetSize(0, 0);
            frame.SetSize(0, 0);
            width = height = 0;
            composed = captionCurrent = false;
        }
    };
    // The system menu as the skin draws it and the icon's double click.
    struct TSystemMenu {
        std::unique_ptr<TPopupMenu> menu;
        std::unique_ptr<TImageList> images;
        TIconClicks iconClicks;
        std::uint32_t dblClickTime = 0;
    };
    // The menu bar and its popups.
    struct TMenuState {
        std::unique_ptr<TWinSkinMenu> bar;
        std::unique_ptr<TPopupSkinSwitch> popupSwitch;
        TKeyMenuRoute keys;  // while the window has a skinned frame
        int height = 0;
    };
    // An MDI frame's client window.
    struct TMdiState {
        HWND client = nullptr;
        HWND pendingChild = nullptr;
        bool menuUpdate = true;  // the skin data's MenuUpdate at start
        bool maximized = false;  // the MDI-maximised mode
    };

    TSkinManage* FManager;
    HWND FHandle;
    TCustomForm* FForm = nullptr;
    ::TSkinData* FSkinData = nullptr;
    TWndThunk FClientThunk;
    std::unique_ptr<TControlSkins> FControls;
    TWindowState FWindow;
    TCaption FCaption;
    TSystemMenu FSystem;
    TMenuState FMenus;
    TMdiState FMdi;
    // Frame: metrics, buttons, layout, composition, region.
    TFrameMetrics FMetrics;
    TCaptionButtons FButtons;
    TCaptionTips FTips;
    TUiState FUiState;
    TKeyCueRoute FKeyCues;
    unsigned FButtonsGeneration = 0;
    bool FCachesFreed = false;  // FButtons freed by the manager, not built again
    TLayoutKey FLayoutKey;
    TFrameGeometry FLayout;
    TFrameBuffer FBuffer;
    int FRegionWidth = 0, FRegionHeight = 0;
    bool FHasRegion = false;
    // Life and look.
    bool FStartSeen = false;
    bool FTimerOn = false;
    bool FActive = true;
    std::uint8_t FKind = fkWindow;
    std::uint8_t FBorderKind = bkFrame;
    std::uint8_t FBorderIcons = 0;
    TShowState FShowState = ssNormal;
    int FState = fsNew;
    int FDpi = kDesignDpi;
};

// Makes `manager` attach TWinSkinForm objects.
void UseFormSkins(TSkinManage& manager);
// Lets the manager make form skins: call once at start-up, before the skin
// data components load (it makes the one manager).
void InstallFormSkins();

}  // namespace srt

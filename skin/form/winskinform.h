// TWinSkinForm: the skin of one top-level window. It replaces the window's
// procedure through its own thunk, computes and paints the skinned
// non-client area (frame, caption text, caption buttons), cuts the window
// region from the transparent border pixels, operates the caption buttons
// and the system menu, and gives the window back when detached.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "component/forms.h"
#include "component/gdi.h"
#include "component/menus.h"
#include "component/graphics.h"
#include "skin/controls/controlskins.h"
#include "skin/data/skindata.h"
#include "skin/form/captionbuttons.h"
#include "skin/form/framegeom.h"
#include "skin/form/wndthunk.h"
#include "skin/manager/skinmanager.h"
#include "skin/menu/menuhost.h"

namespace srt {

class TWinSkinMenu;
class TPopupSkinSwitch;

// Form kinds.
constexpr std::uint8_t fkWindow = 0, fkMdiFrame = 1, fkMdiChild = 2;

class TWinSkinForm final : public TManagedFormSkin, public TNCOwner, public TMenuBarHost {
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

    // TNCOwner
    void PaintNCObject(TNCObject& object) override;

    // TMenuBarHost (menuhost.cpp)
    HWND BarWindow() const override;
    POINT BarScreenToWindow(POINT screen) const override;
    bool BarRightToLeft() const override;
    bool BarActiveLook() const override;
    TNCOwner& BarItemOwner() override;
    void SetBarTracking(bool tracking) override;
    HMENU BarTrackedMenu() const override;
    void SetBarTrackedMenu(HMENU menu) override;
    void PaintOverBar(HDC canvas, const RECT& bar) override;

    // What the caption-button and frame rules read; also for tests.
    TButtonContext ButtonContext() const;
    const TFrameMetrics& Metrics() const { return FMetrics; }
    std::uint8_t BorderKind() const { return FBorderKind; }
    std::uint8_t BorderIcons() const { return FBorderIcons; }
    TShowState ShowState() const { return FShowState; }
    bool ActiveLook() const { return FActive; }
    const TCaptionButtons& Buttons() const { return FButtons; }
    const TSkinRect& TextRect() const { return FTextRect; }
    bool HasRegion() const { return FHasRegion; }
    void ExecuteAction(TWinSysButton& button, POINT screen);
    void ShowSystemMenu(POINT screen);
    // Paints the whole frame on `dc` (the window DC when null).
    void PaintFrame(HDC dc = nullptr);
    // The control skins of the window; null before the start.
    TControlSkins* Controls() const { return FControls.get(); }

    // What the menu bar and the menus read and set.
    HWND Handle() const { return FHandle; }
    bool RightToLeft() const { return FRightToLeft; }
    bool IsMdiFrame() const { return FKind == fkMdiFrame; }
    HWND MdiClient() const { return FMdiClient; }
    TSkinManage* Manager() const { return FManager; }
    bool MenuTracking() const { return FMenuTracking; }
    void SetMenuTracking(bool tracking) { FMenuTracking = tracking; }
    HMENU TrackedMenu() const { return FTrackedMenu; }
    void SetTrackedMenu(HMENU menu) { FTrackedMenu = menu; }
    TWinSkinMenu* MenuBar() const { return FMenuBar.get(); }
    int MenuHeight() const { return FMenuHeight; }
    TPopupMenu* SkinSystemMenu() const { return FSkinSysMenu.get(); }
    // Window coordinates of a screen point.
    POINT ToWindow(POINT screen) const;

private:
    static LRESULT ThunkProc(void* self, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PassOn(UINT msg, WPARAM wParam, LPARAM lParam) { return FThunk.CallPrevious(msg, wParam, lParam); }
    bool Stage3Runs() const;
    bool MdiChildNotNormal() const { return FKind == fkMdiChild && FShowState != ssNormal; }

    // Handlers.
    LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnSkinStart();
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam);
    LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk();
    LRESULT OnNcRButtonDown(WPARAM wParam, LPARAM lParam);
    void OnHoverTimer();
    static LRESULT ClientThunkProc(void* self, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ClientProc(UINT msg, WPARAM wParam, LPARAM lParam);

    void ReadShowState();
    void FrameMetrics();
    void BuildButtons();
    void BuildIconBitmap();
    void BuildSystemMenu();
    void DrawBorderPart(HDC dc, int index, const TSkinRect& rect);
    void DrawCaption(HDC dc, const TSkinRect& title);
    void DrawButtons(HDC dc);
    void BuildRegion();
    void WidenDialog(bool refresh);
    void SetTimerOn(bool on);
    TWinSysButton* ButtonAt(POINT screen) const;
    TNCObject* ObjectAt(POINT screen) const;
    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    bool OnMenuAccelerator(unsigned key);
    void StartMenuBar();
    void Restore();
    void Maximize();
    void Minimize();
    void RecalcFrame() const;
    void ReadCaptionText();

    TSkinManage* FManager;
    HWND FHandle;
    TCustomForm* FForm = nullptr;
    ::TSkinData* FSkinData = nullptr;
    TWndThunk FThunk;
    TWndThunk FClientThunk;
    // The form-level hook as the form's WindowProc holds it. A hook that
    // someone has replaced on top stays in their chain and only passes
    // messages on once this object has let go.
    struct TFormHookState {
        TWinSkinForm* skin;
        TWndMethod previous;  // the form's method before ours
    };
    struct TFormHook {
        std::shared_ptr<TFormHookState> state;
        void operator()(TMessage& m) const;
    };
    std::shared_ptr<TFormHookState> FFormHook;
    void FormProc(TMessage& m);
    void UnhookForm();
    GdiFont FCaptionFont;
    bool FStartSeen = false;
    bool FTimerOn = false;
    std::wstring FCaptionPad = L"  ";
    std::wstring FCaptionText;
    std::string FClassName;
    bool FIconsShown = true;
    bool FMdiMenuUpdate = true;
    RECT FClientRect{};
    TIconClicks FIconClicks;
    std::uint32_t FDblClickTime = 0;
    int FSpaceWidth = 0;
    TFrameMetrics FMetrics;
    RECT FWindowRect{};
    TSkinRect FTextRect;
    RECT FOrigFrame{};
    int FMenuHeight = 0;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    bool FSizeable = false;
    std::unique_ptr<TPopupMenu> FSkinSysMenu;
    std::unique_ptr<TImageList> FSysMenuImages;
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    std::unique_ptr<TPopupSkinSwitch> FPopupSwitch;
    HMENU FTrackedMenu = nullptr;
    HWND FMdiClient = nullptr;
    HWND FPendingChild = nullptr;
    HMENU FMenu = nullptr;
    HMENU FSysMenu = nullptr;
    TColor FOrigColor = clBtnFace;
    std::uint32_t FStyle = 0;
    int FButtonsRight = 0;
    bool FHasRegion = false;
    TCaptionButtons FButtons;
    bool FCachesFreed = false;  // FButtons freed by the manager, not built again
    std::unique_ptr<TControlSkins> FControls;
    TBitmap FIconBitmap;
    TBitmap FCaptionBitmap;
    int FWidth = 0, FHeight = 0;
    int FRegionWidth = 0, FRegionHeight = 0;
    bool FActive = true;
    std::uint8_t FKind = fkWindow;
    std::uint8_t FBorderKind = bkFrame;
    std::uint8_t FBorderIcons = 0;
    TShowState FShowState = ssNormal;
    int FState = fsNew;
};

// Makes `manager` attach TWinSkinForm objects.
void UseFormSkins(TSkinManage& manager);
// Lets the manager make form skins: call once at start-up, before the skin
// data components load (the skin data factory included).
void InstallFormSkins();

}  // namespace srt

// An MDI frame's client window, subclassed by the frame's skin, and the
// per-child part of the MDI-maximised mode.
#include <vector>

#include "component/trace.h"
#include "skin/draw/skindraw.h"
#include "skin/form/winskinform.h"
#include "skin/menu/winskinmenu.h"

namespace srt {

LRESULT TWinSkinForm::ClientThunkProc(void* self, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* skin = static_cast<TWinSkinForm*>(self);
    TSkinManage::TDispatchScope dispatch(skin->FManager);
    return skin->ClientProc(msg, wParam, lParam);
}

LRESULT TWinSkinForm::ClientProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool skinned = FSkinData->HasControl(xcMainMenu);
    const auto pass = [&] { return FClientThunk.CallPrevious(msg, wParam, lParam); };
    switch (msg) {
    case WM_MDICREATE: {
        FSkinData->SetMenuUpdate(false);
        const LRESULT r = pass();
        FMdi.pendingChild = reinterpret_cast<HWND>(r);
        return r;
    }
    case WM_MDIDESTROY: {
        const LRESULT r = pass();
        SkinTrace("WM_MDIDESTROY %4lx", wParam);
        if (skinned) {
            BOOL maximized = FALSE;
            SendMessageW(FMdi.client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
            SetMdiMaximized(maximized != FALSE);
            if (FMenus.bar && MdiChildCount() == 0) {
                // The last child went: the bar drops the MDI buttons.
                FSkinData->SetMenuUpdate(FMdi.menuUpdate);
                FMenus.bar->BuildFromMenuComponent();
                PaintFrame();
            }
        }
        return r;
    }
    case WM_MDISETMENU: {
        const LRESULT r = pass();
        SkinTrace("WM_MDISETMENU %lx,%lx", wParam, lParam);
        if (!skinned) return r;
        const auto menu = reinterpret_cast<HMENU>(wParam);
        if (menu && FMenus.bar && (menu != FMenus.bar->MenuHandle() || FMdi.pendingChild)) {
            FMenus.bar->BuildFromMenuHandle(GetMenu(FHandle));
            PaintFrame();
        }
        if (FMenus.bar || !menu) SetMenu(FHandle, nullptr);
        return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (skinned && MdiMaximized()) SetMdiMaximized(false);
        return pass();
    case WM_MDIREFRESHMENU: {
        const LRESULT r = pass();
        if (FMdi.pendingChild) {
            HWND child = FMdi.pendingChild;
            FMdi.pendingChild = nullptr;
            FManager->SkinWindow(reinterpret_cast<std::uintptr_t>(child));
            PostMessageW(FHandle, kWmSkinRepaintFrame, 0, 0);
        }
        return r;
    }
    case WM_NCCALCSIZE:
        if (skinned) {
            const LONG_PTR style = GetWindowLongPtrW(FMdi.client, GWL_STYLE);
            SetWindowLongPtrW(FMdi.client, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
        }
        return pass();
    case WM_NCDESTROY: {
        const LRESULT r = pass();
        FClientThunk.Detach();
        return r;
    }
    default: return pass();
    }
}

TWinSkinForm* TWinSkinForm::MdiFrameSkin() const {
    if (FKind == fkMdiFrame) return const_cast<TWinSkinForm*>(this);
    if (FKind != fkMdiChild) return nullptr;
    HWND client = GetParent(FHandle);
    auto* frame = dynamic_cast<TWinSkinForm*>(
        FManager->FindFormSkin(reinterpret_cast<std::uintptr_t>(client ? GetParent(client) : nullptr)));
    return frame && frame->FKind == fkMdiFrame && frame->FMdi.client == client ? frame : nullptr;
}

bool TWinSkinForm::MdiMaximized() const {
    const TWinSkinForm* frame = MdiFrameSkin();
    return frame && frame->FMdi.maximized;
}

void TWinSkinForm::SetMdiMaximized(bool maximized) {
    TWinSkinForm* frame = MdiFrameSkin();
    if (!frame || maximized == frame->FMdi.maximized) return;
    frame->FMdi.maximized = maximized;
    SkinTrace("MDI-maximised mode %d", maximized);
    for (TManagedFormSkin* child : frame->MdiChildren()) child->ApplyMdiMaximized(maximized);
}

std::vector<TManagedFormSkin*> TWinSkinForm::MdiChildren() const {
    std::vector<TManagedFormSkin*> children;
    if (FKind != fkMdiFrame || !FMdi.client) return children;
    for (const auto& skin : FManager->Forms())
        if (skin->IsMdiChild() && skin->LifeState() != fsDead &&
            GetParent(reinterpret_cast<HWND>(skin->Window())) == FMdi.client)
            children.push_back(skin.get());
    return children;
}

void TWinSkinForm::ApplyMdiMaximized(bool maximized) {
    if (maximized) {
        if (FHasRegion) {
            SetWindowRgn(FHandle, nullptr, FALSE);
            FHasRegion = false;
            FBuffer.Drop();
        }
        SetIconsShown(true);
        return;
    }
    ReadShowState();
    if (FShowState == ssMinimized) {
        SetIconsShown(true);
        return;
    }
    FShowState = ssNormal;
    FRegionWidth = FRegionHeight = 0;
    BuildRegion();
    SetIconsShown(false);
    if (!FHasRegion) RecalcFrame();
}

}  // namespace srt

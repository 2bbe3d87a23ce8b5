// The one skin manager of the process (SkinManagerInstance makes it and
// links it to the skin data layer). The skin data components register
// with it and ask it for deferred actions; on Win32 it hooks window
// creation, activation and destruction on the GUI thread and attaches the
// form skins and popup-menu skins. Registration and the action requests are
// platform-free; the window side is compiled for Win32 only.
//
// The form skins and popup skins live in the layers above; the manager
// drives them through TManagedFormSkin / TManagedPopupSkin and makes them
// through the factories those layers install.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "skin/data/skindata.h"
#include "skin/manager/skintypes.h"

namespace srt {

// Life states of a form skin.
enum TFormSkinState : int {
    fsNew = 0, fsRunning = 1, fsRefreshing = 3, fsClosing = 4, fsStartSizing = 5, fsDead = 6
};

// A form skin as the manager sees it.
class TManagedFormSkin {
public:
    virtual ~TManagedFormSkin() = default;
    virtual std::uintptr_t Window() const = 0;
    virtual ::TSkinData* SkinData() const = 0;
    virtual int LifeState() const = 0;
    virtual void SetLifeState(int state) = 0;
    virtual bool IsMdiChild() const = 0;
    // Caption buttons go (they refer to the skin's records).
    virtual void FreeCaches() = 0;
    // Frame metrics and caption buttons from the current skin.
    virtual void RecomputeFrame() = 0;
    // Re-applies a changed skin.
    virtual void Reapply() = 0;
    // Gives the window its own look back.
    virtual void Detach() = 0;
    // Lets go of a window that is going away.
    virtual void Release() = 0;
    // The skin data is being freed: let go of the window (its own look back
    // unless it is going away too) and of everything that refers to the
    // skin data, and wait dead for the purge.
    virtual void DropSkinData() = 0;
    // The caption buttons were freed and not built again yet.
    virtual bool CachesFreed() const = 0;
    // The per-child part of the MDI-maximised mode.
    virtual void ApplyMdiMaximized(bool maximized) = 0;
};

class TManagedPopupSkin {
public:
    virtual ~TManagedPopupSkin() = default;
    virtual std::uintptr_t Window() const = 0;
    // Puts the window's procedure back.
    virtual void Detach() = 0;
    // The menu the window shows, 0 until the popup skin has learnt it.
    virtual std::uintptr_t MenuHandle() const { return 0; }
};

// Makes and starts a form skin for `window` (`form`: the application form,
// or null) with `data`.
using TFormSkinFactory =
    std::function<std::unique_ptr<TManagedFormSkin>(std::uintptr_t window, ::TSkinData* data, TComponent* form)>;
// Makes a popup skin attached to a "#32768" window.
using TPopupSkinFactory = std::function<std::unique_ptr<TManagedPopupSkin>(std::uintptr_t window, ::TSkinData* data)>;

class TSkinManage : public ISkinManagerLink {
public:
    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Registration in order; removing takes the first occurrence only.
    void AddSkinData(::TSkinData* data) override;
    void RemoveSkinData(::TSkinData* data) override;
    // A skin data component is being freed: every registration of it goes,
    // no pending work names it any more, and the form skins that use it let
    // go of it and of their windows.
    void SkinDataGone(::TSkinData* data) override;
    const std::vector<::TSkinData*>& SkinDatas() const { return FSkinDatas; }

    // Installs the thread-local CBT hook once (Win32; nothing natively).
    void InstallHook() override;
    bool HookInstalled() const { return FHook != 0; }

    // Queues `action` for the skin of `source`; once a window has been
    // activated the queue runs from the deferred-action timer after
    // `interval` ms. Before that maActivate and maDeactivate take effect at
    // once on the switch only; other work waits for the timer. A purge needs
    // no source; any other action without one has nothing to act on and is
    // dropped. Pending work is never lost: a request replaces only an earlier
    // switch (maActivate/maDeactivate) of the same source, and a purge stays
    // pending until it has run.
    void RequestAction(TManagerAction action, ::TSkinData* source, int interval) override;
    // The action requested last that is still pending, else maNone.
    TManagerAction PendingAction() const { return FPending.empty() ? maNone : FPending.back().action; }
    bool Pending(TManagerAction action) const;

    // A skin data component of type sfOnlyThisForm or sfDialog finished
    // loading: skinning is on and the manager counts as started.
    void StartSkinning() override;
    bool Active() const { return FActive; }
    int Started() const { return FStarted; }
    // The first activation of any window of the thread.
    void NoteActivation();

    // The deferred-action timer as the window side drives it; tests call
    // TimerTick themselves. Runs the purge first, then the rest in request
    // order; work requested while it runs waits for the next tick. Returns
    // false when nothing could run: nothing is pending, or a skin procedure
    // is on the stack (the timer then keeps running).
    bool TimerEnabled() const { return FTimerEnabled; }
    unsigned TimerInterval() const { return FTimerInterval; }
    bool TimerTick();

    // Attaches a form skin when the window qualifies (Win32; natively
    // nothing). `window` is the platform's window handle.
    bool SkinWindow(std::uintptr_t window);
    void SkinWindow(TComponent* form) override;
    void SkinPopupWindow(std::uintptr_t window);
    bool ReleasePopupWindow(std::uintptr_t window);
    // Every form skin drops what refers to the skin's records before a reload.
    void FreeFormCaches() override;

    // The live form skins in creation order.
    const std::vector<std::unique_ptr<TManagedFormSkin>>& Forms() const { return FForms; }
    std::size_t PopupCount() const { return FPopups.size(); }
    // The live popup skin that shows `menu`, or null.
    TManagedPopupSkin* FindPopupByMenu(std::uintptr_t menu) const {
        for (const auto& popup : FPopups)
            if (menu && popup->MenuHandle() == menu) return popup.get();
        return nullptr;
    }
    TManagedFormSkin* FindFormSkin(std::uintptr_t window) const;
    // Takes the form skin of `window` out of the list and gives it to the
    // caller (who frees it).
    std::unique_ptr<TManagedFormSkin> RemoveFormSkin(std::uintptr_t window);

    void SetFormSkinFactory(TFormSkinFactory factory) { FFormFactory = std::move(factory); }
    void SetPopupSkinFactory(TPopupSkinFactory factory) { FPopupFactory = std::move(factory); }

    // What a tick does with the pending action. By default the table of
    // actions over the form skins runs; a test may put its own in place.
    using TActionRunner = std::function<void(TManagerAction action, ::TSkinData* source)>;
    void SetActionRunner(TActionRunner runner) { FRunner = std::move(runner); }

    // The switch, set by the deferred actions.
    void SetActive(bool active) { FActive = active; }

    // Skin window procedures count their nested dispatch here; a deferred
    // action waits (the timer keeps running) while one is on the stack, so
    // no skin object is freed under its own running procedure.
    void EnterDispatch() { ++FDispatchDepth; }
    void LeaveDispatch() { --FDispatchDepth; }
    // One dispatch, counted for its scope: the count comes back even when
    // the platform unwinds a fault through the procedure and carries on.
    class TDispatchScope {
    public:
        explicit TDispatchScope(TSkinManage* manager) : FManager(manager) {
            if (FManager) FManager->EnterDispatch();
        }
        ~TDispatchScope() {
            if (FManager) FManager->LeaveDispatch();
        }
        TDispatchScope(const TDispatchScope&) = delete;
        TDispatchScope& operator=(const TDispatchScope&) = delete;

    private:
        TSkinManage* FManager;
    };

private:
    struct TPendingAction {
        TManagerAction action;
        ::TSkinData* source;  // a purge may have none
        unsigned ticket;      // request order
    };
    void RunAction(TManagerAction action, ::TSkinData* source);
    void FreeFormSkin(std::size_t index, bool detach);
    void ArmTimer(bool enabled);
    void ReleaseHook();

    std::uintptr_t FHook = 0;
    std::vector<std::unique_ptr<TManagedFormSkin>> FForms;
    std::vector<std::unique_ptr<TManagedPopupSkin>> FPopups;
    std::vector<::TSkinData*> FSkinDatas;  // not owned
    bool FActive = false;
    bool FScanning = false;
    int FStarted = 0;
    std::vector<TPendingAction> FPending;
    unsigned FTicket = 0;
    ::TSkinData* FRunningSource = nullptr;  // the source of the action running now
    bool FTimerEnabled = false;
    unsigned FTimerInterval = kActionInterval;
    std::uintptr_t FTimerId = 0;
    int FDispatchDepth = 0;
    TActionRunner FRunner;
    TFormSkinFactory FFormFactory;
    TPopupSkinFactory FPopupFactory;
};

// The process's one manager: made on first use, owned here and linked to the
// skin data layer (SetSkinManager) until ReleaseSkinManager.
TSkinManage& SkinManagerInstance();
// The one manager while it exists, else null.
TSkinManage* TheSkinManager();
// Program end: unlinks and frees the one manager (every form skin lets go of
// its window).
void ReleaseSkinManager();

}  // namespace srt

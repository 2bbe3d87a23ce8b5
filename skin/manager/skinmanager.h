// The one skin manager of the process. The skin data components register
// with it and ask it for deferred actions; on Win32 it hooks window
// creation, activation and destruction on the GUI thread and attaches the
// form skins. Registration and the action requests are platform-free; the
// window side is compiled for Win32 only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "skin/manager/skintypes.h"

namespace srt {

class TSkinData;  // the skin data component

class TSkinManage {
public:
    TSkinManage();
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Registration in order; removing takes the first occurrence only.
    void AddSkinData(TSkinData* data);
    void RemoveSkinData(TSkinData* data);
    const std::vector<TSkinData*>& SkinDatas() const { return FSkinDatas; }

    // Installs the thread-local CBT hook once (Win32; nothing natively).
    void InstallHook();
    bool HookInstalled() const { return FHook != 0; }

    // Stores the action; once a window has been activated it runs from the
    // deferred-action timer after `interval` ms. Before that it takes effect
    // at once on the switch only: maActivate sets Active, maDeactivate
    // clears it. The caller names itself with SetActionSource.
    void RequestAction(TManagerAction action, unsigned interval);
    void SetActionSource(TSkinData* source) { FActionSource = source; }
    TSkinData* ActionSource() const { return FActionSource; }
    TManagerAction PendingAction() const { return FAction; }

    // A skin data component of type sfOnlyThisForm or sfDialog finished
    // loading: skinning is on and the manager counts as started.
    void StartSkinning();
    bool Active() const { return FActive; }
    int Started() const { return FStarted; }
    // The first activation of any window of the thread.
    void NoteActivation() { if (FStarted == 0) FStarted = 1; }

    // The deferred-action timer as the window side drives it; tests call
    // TimerTick themselves. Returns false when no source was named (the
    // timer then keeps running).
    bool TimerEnabled() const { return FTimerEnabled; }
    unsigned TimerInterval() const { return FTimerInterval; }
    bool TimerTick();

    // Window side (Win32; natively it attaches nothing). `window` is the
    // platform's window handle.
    bool SkinWindow(std::uintptr_t window);
    // Every form skin drops what refers to the skin's records before a reload.
    void FreeFormCaches();

    // What a tick does with the pending action; the Win32 side installs the
    // runner that walks the forms. Without one a tick only keeps the switch.
    using TActionRunner = std::function<void(TManagerAction action, TSkinData* source)>;
    void SetActionRunner(TActionRunner runner) { FRunner = std::move(runner); }
    // Fired after each deferred action with its source (OnSkinChanged).
    using TSkinChanged = std::function<void(TSkinData* source)>;
    void SetSkinChanged(TSkinChanged changed) { FSkinChanged = std::move(changed); }

    // The switch, set by the deferred actions.
    void SetActive(bool active) { FActive = active; }

private:
    void ArmTimer(bool enabled);
    void ReleaseHook();

    std::uintptr_t FHook = 0;
    std::vector<TSkinData*> FSkinDatas;  // not owned
    bool FActive = false;
    bool FScanning = false;
    int FStarted = 0;
    TManagerAction FAction = maNone;
    TSkinData* FActionSource = nullptr;
    bool FTimerEnabled = false;
    unsigned FTimerInterval = kActionInterval;
    std::uintptr_t FTimerId = 0;
    TActionRunner FRunner;
    TSkinChanged FSkinChanged;
};

// The process's manager: created by the first skin data component that
// finishes loading, destroyed at program end.
extern std::unique_ptr<TSkinManage> SkinManager;
// Creates SkinManager when it does not exist yet and returns it.
TSkinManage& EnsureSkinManager();

}  // namespace srt

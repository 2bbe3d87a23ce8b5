#include "skin/manager/skinmanager.h"

#include <algorithm>
#include <utility>

namespace srt {

namespace {
std::unique_ptr<TSkinManage> g_instance;  // the one manager
}  // namespace

TSkinManage& SkinManagerInstance() {
    if (!g_instance) {
        g_instance = std::make_unique<TSkinManage>();
        ::SetSkinManager(g_instance.get());
    }
    return *g_instance;
}

TSkinManage* TheSkinManager() { return g_instance.get(); }

// Unlinked first: skin data freed while the manager goes finds none.
void ReleaseSkinManager() {
    if (!g_instance) return;
    ::SetSkinManager(nullptr);
    std::unique_ptr<TSkinManage> manager = std::move(g_instance);
    manager.reset();
}

TSkinManage::TSkinManage() = default;

// Order at program end: timer and hook first, so nothing new arrives, then
// every form skin from the last to the first, then the popup skins. A dead
// form skin has let go of its window already.
TSkinManage::~TSkinManage() {
    if (::SkinManager() == this) ::SetSkinManager(nullptr);
    FStarted = 4;
    ArmTimer(false);
    ReleaseHook();
    while (!FForms.empty()) {
        TManagedFormSkin& skin = *FForms.back();
        if (skin.LifeState() != fsDead) {
            skin.SetLifeState(fsClosing);
            skin.Release();
        }
        FForms.pop_back();
    }
    while (!FPopups.empty()) {
        FPopups.back()->Detach();
        FPopups.pop_back();
    }
}

void TSkinManage::AddSkinData(::TSkinData* data) { FSkinDatas.push_back(data); }

void TSkinManage::RemoveSkinData(::TSkinData* data) {
    auto it = std::find(FSkinDatas.begin(), FSkinDatas.end(), data);
    if (it != FSkinDatas.end()) FSkinDatas.erase(it);
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), data) == FSkinDatas.end()) SkinDataGone(data);
}

void TSkinManage::SkinDataGone(::TSkinData* data) {
    if (!data) return;
    std::erase(FSkinDatas, data);
    if (FRunningSource == data) FRunningSource = nullptr;
    // Its own work goes; a purge it asked for stays.
    std::erase_if(FPending, [data](const TPendingAction& p) { return p.source == data && p.action != maPurge; });
    for (TPendingAction& p : FPending)
        if (p.source == data) p.source = nullptr;
    // By index: letting go sends the window messages, which may add skins.
    bool dropped = false;
    for (std::size_t i = 0; i < FForms.size(); ++i) {
        TManagedFormSkin& skin = *FForms[i];
        if (skin.LifeState() == fsDead || skin.SkinData() != data) continue;
        skin.DropSkinData();
        dropped = true;
    }
    if (dropped) RequestAction(maPurge, nullptr, kActionInterval);
}

void TSkinManage::StartSkinning() {
    FActive = true;
    ++FStarted;
}

void TSkinManage::NoteActivation() {
    if (FStarted != 0) return;
    FStarted = 1;
    if (!FPending.empty()) ArmTimer(true);
}

bool TSkinManage::Pending(TManagerAction action) const {
    return std::any_of(FPending.begin(), FPending.end(), [action](const auto& p) { return p.action == action; });
}

void TSkinManage::RequestAction(TManagerAction action, ::TSkinData* source, int interval) {
    if (action == maNone) return;
    FTimerInterval = interval > 0 ? static_cast<unsigned>(interval) : 1u;
    const bool isSwitch = action == maActivate || action == maDeactivate;
    if (FStarted == 0 && isSwitch) {
        // Nothing has been activated yet: only the switch changes.
        FActive = action == maActivate;
        return;
    }
    if (!source && action != maPurge) return;
    const auto same = [&](const TPendingAction& p) {
        if (p.source != source) return false;
        if (isSwitch) return p.action == maActivate || p.action == maDeactivate;
        return p.action == action;
    };
    if (isSwitch) std::erase_if(FPending, same);
    if (std::none_of(FPending.begin(), FPending.end(), same)) FPending.push_back({action, source, FTicket++});
    if (FStarted != 0) ArmTimer(true);
}

bool TSkinManage::TimerTick() {
    if (FDispatchDepth > 0) return false;
    if (FPending.empty()) return false;
    ArmTimer(false);
    const unsigned before = FTicket;
    // One pass over what was pending when the tick began, the purge first.
    const auto next = [&]() -> std::ptrdiff_t {
        std::ptrdiff_t found = -1;
        for (std::size_t i = 0; i < FPending.size(); ++i) {
            const TPendingAction& p = FPending[i];
            if (p.ticket >= before) continue;
            if (p.action == maPurge) return static_cast<std::ptrdiff_t>(i);
            if (found < 0) found = static_cast<std::ptrdiff_t>(i);
        }
        return found;
    };
    for (std::ptrdiff_t i = next(); i >= 0; i = next()) {
        const TPendingAction p = FPending[static_cast<std::size_t>(i)];
        FPending.erase(FPending.begin() + i);
        if (p.action == maActivate) FActive = true;
        if (p.action == maDeactivate) FActive = false;
        FScanning = p.action == maActivate;
        FRunningSource = p.source;
        if (FRunner)
            FRunner(p.action, p.source);
        else
            RunAction(p.action, p.source);
        FScanning = false;
        // The source may have gone while the action ran (a form closed).
        ::TSkinData* source = std::exchange(FRunningSource, nullptr);
        if (source && source->OnSkinChanged) source->OnSkinChanged(source);
    }
    if (!FPending.empty()) ArmTimer(true);
    return true;
}

// A dead form skin's window is gone; its handle may be in use again.
TManagedFormSkin* TSkinManage::FindFormSkin(std::uintptr_t window) const {
    for (const auto& skin : FForms)
        if (skin->Window() == window && skin->LifeState() != fsDead) return skin.get();
    return nullptr;
}

std::unique_ptr<TManagedFormSkin> TSkinManage::RemoveFormSkin(std::uintptr_t window) {
    for (auto it = FForms.begin(); it != FForms.end(); ++it) {
        if ((*it)->Window() != window) continue;
        std::unique_ptr<TManagedFormSkin> skin = std::move(*it);
        FForms.erase(it);
        return skin;
    }
    return nullptr;
}

void TSkinManage::FreeFormCaches() {
    for (const auto& skin : FForms) skin->FreeCaches();
}

#ifndef _WIN32
void TSkinManage::ArmTimer(bool enabled) { FTimerEnabled = enabled; }
void TSkinManage::InstallHook() {}
void TSkinManage::ReleaseHook() {}
bool TSkinManage::SkinWindow(std::uintptr_t) { return false; }
void TSkinManage::SkinWindow(TComponent*) {}
void TSkinManage::SkinPopupWindow(std::uintptr_t) {}
bool TSkinManage::ReleasePopupWindow(std::uintptr_t) { return false; }
void TSkinManage::RunAction(TManagerAction, ::TSkinData*) {}
#endif

}  // namespace srt

#include "skin/manager/skinmanager.h"

#include <algorithm>

namespace srt {

TSkinManage* TheSkinManager() { return dynamic_cast<TSkinManage*>(::SkinManager()); }

void InstallSkinManagerFactory() {
    SetSkinManagerFactory([]() -> ISkinManagerLink* { return new TSkinManage; });
}

TSkinManage::TSkinManage() = default;

// Order at program end: timer and hook first, so nothing new arrives, then
// every form skin from the last to the first, then the popup skins.
TSkinManage::~TSkinManage() {
    FStarted = 4;
    ArmTimer(false);
    ReleaseHook();
    while (!FForms.empty()) {
        TManagedFormSkin& skin = *FForms.back();
        skin.SetLifeState(fsClosing);
        skin.Release();
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
    // A component going away never stays the source of a pending action.
    if (FActionSource == data) FActionSource = nullptr;
}

void TSkinManage::StartSkinning() {
    FActive = true;
    ++FStarted;
}

void TSkinManage::RequestAction(TManagerAction action, int interval) {
    FAction = action;
    FTimerInterval = interval > 0 ? static_cast<unsigned>(interval) : 1u;
    if (FStarted != 0) {
        ArmTimer(true);
        return;
    }
    if (action == maActivate) FActive = true;
    if (action == maDeactivate) FActive = false;
}

bool TSkinManage::TimerTick() {
    if (!FActionSource || FDispatchDepth > 0) return false;
    ArmTimer(false);
    const TManagerAction action = FAction;
    ::TSkinData* source = FActionSource;
    if (action == maActivate) FActive = true;
    if (action == maDeactivate) FActive = false;
    FScanning = action == maActivate;
    if (FRunner)
        FRunner(action, source);
    else
        RunAction(action, source);
    FScanning = false;
    // The source may have gone while the action ran (a form closed).
    if (FActionSource == source) {
        if (source->OnSkinChanged) source->OnSkinChanged(source);
        FActionSource = nullptr;
    }
    return true;
}

TManagedFormSkin* TSkinManage::FindFormSkin(std::uintptr_t window) const {
    for (const auto& skin : FForms)
        if (skin->Window() == window) return skin.get();
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

int TSkinManage::CountMdiChildSkins() const {
    return static_cast<int>(std::count_if(FForms.begin(), FForms.end(),
                                          [](const auto& skin) { return skin->IsMdiChild(); }));
}

#ifndef _WIN32
void TSkinManage::ArmTimer(bool enabled) { FTimerEnabled = enabled; }
void TSkinManage::InstallHook() {}
void TSkinManage::ReleaseHook() {}
bool TSkinManage::SkinWindow(std::uintptr_t) { return false; }
void TSkinManage::SkinWindow(TComponent*) {}
void TSkinManage::SkinPopupWindow(std::uintptr_t) {}
bool TSkinManage::ReleasePopupWindow(std::uintptr_t) { return false; }
void TSkinManage::SetMdiMaximized(bool maximized) { FMdiMaximized = maximized; }
void TSkinManage::RunAction(TManagerAction, ::TSkinData*) {}
#endif

}  // namespace srt

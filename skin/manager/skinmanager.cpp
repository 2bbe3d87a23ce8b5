#include "skin/manager/skinmanager.h"

#include <algorithm>

namespace srt {

std::unique_ptr<TSkinManage> SkinManager;

TSkinManage& EnsureSkinManager() {
    if (!SkinManager) SkinManager = std::make_unique<TSkinManage>();
    return *SkinManager;
}

TSkinManage::TSkinManage() = default;

TSkinManage::~TSkinManage() {
    FStarted = 4;
    ArmTimer(false);
    ReleaseHook();
}

void TSkinManage::AddSkinData(TSkinData* data) { FSkinDatas.push_back(data); }

void TSkinManage::RemoveSkinData(TSkinData* data) {
    auto it = std::find(FSkinDatas.begin(), FSkinDatas.end(), data);
    if (it != FSkinDatas.end()) FSkinDatas.erase(it);
    // A component going away never stays the source of a pending action.
    if (FActionSource == data) FActionSource = nullptr;
}

void TSkinManage::StartSkinning() {
    FActive = true;
    ++FStarted;
}

void TSkinManage::RequestAction(TManagerAction action, unsigned interval) {
    FAction = action;
    FTimerInterval = interval;
    if (FStarted != 0) {
        ArmTimer(true);
        return;
    }
    if (action == maActivate) FActive = true;
    if (action == maDeactivate) FActive = false;
}

bool TSkinManage::TimerTick() {
    if (!FActionSource) return false;
    ArmTimer(false);
    const TManagerAction action = FAction;
    TSkinData* source = FActionSource;
    if (action == maActivate) FActive = true;
    if (action == maDeactivate) FActive = false;
    if (FRunner) {
        FScanning = action == maActivate;
        FRunner(action, source);
        FScanning = false;
    }
    if (FSkinChanged) FSkinChanged(source);
    FActionSource = nullptr;
    return true;
}

#ifndef _WIN32
void TSkinManage::ArmTimer(bool enabled) { FTimerEnabled = enabled; }
void TSkinManage::InstallHook() {}
void TSkinManage::ReleaseHook() {}
bool TSkinManage::SkinWindow(std::uintptr_t) { return false; }
void TSkinManage::FreeFormCaches() {}
#endif

}  // namespace srt

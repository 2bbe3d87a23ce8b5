// The one skin manager of the process as the program runs it: form skins
// installed, the build's default skin loaded, registered, hooked, active.
// For test fixtures that skin real windows through the manager's hooks.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "skin/data/skindata.h"
#include "skin/form/winskinform.h"
#include "skin/manager/skinmanager.h"
#include "tests/support/skinfile.h"

namespace srt {

struct TManagedSkin {
    std::unique_ptr<::TSkinData> data;
    TSkinManage* manager = nullptr;

    // Call through ASSERT_NO_FATAL_FAILURE.
    void Start() {
        InstallFormSkins();
        data = std::make_unique<::TSkinData>(nullptr);
        ASSERT_TRUE(data->LoadFromBytes(SkinBytes("default")));
        manager = TheSkinManager();
        ASSERT_NE(manager, nullptr);
        data->Loaded();  // registers and installs the hook
        ASSERT_TRUE(manager->HookInstalled());
        manager->SetActive(true);
        manager->NoteActivation();
    }
};

}  // namespace srt

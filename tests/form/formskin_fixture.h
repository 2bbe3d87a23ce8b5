// The fixture of the form-skin tests on real windows: the program's default
// skin loaded into a skin data component, a manager of its own that makes
// TWinSkinForm objects, and plain windows that the tests skin.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/form/winskinform.h"
#include "tests/support/skinfile.h"
#include "tests/support/testclass.h"

namespace srt::formtest {

inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The procedure under the skin: the default one, except that hit tests
// answer "nowhere" when asked to.
inline bool g_hitNowhere = false;
inline LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCHITTEST && g_hitNowhere) return HTNOWHERE;
    return DefWindowProcW(w, msg, wp, lp);
}

inline const wchar_t* PlainClass() {
    srt::TestWindowClass(L"TApplication", PlainProc);
    return srt::TestWindowClass(L"SkinTestWindow", PlainProc);
}

class FormSkin : public ::testing::Test {
protected:
    void SetUp() override {
        PlainClass();
        ASSERT_TRUE(data.LoadFromBytes(SkinBytes("default")));
        manager.AddSkinData(&data);
        manager.SetActive(true);
        UseFormSkins(manager);
    }
    void TearDown() override {
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        Pump();
    }
    HWND Make(DWORD style = WS_OVERLAPPEDWINDOW, int w = 400, int h = 300, const wchar_t* cls = nullptr) {
        HWND window = CreateWindowExW(0, cls ? cls : PlainClass(), L"Skinned window", style, 50, 50, w, h, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        windows.push_back(window);
        return window;
    }
    TWinSkinForm* Skin(HWND window) {
        return static_cast<TWinSkinForm*>(manager.FindFormSkin(reinterpret_cast<std::uintptr_t>(window)));
    }
    // Attaches a skin and lets WM_SKINSTART finish its start.
    TWinSkinForm* Skinned(HWND window) {
        EXPECT_TRUE(manager.SkinWindow(reinterpret_cast<std::uintptr_t>(window)));
        Pump();
        return Skin(window);
    }
    void Tick(TManagerAction action) {
        manager.NoteActivation();
        manager.RequestAction(action, &data, 250);
        EXPECT_TRUE(manager.TimerTick());
        Pump();
    }

    ::TSkinData data{nullptr};
    TSkinManage manager;
    std::vector<HWND> windows;
};

}  // namespace srt::formtest

// Real windows, the program's own skin and a control-skin owner for the
// control-skin tests.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "component/comctrls.h"
#include "component/forms.h"
#include "skin/controls/controlskins.h"
#include "skin/data/skindata.h"
#include "tests/support/skinfile.h"

namespace ctltest {

inline COLORREF Gdi(std::uint32_t colour) { return ColorToRGB(static_cast<TColor>(colour)); }

// The GDI objects of this process. Wine's GetGuiResources answers 0; there
// its handle table is walked (it takes a handle's table index alone).
inline int GdiObjects() {
    GdiFlush();
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(reported);
    int count = 0;
    for (std::uintptr_t index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    return count;
}

inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A pixel of a bitmap as a GDI colour.
inline COLORREF At(const TBitmap& b, int x, int y) {
    return x >= 0 && y >= 0 && x < b.Width() && y < b.Height() ? b.Pixel(x, y) : CLR_INVALID;
}

class Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        app = std::make_unique<TApplication>();
        data = std::make_unique<TSkinData>(nullptr);
        ASSERT_TRUE(data->LoadFromBytes(srt::SkinBytes("default")));
        form = app->CreateForm<TForm>();
        form->SetBounds(50, 50, 400, 300);
        form->Show();
        ASSERT_NE(form->Handle(), nullptr);
        skins = std::make_unique<srt::TControlSkins>(nullptr, data.get(), form->Handle());
    }
    void TearDown() override {
        skins.reset();
        for (HWND w : raw) DestroyWindow(w);
    }
    // A raw child window of the form.
    HWND Raw(const wchar_t* cls, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0, HWND parent = nullptr) {
        HWND hwnd = CreateWindowExW(exStyle, cls, L"Raw", WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                    parent ? parent : form->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(700 + raw.size())),
                                    GetModuleHandleW(nullptr), nullptr);
        if (!parent) raw.push_back(hwnd);
        return hwnd;
    }
    // A status bar object at the form's foot, its panels "first" and "second".
    TStatusBar* NewStatusBar() {
        auto* bar = new TStatusBar(form);
        bar->SetBounds(0, 200, 300, 22);
        bar->SetSizeGrip(false);
        bar->SetPanels({{"first", 100}, {"second", 100}});
        bar->SetParent(form);
        bar->HandleNeeded();
        return bar;
    }
    // A raw tab control of the form with the tabs "One" and "Two".
    HWND RawTabs(DWORD style, int x, int y, int w, int h) {
        HWND tab = Raw(WC_TABCONTROLW, style, x, y, w, h);
        SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (const wchar_t* name : {L"One", L"Two"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(name);
            SendMessageW(tab, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
        }
        return tab;
    }
    template <class T>
    T* AttachRaw(HWND window) {
        auto* skin = new T(skins.get());
        skin->InitWindow(window, data.get());
        skins->Add(skin);
        return skin;
    }
    // The window's look as the skin paints it onto a bitmap filled with `fill`.
    TBitmap Paint(srt::TSkinControl& skin, COLORREF fill = RGB(1, 2, 3)) {
        RECT r;
        if (!GetWindowRect(skin.Handle(), &r)) r = {0, 0, 1, 1};
        TBitmap b(r.right - r.left, r.bottom - r.top);
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, fill);
        skin.PaintControl(b.Canvas());
        GdiFlush();
        return b;
    }

    std::unique_ptr<TApplication> app;
    std::unique_ptr<TSkinData> data;
    TForm* form = nullptr;
    std::unique_ptr<srt::TControlSkins> skins;
    std::vector<HWND> raw;
};

}  // namespace ctltest

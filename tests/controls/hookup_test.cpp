// The control skins as a form skin attaches them through the manager: for a
// form of the application and for a window of another kind, given back on
// detach, the hot look cleared on deactivation, deferred actions held while
// a control skin's procedure runs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "component/buttons.h"
#include "component/stdctrls.h"
#include "fixture.h"
#include "skin/controls/buttons.h"
#include "skin/form/winskinform.h"

namespace {

using ctltest::Pump;

class Hookup : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        srt::InstallFormSkins();
        app = std::make_unique<TApplication>();
        form = app->CreateForm<TForm>();
        form->SetBounds(40, 40, 420, 300);
        data = new TSkinData(form);
        ASSERT_TRUE(data->LoadFromBytes(srt::SkinBytes("default")));
        data->Loaded();
        manager = srt::TheSkinManager();
        ASSERT_NE(manager, nullptr);
        manager->SetActive(true);
        button = new TButton(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 90, 26);
        button->SetCaption("Adjust");
        button->OnClick.Code = [this](TObject*) {
            ++clicks;
            if (onClick) onClick();
        };
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 50, 120, 22);
        label = new TLabel(form);
        label->SetParent(form);
        label->SetBounds(10, 80, 80, 17);
        form->Show();
    }
    void TearDown() override {
        app.reset();
        Pump();
        srt::ReleaseSkinManager();
    }
    srt::TWinSkinForm* Skin(HWND window) {
        return static_cast<srt::TWinSkinForm*>(manager->FindFormSkin(reinterpret_cast<std::uintptr_t>(window)));
    }
    // The form skin of `window`: the hook attaches one when it is activated.
    srt::TWinSkinForm* Skinned(HWND window) {
        Pump();
        if (!Skin(window)) {
            EXPECT_TRUE(manager->SkinWindow(reinterpret_cast<std::uintptr_t>(window)));
        }
        Pump();
        return Skin(window);
    }
    void RunAction(srt::TManagerAction action) {
        manager->RequestAction(action, data, 250);
        ASSERT_TRUE(manager->TimerTick());
    }

    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
    TSkinData* data = nullptr;
    srt::TSkinManage* manager = nullptr;
    TButton* button = nullptr;
    TEdit* edit = nullptr;
    TLabel* label = nullptr;
    int clicks = 0;
    std::function<void()> onClick;
};

TEST_F(Hookup, FormSkinAttachesItsControlsAndGivesThemBackOnDetach) {
    srt::TWinSkinForm* skin = Skinned(form->Handle());
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->Controls(), nullptr);
    const srt::TControlSkins& controls = *skin->Controls();
    EXPECT_EQ(controls.Controls().size(), 2u);  // the label has no skin
    EXPECT_NE(controls.FindByHandle(edit->Handle()), nullptr);

    // A mouse press stays with the skin: the button's own procedure takes no capture.
    HWND b = button->Handle();
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_NE(GetCapture(), b);
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    // The keyboard still reaches the button: space clicks it as before.
    SetFocus(b);
    SendMessageW(b, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(b, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(clicks, 2);

    RunAction(srt::maDeactivate);
    EXPECT_EQ(Skin(form->Handle()), nullptr);
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), b);  // the button's own press again
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ReleaseCapture();
}

TEST_F(Hookup, WindowOfAnotherKindGetsSkinsForItsChildWindows) {
    HWND dialog = CreateWindowExW(0, L"#32770", L"Dialog", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 60, 60,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    auto child = [&](const wchar_t* cls, DWORD style, int id) {
        return CreateWindowExW(0, cls, L"x", WS_CHILD | WS_VISIBLE | style, 10, 10 + id * 30, 100, 24, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    };
    HWND ok = child(L"BUTTON", BS_DEFPUSHBUTTON, 1);
    HWND check = child(L"BUTTON", BS_AUTOCHECKBOX, 2);
    child(L"BUTTON", BS_GROUPBOX, 3);
    HWND name = child(L"EDIT", WS_BORDER, 4);
    child(L"STATIC", 0, 5);
    ShowWindow(dialog, SW_SHOW);  // as a dialog shows itself once its controls exist
    srt::TWinSkinForm* skin = Skinned(dialog);
    ASSERT_NE(skin, nullptr);
    const srt::TControlSkins& controls = *skin->Controls();
    EXPECT_EQ(controls.Controls().size(), 3u);
    EXPECT_TRUE(dynamic_cast<srt::TSkinButton*>(controls.FindByHandle(ok)));
    EXPECT_TRUE(dynamic_cast<srt::TSkinCheckBox*>(controls.FindByHandle(check)));
    EXPECT_NE(controls.FindByHandle(name), nullptr);
    DestroyWindow(dialog);
    Pump();
}

TEST_F(Hookup, DeactivationClearsTheHotButton) {
    srt::TWinSkinForm* skin = Skinned(form->Handle());
    ASSERT_NE(skin, nullptr);
    SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_NE(skin->Controls()->HotControl(), nullptr);
    SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(skin->Controls()->HotControl(), nullptr);
}

TEST_F(Hookup, DeferredActionsWaitWhileAControlSkinProcedureRuns) {
    ASSERT_NE(Skinned(form->Handle()), nullptr);
    bool ranInside = true;
    onClick = [&] {
        manager->RequestAction(srt::maDeactivate, data, 250);
        ranInside = manager->TimerTick();
    };
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(ranInside);
    EXPECT_NE(Skin(form->Handle()), nullptr);
    EXPECT_TRUE(manager->TimerTick());  // once the procedure has returned
    EXPECT_EQ(Skin(form->Handle()), nullptr);
}

TEST_F(Hookup, SkinColoursGoBackOnDetachAndStayWhenTheManagerEnds) {
    RunAction(srt::maDeactivate);  // the form was skinned when it was shown
    data->SetSkin3rd(TStringList({"TCheckBox=Checkbox"}));
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetBounds(150, 10, 100, 20);
    check->SetColor(clWindow);
    const auto face = static_cast<TColor>(data->Colours.ButtonFace);
    RunAction(srt::maActivate);
    ASSERT_NE(Skinned(form->Handle()), nullptr);
    EXPECT_EQ(check->Color(), face);
    RunAction(srt::maDeactivate);
    EXPECT_EQ(check->Color(), clWindow);

    RunAction(srt::maActivate);
    ASSERT_NE(Skin(form->Handle()), nullptr);
    EXPECT_EQ(check->Color(), face);
    srt::ReleaseSkinManager();  // program end: every form skin is closing
    EXPECT_EQ(check->Color(), face);
}

}  // namespace

// The menu bar of a form whose menu is a component: the bar follows the
// component as its items change and as it is replaced, never reads a menu
// that has gone, and outlives a rebuild while one of its popups is open.
// The page heap turns any read of a freed menu or button into a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "component/forms.h"
#include "component/menus.h"
#include "skin/form/winskinform.h"
#include "skin/menu/winskinmenu.h"
#include "tests/support/skinfile.h"
#include "menudriver.h"

namespace srt {
namespace {

class FormMenuBar : public ::testing::Test {
protected:
    void SetUp() override {
        InstallFormSkins();
        app = std::make_unique<TApplication>();
        auto* data = new TSkinData(app.get());  // outlives every form
        ASSERT_TRUE(data->LoadFromBytes(SkinBytes("default")));
        data->Loaded();
        manager = TheSkinManager();
        ASSERT_NE(manager, nullptr);
        manager->SetActive(true);
        manager->NoteActivation();
    }
    void TearDown() override {
        app.reset();
        PumpAll();
        ReleaseSkinManager();
    }
    // "&File" (Open), "&Edit" (Copy) owned by `form`.
    static TMainMenu* BuildMenu(TForm* form, const char* first = "&File", const char* second = "&Edit") {
        auto* menu = new TMainMenu(form);
        for (const char* caption : {first, second}) {
            auto* top = new TMenuItem(form);
            top->SetCaption(caption);
            auto* item = new TMenuItem(form);
            item->SetCaption("&Open");
            top->Add(item);
            menu->Items()->Add(top);
        }
        return menu;
    }
    // A shown, active, skinned form with a main menu.
    TForm* NewForm() {
        TForm* form = app->CreateForm<TForm>();
        form->SetBounds(60, 60, 420, 280);
        form->SetMenu(BuildMenu(form));
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpAll();
        manager->SkinWindow(reinterpret_cast<std::uintptr_t>(form->Handle()));
        PumpAll();
        return form;
    }
    TWinSkinForm* Skin(TForm* form) {
        return static_cast<TWinSkinForm*>(manager->FindFormSkin(reinterpret_cast<std::uintptr_t>(form->Handle())));
    }
    static void RepaintFrame(TForm* form) {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }

    std::unique_ptr<TApplication> app;
    TSkinManage* manager = nullptr;
};

// The form frees its menu among its components before its window, whose
// destruction still paints the frame (WM_NCACTIVATE of the active window).
TEST_F(FormMenuBar, FreeingAnActiveFormWithAMainMenuReadsNoFreedMenu) {
    TForm* form = NewForm();
    ASSERT_NE(Skin(form), nullptr);
    ASSERT_NE(Skin(form)->MenuBar(), nullptr);
    ASSERT_EQ(GetForegroundWindow(), form->Handle());
    delete form;
    PumpAll();
}

TEST_F(FormMenuBar, AMenuReplacedAtRunTimeIsTheOneTheBarShows) {
    TForm* form = NewForm();
    TWinSkinForm* skin = Skin(form);
    ASSERT_NE(skin, nullptr);
    TMainMenu* first = form->Menu();
    form->SetMenu(BuildMenu(form, "&Tools", "&Help"));
    delete first;
    RepaintFrame(form);
    PumpAll();
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);  // not the platform's bar under the skin
    TWinSkinMenu* bar = skin->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->Count(), 2);
    EXPECT_EQ(bar->Button(0).FCaption, "&Tools");
    EXPECT_EQ(bar->MenuHandle(), form->Menu()->Handle());

    // Taken away, the menu takes the bar and its height along.
    RECT before{};
    GetClientRect(form->Handle(), &before);
    form->SetMenu(nullptr);
    RepaintFrame(form);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_EQ(skin->MenuBar(), nullptr);
    RECT after{};
    GetClientRect(form->Handle(), &after);
    EXPECT_EQ(after.bottom - before.bottom, GetSystemMetrics(SM_CYMENU));
}

TEST_F(FormMenuBar, TopLevelItemsChangedAtRunTimeChangeTheBar) {
    TForm* form = NewForm();
    TWinSkinForm* skin = Skin(form);
    ASSERT_NE(skin, nullptr);
    TMenuItem* file = form->Menu()->Items()->Items(0);
    TMenuItem* edit = form->Menu()->Items()->Items(1);
    file->SetCaption("&Document");
    ASSERT_EQ(skin->MenuBar()->Count(), 2);
    EXPECT_EQ(skin->MenuBar()->Button(0).FCaption, "&Document");
    edit->SetEnabled(false);
    EXPECT_FALSE(skin->MenuBar()->Button(1).FEnabled);
    EXPECT_EQ(skin->MenuBar()->FindAccelButton('e'), nullptr);
    file->SetVisible(false);
    ASSERT_EQ(skin->MenuBar()->Count(), 1);
    EXPECT_EQ(skin->MenuBar()->Button(0).FCaption, "&Edit");
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    RepaintFrame(form);
}

// The menu changes while one of its popups is open: the bar is rebuilt
// under the open popup, and the button pressed for it is gone.
TEST_F(FormMenuBar, ABarRebuiltWhileItsPopupIsOpenForgetsThePressedButton) {
    TForm* form = NewForm();
    TWinSkinForm* skin = Skin(form);
    ASSERT_NE(skin, nullptr);
    int openIndex = -2;
    TMenuDriver driver([&](int tick) {
        if (tick < 2) return true;
        openIndex = skin->MenuBar()->OpenIndex();
        skin->MenuBar()->BuildFromMenuComponent();
        return false;
    });
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f'), 1);
    PumpAll();
    EXPECT_EQ(openIndex, 0);
    ASSERT_EQ(skin->MenuBar()->Count(), 2);
    EXPECT_FALSE(skin->MenuTracking());
    // The button now in the pressed one's place is in the form's care.
    TMenuBtn& file = skin->MenuBar()->Button(0);
    EXPECT_TRUE(skin->HotObject() == nullptr || skin->HotObject() == &file);
    RepaintFrame(form);
}

}  // namespace
}  // namespace srt

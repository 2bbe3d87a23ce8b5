// Skin data components and the form skins that use them let go of each other
// before either is freed, in every order in which an application tears down:
// a form freed by its owner, a form released from its own handler, the main
// window closed, program end. The page heap turns any read of a freed
// component into a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "formskin_fixture.h"

namespace srt {
namespace {

using formtest::Pump;

class Lifetime : public ::testing::Test {
protected:
    void SetUp() override {
        InstallFormSkins();
        app = std::make_unique<TApplication>();
    }
    void TearDown() override {
        app.reset();
        Pump();
        srt::ReleaseSkinManager();
    }
    TForm* NewForm(TComponent* owner, const char* caption) {
        auto* form = new TForm(owner);
        form->SetCaption(caption);
        form->SetBounds(60, 60, 320, 220);
        form->Show();
        return form;
    }
    TSkinData* NewSkinData(TComponent* owner, TSkinFormType type = sfMainform) {
        auto* data = new TSkinData(owner);
        data->SetSkinFormtype(type);
        EXPECT_TRUE(data->LoadFromBytes(SkinBytes("default")));
        data->Loaded();  // registers with the manager
        manager = TheSkinManager();
        manager->SetActive(true);
        manager->NoteActivation();
        return data;
    }
    bool Skinned(TForm* form) {
        manager->SkinWindow(reinterpret_cast<std::uintptr_t>(form->Handle()));
        Pump();
        return SendMessageW(form->Handle(), kWmSkinQuery, 0, 0) == 1;
    }
    // Live form skins that still use `data`.
    int Users(const TSkinData* data) const {
        int n = 0;
        for (const auto& skin : manager->Forms()) n += skin->LifeState() != fsDead && skin->SkinData() == data;
        return n;
    }
    // Runs what is pending, as the manager's timer would.
    void Tick() {
        manager->TimerTick();
        Pump();
    }

    std::unique_ptr<TApplication> app;
    TSkinManage* manager = nullptr;
};

TEST_F(Lifetime, AFormFreedByItsOwnerTakesItsSkinDataAndFormSkinsAlong) {
    TForm* main = app->CreateForm<TForm>();
    main->SetBounds(40, 40, 400, 300);
    main->Show();
    TSkinData* data = NewSkinData(main);
    TForm* owned = NewForm(main, "Owned");  // freed before the skin data
    ASSERT_TRUE(Skinned(main));
    ASSERT_TRUE(Skinned(owned));
    int changes = 0;
    data->OnSkinChanged.Code = [&](TObject*) { ++changes; };
    delete main;
    EXPECT_EQ(Users(data), 0);
    Tick();  // the purge the closed windows asked for names no freed component
    EXPECT_TRUE(manager->Forms().empty());
    EXPECT_EQ(changes, 0);
}

TEST_F(Lifetime, AFormThatOutlivesTheSkinDataGetsItsOwnLookBack) {
    TForm* early = NewForm(app.get(), "Early");  // freed after the main window
    TForm* main = app->CreateForm<TForm>();
    main->Show();
    TSkinData* data = NewSkinData(main);
    ASSERT_TRUE(Skinned(early));
    ASSERT_TRUE(Skinned(main));
    const HWND earlyWindow = early->Handle();
    delete main;
    EXPECT_EQ(Users(data), 0);
    EXPECT_NE(SendMessageW(earlyWindow, kWmSkinQuery, 0, 0), 1);
    EXPECT_NE(GetWindowLongPtrW(earlyWindow, GWL_STYLE) & WS_SYSMENU, 0);
    SetWindowTextW(earlyWindow, L"Still here");  // its own procedure, no skin
    RedrawWindow(earlyWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Tick();
    delete early;
    Tick();
    EXPECT_TRUE(manager->Forms().empty());
}

TEST_F(Lifetime, AFormReleasedFromItsOwnHandlerWithItsOwnSkinData) {
    TForm* main = app->CreateForm<TForm>();
    main->Show();
    TSkinData* mainData = NewSkinData(main);
    auto* dialog = new TForm(app.get());
    dialog->SetBounds(80, 80, 300, 200);
    TSkinData* own = NewSkinData(dialog, sfOnlyThisForm);  // skins its form as it loads
    dialog->Show();
    ASSERT_TRUE(Skinned(main));
    ASSERT_EQ(SendMessageW(dialog->Handle(), kWmSkinQuery, 0, 0), 1);
    EXPECT_EQ(Users(own), 1);
    // Freed once the message has been handled, as from a button's handler.
    dialog->Release();
    app->ProcessMessages();
    EXPECT_EQ(Screen->FormCount(), 1);
    Tick();
    EXPECT_EQ(Users(mainData), 1);
    ASSERT_EQ(manager->Forms().size(), 1u);
    EXPECT_EQ(manager->SkinDatas(), std::vector<TSkinData*>{mainData});
}

TEST_F(Lifetime, MainWindowClosedThenProgramEnd) {
    TForm* main = app->CreateForm<TForm>();
    main->Show();
    TForm* early = NewForm(main, "Owned before the skin data");
    NewSkinData(main);
    TForm* late = NewForm(main, "Owned after the skin data");
    TForm* other = NewForm(app.get(), "Another window");
    for (TForm* form : {main, early, late, other}) ASSERT_TRUE(Skinned(form));
    main->Close();
    EXPECT_TRUE(app->Terminated());
    // The windows go as the application is freed; the manager after it.
    app.reset();
    Pump();
    for (const auto& skin : manager->Forms()) EXPECT_EQ(skin->SkinData(), nullptr);
    ReleaseSkinManager();
}

TEST_F(Lifetime, ProgramEndWithTheManagerFreedFirst) {
    TForm* main = app->CreateForm<TForm>();
    main->Show();
    NewSkinData(main);
    ASSERT_TRUE(Skinned(main));
    ReleaseSkinManager();  // every form skin lets go of its window
    EXPECT_NE(SendMessageW(main->Handle(), kWmSkinQuery, 0, 0), 1);
    app.reset();
}

}  // namespace
}  // namespace srt

// The keyboard reaches a skinned form's menus with a control focused, as a
// plain window's menus are reached: Alt+letter opens the bar's item and
// Alt+Space the skinned system menu. Real key input (SendInput) into a
// component form in front, its edit box focused.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "component/forms.h"
#include "component/menus.h"
#include "component/stdctrls.h"
#include "skin/form/winskinform.h"
#include "skin/menu/winskinmenu.h"
#include "tests/menu/menudriver.h"
#include "tests/support/skinfile.h"
#include "keyinput.h"

namespace srt {
namespace {

using keytest::PressChord;

class KeyboardMenus : public ::testing::Test {
protected:
    void SetUp() override {
        InstallFormSkins();
        app = std::make_unique<TApplication>();
        auto* data = new TSkinData(app.get());
        ASSERT_TRUE(data->LoadFromBytes(SkinBytes("default")));
        data->Loaded();
        manager = TheSkinManager();
        ASSERT_NE(manager, nullptr);
        manager->SetActive(true);
        manager->NoteActivation();
        form = app->CreateForm<TForm>();
        form->SetBounds(60, 60, 420, 280);
        auto* menu = new TMainMenu(form);
        for (const char* caption : {"&File", "&Edit"}) {
            auto* top = new TMenuItem(form);
            top->SetCaption(caption);
            auto* item = new TMenuItem(form);
            item->SetCaption("&Open");
            top->Add(item);
            menu->Items()->Add(top);
        }
        form->SetMenu(menu);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(16, 16, 200, 22);
        form->Show();
        manager->SkinWindow(reinterpret_cast<std::uintptr_t>(form->Handle()));
        PumpAll();
        SetForegroundWindow(form->Handle());
        edit->SetFocus();
        PumpAll();
    }
    void TearDown() override {
        app.reset();
        PumpAll();
        ReleaseSkinManager();
    }
    TWinSkinForm* Skin() const {
        return static_cast<TWinSkinForm*>(manager->FindFormSkin(reinterpret_cast<std::uintptr_t>(form->Handle())));
    }
    // Runs the thread's messages until the driver has closed the menu it
    // waited for, or two seconds have passed.
    static void PumpUntil(const TMenuDriver& driver) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!driver.done && std::chrono::steady_clock::now() < end) {
            PumpAll();
            Sleep(10);
        }
        PumpAll();
    }

    std::unique_ptr<TApplication> app;
    TSkinManage* manager = nullptr;
    TForm* form = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(KeyboardMenus, AltLetterWithTheEditFocusedOpensTheBarsItem) {
    ASSERT_NE(Skin(), nullptr);
    ASSERT_EQ(GetFocus(), edit->Handle());
    int opened = -1;
    bool skinned = false;
    TMenuDriver driver([&](int) {
        HWND popup = OpenPopupWindow();
        if (!popup) return true;
        opened = Skin()->MenuBar()->OpenIndex();
        skinned = SendMessageW(popup, kWmSkinQuery, 0, 0) == 1;
        return false;
    });
    PressChord({VK_MENU, 'E'});
    PumpUntil(driver);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(skinned);
    EXPECT_FALSE(Skin()->MenuTracking());
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);  // the platform's bar stayed away
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(KeyboardMenus, AltSpaceWithTheEditFocusedOpensTheSkinnedSystemMenu) {
    ASSERT_NE(Skin(), nullptr);
    ASSERT_EQ(GetFocus(), edit->Handle());
    TPopupMenu* system = Skin()->SkinSystemMenu();
    ASSERT_NE(system, nullptr);
    bool learnt = false, skinned = false;
    POINT corner{};
    TMenuDriver driver([&](int) {
        HWND popup = OpenPopupWindow();
        if (!popup) return true;
        learnt = manager->FindPopupByMenu(reinterpret_cast<std::uintptr_t>(system->Handle())) != nullptr;
        skinned = SendMessageW(popup, kWmSkinQuery, 0, 0) == 1;
        RECT r{};
        GetWindowRect(popup, &r);
        corner = {r.left, r.top};
        return false;
    });
    PressChord({VK_MENU, VK_SPACE});
    PumpUntil(driver);
    EXPECT_TRUE(learnt);
    EXPECT_TRUE(skinned);
    // Below the title bar, at the window's left.
    RECT wr{};
    GetWindowRect(form->Handle(), &wr);
    EXPECT_GE(corner.y, wr.top + Skin()->Metrics().TitleHeight / 2);
    EXPECT_LE(corner.x, wr.left + Skin()->Metrics().TitleHeight * 2);
    EXPECT_TRUE(IsWindow(form->Handle()));

    // A second Alt+Space soon after is no double click on the icon: the
    // window stays open.
    TMenuDriver again([&](int) { return OpenPopupWindow() == nullptr; });
    PressChord({VK_MENU, VK_SPACE});
    PumpUntil(again);
    EXPECT_TRUE(again.done);
    PumpAll();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

// A letter no item has leaves the key to the platform: nothing opens.
TEST_F(KeyboardMenus, AnAltLetterNoItemHasOpensNothing) {
    ASSERT_NE(Skin(), nullptr);
    bool opened = false;
    TMenuDriver driver([&](int tick) {
        opened = opened || OpenPopupWindow() != nullptr;
        return tick < 10;
    });
    PressChord({VK_MENU, 'Q'});
    PumpUntil(driver);
    EXPECT_FALSE(opened);
    EXPECT_EQ(GetFocus(), edit->Handle());
}

}  // namespace
}  // namespace srt

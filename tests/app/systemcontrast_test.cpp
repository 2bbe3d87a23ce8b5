// Following Windows' high contrast: the decision, the messages that may
// carry a change, and the real main window switching on WM_SETTINGCHANGE
// with the system's state given by the test (Wine 8 always reports it off
// and refuses to set it).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "core/platformfile.h"
#include "settings.h"
#include "skin/data/skinfolder.h"
#include "systemcontrast.h"
#include "tests/app/formhost.h"

namespace {

using srt::app::TContrastStep;
using srt::app::TSystemContrast;

TEST(ContrastStep, FollowsOnlyWhileFollowingAndOnlyWhereTheSystemAndTheWindowDiffer) {
    using srt::app::ContrastStep;
    EXPECT_EQ(ContrastStep(true, true, false), TContrastStep::ToContrast);
    EXPECT_EQ(ContrastStep(true, false, true), TContrastStep::ToStored);
    EXPECT_EQ(ContrastStep(true, true, true), TContrastStep::Stay);
    EXPECT_EQ(ContrastStep(true, false, false), TContrastStep::Stay);
    // The user chose: nothing moves, whatever the window shows.
    EXPECT_EQ(ContrastStep(false, true, false), TContrastStep::Stay);
    EXPECT_EQ(ContrastStep(false, false, true), TContrastStep::Stay);
}

TEST(ContrastStep, SettingChangesThatMayCarryHighContrast) {
    using srt::app::MayChangeContrast;
    EXPECT_TRUE(MayChangeContrast(SPI_SETHIGHCONTRAST, nullptr));
    EXPECT_TRUE(MayChangeContrast(SPI_SETHIGHCONTRAST, L"intl"));
    EXPECT_TRUE(MayChangeContrast(0, nullptr));
    EXPECT_TRUE(MayChangeContrast(0, L"WindowMetrics"));
    EXPECT_FALSE(MayChangeContrast(0, L"intl"));
    EXPECT_FALSE(MayChangeContrast(SPI_SETWORKAREA, L"windowmetrics"));
}

TEST(ContrastStep, TheContrastSkinIsTheShippedOneTitledContrast) {
    using srt::app::ContrastSkinAmong;
    EXPECT_EQ(ContrastSkinAmong({L"C:\\p\\skins\\Contrast.skn", L"C:\\p\\skins\\dusk.skn"}),
              L"C:\\p\\skins\\Contrast.skn");
    EXPECT_EQ(ContrastSkinAmong({L"C:\\p\\skins\\contrast-old.skn", L"C:\\p\\skins\\dusk.skn"}), L"");
    EXPECT_EQ(ContrastSkinAmong({}), L"");
}

class Quiet : public TPrompts {
public:
    int shown = 0;
    void Message(const std::string&, const std::string&) override { ++shown; }
    void Error(const std::string&, const std::string&) override { ++shown; }
};

class SystemContrast : public ::testing::Test {
protected:
    void SetUp() override {
        contrastSkin = srt::app::ContrastSkinAmong(srt::ShippedSkinFiles(srt::app::ProgramFolder()));
        ASSERT_FALSE(contrastSkin.empty()) << "the built skins are beside bin\\";
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        ini = std::wstring(temp) + L"srt-systemcontrast-" + std::to_wstring(GetCurrentProcessId()) + L".ini";
        DeleteFileW(ini.c_str());
    }
    void TearDown() override {
        if (host) Stop();
        store.reset();
        DeleteFileW(ini.c_str());
    }
    // The window with the settings file as it stands, then the follower.
    void Start(bool noSkinOption = true) {
        host = std::make_unique<srt::testing::TMainFormHost>(prompts);
        store = std::make_unique<srt::app::TSettingsStore>(ini);
        host->form->UseSettings(store.get());
        follower = std::make_unique<TSystemContrast>(*host->form, noSkinOption, [this] {
            ++queries;
            return systemOn;
        });
    }
    // The system's state changes and Windows tells every top-level window.
    void Turn(bool on, const wchar_t* area = nullptr) {
        systemOn = on;
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, reinterpret_cast<LPARAM>(area),
                            SMTO_ABORTIFHUNG, 5000, &result);
    }
    bool ShowsContrast() { return host->form->SkinFile() == contrastSkin; }
    bool IniWritten() {
        std::string bytes;
        return srt::ReadWholeFile(ini, bytes) == 0;
    }
    void Stop() {
        follower.reset();
        host->form->UseSettings(nullptr);
        host.reset();
    }
    // A skin the user chose in an earlier run: a shipped one by its title,
    // or the stored one for none.
    void Remember(const wchar_t* title) {
        std::wstring file;
        for (const std::wstring& f : srt::ShippedSkinFiles(srt::app::ProgramFolder()))
            if (title && srt::SkinFileTitle(f) == title) file = f;
        ASSERT_EQ(file.empty(), title == nullptr);
        srt::app::TSettingsStore(ini).RememberSkin(file);
    }

    Quiet prompts;
    bool systemOn = false;
    int queries = 0;
    std::wstring contrastSkin, ini;
    std::unique_ptr<srt::app::TSettingsStore> store;
    std::unique_ptr<srt::testing::TMainFormHost> host;
    std::unique_ptr<TSystemContrast> follower;
};

TEST_F(SystemContrast, StartsInTheContrastSkinAndSwitchesLiveBothWaysWithoutRememberingIt) {
    systemOn = true;
    Start();
    EXPECT_TRUE(ShowsContrast());
    Turn(false);
    EXPECT_EQ(host->form->SkinFile(), L"");
    Turn(true, L"WindowMetrics");
    EXPECT_TRUE(ShowsContrast());
    Turn(false, L"WindowMetrics");
    EXPECT_EQ(host->form->SkinFile(), L"");
    EXPECT_TRUE(follower->Following());
    EXPECT_FALSE(store->Values().skin.has_value());
    EXPECT_FALSE(IniWritten());
    EXPECT_EQ(prompts.shown, 0);
}

TEST_F(SystemContrast, OffAtTheStartLeavesTheStoredSkinAndOtherSettingsAreNotAsked) {
    Start();
    EXPECT_EQ(host->form->SkinFile(), L"");
    const int asked = queries;
    systemOn = true;
    SendMessageW(host->form->Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, reinterpret_cast<LPARAM>(L"intl"));
    EXPECT_EQ(queries, asked);
    EXPECT_EQ(host->form->SkinFile(), L"");
    SendMessageW(host->form->Handle(), WM_SETTINGCHANGE, 0, 0);
    EXPECT_TRUE(ShowsContrast());
}

TEST_F(SystemContrast, ASkinChosenInTheMenuStopsTheFollowing) {
    systemOn = true;
    Start();
    ASSERT_TRUE(ShowsContrast());
    // The stored skin, chosen while the system's contrast is on, stays.
    EXPECT_EQ(host->form->ChooseSkin(L""), "");
    Turn(false);
    Turn(true);
    EXPECT_EQ(host->form->SkinFile(), L"");
    EXPECT_FALSE(follower->Following());
    EXPECT_EQ(store->Values().skin, std::optional<std::wstring>(L""));
}

TEST_F(SystemContrast, ASkinOfTheUsersIsNeverReplaced) {
    systemOn = true;
    Remember(L"dusk");
    Start();
    const std::wstring dusk = host->form->SkinFile();
    EXPECT_NE(dusk, L"");
    EXPECT_FALSE(ShowsContrast());
    Turn(false);
    Turn(true);
    EXPECT_EQ(host->form->SkinFile(), dusk);
    Stop();

    // The stored skin chosen in an earlier run, and a skin on the command line.
    Remember(nullptr);
    Start();
    EXPECT_EQ(host->form->SkinFile(), L"");
    Stop();
    DeleteFileW(ini.c_str());
    Start(false);
    EXPECT_EQ(host->form->SkinFile(), L"");
    EXPECT_FALSE(follower->Following());
}

TEST_F(SystemContrast, GoneItLeavesTheWindowAndItsMessagesAlone) {
    systemOn = true;
    Start();
    follower.reset();
    const int asked = queries;
    Turn(false);
    EXPECT_EQ(queries, asked);
    EXPECT_TRUE(ShowsContrast());
    EXPECT_TRUE(IsWindow(host->form->Handle()));
}

}  // namespace

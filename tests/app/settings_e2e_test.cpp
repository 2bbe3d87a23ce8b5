// End to end: the real SrtRetime.exe remembering its user. The language and
// the skin chosen in the skinned system menu with the mouse and the keys, or
// on the command line, come back after a restart; a program unpacked into a
// folder of its own keeps SrtRetime.ini beside itself; a damaged settings
// file or a remembered skin that is gone mean defaults, without a word.
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/driver.h"

namespace {

namespace fs = std::filesystem;
using namespace srt::testing;

// The captions of the window's buttons, in creation order.
std::vector<std::wstring> ButtonTexts(HWND form) {
    std::vector<std::wstring> out;
    for (HWND h : ChildrenOf(form, L"Button")) {
        wchar_t text[64];
        GetWindowTextW(h, text, 64);
        out.emplace_back(text);
    }
    return out;
}

bool HasButton(HWND form, const std::wstring& text) {
    for (const std::wstring& t : ButtonTexts(form))
        if (t == text) return true;
    return false;
}

void Key(WORD vk) { Chord({vk}, 300ms); }

class Program : public TApp {
public:
    Program(const std::wstring& exe, const std::wstring& arguments) : TApp(arguments, exe) {}
    // Shown and painted by its skin.
    HWND Form() {
        HWND form = TApp::Form();
        if (form) WaitFor([&] { return IsStoredTitle(CaptionPixel(form)) || IsContrastTitle(CaptionPixel(form)); });
        return form;
    }
};

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        const DWORD had = GetEnvironmentVariableW(L"SRTRETIME_INI", saved_, MAX_PATH);
        hadIni_ = had > 0 && had < MAX_PATH;
    }
    void TearDown() override { SetEnvironmentVariableW(L"SRTRETIME_INI", hadIni_ ? saved_ : nullptr); }
    TScratchFolder scratch{L"settings-e2e"};
    const fs::path dir = scratch.Path();

private:
    wchar_t saved_[MAX_PATH] = {};
    bool hadIni_ = false;
};

TEST_F(Settings, LanguageAndSkinChosenInTheSystemMenuSurviveARestart) {
    const fs::path ini = dir / L"SrtRetime.ini";
    SetEnvironmentVariableW(L"SRTRETIME_INI", ini.c_str());
    {
        Program program(BuiltProgram(), L"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        ASSERT_TRUE(HasButton(form, L"打开字幕"));
        // The menu's last items: the language submenu, then the skins.
        RightClickCaption(form);
        ASSERT_TRUE(WaitFor([&] { return TopWindowOf(program.Id(), L"#32768") != nullptr; }));
        Key(VK_UP);
        Key(VK_UP);
        Key(VK_RIGHT);  // 中文, checked
        Key(VK_DOWN);   // English
        Key(VK_RETURN);
        EXPECT_TRUE(WaitFor([&] { return HasButton(form, L"Open"); }));
        EXPECT_EQ(ButtonTexts(form), (std::vector<std::wstring>{L"Open", L"Adjust", L"Save"}));
        // The skins: the stored one, then the files by name; contrast is first.
        RightClickCaption(form);
        ASSERT_TRUE(WaitFor([&] { return TopWindowOf(program.Id(), L"#32768") != nullptr; }));
        Key(VK_UP);
        Key(VK_RIGHT);
        Key(VK_DOWN);
        Key(VK_RETURN);
        EXPECT_TRUE(Settles(form, IsContrastTitle));
        EXPECT_TRUE(TopWindowsOf(program.Id(), L"#32770").empty());
    }
    const std::string saved = ReadBytes(ini);
    EXPECT_NE(saved.find("Language=en\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("contrast.skn\r\n"), std::string::npos) << saved;

    Program again(BuiltProgram(), L"");
    HWND form = again.Form();
    ASSERT_TRUE(form);
    EXPECT_TRUE(HasButton(form, L"Open"));
    EXPECT_TRUE(Settles(form, IsContrastTitle));
}

// An unpacked zip: the program in a folder of its own, its skins in skins\.
TEST_F(Settings, APortableFolderKeepsItsSettingsBesideTheProgramAndSurvivesDamage) {
    SetEnvironmentVariableW(L"SRTRETIME_INI", nullptr);
    fs::create_directories(dir / L"skins");
    fs::copy_file(BuiltProgram(), dir / L"SrtRetime.exe");
    fs::copy_file(BuiltSkin(L"contrast"), dir / L"skins" / L"contrast.skn");
    const std::wstring exe = (dir / L"SrtRetime.exe").wstring();
    const fs::path ini = dir / L"SrtRetime.ini";
    {
        Program program(exe, L"--lang en --skin \"" + (dir / L"skins" / L"contrast.skn").wstring() + L"\"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        EXPECT_TRUE(HasButton(form, L"Open"));
    }
    EXPECT_EQ(ReadBytes(ini), "[SrtRetime]\r\nSkin=skins\\contrast.skn\r\nLanguage=en\r\n");
    {
        Program program(exe, L"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        EXPECT_TRUE(HasButton(form, L"Open"));
        EXPECT_TRUE(Settles(form, IsContrastTitle));
    }
    // The remembered skin gone: the stored one, and the language still read.
    fs::remove(dir / L"skins" / L"contrast.skn");
    {
        Program program(exe, L"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        EXPECT_TRUE(HasButton(form, L"Open"));
        EXPECT_TRUE(Settles(form, IsStoredTitle));
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(TopWindowsOf(program.Id(), L"#32770").empty());
    }
    // A damaged file: defaults, no box, and the program runs.
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::ofstream(ini, std::ios::binary) << noise;
    {
        Program program(exe, L"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        EXPECT_TRUE(HasButton(form, L"打开字幕"));
        EXPECT_TRUE(Settles(form, IsStoredTitle));
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(TopWindowsOf(program.Id(), L"#32770").empty());
        EXPECT_TRUE(program.Running());
    }
}

// Windows' high contrast as Wine reports it (always off; Wine refuses to set
// it): the program starts in the stored skin, a settings change broadcast as
// Windows sends it keeps that, a skin the user chose stays, and nothing of
// it is remembered. The switch itself is tested in the window's own process.
TEST_F(Settings, ASettingChangeWithHighContrastOffKeepsTheSkinAndRemembersNothing) {
    const fs::path ini = dir / L"SrtRetime.ini";
    SetEnvironmentVariableW(L"SRTRETIME_INI", ini.c_str());
    auto broadcast = [](WPARAM parameter, const wchar_t* area) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, parameter, reinterpret_cast<LPARAM>(area),
                            SMTO_ABORTIFHUNG, 5000, &result);
    };
    {
        Program program(BuiltProgram(), L"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        EXPECT_TRUE(Settles(form, IsStoredTitle));
        broadcast(SPI_SETHIGHCONTRAST, nullptr);
        broadcast(0, L"WindowMetrics");
        EXPECT_TRUE(Settles(form, IsStoredTitle));
        EXPECT_TRUE(program.Running());
    }
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES);
    {
        Program program(BuiltProgram(), L"--skin \"" + BuiltSkin(L"contrast") + L"\"");
        HWND form = program.Form();
        ASSERT_TRUE(form);
        broadcast(SPI_SETHIGHCONTRAST, nullptr);
        EXPECT_TRUE(Settles(form, IsContrastTitle));
    }
    EXPECT_NE(ReadBytes(ini).find("contrast.skn\r\n"), std::string::npos);
}

}  // namespace

// End to end: the real SrtRetime.exe remembering its user. The language and
// the skin chosen in the skinned system menu with the mouse and the keys, or
// on the command line, come back after a restart; a program unpacked into a
// folder of its own keeps SrtRetime.ini beside itself; a damaged settings
// file or a remembered skin that is gone mean defaults, without a word.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/program.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using srt::testing::TopWindowOf;
using srt::testing::TopWindowsOf;
using srt::testing::WaitFor;

std::wstring BuiltProgram() { return srt::testing::ThisFolder() + L"SrtRetime.exe"; }
std::wstring BuiltSkin(const wchar_t* name) { return srt::testing::ThisFolder() + L"..\\skins\\" + name + L".skn"; }

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

BOOL CALLBACK AddChild(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

// The captions of the window's buttons, in creation order.
std::vector<std::wstring> ButtonTexts(HWND form) {
    std::vector<HWND> all;
    EnumChildWindows(form, AddChild, reinterpret_cast<LPARAM>(&all));
    std::vector<std::wstring> out;
    for (HWND h : all) {
        wchar_t cls[32], text[64];
        GetClassNameW(h, cls, 32);
        GetWindowTextW(h, text, 64);
        if (lstrcmpiW(cls, L"Button") == 0) out.emplace_back(text);
    }
    return out;
}

bool HasButton(HWND form, const std::wstring& text) {
    for (const std::wstring& t : ButtonTexts(form))
        if (t == text) return true;
    return false;
}

// A pixel of the title bar, clear of the caption text and buttons.
COLORREF CaptionPixel(HWND form) {
    RECT r;
    GetWindowRect(form, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.right - 110, r.top + 5);
    ReleaseDC(nullptr, screen);
    return c;
}
bool IsContrastTitle(COLORREF c) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) < 0x20;
}
bool IsStoredTitle(COLORREF c) { return GetBValue(c) > 120 && GetBValue(c) > GetRValue(c) + 40; }

// The look `expected` shows and holds (a skin file takes effect through the
// skin manager's deferred-action timer, after the first paint).
bool Settles(HWND form, bool (*expected)(COLORREF)) {
    if (!WaitFor([&] { return expected(CaptionPixel(form)); }, 5s)) return false;
    std::this_thread::sleep_for(600ms);
    return expected(CaptionPixel(form));
}

void Input(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    std::this_thread::sleep_for(300ms);
}

void Key(WORD vk) {
    INPUT down{}, up{};
    down.type = up.type = INPUT_KEYBOARD;
    down.ki.wVk = up.ki.wVk = vk;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    Input({down, up});
}

// A right click on the caption, as the user opens the skinned system menu.
void RightClickCaption(HWND form) {
    SetForegroundWindow(form);
    std::this_thread::sleep_for(300ms);
    RECT r;
    GetWindowRect(form, &r);
    SetCursorPos(r.left + 60, r.top + 10);
    INPUT down{}, up{};
    down.type = up.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    up.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    Input({down, up});
}

class Program : public srt::testing::TProgram {
public:
    Program(const std::wstring& exe, const std::wstring& arguments) : TProgram(exe, arguments) {}
    HWND Form() {
        HWND form = nullptr;
        if (Started()) WaitFor([&] { return (form = TopWindowOf(Id(), L"TForm1")) != nullptr; });
        // Shown and painted by its skin.
        if (form) WaitFor([&] { return IsStoredTitle(CaptionPixel(form)) || IsContrastTitle(CaptionPixel(form)); });
        return form;
    }
};

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir = fs::path(temp) / (L"srt-settings-e2e-" + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(dir);
        const DWORD had = GetEnvironmentVariableW(L"SRTRETIME_INI", saved_, MAX_PATH);
        hadIni_ = had > 0 && had < MAX_PATH;
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"SRTRETIME_INI", hadIni_ ? saved_ : nullptr);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;

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

}  // namespace

// End to end: the real programs in their own processes, brought to the
// front and typed at with real key input (SendInput), an edit box focused
// by a real click. Alt+Space opens the skinned system menu of the main
// window; Alt+letter opens the skinned menu bar's item of a gallery form.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <vector>

#include "keyinput.h"
#include "skin/manager/skintypes.h"
#include "tests/support/program.h"

namespace srt {
namespace {

using keytest::CentreOf;
using keytest::ClickAt;
using keytest::PressChord;
using testing::ThisFolder;
using testing::TopWindowOf;
using testing::TProgram;
using testing::WaitFor;

BOOL CALLBACK AddChild(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

// The first visible single-line edit box of `form`.
HWND EditOf(HWND form) {
    std::vector<HWND> children;
    EnumChildWindows(form, AddChild, reinterpret_cast<LPARAM>(&children));
    for (HWND h : children) {
        wchar_t name[32] = {};
        GetClassNameW(h, name, 32);
        if (lstrcmpiW(name, L"Edit") == 0 && IsWindowVisible(h) && !(GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE))
            return h;
    }
    return nullptr;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    if (window) GetClassNameA(window, name, sizeof name);
    return name;
}

GUITHREADINFO InputOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return {};
    return info;
}

HWND FocusOf(HWND window) { return InputOf(window).hwndFocus; }

// Brings `form` to the front and clicks into `edit` until it has the focus
// (a click that only activates the window may not reach the edit box).
bool FocusByClick(HWND form, HWND edit) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetWindowPos(form, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(form);
        // The activation puts the focus on the form's active control first;
        // the click must come after it.
        WaitFor([&] { return GetForegroundWindow() == form && InputOf(form).hwndActive == form; },
                std::chrono::seconds(2));
        Sleep(200);
        ClickAt(CentreOf(edit));
        if (WaitFor([&] { return FocusOf(form) == edit; }, std::chrono::seconds(2))) {
            Sleep(200);
            if (FocusOf(form) == edit) return true;
        }
    }
    ADD_FAILURE() << "the click at the edit box reached " << WindowFromPoint(CentreOf(edit)) << ", not " << edit;
    return false;
}

// Whether a skinned popup menu of the program opens on `keys`; closes it.
bool SkinnedMenuOpensOn(DWORD pid, std::initializer_list<WORD> keys) {
    PressChord(keys);
    HWND popup = nullptr;
    const bool opened = WaitFor([&] { return (popup = TopWindowOf(pid, L"#32768")) != nullptr; }, std::chrono::seconds(5));
    const bool skinned = opened && SendMessageW(popup, kWmSkinQuery, 0, 0) == 1;
    if (opened) {
        PressChord({VK_ESCAPE});
        WaitFor([&] { return !IsWindowVisible(popup); });
    }
    return skinned;
}

TEST(KeysEndToEnd, AltSpaceInTheMainWindowsEditBoxOpensTheSkinnedSystemMenu) {
    TProgram program(ThisFolder() + L"SrtRetime.exe", L"");
    ASSERT_TRUE(program.Started());
    HWND form = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (form = TopWindowOf(program.Id(), L"TForm1")) != nullptr; }));
    HWND edit = EditOf(form);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(FocusByClick(form, edit));
    EXPECT_TRUE(SkinnedMenuOpensOn(program.Id(), {VK_MENU, VK_SPACE}));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(form) == edit; }, std::chrono::seconds(5)))
        << "focus " << FocusOf(form) << " " << ClassOf(FocusOf(form)) << ", edit " << edit << ", form " << form
        << ", foreground " << GetForegroundWindow() << " " << ClassOf(GetForegroundWindow())
        << ", menu open " << (TopWindowOf(program.Id(), L"#32768") != nullptr);
}

TEST(KeysEndToEnd, AltLetterAndAltSpaceInAGalleryFormsEditBoxOpenItsSkinnedMenus) {
    TProgram program(ThisFolder() + L"SkinGallery.exe", L"1");
    ASSERT_TRUE(program.Started());
    HWND form = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        form = FindWindowW(nullptr, L"Resizable form with a main menu");
        return form && IsWindowVisible(form);
    }));
    HWND edit = EditOf(form);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(FocusByClick(form, edit));
    EXPECT_TRUE(SkinnedMenuOpensOn(program.Id(), {VK_MENU, 'F'}));
    EXPECT_EQ(GetMenu(form), nullptr);  // the skin's bar, not the platform's
    ASSERT_TRUE(FocusByClick(form, edit));
    EXPECT_TRUE(SkinnedMenuOpensOn(program.Id(), {VK_MENU, VK_SPACE}));
    PostMessageW(form, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace srt

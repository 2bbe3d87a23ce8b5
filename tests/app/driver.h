// Driving the real SrtRetime from a test: where the built programs and
// skins are, files read and written whole, the windows' controls found by
// kind and text, messages with a time limit, real key and mouse input, the
// file dialog, the title bar's look and a scratch folder.
#pragma once

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program.h"

namespace srt::testing {

using namespace std::chrono_literals;

// ---- the built programs and skins

inline std::wstring BuiltProgram() { return ThisFolder() + L"SrtRetime.exe"; }
inline std::wstring BuiltGallery() { return ThisFolder() + L"SkinGallery.exe"; }
// The packages the build makes beside bin/.
inline std::wstring BuiltSkin(const wchar_t* name) { return ThisFolder() + L"..\\skins\\" + name + L".skn"; }

// ---- whole files

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own under %TEMP% ("srt-NAME-<process id>"), removed with
// all it holds when the test ends.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::filesystem::path(temp) / (L"srt-" + name + L"-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(path_);
    }
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A file in it, as a Windows path.
    std::wstring File(const std::wstring& name) const { return (path_ / name).wstring(); }

private:
    std::filesystem::path path_;
};

// ---- windows and their texts

namespace detail {
inline BOOL CALLBACK AddChild(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}
}  // namespace detail

// Every window below `parent`, children's children included.
inline std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, detail::AddChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

inline std::wstring ClassOf(HWND h) {
    wchar_t name[64];
    GetClassNameW(h, name, 64);
    return name;
}

// The windows below `parent` of class `cls` (in any case).
inline std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* cls) {
    std::vector<HWND> out;
    for (HWND h : Children(parent))
        if (lstrcmpiW(ClassOf(h).c_str(), cls) == 0) out.push_back(h);
    return out;
}

// The text of a window, or "" when it does not answer within `wait` ms.
inline std::wstring TextOf(HWND h, UINT wait = 5000) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, wait, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, wait,
                        &got);
    text.resize(got);
    return text;
}

// A message to another process's window, given up on after ten seconds.
inline LRESULT Send(HWND h, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(h, message, w, l, SMTO_ABORTIFHUNG, 10000, &r);
    return static_cast<LRESULT>(r);
}

inline HWND ButtonWithText(HWND form, const std::wstring& text) {
    for (HWND h : Children(form))
        if (ClassOf(h) == L"Button" && TextOf(h) == text) return h;
    return nullptr;
}

// The main window's controls, found by kind and (Chinese) caption.
struct TMainWindow {
    HWND form = nullptr, memo = nullptr, edit = nullptr, open = nullptr, adjust = nullptr, save = nullptr;
    explicit TMainWindow(HWND f) : form(f) {
        for (HWND h : Children(form)) {
            if (ClassOf(h) != L"Edit" || !IsWindowVisible(h)) continue;
            (GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE ? memo : edit) = h;
        }
        open = ButtonWithText(form, L"打开字幕");
        adjust = ButtonWithText(form, L"调整字幕");
        save = ButtonWithText(form, L"保存字幕");
    }
    bool Complete() const { return memo && edit && open && adjust && save; }
};

// The built SrtRetime (or `exe`) started with `arguments`, ended when the test ends.
class TApp : public TProgram {
public:
    explicit TApp(const std::wstring& arguments, const std::wstring& exe = BuiltProgram()) : TProgram(exe, arguments) {}
    // Its main window once it shows; null when it does not.
    HWND Form() {
        HWND form = nullptr;
        if (Started()) WaitFor([&] { return (form = TopWindowOf(Id(), L"TForm1")) != nullptr; });
        return form;
    }
};

// ---- real input

inline void KeyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Keys pressed in order and let go in reverse ({VK_CONTROL, 'T'} is
// Ctrl+T), then `settle` for the program to take them.
inline void Chord(std::initializer_list<WORD> keys, std::chrono::milliseconds settle = 100ms) {
    for (WORD k : keys) KeyEvent(k, false);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) KeyEvent(*k, true);
    std::this_thread::sleep_for(settle);
}

// Text typed as Unicode key strokes.
inline void TypeKeys(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT input[2]{};
        for (int i = 0; i < 2; ++i) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki.wScan = c;
            input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, input, sizeof(INPUT));
    }
    std::this_thread::sleep_for(100ms);
}

// Text typed into a control character by character (WM_CHAR).
inline void Type(HWND h, const std::wstring& text) {
    for (wchar_t c : text) Send(h, WM_CHAR, c, 1);
}

// A right click on the caption, as the user opens the skinned system menu.
inline void RightClickCaption(HWND form) {
    SetForegroundWindow(form);
    std::this_thread::sleep_for(300ms);
    RECT r;
    GetWindowRect(form, &r);
    SetCursorPos(r.left + 60, r.top + 10);
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, clicks, sizeof(INPUT));
    std::this_thread::sleep_for(300ms);
}

// The focused window of the thread that owns `window`.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// ---- the file dialog

// Waits (up to `limit`) for the program's file dialog and its file name
// box, the edit inside when it is a combo box. False, with the test's
// failure added, when either does not come.
inline bool AwaitFileDialog(DWORD pid, HWND& dialog, HWND& name,
                            std::chrono::milliseconds limit = std::chrono::seconds(15)) {
    if (!WaitFor([&] { return (dialog = TopWindowOf(pid, L"#32770")) != nullptr; }, limit)) {
        ADD_FAILURE() << "no file dialog";
        return false;
    }
    if (!WaitFor([&] {
            for (int id : {cmb13, edt1})
                if ((name = GetDlgItem(dialog, id)) && IsWindowVisible(name)) return true;
            return false;
        })) {
        ADD_FAILURE() << "no file name box";
        return false;
    }
    if (ClassOf(name) != L"Edit")
        for (HWND h : Children(name))
            if (ClassOf(h) == L"Edit") name = h;
    return true;
}

// ---- the title bar's look

// A pixel of the title bar, read from the screen: left of the caption
// buttons and clear of the caption text, a few rows below the outline.
inline COLORREF CaptionPixel(HWND form) {
    RECT r;
    GetWindowRect(form, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.right - 110, r.top + 5);
    ReleaseDC(nullptr, screen);
    return c;
}

// The high-contrast skin's title bar is black, or the near-black grey behind
// the caption text; the stored skin's is blue.
inline bool IsContrastTitle(COLORREF c) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) < 0x20;
}
inline bool IsStoredTitle(COLORREF c) { return GetBValue(c) > 120 && GetBValue(c) > GetRValue(c) + 40; }

// Waits until the caption has been painted and holds still.
inline COLORREF SettledCaption(HWND form) {
    COLORREF last = CLR_INVALID;
    int same = 0;
    WaitFor([&] {
        const COLORREF now = CaptionPixel(form);
        same = now == last ? same + 1 : 0;
        last = now;
        return same >= 6;
    });
    return last;
}

// The look `expected` shows and holds (a skin file takes effect through the
// skin manager's deferred-action timer, after the first paint).
inline bool Settles(HWND form, bool (*expected)(COLORREF)) {
    if (!WaitFor([&] { return expected(CaptionPixel(form)); }, 5s)) return false;
    std::this_thread::sleep_for(600ms);
    return expected(CaptionPixel(form));
}

}  // namespace srt::testing

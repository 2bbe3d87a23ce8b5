// Real key and mouse input for the keyboard tests: SendInput, as a user's
// keyboard and mouse produce it, into whichever window is in front.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace srt::keytest {

// Presses the keys in order and lets them go in reverse: {VK_MENU, 'F'} is
// Alt+F.
inline void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *key;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click at a screen point.
inline void ClickAt(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3]{};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(screen.x, 65535, w - 1);
        i.mi.dy = MulDiv(screen.y, 65535, h - 1);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, in, sizeof(INPUT));
}

inline POINT CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace srt::keytest

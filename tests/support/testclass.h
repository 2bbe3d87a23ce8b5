// Window classes of the Windows tests, registered once per process.
#pragma once

#include <windows.h>

#include <set>
#include <string>

namespace srt {

// Registers `name` with `proc` and `style` the first time it is asked for;
// returns the name.
inline const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC proc = DefWindowProcW, UINT style = CS_DBLCLKS) {
    static std::set<std::wstring> registered;
    if (registered.insert(name).second) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        wc.style = style;
        RegisterClassW(&wc);
    }
    return name;
}

}  // namespace srt

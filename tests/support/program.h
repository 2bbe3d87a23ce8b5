// Driving the real programs from a Windows test: where they are, waiting for
// them, finding their top-level windows, and one started program that is
// closed (its message boxes and main forms) when the test ends.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace srt::testing {

// The folder of this test program, with its trailing separator; the build
// puts the programs under test beside it.
inline std::wstring ThisFolder() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path(self);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// Polls `ready` until it holds or `limit` has passed.
inline bool WaitFor(const std::function<bool()>& ready,
                    std::chrono::milliseconds limit = std::chrono::seconds(15)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ready();
}

namespace detail {

struct TTopSearch {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
};

// A window procedure's calling convention: a lambda would not have it on x86.
inline BOOL CALLBACK CollectTop(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<TTopSearch*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    wchar_t name[64];
    GetClassNameW(h, name, 64);
    if (owner == s->pid && IsWindowVisible(h) && lstrcmpiW(name, s->cls) == 0) s->found.push_back(h);
    return TRUE;
}

}  // namespace detail

// The visible top-level windows of class `cls` that process `pid` owns.
inline std::vector<HWND> TopWindowsOf(DWORD pid, const wchar_t* cls) {
    detail::TTopSearch search{pid, cls, {}};
    EnumWindows(detail::CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND TopWindowOf(DWORD pid, const wchar_t* cls) {
    const std::vector<HWND> all = TopWindowsOf(pid, cls);
    return all.empty() ? nullptr : all.front();
}

// A program started with `arguments`; when it goes out of scope its message
// boxes and main forms are closed and it is waited for (ended after 10 s).
class TProgram {
public:
    TProgram(const std::wstring& exe, const std::wstring& arguments) {
        std::wstring command = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    ~TProgram() {
        if (!started_) return;
        for (HWND box : TopWindowsOf(pi_.dwProcessId, L"#32770")) PostMessageW(box, WM_CLOSE, 0, 0);
        for (const wchar_t* main : {L"TForm1", L"TGalleryForm"})
            if (HWND form = TopWindowOf(pi_.dwProcessId, main)) PostMessageW(form, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Handle() const { return pi_.hProcess; }
    bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

}  // namespace srt::testing

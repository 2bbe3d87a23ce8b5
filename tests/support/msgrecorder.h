// Message sequences on real windows, recorded and compared with expected
// tables. Hooks log what is sent to a watched window (before any procedure
// sees it) and what is taken from its queue; test procedures log what
// reaches them under a name of their own ("proc", "above", "below"...).
// A failed comparison prints both sequences side by side.
//
// Messages whose number or order depends on the desktop (mouse, IME,
// icons, cursor, timers) are not recorded.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/support/testclass.h"

namespace srt::msgseq {

// Where a message was seen: by the WH_CALLWNDPROC hook ("sent"), the
// WH_GETMESSAGE hook ("posted") or a named test procedure.
inline constexpr const char* kSent = "sent";
inline constexpr const char* kPosted = "posted";

// TExpect flags.
enum : unsigned {
    kWParam = 1,    // wParam must match
    kLParam = 2,    // lParam must match
    kOptional = 4,  // may be missing (the platforms differ)
};

struct TSeen {
    std::string where;
    HWND window;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

struct TExpect {
    const char* where;
    UINT msg;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class TRecorder {
public:
    TRecorder() {
        Current() = this;
        sentHook_ = SetWindowsHookExW(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
        postedHook_ = SetWindowsHookExW(WH_GETMESSAGE, PostedHook, nullptr, GetCurrentThreadId());
    }
    ~TRecorder() {
        UnhookWindowsHookEx(sentHook_);
        UnhookWindowsHookEx(postedHook_);
        Current() = nullptr;
    }
    TRecorder(const TRecorder&) = delete;
    TRecorder& operator=(const TRecorder&) = delete;

    static TRecorder*& Current() {
        static TRecorder* current = nullptr;
        return current;
    }
    // Test procedures call this; nothing is logged while no recorder lives.
    static void Log(const char* where, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (TRecorder* r = Current()) r->Add(where, window, msg, wParam, lParam);
    }

    // Only these windows' messages are logged; `className` adds every
    // window of that class (checked as a message arrives).
    void Watch(HWND window) { windows_.push_back(window); }
    void WatchClass(const wchar_t* className) { classes_.emplace_back(className); }
    void Name(UINT msg, const char* name) { names_[msg] = name; }
    void Start() { log_.clear(), on_ = true; }
    void Stop() { on_ = false; }
    const std::vector<TSeen>& Log() const { return log_; }

    // The entries of `where` for `msg` (any window).
    int Count(const char* where, UINT msg) const {
        return static_cast<int>(std::count_if(log_.begin(), log_.end(), [&](const TSeen& s) {
            return s.msg == msg && s.where == where;
        }));
    }
    // The log restricted to `window` and to the places named.
    std::vector<TSeen> Of(HWND window, std::initializer_list<const char*> wheres = {}) const {
        std::vector<TSeen> out;
        for (const TSeen& s : log_) {
            if (window && s.window != window) continue;
            if (wheres.size() && std::none_of(wheres.begin(), wheres.end(), [&](const char* w) { return s.where == w; }))
                continue;
            out.push_back(s);
        }
        return out;
    }

    std::string MsgName(UINT msg) const {
        if (auto it = names_.find(msg); it != names_.end()) return it->second;
        if (const char* known = KnownName(msg)) return known;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%04x", msg);
        return hex;
    }

    // Walks `expected` over `seen` as Wine's tests do: an optional entry
    // that does not match is skipped; any other difference fails. On failure
    // the message lists both sequences.
    ::testing::AssertionResult Matches(const std::vector<TSeen>& seen, const std::vector<TExpect>& expected) const {
        std::size_t e = 0, s = 0;
        std::string why;
        while (e < expected.size() && s < seen.size()) {
            if (Same(expected[e], seen[s])) {
                ++e, ++s;
            } else if (expected[e].flags & kOptional) {
                ++e;
            } else {
                why = "first difference at expected " + std::to_string(e) + ", seen " + std::to_string(s);
                break;
            }
        }
        while (why.empty() && e < expected.size() && (expected[e].flags & kOptional)) ++e;
        if (why.empty() && e < expected.size()) why = "missing from expected " + std::to_string(e);
        if (why.empty() && s < seen.size()) why = "more seen from " + std::to_string(s);
        if (why.empty()) return ::testing::AssertionSuccess();
        std::string text = why + "\n  expected:\n";
        for (std::size_t i = 0; i < expected.size(); ++i)
            text += Line(i, expected[i].where, expected[i].msg, expected[i].wParam, expected[i].lParam,
                         expected[i].flags);
        text += "  seen:\n";
        for (std::size_t i = 0; i < seen.size(); ++i)
            text += Line(i, seen[i].where.c_str(), seen[i].msg, seen[i].wParam, seen[i].lParam, kWParam | kLParam);
        return ::testing::AssertionFailure() << text;
    }

private:
    static bool Ignored(UINT msg) {
        switch (msg) {
        case WM_GETICON:
        case WM_SETCURSOR:
        case WM_NCHITTEST:
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_MOUSELEAVE:
        case WM_NCMOUSELEAVE:
        case WM_TIMER:
        case WM_IME_SETCONTEXT:
        case WM_IME_NOTIFY:
        case WM_GETOBJECT:
        case WM_ENTERIDLE:
        case WM_DEVICECHANGE:
        case WM_SYNCPAINT:
        case 0x031F:  // WM_DWMNCRENDERINGCHANGED
        case 0x00AE:  // the themed caption and frame drawing messages
        case 0x00AF:
            return true;
        default:
            return msg >= 0x90 && msg <= 0x95;  // the themed menu-bar messages
        }
    }
    bool Watched(HWND window) const {
        if (std::find(windows_.begin(), windows_.end(), window) != windows_.end()) return true;
        if (classes_.empty()) return false;
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        return std::find(classes_.begin(), classes_.end(), name) != classes_.end();
    }
    void Add(const char* where, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (!on_ || Ignored(msg) || !Watched(window)) return;
        log_.push_back({where, window, msg, wParam, lParam});
    }
    static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
            Log(kSent, m->hwnd, m->message, m->wParam, m->lParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK PostedHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == PM_REMOVE) {
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            Log(kPosted, m->hwnd, m->message, m->wParam, m->lParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static bool Same(const TExpect& e, const TSeen& s) {
        return s.where == e.where && s.msg == e.msg && (!(e.flags & kWParam) || s.wParam == e.wParam) &&
               (!(e.flags & kLParam) || s.lParam == e.lParam);
    }
    std::string Line(std::size_t i, const char* where, UINT msg, WPARAM wp, LPARAM lp, unsigned flags) const {
        char line[160];
        std::snprintf(line, sizeof line, "    %2zu %-7s %-22s", i, where, MsgName(msg).c_str());
        std::string text = line;
        if (flags & kWParam) std::snprintf(line, sizeof line, " w=%llx", static_cast<unsigned long long>(wp)), text += line;
        if (flags & kLParam) std::snprintf(line, sizeof line, " l=%llx", static_cast<unsigned long long>(lp)), text += line;
        if (flags & kOptional) text += " (optional)";
        return text + "\n";
    }
    static const char* KnownName(UINT msg) {
        switch (msg) {
#define SRT_MSG(m) \
    case m: return #m;
            SRT_MSG(WM_CREATE) SRT_MSG(WM_DESTROY) SRT_MSG(WM_MOVE) SRT_MSG(WM_SIZE) SRT_MSG(WM_ACTIVATE)
            SRT_MSG(WM_SETFOCUS) SRT_MSG(WM_KILLFOCUS) SRT_MSG(WM_ENABLE) SRT_MSG(WM_SETREDRAW) SRT_MSG(WM_SETTEXT)
            SRT_MSG(WM_GETTEXT) SRT_MSG(WM_GETTEXTLENGTH) SRT_MSG(WM_PAINT) SRT_MSG(WM_CLOSE) SRT_MSG(WM_ERASEBKGND)
            SRT_MSG(WM_SHOWWINDOW) SRT_MSG(WM_ACTIVATEAPP) SRT_MSG(WM_CANCELMODE) SRT_MSG(WM_CHILDACTIVATE)
            SRT_MSG(WM_GETMINMAXINFO) SRT_MSG(WM_WINDOWPOSCHANGING) SRT_MSG(WM_WINDOWPOSCHANGED)
            SRT_MSG(WM_NCCREATE) SRT_MSG(WM_NCDESTROY) SRT_MSG(WM_NCCALCSIZE) SRT_MSG(WM_NCPAINT)
            SRT_MSG(WM_NCACTIVATE) SRT_MSG(WM_STYLECHANGING) SRT_MSG(WM_STYLECHANGED) SRT_MSG(WM_SETICON)
            SRT_MSG(WM_PRINT) SRT_MSG(WM_PRINTCLIENT) SRT_MSG(WM_SYNCPAINT) SRT_MSG(WM_COMMAND)
            SRT_MSG(WM_SYSCOMMAND) SRT_MSG(WM_INITMENU) SRT_MSG(WM_INITMENUPOPUP) SRT_MSG(WM_MENUSELECT)
            SRT_MSG(WM_UNINITMENUPOPUP) SRT_MSG(WM_ENTERMENULOOP) SRT_MSG(WM_EXITMENULOOP)
            SRT_MSG(WM_MEASUREITEM) SRT_MSG(WM_DRAWITEM) SRT_MSG(WM_CAPTURECHANGED)
            SRT_MSG(WM_KEYDOWN) SRT_MSG(WM_KEYUP) SRT_MSG(WM_CHAR)
            SRT_MSG(WM_SETFONT) SRT_MSG(WM_GETFONT) SRT_MSG(WM_PARENTNOTIFY) SRT_MSG(WM_QUERYNEWPALETTE)
            SRT_MSG(WM_USER)
#undef SRT_MSG
        default: return nullptr;
        }
    }

    HHOOK sentHook_ = nullptr;
    HHOOK postedHook_ = nullptr;
    bool on_ = false;
    std::vector<HWND> windows_;
    std::vector<std::wstring> classes_;
    std::map<UINT, std::string> names_;
    std::vector<TSeen> log_;
};

// A window class whose procedure logs what reaches it as "proc" and leaves
// the rest to DefWindowProc. Double clicks are on.
inline LRESULT CALLBACK RecordedProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    TRecorder::Log("proc", w, msg, wp, lp);
    return DefWindowProcW(w, msg, wp, lp);
}

inline const wchar_t* RecordedClass() { return srt::TestWindowClass(L"MsgSeqRecorded", RecordedProc); }

// Prints a log (while writing a table).
inline void Print(const TRecorder& r, const std::vector<TSeen>& seen) {
    for (const TSeen& s : seen)
        std::printf("    {\"%s\", %s, kWParam|kLParam, 0x%llx, 0x%llx},\n", s.where.c_str(), r.MsgName(s.msg).c_str(),
                    static_cast<unsigned long long>(s.wParam), static_cast<unsigned long long>(s.lParam));
}

}  // namespace srt::msgseq

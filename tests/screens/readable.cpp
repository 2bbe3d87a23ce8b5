// Text contrast and white fields, read from screenshots of real windows.
#include "tests/screens/readable.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/screens/capture.h"
#include "tests/screens/contrast.h"

namespace srt::screens {

namespace {

std::string ClassOf(HWND h) {
    char name[64];
    GetClassNameA(h, name, sizeof name);
    return name;
}

// The gallery's controls that keep the platform's look on purpose (by their Tag).
bool KeepsItsOwnLook(const std::wstring& text) { return text.find(L"own look") != std::wstring::npos; }

// Windows that show no text of their own: their marks are no text to
// measure. A button without a caption shows a glyph, a static an icon.
bool ShowsNoText(HWND h, const std::wstring& text) {
    const std::string c = ClassOf(h);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    if (c == "Static") {
        const DWORD type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE) return true;
    }
    if (c == "Button" && text.empty()) return true;
    if (KeepsItsOwnLook(text)) return true;
    return c == "ScrollBar" || c == "msctls_progress32" || c == "msctls_trackbar32" || c == "msctls_updown32";
}

// Windows that must show their caption (a check box, a button, a static
// text) or their value (a date picker).
bool ShowsItsCaption(HWND h, const std::wstring& text) {
    const std::string c = ClassOf(h);
    return (!text.empty() && (c == "Button" || c == "Static")) || c == "SysDateTimePick32";
}

RECT ClientOnScreen(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The client area of `h` where its caption goes: a check box's or radio
// button's mark is a picture beside it.
RECT CaptionArea(HWND h) {
    RECT r = ClientOnScreen(h);
    if (ClassOf(h) != "Button") return r;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        constexpr int kMark = 18;
        if (style & BS_LEFTTEXT)
            r.right -= kMark;
        else
            r.left += kMark;
        break;
    }
    default: break;
    }
    return r;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

std::wstring TextOf(HWND h) {
    wchar_t text[64] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &got);
    return text;
}

// The tabs of the tab control `h`, on the screen: each tab is a face of its
// own with its caption on it.
std::vector<RECT> TabsOnScreen(HWND h) {
    std::vector<RECT> tabs;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return tabs;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    DWORD_PTR count = 0;
    SendMessageTimeoutW(h, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (WPARAM i = 0; remote && i < count; ++i) {
        DWORD_PTR got = 0;
        RECT r{};
        if (!SendMessageTimeoutW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &got) ||
            !got || !ReadProcessMemory(process, remote, &r, sizeof r, nullptr))
            continue;
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
        const RECT client = ClientOnScreen(h);
        if (IntersectRect(&r, &r, &client)) tabs.push_back(r);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return tabs;
}

// The visible descendants of `parent` in painting order: each before its
// children, siblings from the bottom of the z-order up.
void AddBackToFront(HWND parent, std::vector<HWND>& out) {
    std::vector<HWND> children;  // topmost first
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) children.push_back(h);
    for (auto h = children.rbegin(); h != children.rend(); ++h) {
        if (!IsWindowVisible(*h)) continue;
        out.push_back(*h);
        AddBackToFront(*h, out);
    }
}

std::vector<HWND> BackToFront(HWND parent) {
    std::vector<HWND> out;
    AddBackToFront(parent, out);
    return out;
}

}  // namespace

double ContrastGoal(const std::string& skin) { return skin == "contrast" ? 7.0 : 4.5; }

// Every client area of the skinned windows among `windows` and of their
// visible descendants is one background with text on it (`pictures`, in
// screen coordinates, and the controls' frames are left out): the text must
// stand `goal`:1 against it, a caption must show, and under a dark skin no
// background may be a light field, nor any skinned window a white one.
void ExpectReadable(const std::string& name, const TImage& image, const std::vector<HWND>& windows, double goal,
                    const std::vector<RECT>& pictures) {
    POINT origin{LONG_MAX, LONG_MAX};
    for (HWND w : windows) {
        RECT r{};
        GetWindowRect(w, &r);
        origin = {std::min(origin.x, r.left), std::min(origin.y, r.top)};
    }
    struct TAbout {
        bool measure, captioned;
        bool skinned = false;  // a window the skin paints: never a white field
    };
    std::vector<TRegion> regions;
    std::vector<TAbout> about;
    auto add = [&](const std::string& what, const RECT& r, TAbout a) {
        regions.push_back({what, static_cast<int>(r.left - origin.x), static_cast<int>(r.top - origin.y),
                           static_cast<int>(r.right - origin.x), static_cast<int>(r.bottom - origin.y)});
        about.push_back(a);
    };
    // Back to front: a window's area covers its parent's.
    for (auto w = windows.rbegin(); w != windows.rend(); ++w) {
        DWORD_PTR skinned = 0;
        SendMessageTimeoutW(*w, 0x3504 /* the skin's query */, 0, 0, SMTO_ABORTIFHUNG, 5000, &skinned);
        if (skinned != 1) continue;  // a window left its own look
        add(ClassOf(*w), ClientOnScreen(*w), {true, false, true});
        for (HWND h : BackToFront(*w)) {
            const std::wstring text = TextOf(h);
            RECT frame{};
            GetWindowRect(h, &frame);
            add("frame", frame, {false, false});
            // A tab control's text is on its tabs, each measured on its own
            // face, inside the face's edges; the rest is the sheet.
            const bool tabs = ClassOf(h) == "SysTabControl32";
            add(ClassOf(h) + " \"" + Utf8(text) + "\"", CaptionArea(h),
                {!ShowsNoText(h, text) && !tabs, ShowsItsCaption(h, text), !KeepsItsOwnLook(text)});
            if (tabs)
                for (RECT tab : TabsOnScreen(h)) {
                    InflateRect(&tab, -3, -3);
                    add("a tab of " + ClassOf(h), tab, {true, true, true});
                }
        }
    }
    for (const RECT& p : pictures) add("picture", p, {false, false});
    const std::vector<int> owner = srt::screens::PaintOwners(image, regions, 2);
    const auto results =
        srt::screens::MeasureContrast(image, regions, owner, {srt::screens::kOutside, srt::screens::kCaret});
    for (const auto& r : results) {
        const std::string& what = regions[r.region].name;
        // Whatever it shows, a skinned window is no white field under a dark skin.
        const bool white = ((r.background >> 16) & 0xFF) >= 0xF0 && ((r.background >> 8) & 0xFF) >= 0xF0 &&
                           (r.background & 0xFF) >= 0xF0;
        EXPECT_FALSE(about[r.region].skinned && white)
            << name << ", " << what << ": a white field (#" << std::hex << r.background << ")";
        if (!about[r.region].measure) continue;
        char colours[64];
        std::snprintf(colours, sizeof colours, "text #%06X on #%06X", r.text, r.background);
        EXPECT_GE(r.ratio, goal) << name << ", " << what << ": " << colours << " at " << r.ratio << ":1";
        EXPECT_TRUE(r.textPixels > 0 || !about[r.region].captioned)
            << name << ", " << what << ": its caption cannot be seen on #" << std::hex << r.background;
        EXPECT_LT(srt::screens::Luminance(r.background), 0.4)
            << name << ", " << what << ": a light field (#" << std::hex << r.background << ") under a dark skin";
    }
}

}  // namespace srt::screens

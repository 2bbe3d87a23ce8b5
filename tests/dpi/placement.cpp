#include "tests/dpi/placement.h"

#include <algorithm>
#include <cstdlib>

#include "component/dpi.h"
#include "component/pickers.h"
#include "component/stdctrls.h"

namespace srt::dpitest {
namespace {

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top) + ")";
}

// How many items a combo box's list shows whole, dropped down for the moment.
int DroppedItems(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(combo, &info) || !info.hwndList) return 0;
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    RECT list{};
    GetClientRect(info.hwndList, &list);
    const LRESULT item = SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    return item > 0 ? static_cast<int>(list.bottom / item) : 0;
}

void Collect(TWinControl& parent, const std::string& path, std::vector<TPlacement>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl& c = *parent.Controls(i);
        TPlacement p;
        p.path = path + "/" + c.ClassName() + "[" + std::to_string(i) + "]";
        // Captions name buttons and boxes; a picker's or an edit's is its value.
        const bool named = !dyncast<TCustomEdit>(&c) && !dyncast<TComboBox>(&c) && !dyncast<TDateTimePicker>(&c);
        if (named && !c.Caption().empty()) p.path += " \"" + c.Caption() + "\"";
        p.bounds = c.BoundsRect();
        auto* w = dyncast<TWinControl>(&c);
        p.comboBox = dyncast<TComboBox>(&c) != nullptr;
        if (w && w->HandleAllocated() && parent.HandleAllocated()) {
            p.window = true;
            GetWindowRect(w->Handle(), &p.frame);
            MapWindowPoints(HWND_DESKTOP, parent.Handle(), reinterpret_cast<POINT*>(&p.frame), 2);
            // Mirrored parents (right to left) give the corners swapped.
            if (p.frame.left > p.frame.right) std::swap(p.frame.left, p.frame.right);
            if (p.comboBox) p.dropped = DroppedItems(w->Handle());
        }
        out.push_back(p);
        if (w) Collect(*w, p.path, out);
    }
}

// Whether `actual` is `design` scaled, a pixel either way; a combo box's
// window takes the height the platform gives its closed box.
bool Near(const RECT& design, int from, const RECT& actual, int to, bool closedHeightFree) {
    auto close = [&](int d, int a) { return std::abs(RescaleDpi(d, from, to) - a) <= 1; };
    return close(design.left, actual.left) && close(design.top, actual.top) &&
           close(design.right - design.left, actual.right - actual.left) &&
           (closedHeightFree || close(design.bottom - design.top, actual.bottom - actual.top));
}

}  // namespace

std::vector<TPlacement> PlacementsOf(TWinControl& form) {
    std::vector<TPlacement> out;
    Collect(form, form.ClassName(), out);
    return out;
}

std::string Misplaced(const std::vector<TPlacement>& design, int from, const std::vector<TPlacement>& actual, int to) {
    if (design.size() != actual.size())
        return std::to_string(actual.size()) + " controls where the design has " + std::to_string(design.size()) + "\n";
    std::string out;
    for (std::size_t i = 0; i < design.size(); ++i) {
        const TPlacement &d = design[i], &a = actual[i];
        if (d.path != a.path) {
            out += a.path + " where the design has " + d.path + "\n";
            continue;
        }
        if (!Near(d.bounds, from, a.bounds, to, false))
            out += a.path + ": bounds " + Text(a.bounds) + ", designed " + Text(d.bounds) + "\n";
        if (d.window && a.window && !Near(d.frame, from, a.frame, to, a.comboBox))
            out += a.path + ": window " + Text(a.frame) + ", designed " + Text(d.frame) + "\n";
        if (a.dropped != d.dropped)
            out += a.path + ": " + std::to_string(a.dropped) + " items dropped, designed " + std::to_string(d.dropped) + "\n";
    }
    return out;
}

std::string Moved(const std::vector<TPlacement>& before, const std::vector<TPlacement>& after) {
    if (before.size() != after.size()) return "the controls changed\n";
    std::string out;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const TPlacement &b = before[i], &a = after[i];
        if (!EqualRect(&b.bounds, &a.bounds)) out += a.path + ": bounds " + Text(a.bounds) + ", was " + Text(b.bounds) + "\n";
        const bool same = b.frame.left == a.frame.left && b.frame.top == a.frame.top && b.frame.right == a.frame.right &&
                          (a.comboBox || b.frame.bottom == a.frame.bottom);
        if (b.window && a.window && !same)
            out += a.path + ": window " + Text(a.frame) + ", was " + Text(b.frame) + "\n";
        if (b.dropped != a.dropped)
            out += a.path + ": " + std::to_string(a.dropped) + " items dropped, was " + std::to_string(b.dropped) + "\n";
    }
    return out;
}

void MoveToDpi(TWinControl& form, int from, int dpi) {
    RECT window;
    GetWindowRect(form.Handle(), &window);
    RECT suggested{window.left, window.top, window.left + RescaleDpi(window.right - window.left, from, dpi),
                   window.top + RescaleDpi(window.bottom - window.top, from, dpi)};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

namespace {
using TSetThreadDpiAwarenessContext = HANDLE(WINAPI*)(HANDLE);
TSetThreadDpiAwarenessContext SetContext() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<TSetThreadDpiAwarenessContext>(
                        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")))
                  : nullptr;
}
const HANDLE kUnaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));  // DPI_AWARENESS_CONTEXT_UNAWARE
}  // namespace

TUnawareThread::TUnawareThread() {
    if (auto set = SetContext()) previous_ = set(kUnaware);
}

TUnawareThread::~TUnawareThread() {
    if (auto set = SetContext(); set && previous_) set(previous_);
}

bool TUnawareThread::Available() { return SetContext() != nullptr; }

int ScreenDpi() {
    const char* dpi = std::getenv("SRT_TEST_DPI");
    return dpi && *dpi ? std::atoi(dpi) : kDesignDpi;
}

}  // namespace srt::dpitest

// Where every control of a form lies (relative to its parent: the bounds it
// keeps and its window's rectangle), and how one such layout compares with
// another scaled from its DPI. The layout as designed at 96 DPI comes from
// building the form on a DPI-unaware thread: there the platform answers at
// 96 DPI (system metrics included) and the form's window has 96 DPI.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "component/controls.h"

namespace srt::dpitest {

struct TPlacement {
    std::string path;    // the controls from the form down, by class, index and caption
    RECT bounds{};       // Left, Top, Width and Height as a rectangle
    bool window = false; // a window exists; `frame` is its rectangle in the parent's client area
    RECT frame{};
    bool comboBox = false; // the platform gives its closed box a height from the font
    int dropped = 0;       // a combo box's list dropped down: how many items it shows whole
};

// Every control inside `form`, depth first.
std::vector<TPlacement> PlacementsOf(TWinControl& form);

// One line for each control of `actual` (at `to` DPI) that lies more than
// a pixel from where `design` (at `from` DPI) puts it scaled; "" when all
// are in place, a line too when the controls differ.
std::string Misplaced(const std::vector<TPlacement>& design, int from, const std::vector<TPlacement>& actual, int to);

// One line for each control whose bounds or window differ from `before`'s at
// all (but for a closed combo box's height).
std::string Moved(const std::vector<TPlacement>& before, const std::vector<TPlacement>& after);

// Sends `form` WM_DPICHANGED for `dpi` with its window rectangle scaled as
// the suggested one.
void MoveToDpi(TWinControl& form, int from, int dpi);

// The calling thread DPI-unaware while it lives (on a platform that has
// thread DPI contexts; Available() says).
class TUnawareThread {
public:
    TUnawareThread();
    ~TUnawareThread();
    TUnawareThread(const TUnawareThread&) = delete;
    TUnawareThread& operator=(const TUnawareThread&) = delete;
    static bool Available();

private:
    HANDLE previous_ = nullptr;
};

// SRT_TEST_DPI: the DPI of the prefix the test runs in, 96 without.
int ScreenDpi();

}  // namespace srt::dpitest

// Windows' high-contrast mode, followed while the user has chosen no skin:
// on, the main window takes the High Contrast skin shipped beside the
// program (skins\contrast.skn); off again, the skin stored with the window.
// What it switches to is never remembered as the user's choice.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "windowhook.h"

class TForm1;

namespace srt::app {

// What following the system asks of the window.
enum class TContrastStep { Stay, ToContrast, ToStored };

// `following`: the user has chosen no skin; `systemOn`: the system's high
// contrast; `followed`: the window shows the contrast skin because it
// followed the system there.
TContrastStep ContrastStep(bool following, bool systemOn, bool followed);

// Whether a WM_SETTINGCHANGE may tell of a change of high contrast: its
// parameter is SPI_SETHIGHCONTRAST, or its area is "WindowMetrics" or none.
bool MayChangeContrast(unsigned parameter, const wchar_t* area);

// The High Contrast skin among the shipped ones (titled "contrast", in any
// case); empty when none is.
std::wstring ContrastSkinAmong(const std::vector<std::wstring>& shipped);

// Windows' high-contrast mode is on (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
bool SystemHighContrastOn();

// Follows the system for one main window from construction on: takes the
// system's state at once, then each WM_SETTINGCHANGE that may change it.
// It stops for good once the user chose a skin (the settings hold one).
class TSystemContrast {
public:
    using TQuery = std::function<bool()>;

    // `following`: no skin was chosen on the command line. `query` reads
    // the system's state (tests give their own).
    TSystemContrast(TForm1& form, bool following, TQuery query = SystemHighContrastOn);
    TSystemContrast(const TSystemContrast&) = delete;
    TSystemContrast& operator=(const TSystemContrast&) = delete;

    bool Following() const { return following_; }

private:
    void Follow();

    TForm1& form_;
    TQuery query_;
    bool following_;
    bool followed_ = false;
    TWindowHook hook_;  // last: released first
};

}  // namespace srt::app

#include "systemcontrast.h"

#include <windows.h>

#include "mainform.h"
#include "settings.h"
#include "skin/data/skinfolder.h"

namespace srt::app {

TContrastStep ContrastStep(bool following, bool systemOn, bool followed) {
    if (!following || systemOn == followed) return TContrastStep::Stay;
    return systemOn ? TContrastStep::ToContrast : TContrastStep::ToStored;
}

bool MayChangeContrast(unsigned parameter, const wchar_t* area) {
    return parameter == SPI_SETHIGHCONTRAST || !area || lstrcmpW(area, L"WindowMetrics") == 0;
}

std::wstring ContrastSkinAmong(const std::vector<std::wstring>& shipped) {
    for (const std::wstring& file : shipped)
        if (lstrcmpiW(SkinFileTitle(file).c_str(), L"contrast") == 0) return file;
    return {};
}

bool SystemHighContrastOn() {
    HIGHCONTRASTW state{};
    state.cbSize = sizeof(state);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(state), &state, 0) &&
           (state.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

TSystemContrast::TSystemContrast(TForm1& form, bool following, TQuery query)
    : form_(form), query_(std::move(query)), following_(following) {
    hook_.Attach(form_, [this](TMessage& m, const TWndMethod& previous) {
        previous(m);
        if (m.Msg == WM_SETTINGCHANGE &&
            MayChangeContrast(static_cast<unsigned>(m.WParam), reinterpret_cast<const wchar_t*>(m.LParam)))
            Follow();
    });
    Follow();
}

void TSystemContrast::Follow() {
    // A skin the user chose (menu, dropped file, command line) is kept.
    if (form_.Settings && form_.Settings->Values().skin) following_ = false;
    switch (ContrastStep(following_, query_(), followed_)) {
    case TContrastStep::Stay:
        return;
    case TContrastStep::ToContrast: {
        const std::wstring skin = ContrastSkinAmong(ShippedSkinFiles(ProgramFolder()));
        // Without a loadable contrast skin the window stays as it is and a
        // later change tries again.
        followed_ = !skin.empty() && form_.LoadSkinFile(skin).empty();
        return;
    }
    case TContrastStep::ToStored:
        form_.LoadSkinFile(L"");
        followed_ = false;
        return;
    }
}

}  // namespace srt::app

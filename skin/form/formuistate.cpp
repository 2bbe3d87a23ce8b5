// The form skin's UI-state messages: the state is kept here (see
// skin/form/uistate.h) and every change reaches the window's controls.
#include "skin/form/winskinform.h"

namespace srt {
namespace {

BOOL CALLBACK SendUpdate(HWND child, LPARAM wParam) {
    SendMessageW(child, WM_UPDATEUISTATE, static_cast<WPARAM>(wParam), 0);
    return TRUE;
}

}  // namespace

LRESULT TWinSkinForm::OnUiState(const TMsg& m) {
    const auto action = static_cast<std::uint16_t>(LOWORD(m.wParam));
    const auto flags = static_cast<std::uint16_t>(HIWORD(m.wParam));
    switch (m.msg) {
    case WM_QUERYUISTATE:
        return (PassOn(m.msg, m.wParam, m.lParam) & ~static_cast<LRESULT>(UISF_HIDEFOCUS)) | FUiState.Flags();
    case WM_CHANGEUISTATE:
        // A change that changes nothing goes no further, as the platform's.
        if (FUiState.HideFocusAfter(action, flags) != ((FUiState.Flags() & uis::HideFocus) != 0))
            SendMessageW(FHandle, WM_UPDATEUISTATE, m.wParam, 0);
        return 0;
    default: {
        FUiState.Apply(action, flags);
        const LRESULT result = PassOn(m.msg, m.wParam, m.lParam);
        // The platform's default hands it to the children where it keeps a
        // state; Wine's does not, so every descendant hears it here.
        EnumChildWindows(FHandle, SendUpdate, static_cast<LPARAM>(m.wParam));
        return result;
    }
    }
}

}  // namespace srt

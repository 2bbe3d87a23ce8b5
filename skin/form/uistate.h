// The UI state of a skinned window: whether focus cues show. It starts with
// them hidden, as the platform's windows do after a mouse start; Tab through
// the dialog manager or the Alt key clears the hide flag (WM_CHANGEUISTATE),
// and the change reaches the window and its controls as WM_UPDATEUISTATE.
// The form skin keeps it because Wine's default window procedure keeps none
// (it answers WM_QUERYUISTATE with 0 whatever was set). Platform-free.
#pragma once

#include <cstdint>

namespace srt {

// Values of the platform's UI-state messages.
namespace uis {
constexpr std::uint16_t Set = 1, Clear = 2, Initialize = 3;
constexpr std::uint16_t HideFocus = 0x1, HideAccel = 0x2;
}  // namespace uis

class TUiState {
public:
    // The flags WM_QUERYUISTATE answers (only uis::HideFocus is kept).
    std::uint16_t Flags() const { return hideFocus_ ? uis::HideFocus : 0; }
    // What `action` with `flags` makes of the state; Initialize hides.
    bool HideFocusAfter(std::uint16_t action, std::uint16_t flags) const;
    // Applies the action; true when the state changed.
    bool Apply(std::uint16_t action, std::uint16_t flags);

private:
    bool hideFocus_ = true;
};

}  // namespace srt

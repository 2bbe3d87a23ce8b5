#include "skin/form/uistate.h"

namespace srt {

bool TUiState::HideFocusAfter(std::uint16_t action, std::uint16_t flags) const {
    if (action == uis::Initialize) return true;
    if (!(flags & uis::HideFocus)) return hideFocus_;
    if (action == uis::Set) return true;
    if (action == uis::Clear) return false;
    return hideFocus_;
}

bool TUiState::Apply(std::uint16_t action, std::uint16_t flags) {
    const bool hide = HideFocusAfter(action, flags);
    if (hide == hideFocus_) return false;
    hideFocus_ = hide;
    return true;
}

}  // namespace srt

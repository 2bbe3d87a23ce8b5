// The skin's enumerations: which windows a skin data component skins, the
// kinds of control it skins and the deferred actions it asks the manager
// for. Shared by the skin data, the manager and the skins. Platform-free.
#pragma once

#include <cstdint>

namespace srt {

// Which windows a skin data component skins.
enum TSkinFormType : std::uint8_t { sfMainform = 0, sfOnlyThisForm = 1, sfDialog = 2 };

// Kinds of control that get a control skin; the ordinals are stored.
enum TSkinControlType : std::uint8_t {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcSystemMenu, xcFastReport
};

// A set of TSkinControlType, one bit per ordinal.
class TSkinControls {
public:
    constexpr TSkinControls() = default;
    constexpr explicit TSkinControls(std::uint32_t bits) : bits_(bits) {}
    // Every element but xcFastReport: the default of a new component.
    static constexpr TSkinControls Default() { return TSkinControls((1u << xcFastReport) - 1); }
    constexpr bool Has(TSkinControlType e) const { return (bits_ >> e) & 1u; }
    constexpr TSkinControls& Include(TSkinControlType e) { bits_ |= 1u << e; return *this; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool operator==(const TSkinControls&) const = default;

private:
    std::uint32_t bits_ = 0;
};

// Deferred manager actions.
enum TManagerAction : int { maNone = 0, maActivate = 1, maDeactivate = 2, maRefresh = 3, maPurge = 6 };

}  // namespace srt

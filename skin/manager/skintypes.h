// Values shared by the skin data component, the manager and the form skins.
// Platform-free.
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
    constexpr TSkinControls& Exclude(TSkinControlType e) { bits_ &= ~(1u << e); return *this; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool operator==(const TSkinControls&) const = default;

private:
    std::uint32_t bits_ = 0;
};

// Deferred manager actions.
enum TManagerAction : int { maNone = 0, maActivate = 1, maDeactivate = 2, maRefresh = 3, maPurge = 6 };

// Private window messages between the skin objects.
constexpr unsigned kWmSkinRepaintFrame = 0x3502;  // paint the frame now
constexpr unsigned kWmSkinStart = 0x3503;         // posted once after a form skin is attached
constexpr unsigned kWmSkinQuery = 0x3504;         // a skinned window answers 1
constexpr unsigned kWmSkinReapply = 0x3401;       // the form-level hook refreshes
constexpr long kSkinStartLParam = 1000;
constexpr unsigned kActionInterval = 250;         // ms, deferred actions and hover timer

}  // namespace srt

// The private window messages between the skin objects and the manager's
// timing, with the skin's enumerations (skin/data/skinenums.h). Platform-free.
#pragma once

#include "skin/data/skinenums.h"

namespace srt {

// Private window messages between the skin objects.
constexpr unsigned kWmSkinRepaintFrame = 0x3502;  // paint the frame now
constexpr unsigned kWmSkinStart = 0x3503;         // posted once after a form skin is attached
constexpr unsigned kWmSkinQuery = 0x3504;         // a skinned window answers 1
constexpr unsigned kWmSkinReapply = 0x3401;       // the form-level hook refreshes
constexpr long kSkinStartLParam = 1000;
constexpr unsigned kActionInterval = 250;         // ms, deferred actions and hover timer

}  // namespace srt

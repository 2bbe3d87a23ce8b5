// What the timing window remembers between openings, kept by the main
// window (and its settings) apart from the window itself.
#pragma once

#include <string>

#include "core/timingchoice.h"

namespace srt::app {

// What the window remembers between openings (and the settings keep).
struct TTimingMemory {
    TimingMode mode = TimingMode::Offset;
    std::string rateFrom = "23.976", rateTo = "25";
};

}  // namespace srt::app

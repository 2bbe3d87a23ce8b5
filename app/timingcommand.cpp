// The timing window opened from the main window; its last mode and rates
// remembered once it closes. Apart from mainform.cpp, which the timing window
// includes.
#include "mainform.h"
#include "timingform.h"

void TForm1::ShowTiming() {
    srt::app::TTimingForm timing(*this, Language(), TimingMemory);
    timing.ShowModal();
    RememberTimingMemory();
}

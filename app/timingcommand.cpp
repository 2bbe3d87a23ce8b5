// The timing window opened from the main window; its last mode and rates
// remembered once it closes.
#include "mainform.h"
#include "skin/data/skindata.h"
#include "timingform.h"

void TForm1::ShowTiming() {
    srt::app::TTimingForm timing(*this, *this, FindComponentAs<TSkinData>("SkinData1"), Language(), TimingMemory);
    timing.ShowModal();
    RememberTimingMemory();
}

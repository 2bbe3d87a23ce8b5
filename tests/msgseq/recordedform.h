// The form-skin fixture of the message-sequence tests: windows whose own
// procedure logs what reaches it ("proc"), watched by one recorder that
// knows the skin's private messages by name.
#pragma once

#include "tests/form/formskin_fixture.h"
#include "tests/support/msgrecorder.h"

namespace srt::msgseq {

class RecordedForms : public formtest::FormSkin {
protected:
    void SetUp() override {
        FormSkin::SetUp();
        recorder.Name(kWmSkinQuery, "kWmSkinQuery");
        recorder.Name(kWmSkinStart, "kWmSkinStart");
        recorder.Name(kWmSkinRepaintFrame, "kWmSkinRepaintFrame");
    }
    // A top-level window of the recorded class, shown and watched.
    HWND MakeRecorded() {
        HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300, RecordedClass());
        formtest::Pump();
        recorder.Watch(w);
        return w;
    }
    TRecorder recorder;
};

}  // namespace srt::msgseq

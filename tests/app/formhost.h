// The main window in this test process: its application, with the test's
// prompts answering every dialog and message box, and the form with its
// window made.
#pragma once

#include <memory>

#include "component/forms.h"
#include "mainform.h"

namespace srt::testing {

class TMainFormHost {
public:
    explicit TMainFormHost(TPrompts& prompts) : app_(std::make_unique<TApplication>()) {
        Application->SetTitle("SrtRetime");
        Application->SetPrompts(&prompts);
        RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
        form = Application->CreateForm<TForm1>();
        form->HandleNeeded();
    }
    TMainFormHost(const TMainFormHost&) = delete;
    TMainFormHost& operator=(const TMainFormHost&) = delete;

    TForm1* form = nullptr;

private:
    std::unique_ptr<TApplication> app_;
};

}  // namespace srt::testing

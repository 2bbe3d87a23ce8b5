// The timing window: every re-timing the document knows (offset, two
// points, frame rate, offset found from a reference subtitle) over all cues
// or part of them, with a preview of what changes; Apply re-times the main
// window's document as one undo step. Modal over the main window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "component/dialogs.h"
#include "component/forms.h"
#include "component/pickers.h"
#include "component/stdctrls.h"
#include "core/document.h"
#include "core/retimer.h"
#include "core/timingchoice.h"
#include "lang.h"
#include "retimetarget.h"
#include "timingmemory.h"

class TSkinData;

namespace srt::app {

// A platform "STATIC" text: its "&" mark moves the focus to the next control.
class TStaticText : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TStaticText(TComponent* owner) : TWinControl(owner) {}

protected:
    void CreateParams(TCreateParams& params) override;
};

class TTimingForm : public TForm {
    SRT_DECLARE_CLASS()
public:
    // Modal over `owner`; `skin` (may be null) gives the texts' colours.
    TTimingForm(TCustomForm& owner, TRetimeTarget& target, ::TSkinData* skin, TLanguage language,
                TTimingMemory& memory);
    ~TTimingForm() override;

    // Shows the window and returns once it has closed.
    void ShowModal();

    TComboBox* Mode = nullptr;
    TEdit* Offset = nullptr;
    TEdit *CueA = nullptr, *TimeB = nullptr, *CueC = nullptr, *TimeD = nullptr;
    TStaticText *StartA = nullptr, *StartC = nullptr;
    TComboBox *RateFrom = nullptr, *RateTo = nullptr;
    TButton* Reference = nullptr;
    TStaticText* Match = nullptr;
    TComboBox* Range = nullptr;
    TStaticText *FirstText = nullptr, *LastText = nullptr;
    TEdit *First = nullptr, *Last = nullptr;
    TStaticText* DocumentInfo = nullptr;
    TStaticText* PreviewTitle = nullptr;
    TMemo* Preview = nullptr;
    TButton *Ok = nullptr, *Apply = nullptr, *Cancel = nullptr;
    TOpenDialog* ReferenceDialog = nullptr;

    // Re-times the document; false (and says why) when refused.
    bool ApplyChoice();

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    // Centred over the main window at the size it shows at: its layout has
    // the window's DPI by now.
    void DoShow() override;

private:
    const wchar_t* T(const TText& text) const { return text.In(language_); }
    TStaticText* Text(const TText& text, int x, int y, int w);
    TEdit* Edit(int x, int y, int w);
    TComboBox* Combo(TComboBoxStyle style, int x, int y, int w);
    TButton* Button(const TText& text, int x, int y);
    void Build();
    void ReadDocument();
    TimingFields Fields() const;
    void UpdatePreview();
    void ModeChanged();
    void OpenReference();
    void Rematch();
    void Finish(bool apply);
    // Centred over the main window, within the work area of its monitor.
    void CentreOverOwner();

    TCustomForm& owner_;
    TRetimeTarget& target_;
    ::TSkinData* skin_;
    TLanguage language_;
    TTimingMemory& memory_;
    std::vector<std::optional<std::int64_t>> starts_;  // every time line's start
    std::vector<std::size_t> timeLines_;              // their line indices
    std::optional<std::vector<CueTimes>> reference_;  // the reference file's cues, once opened
    std::optional<std::int64_t> referenceOffset_;
    std::vector<std::pair<TimingMode, TWinControl*>> modeControls_;
    std::vector<TStaticText*> texts_;
    const Document* document_ = nullptr;
    bool done_ = false;
};

}  // namespace srt::app

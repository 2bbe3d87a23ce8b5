#include "timingform.h"

#include <algorithm>

#include "component/wstr.h"
#include "core/match.h"
#include "core/platformfile.h"
#include "core/ioerror.h"
#include "textcodec.h"
#include "skin/data/skindata.h"
#include "timingtexts.h"

namespace srt::app {

SRT_DEFINE_CLASS(TStaticText, TWinControl, )
SRT_DEFINE_CLASS(TTimingForm, TForm, )

namespace {

// How many changed cues the preview lists.
constexpr std::size_t kPreviewCues = 20;

std::wstring Fill(std::wstring text, const std::wstring& one, const std::wstring& two = {},
                  const std::wstring& three = {}) {
    for (auto [mark, value] : {std::pair{L"%1", &one}, std::pair{L"%2", &two}, std::pair{L"%3", &three}})
        if (std::size_t at = text.find(mark); at != std::wstring::npos) text.replace(at, 2, *value);
    return text;
}

std::wstring Number(std::int64_t n) { return std::to_wstring(n); }

}  // namespace

void TStaticText::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"STATIC";
    params.Style |= SS_LEFT;
}

TTimingForm::TTimingForm(TCustomForm& owner, TRetimeTarget& target, ::TSkinData* skin, TLanguage language,
                         TTimingMemory& memory)
    : TForm(nullptr), owner_(owner), target_(target), skin_(skin), language_(language), memory_(memory) {
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetCaption(Narrow(T(timing::kCaption)));
    // The owner's font at the 96 DPI this layout is given in; the form
    // scales it with the rest.
    Font()->Assign(*owner.Font());
    Font()->SetHeight(srt::RescaleDpi(owner.Font()->Height(), owner.PixelsPerInch(), srt::kDesignDpi));
    SetClientWidth(460);
    SetClientHeight(424);
    Build();
    OnClose.Code = [this](TObject*) { done_ = true; };
}

TTimingForm::~TTimingForm() = default;

void TTimingForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.WndParent = owner_.Handle();
}

TStaticText* TTimingForm::Text(const TText& text, int x, int y, int w) {
    auto* label = new TStaticText(this);
    label->SetParent(this);
    label->SetBounds(x, y + 3, w, 18);
    label->SetTextW(T(text));
    label->SetTabStop(false);
    label->SetParentColor(true);
    texts_.push_back(label);
    return label;
}

TEdit* TTimingForm::Edit(int x, int y, int w) {
    auto* edit = new TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(x, y, w, 22);
    edit->SetTabStop(true);
    edit->OnChange.Code = [this](TObject*) { UpdatePreview(); };
    return edit;
}

TComboBox* TTimingForm::Combo(TComboBoxStyle style, int x, int y, int w) {
    auto* combo = new TComboBox(this);
    combo->SetParent(this);
    combo->SetStyle(style);
    combo->SetBounds(x, y, w, 24);
    combo->SetTabStop(true);
    combo->OnChange.Code = [this](TObject*) { UpdatePreview(); };
    return combo;
}

TButton* TTimingForm::Button(const TText& text, int x, int y) {
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(x, y, 80, 26);
    button->SetTextW(T(text));
    button->SetTabStop(true);
    return button;
}

// Controls in tab order; each text stands just before the control its mark
// leads to. The fields of every mode share the rows below the mode; only
// the chosen mode's show.
void TTimingForm::Build() {
    constexpr int kField = 118;
    Text(timing::kMode, 12, 12, 100);
    Mode = Combo(csDropDownList, kField, 12, 230);
    std::vector<std::string> items;
    for (const TText& t : timing::kModes) items.push_back(Narrow(T(t)));
    Mode->SetItems(items);
    Mode->OnChange.Code = [this](TObject*) { ModeChanged(); };

    auto row = [this](TimingMode mode, std::initializer_list<TWinControl*> controls) {
        for (TWinControl* c : controls) modeControls_.emplace_back(mode, c);
    };
    row(TimingMode::Offset, {Text(timing::kOffset, 12, 46, 100), Offset = Edit(kField, 46, 120)});

    row(TimingMode::TwoPoints, {Text(timing::kCueA, 12, 46, 100), CueA = Edit(kField, 46, 60),
                                StartA = Text({L"", L""}, kField + 66, 46, 96), Text(timing::kTimeB, 282, 46, 70),
                                TimeB = Edit(356, 46, 92)});
    row(TimingMode::TwoPoints, {Text(timing::kCueC, 12, 76, 100), CueC = Edit(kField, 76, 60),
                                StartC = Text({L"", L""}, kField + 66, 76, 96), Text(timing::kTimeD, 282, 76, 70),
                                TimeD = Edit(356, 76, 92)});

    row(TimingMode::FrameRate, {Text(timing::kRateFrom, 12, 46, 100), RateFrom = Combo(csDropDown, kField, 46, 100),
                                Text(timing::kRateTo, 236, 46, 100), RateTo = Combo(csDropDown, 340, 46, 100)});
    std::vector<std::string> rates(std::begin(kFrameRates), std::end(kFrameRates));
    RateFrom->SetItems(rates);
    RateTo->SetItems(rates);

    Reference = Button(timing::kReference, 12, 44);
    Reference->SetWidth(100);
    Reference->OnClick.Code = [this](TObject*) { OpenReference(); };
    Match = Text({L"", L""}, kField + 6, 46, 324);
    row(TimingMode::Reference, {Reference, Match});

    Text(timing::kRange, 12, 112, 100);
    Range = Combo(csDropDownList, kField, 112, 230);
    items.clear();
    for (const TText& t : timing::kRanges) items.push_back(Narrow(T(t)));
    Range->SetItems(items);
    FirstText = Text(timing::kFirst, 12, 144, 100);
    First = Edit(kField, 144, 110);
    LastText = Text(timing::kLast, 236, 144, 60);
    Last = Edit(300, 144, 110);

    DocumentInfo = Text({L"", L""}, 12, 178, 436);
    PreviewTitle = Text(timing::kPreview, 12, 204, 436);
    Preview = new TMemo(this);
    Preview->SetParent(this);
    Preview->SetBounds(12, 226, 436, 148);
    Preview->SetReadOnly(true);
    Preview->SetWordWrap(false);
    Preview->SetScrollBars(ssBoth);
    Preview->SetTabStop(true);

    Ok = Button(timing::kOk, 196, 386);
    Ok->SetDefault(true);
    Ok->OnClick.Code = [this](TObject*) { Finish(true); };
    Apply = Button(timing::kApply, 282, 386);
    Apply->OnClick.Code = [this](TObject*) { ApplyChoice(); };
    Cancel = Button(timing::kClose, 368, 386);
    Cancel->OnClick.Code = [this](TObject*) { Finish(false); };

    ReferenceDialog = new TOpenDialog(this);
    ReferenceDialog->SetFilter("Srt (*.srt)|*.srt|*.*|*.*");
}

// The dialog manager's requests to a window of ours: Enter and Escape come
// as IDOK and IDCANCEL (no control has those ids), a text's mark as moves
// of the focus.
void TTimingForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
        // Enter on a focused button other than OK presses that button.
        if (LOWORD(m.WParam) == IDOK)
            for (TButton* button : {Reference, Apply, Cancel})
                if (button->HandleAllocated() && GetFocus() == button->Handle()) {
                    button->Click();
                    m.Result = 0;
                    return;
                }
        if (LOWORD(m.WParam) == IDOK || LOWORD(m.WParam) == IDCANCEL) {
            Finish(LOWORD(m.WParam) == IDOK);
            m.Result = 0;
            return;
        }
        break;
    case WM_NEXTDLGCTL: {
        HWND focus = GetFocus();
        HWND target = LOWORD(m.LParam) ? reinterpret_cast<HWND>(m.WParam)
                                       : GetNextDlgTabItem(Handle(), focus == Handle() ? nullptr : focus, m.WParam != 0);
        if (target) {
            if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
            ::SetFocus(target);
        }
        m.Result = 0;
        return;
    }
    default: break;
    }
    TForm::WndProc(m);
}

void TTimingForm::ShowModal() {
    HWND owner = owner_.Handle();
    // The window order is the tab order, and a text's mark leads to the
    // control after it: the controls' windows in the order they were made.
    HWND previous = HWND_TOP;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* control = dyncast<TWinControl>(Controls(i));
        if (!control) continue;
        SetWindowPos(control->Handle(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control->Handle();
    }
    Mode->SetItemIndex(static_cast<int>(memory_.mode));
    Range->SetItemIndex(0);
    RateFrom->SetTextW(Widen(memory_.rateFrom));
    RateTo->SetTextW(Widen(memory_.rateTo));
    ReadDocument();
    ModeChanged();
    SendMessageW(Ok->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    // Texts in the skin's text colour on its face colour (the form's).
    if (skin_ && !skin_->Empty())
        for (TStaticText* text : texts_) text->Font()->SetColor(static_cast<TColor>(skin_->Colours.ButtonText));
    SetActiveControl(Mode);
    // Over the main window before it shows, so that it takes the DPI of the
    // main window's monitor; centred again at its scaled size (DoShow).
    CentreOverOwner();
    EnableWindow(owner, FALSE);
    Show();
    while (!done_ && !Application->Terminated()) {
        WaitMessage();
        Application->ProcessMessages();
    }
    EnableWindow(owner, TRUE);
    Hide();
    SetActiveWindow(owner);
}

void TTimingForm::DoShow() {
    CentreOverOwner();
    TForm::DoShow();
}

void TTimingForm::CentreOverOwner() {
    RECT o{}, r{};
    if (!GetWindowRect(owner_.Handle(), &o) || !GetWindowRect(Handle(), &r)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    int x = o.left + ((o.right - o.left) - w) / 2, y = o.top + ((o.bottom - o.top) - h) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(owner_.Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        // Its caption stays reachable: the top left corner wins where it
        // is larger than the work area.
        const RECT& work = monitor.rcWork;
        x = std::max<int>(std::min<int>(x, work.right - w), work.left);
        y = std::max<int>(std::min<int>(y, work.bottom - h), work.top);
    }
    SetBounds(x, y, w, h);
}

void TTimingForm::Finish(bool apply) {
    if (apply && !ApplyChoice()) return;
    memory_.mode = static_cast<TimingMode>(std::max(0, Mode->ItemIndex()));
    memory_.rateFrom = Narrow(RateFrom->GetTextW());
    memory_.rateTo = Narrow(RateTo->GetTextW());
    done_ = true;
}

void TTimingForm::ReadDocument() {
    // The main window is disabled while this one shows: its document stays
    // as read here until Apply.
    document_ = &target_.SyncedDocument();
    const Document& document = *document_;
    starts_.clear();
    timeLines_.clear();
    for (const auto& [index, start] : document.TimeLineStarts()) {
        timeLines_.push_back(index);
        starts_.push_back(start);
    }
    std::wstring info = T(timing::kEncoding);
    if (std::optional<ByteOrder> order = document.Utf16Order()) {
        info += *order == ByteOrder::LittleEndian ? L"UTF-16 LE" : L"UTF-16 BE";
        info += T(timing::kWithMark);
    } else if (std::optional<TextEncoding> encoding = document.Encoding()) {
        info += *encoding == TextEncoding::Utf8 ? L"UTF-8" : Widen(WindowsTextCodec().Name(*encoding));
        const auto& lines = document.Lines();
        if (!lines.empty() && !lines[0].typed && lines[0].bytes.rfind("\xEF\xBB\xBF", 0) == 0)
            info += T(timing::kWithMark);
    } else {
        info += T(timing::kAscii);
    }
    info += T(timing::kLineEnds);
    const std::size_t crlf = document.CrLfEnds(), lf = document.LfEnds();
    info += crlf && lf ? T(timing::kMixedEnds) : crlf ? L"CR LF" : lf ? L"LF" : T(timing::kNoEnds);
    if (lf) info += T(timing::kSavedCrLf);
    info += Fill(T(timing::kCues), Number(static_cast<std::int64_t>(starts_.size())));
    DocumentInfo->SetTextW(info);
}

TimingFields TTimingForm::Fields() const {
    TimingFields f;
    f.mode = static_cast<TimingMode>(std::max(0, Mode->ItemIndex()));
    f.offset = Narrow(Offset->GetTextW());
    f.cueA = Narrow(CueA->GetTextW());
    f.timeB = Narrow(TimeB->GetTextW());
    f.cueC = Narrow(CueC->GetTextW());
    f.timeD = Narrow(TimeD->GetTextW());
    f.rateFrom = Narrow(RateFrom->GetTextW());
    f.rateTo = Narrow(RateTo->GetTextW());
    f.referenceOffset = referenceOffset_;
    f.range = static_cast<RangeKind>(std::max(0, Range->ItemIndex()));
    f.first = Narrow(First->GetTextW());
    f.last = Narrow(Last->GetTextW());
    return f;
}

void TTimingForm::ModeChanged() {
    const auto mode = static_cast<TimingMode>(std::max(0, Mode->ItemIndex()));
    for (auto [shownIn, control] : modeControls_) control->SetVisible(shownIn == mode);
    UpdatePreview();
}

// The cue's start shown beside a two-point cue number.
static std::wstring StartOf(const std::vector<std::optional<std::int64_t>>& starts, const std::string& cue) {
    TimingFields f;
    f.mode = TimingMode::Offset;
    f.offset = "0";
    f.range = RangeKind::FromCue;
    f.first = cue;
    const TimingChoice c = ChooseTiming(f, starts);
    if (c.fault != TimingFault::None || !starts[*c.range.fromIndex - 1]) return L"";
    char line[29];
    const std::int64_t t = *starts[*c.range.fromIndex - 1];
    FormatTimeLine(line, t, t);
    return Widen(std::string(line, 12));
}

void TTimingForm::UpdatePreview() {
    if (!Preview || !Ok || !document_) return;  // still building
    Rematch();
    const TimingFields fields = Fields();
    StartA->SetTextW(StartOf(starts_, fields.cueA));
    StartC->SetTextW(StartOf(starts_, fields.cueC));
    const bool first = fields.range != RangeKind::All;
    const bool last = fields.range == RangeKind::CueSpan || fields.range == RangeKind::TimeSpan;
    FirstText->SetVisible(first);
    First->SetVisible(first);
    LastText->SetVisible(last);
    Last->SetVisible(last);
    const TimingChoice choice = ChooseTiming(fields, starts_);
    std::wstring title = T(timing::kPreview), body;
    if (starts_.empty()) {
        body = T(timing::kNoDocument);
    } else if (choice.fault != TimingFault::None) {
        body = T(timing::kFaults[static_cast<int>(choice.fault)]);
    } else {
        const Document& document = *document_;
        const RetimePlan plan = document.PlanRetime(choice.map, choice.range);
        if (plan.refusedLine) {
            body = Fill(T(timing::kRefused), Number(static_cast<std::int64_t>(plan.refusedLine)), plan.refusal);
        } else {
            title = Fill(T(timing::kChanges), Number(static_cast<std::int64_t>(plan.changed.size())));
            for (std::size_t k = 0; k < plan.changed.size() && k < kPreviewCues; ++k) {
                const auto& [index, line] = plan.changed[k];
                const auto cue = std::lower_bound(timeLines_.begin(), timeLines_.end(), index) - timeLines_.begin();
                body += L"#" + Number(cue + 1) + L"  " + document.Lines()[index].text + L"  ->  " + line.text + L"\r\n";
            }
        }
    }
    PreviewTitle->SetTextW(title);
    Preview->SetTextW(body);
}

bool TTimingForm::ApplyChoice() {
    const TimingChoice choice = ChooseTiming(Fields(), starts_);
    if (starts_.empty()) {
        Application->ShowMessage(Narrow(T(timing::kNoDocument)));
        return false;
    }
    if (choice.fault != TimingFault::None) {
        Application->ShowException(Narrow(T(timing::kFaults[static_cast<int>(choice.fault)])));
        return false;
    }
    if (auto refused = target_.Retime(choice.map, choice.range)) {
        Application->ShowException(
            Narrow(Fill(T(timing::kRefused), Number(static_cast<std::int64_t>(refused->first)), refused->second)));
        return false;
    }
    ReadDocument();
    UpdatePreview();
    return true;
}

void TTimingForm::OpenReference() {
    if (!ReferenceDialog->Execute()) return;
    std::string bytes;
    if (int error = ReadWholeFile(Widen(ReferenceDialog->FileName()), bytes)) {
        Application->ShowException(IOErrorText(error));
        return;
    }
    std::vector<CueTimes> reference;
    try {
        StreamRetimer reader(TimeRange{}, reference);
        if (std::optional<Utf16Text> utf16 = DecodeUtf16File(bytes))
            reader.Feed(utf16->text);
        else
            reader.Feed(bytes);
        reader.Finish();
    } catch (const LineError& e) {
        Application->ShowException(Narrow(Fill(T(timing::kRefused), Number(static_cast<std::int64_t>(e.line())),
                                               Widen(e.what()))));
        return;
    }
    reference_ = std::move(reference);
    UpdatePreview();
}

// The offset that makes the range's cues overlap the reference's most.
void TTimingForm::Rematch() {
    referenceOffset_.reset();
    if (!reference_) return;
    if (reference_->empty()) {
        Match->SetTextW(T(timing::kNoReferenceCues));
        return;
    }
    TimingFields fields = Fields();
    fields.referenceOffset = 0;
    const TimingChoice choice = ChooseTiming(fields, starts_);
    if (choice.fault == TimingFault::First || choice.fault == TimingFault::Last || choice.fault == TimingFault::Reversed) {
        Match->SetTextW(L"");
        return;
    }
    std::vector<CueTimes> cues;
    for (const auto& [start, end] : document_->CueTimesIn(choice.range)) cues.push_back({start, end});
    const OffsetMatch best = FindBestOffset(cues, *reference_);
    if (best.overlapping == 0) {
        Match->SetTextW(T(timing::kNoOverlap));
        return;
    }
    referenceOffset_ = best.offset;
    Match->SetTextW(Fill(T(timing::kOverlap), Number(static_cast<std::int64_t>(best.overlapping)),
                         Number(static_cast<std::int64_t>(cues.size())),
                         (best.offset > 0 ? L"+" : L"") + Number(best.offset)));
}

}  // namespace srt::app

#include "mainform.h"

#include <cwctype>
#include <functional>

#include "component/stream.h"
#include "component/wstr.h"
#include "core/atomicfile.h"
#include "core/ioerror.h"
#include "core/platformfile.h"
#include "core/timeshift.h"
#include "image/gifgraphic.h"
#include "skin/data/skindata.h"
#include "timingtexts.h"

SRT_DEFINE_CLASS(TForm1, TForm, )

template <class T>
T* TForm1::Field(const char* name) {
    T* c = FindComponentAs<T>(name);
    if (!c) throw EReadError(std::string("stored description of TForm1 lacks ") + name);
    return c;
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    using Handler = std::function<void(TObject*)>;
    RegisterMethod("FormShow", Handler([this](TObject* s) { FormShow(s); }));
    RegisterMethod("Button1Click", Handler([this](TObject* s) { Button1Click(s); }));
    RegisterMethod("Button2Click", Handler([this](TObject* s) { Button2Click(s); }));
    RegisterMethod("Button3Click", Handler([this](TObject* s) { Button3Click(s); }));
    ReadFormResource(*this, Application->Classes());
    Memo1 = Field<TMemo>("Memo1");
    Button1 = Field<TButton>("Button1");
    Button2 = Field<TButton>("Button2");
    Memo2 = Field<TMemo>("Memo2");
    Label1 = Field<TLabel>("Label1");
    Edit1 = Field<TEdit>("Edit1");
    Button3 = Field<TButton>("Button3");
    Image1 = Field<TImage>("Image1");
    OpenDialog1 = Field<TOpenDialog>("OpenDialog1");
    SaveDialog1 = Field<TSaveDialog>("SaveDialog1");
    OnDropFile = [this](const std::wstring& path) { DropFile(path); };
    SetDragAccept(true);
    commands_ = std::make_unique<srt::app::TCommandTable>(*this, *Memo1, FindComponentAs<TSkinData>("SkinData1"));
    using namespace srt::app;
    commands_->Add({cmTiming, timing::kTimingCommand, TShortCut(scCtrl | 'T'), [this] { ShowTiming(); }, {}, {}, {}});
    commands_->Add({cmUndoRetime, timing::kUndoCommand, TShortCut(scCtrl | scShift | 'Z'), [this] { UndoRetime(); },
                    [this] { return CanUndoRetime(); }, {}, {}});
    commands_->Add({cmRedoRetime, timing::kRedoCommand, TShortCut(scCtrl | scShift | 'Y'), [this] { RedoRetime(); },
                    [this] { return CanRedoRetime(); }, {}, {}});
    commands_->Attach();
}

TForm1::~TForm1() = default;

const srt::Document& TForm1::SyncedDocument() {
    document_.Update(Memo1->GetTextW());
    return document_;
}

std::optional<std::pair<std::size_t, std::wstring>> TForm1::Retime(const srt::TimeMap& map,
                                                                   const srt::TimeRange& range) {
    document_.Update(Memo1->GetTextW());
    srt::RetimePlan plan = document_.PlanRetime(map, range);
    if (plan.refusedLine) return std::pair{plan.refusedLine, plan.refusal};
    history_.Changed(document_.State());
    document_.ApplyPlan(std::move(plan));
    Memo1->SetTextW(document_.Text());
    return std::nullopt;
}

bool TForm1::UndoRetime() {
    document_.Update(Memo1->GetTextW());
    std::optional<srt::DocumentState> state = history_.Undo(document_.State());
    if (!state) return false;
    document_.Restore(std::move(*state));
    Memo1->SetTextW(document_.Text());
    return true;
}

bool TForm1::RedoRetime() {
    document_.Update(Memo1->GetTextW());
    std::optional<srt::DocumentState> state = history_.Redo(document_.State());
    if (!state) return false;
    document_.Restore(std::move(*state));
    Memo1->SetTextW(document_.Text());
    return true;
}

void TForm1::ShowTiming() {
    srt::app::TTimingForm timing(*this, Language(), TimingMemory);
    timing.ShowModal();
}

void TForm1::FormShow(TObject*) { Edit1->SetFocus(); }

void TForm1::Button1Click(TObject*) {
    if (!OpenDialog1->Execute()) return;
    OpenFile(Widen(OpenDialog1->FileName()));
}

void TForm1::OpenFile(const std::wstring& path) {
    OpenDialog1->SetFileName(Narrow(path));
    std::string bytes;
    if (int error = srt::ReadWholeFile(path, bytes)) {
        Application->ShowException(srt::IOErrorText(error));
        return;
    }
    document_.Update(Memo1->GetTextW());
    const std::size_t before = document_.Lines().size();
    if (std::optional<std::string> refused = document_.Append(bytes)) {
        Application->ShowException(*refused);
        return;
    }
    // The whole text at once: line by line is quadratic in an edit control.
    if (document_.Lines().size() != before) Memo1->SetTextW(document_.Text());
}

void TForm1::DropFile(const std::wstring& path) {
    std::size_t dot = path.rfind(L'.');
    std::wstring ext = dot == std::wstring::npos ? L"" : path.substr(dot);
    for (auto& c : ext) c = static_cast<wchar_t>(std::towlower(c));
    if (ext == L".srt") {
        OpenFile(path);
    } else if (ext == L".skn") {
        const std::string error = LoadSkinFile(path);
        if (!error.empty()) Application->ShowException(error);
    }
}

std::string TForm1::LoadSkinFile(const std::wstring& path) {
    auto* skin = FindComponentAs<TSkinData>("SkinData1");
    if (!skin) return "This window has no skin";
    skin->SetSkinFile(Narrow(path));
    return skin->SkinFileError();
}

void TForm1::Button2Click(TObject*) {
    std::wstring text = Memo1->GetTextW();
    if (text.empty()) {
        Application->ShowMessage(form1::kOpenFirst);
        return;
    }
    std::string offsetText = Edit1->GetText();
    if (offsetText.empty()) {
        Application->ShowMessage(form1::kEnterOffset);
        return;
    }
    Memo2->SetTextW(L"");
    std::int32_t offset;
    try {
        offset = srt::StrToInt(offsetText);
    } catch (const srt::EConvertError& e) {
        Application->ShowException(e.what());
        return;
    }
    // Each line goes through the rule as the bytes it was read from. The
    // work buffer is the document, not the hidden memo: re-wrapping the text
    // in that narrow box costs seconds per thousand cues in the edit control.
    document_.Update(text);
    srt::DocumentState before = document_.State();
    if (std::optional<std::wstring> refused = document_.Shift(offset)) {
        Application->ShowException(Narrow(*refused));
        return;
    }
    history_.Changed(std::move(before));
    Memo1->SetTextW(document_.Text());
}

void TForm1::Button3Click(TObject*) {
    // A typed character the document cannot hold is reported before the
    // dialog, and nothing is written.
    document_.Update(Memo1->GetTextW());
    std::string bytes;
    if (std::optional<std::string> refused = document_.Save(bytes)) {
        Application->ShowException(*refused);
        return;
    }
    SaveDialog1->SetFileName(OpenDialog1->FileName());
    if (!SaveDialog1->Execute()) return;
    if (int error = srt::ReplaceFileContents(Widen(SaveDialog1->FileName()), bytes))
        Application->ShowException(srt::IOErrorText(error));
}

void RegisterMainFormClasses(TClassRegistry& classes, TGraphicFormats& pictures) {
    RegisterControlClasses(classes);
    classes.Register<TSkinData>();
    srt::RegisterGIFGraphic(pictures);
}

#include "mainform.h"

#include <cstdlib>
#include <cwctype>
#include <functional>

#include "component/dpi.h"
#include "component/stream.h"
#include "component/wstr.h"
#include "core/atomicfile.h"
#include "core/ioerror.h"
#include "core/platformfile.h"
#include "core/timeshift.h"
#include "image/gifgraphic.h"
#include "skin/data/skindata.h"
#include "busy.h"
#include "openguard.h"
#include "texts.h"
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
    storedLogo_ = Image1->Picture()->Data();
    OpenDialog1 = Field<TOpenDialog>("OpenDialog1");
    SaveDialog1 = Field<TSaveDialog>("SaveDialog1");
    if (auto* skin = FindComponentAs<TSkinData>("SkinData1")) storedSkin_ = skin->SkinStream();
    OnDropFile = [this](const std::wstring& path) { DropFile(path); };
    SetDragAccept(true);
    commands_ = std::make_unique<srt::app::TCommandTable>(*this, *Memo1, FindComponentAs<TSkinData>("SkinData1"));
    using namespace srt::app;
    commands_->Add({cmTiming, timing::kTimingCommand, TShortCut(scCtrl | 'T'), [this] { ShowTiming(); }, {}, {}, {}});
    commands_->Add({cmUndoRetime, timing::kUndoCommand, TShortCut(scCtrl | scShift | 'Z'), [this] { UndoRetime(); },
                    [this] { return CanUndoRetime(); }, {}, {}});
    commands_->Add({cmRedoRetime, timing::kRedoCommand, TShortCut(scCtrl | scShift | 'Y'), [this] { RedoRetime(); },
                    [this] { return CanRedoRetime(); }, {}, {}});
    AddChoiceCommands();
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
    KeepUndoWithinBudget();
    history_.Changed(document_.State());
    document_.ApplyPlan(std::move(plan));
    Memo1->SetTextW(document_.Text());
    return std::nullopt;
}

// Undo keeps whole documents: as many levels as fit the budget, one at least.
void TForm1::KeepUndoWithinBudget() {
    constexpr std::size_t kUndoBudget = std::size_t(256) << 20, kUndoLevels = 32;
    history_.SetLevels(srt::LevelsWithin(kUndoBudget, document_.Footprint(), kUndoLevels));
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

void TForm1::FormShow(TObject*) {
    ShowLogoAtDpi(srt::WindowDpi(Handle()));
    Edit1->SetFocus();
}

void TForm1::ShowLogoAtDpi(int dpi) {
    struct Scale {
        int dpi;
        const wchar_t* resource;
    };
    static constexpr Scale kLogos[] = {{srt::kDesignDpi, nullptr}, {120, L"LOGO125"}, {144, L"LOGO150"}, {192, L"LOGO200"}};
    const Scale* best = &kLogos[0];
    for (const Scale& s : kLogos)
        if (std::abs(dpi - s.dpi) < std::abs(dpi - best->dpi)) best = &s;
    std::vector<std::uint8_t> data = storedLogo_;
    if (best->resource) {
        const HMODULE module = GetModuleHandleW(nullptr);
        const HRSRC res = FindResourceW(module, best->resource, MAKEINTRESOURCEW(10));  // RT_RCDATA
        const auto* gif = res ? static_cast<const std::uint8_t*>(LockResource(LoadResource(module, res))) : nullptr;
        if (gif) data = TPicture::StoredData("TGIFImage", std::span(gif, SizeofResource(module, res)));
    }
    if (data != Image1->Picture()->Data()) Image1->Picture()->SetData(std::move(data));
}

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
    if (std::optional<std::wstring> refused = srt::app::OpenRefusal(bytes, Language())) {
        Application->ShowException(Narrow(*refused));
        return;
    }
    document_.Update(Memo1->GetTextW());
    const std::size_t before = document_.Lines().size();
    std::optional<std::string> refused;
    if (bytes.size() < srt::app::kBusyTextSize) {
        refused = document_.Append(bytes);
        // The whole text at once: line by line is quadratic in an edit control.
        if (!refused && document_.Lines().size() != before) Memo1->SetTextW(document_.Text());
    } else {
        srt::app::TBusy busy(*this, srt::app::texts::kOpening, Language());
        std::wstring text;
        busy.Run([&] {
            refused = document_.Append(bytes);
            if (!refused) text = document_.Text();
        });
        if (!refused && document_.Lines().size() != before) busy.FillMemo(*Memo1, text);
    }
    if (refused) Application->ShowException(*refused);
}

void TForm1::DropFile(const std::wstring& path) {
    std::size_t dot = path.rfind(L'.');
    std::wstring ext = dot == std::wstring::npos ? L"" : path.substr(dot);
    for (auto& c : ext) c = static_cast<wchar_t>(std::towlower(c));
    if (ext == L".srt") {
        OpenFile(path);
    } else if (ext == L".skn") {
        const std::string error = ChooseSkin(path);
        if (!error.empty()) Application->ShowException(error);
    }
}

std::string TForm1::LoadSkinFile(const std::wstring& path) {
    auto* skin = FindComponentAs<TSkinData>("SkinData1");
    if (!skin) return "This window has no skin";
    if (path.empty()) {
        if (!skin->LoadFromBytes(storedSkin_)) return "This window has no skin";
        skinFile_.clear();
        return {};
    }
    skin->SetSkinFile(Narrow(path));
    if (skin->SkinFileError().empty()) skinFile_ = path;
    return skin->SkinFileError();
}

void TForm1::SetLanguage(srt::app::TLanguage language) {
    if (language == Language()) return;
    commands_->SetLanguage(language);
    namespace texts = srt::app::texts;
    auto text = [language](const srt::app::TText& t) { return Narrow(t.In(language)); };
    SetCaption(text(texts::kCaption));
    Button1->SetCaption(text(texts::kOpen));
    Button2->SetCaption(text(texts::kAdjust));
    Button3->SetCaption(text(texts::kSave));
    Label1->SetCaption(text(texts::kOffsetLabel));
    Edit1->SetHint(text(texts::kOffsetHint));
    OpenDialog1->SetFilter(text(texts::kOpenFilter));
    SaveDialog1->SetFilter(text(texts::kSaveFilter));
}

std::string TForm1::ChooseSkin(const std::wstring& path) {
    const std::string error = LoadSkinFile(path);
    if (error.empty() && Settings) Settings->RememberSkin(path);
    return error;
}

void TForm1::Button2Click(TObject*) {
    std::wstring text = Memo1->GetTextW();
    if (text.empty()) {
        Application->ShowMessage(Narrow(srt::app::texts::kOpenFirst.In(Language())));
        return;
    }
    std::string offsetText = Edit1->GetText();
    if (offsetText.empty()) {
        Application->ShowMessage(Narrow(srt::app::texts::kEnterOffset.In(Language())));
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
    std::optional<std::wstring> refused;
    std::size_t failedLine = 0;
    std::optional<srt::DocumentState> before;
    if (text.size() < srt::app::kBusyTextSize) {
        document_.Update(text);
        before = document_.State();
        refused = document_.Shift(offset, &failedLine);
        if (!refused) Memo1->SetTextW(document_.Text());
    } else {
        srt::app::TBusy busy(*this, srt::app::texts::kAdjusting, Language());
        std::wstring shifted;
        busy.Run([&] {
            document_.Update(text);
            before = document_.State();
            refused = document_.Shift(offset, &failedLine);
            if (!refused) shifted = document_.Text();
        });
        if (!refused) busy.FillMemo(*Memo1, shifted);
    }
    if (refused) {
        ShowLineError(failedLine, *refused);
        return;
    }
    KeepUndoWithinBudget();
    history_.Changed(std::move(*before));
}

void TForm1::ShowLineError(std::size_t line, const std::wstring& message) {
    // The line selected and in view; the memo keeps the focus after the box.
    std::size_t start = 0;
    const auto& lines = document_.Lines();
    for (std::size_t i = 0; i < line && i < lines.size(); ++i) start += lines[i].text.size() + 2;
    const std::size_t length = line < lines.size() ? lines[line].text.size() : 0;
    HWND memo = Memo1->Handle();
    Memo1->SetFocus();
    SendMessageW(memo, EM_SETSEL, start, start + length);
    SendMessageW(memo, EM_SCROLLCARET, 0, 0);
    const std::wstring at = srt::app::texts::Fill(srt::app::texts::kAtLine.In(Language()),
                                                  {{L"line", std::to_wstring(line + 1)}});
    Application->ShowException(Narrow(at + message));
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

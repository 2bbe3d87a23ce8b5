#include "mainform.h"

#include <cwctype>
#include <functional>

#include "component/stream.h"
#include "component/wstr.h"
#include "core/ioerror.h"
#include "core/textlines.h"
#include "core/timeshift.h"
#include "fileops.h"
#include "image/gifgraphic.h"
#include "skin/data/skindata.h"

SRT_DEFINE_CLASS(TForm1, TForm, )

namespace {

bool EndsWithCRLF(const std::wstring& s) { return s.size() >= 2 && s[s.size() - 2] == L'\r' && s.back() == L'\n'; }

// The text's own lines: split at CR LF, a final CR LF adds no empty line.
template <class F>
void ForEachLine(std::wstring_view text, F&& f) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            f(text.substr(start));
            break;
        }
        f(text.substr(start, end - start));
        start = end + 2;
    }
}

}  // namespace

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
    std::optional<srt::Utf16Text> utf16 = srt::DecodeUtf16File(bytes);
    std::vector<std::string> lines = srt::SplitTextLines(utf16 ? utf16->text : bytes);
    // Every line followed by CR LF, as the adjust command leaves the text.
    std::string joined = srt::JoinLinesCRLF(lines);
    srt::TextEncoding encoding = utf16 ? srt::TextEncoding::Utf8 : srt::DetectEncoding(joined);
    // The whole text at once: line by line is quadratic in an edit control.
    std::wstring text = Memo1->GetTextW();
    if (text.empty()) {
        encoding_ = encoding;
        byteOrder_.reset();
        if (utf16) byteOrder_ = utf16->order;
        tail_.clear();
    }
    if (utf16) tail_ += utf16->tail;
    if (lines.empty()) return;
    if (!text.empty() && !EndsWithCRLF(text)) text += L"\r\n";
    text += srt::DecodeText(joined, encoding);
    Memo1->SetTextW(text);
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
    // Only lines with "-->" change; they go through the rule as the
    // document's bytes, every other line is kept as it is.
    std::wstring work;
    work.reserve(text.size() + text.size() / 8);
    try {
        ForEachLine(text, [&](std::wstring_view line) {
            if (line.find(L"-->") == std::wstring_view::npos) {
                work.append(line);
            } else {
                // A file's byte-order mark (each opened file may bring one)
                // stays in front of its first line, outside the rule.
                if (line.front() == L'\uFEFF') {
                    work += line.front();
                    line.remove_prefix(1);
                }
                std::string bytes = srt::EncodeText(line, encoding_);
                work += srt::DecodeText(srt::ShiftTimeLine(bytes, offset), encoding_);
            }
            work += L"\r\n";
        });
    } catch (const srt::EConvertError& e) {
        Application->ShowException(Narrow(srt::DecodeText(e.what(), encoding_)));
        return;
    }
    // The work buffer is `work`, not the hidden memo: re-wrapping the text in
    // that narrow box costs seconds per thousand cues in the edit control.
    Memo1->SetTextW(work);
}

void TForm1::Button3Click(TObject*) {
    SaveDialog1->SetFileName(OpenDialog1->FileName());
    if (!SaveDialog1->Execute()) return;
    std::wstring text = Memo1->GetTextW();
    if (!text.empty() && !EndsWithCRLF(text)) text += L"\r\n";
    bool lossy = false;
    std::string bytes = srt::EncodeText(text, encoding_, CP_ACP, &lossy);
    // Typed characters the code page cannot hold: UTF-8 keeps every one.
    if (lossy) bytes = srt::EncodeText(text, srt::TextEncoding::Utf8);
    if (byteOrder_)
        bytes = srt::EncodeUtf16File(*byteOrder_, bytes, tail_);
    else
        bytes += tail_;
    if (int error = srt::ReplaceFileAtomically(Widen(SaveDialog1->FileName()), bytes))
        Application->ShowException(srt::IOErrorText(error));
}

void RegisterMainFormClasses(TClassRegistry& classes, TGraphicFormats& pictures) {
    RegisterControlClasses(classes);
    classes.Register<TSkinData>();
    srt::RegisterGIFGraphic(pictures);
}

#include "component/dialogs.h"

#include <algorithm>

#include "component/wstr.h"

SRT_DEFINE_CLASS(TOpenDialog, TComponent, {
    b.String("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
    b.String("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
    b.String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
    b.Integer("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex, 1);
    b.String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
    b.Set("Options", "TOpenOptions",
          {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofPathMustExist", "ofFileMustExist",
           "ofEnableSizing"},
          &TOpenDialog::Options, &TOpenDialog::SetOptions, ofHideReadOnly | ofEnableSizing);
    b.String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
})

SRT_DEFINE_CLASS(TSaveDialog, TOpenDialog, )

void PrepareFileDialog(const TOpenDialog& d, HWND owner, TFileDialogCall& call) {
    // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
    call.filter = Widen(d.Filter());
    for (auto& c : call.filter)
        if (c == L'|') c = L'\0';
    call.filter.append(2, L'\0');
    // The platform wants the extension without its dot.
    call.defaultExt = Widen(d.DefaultExt());
    while (!call.defaultExt.empty() && call.defaultExt[0] == L'.') call.defaultExt.erase(0, 1);
    call.initialDir = Widen(d.InitialDir());
    call.title = Widen(d.Title());
    call.file = Widen(d.FileName());
    call.file.resize(std::max<std::size_t>(call.file.size() + 1, 32768), L'\0');

    OPENFILENAMEW& ofn = call.ofn;
    ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = d.Filter().empty() ? nullptr : call.filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(d.FilterIndex());
    ofn.lpstrFile = call.file.data();
    ofn.nMaxFile = static_cast<DWORD>(call.file.size());
    ofn.lpstrInitialDir = call.initialDir.empty() ? nullptr : call.initialDir.c_str();
    ofn.lpstrTitle = call.title.empty() ? nullptr : call.title.c_str();
    ofn.lpstrDefExt = call.defaultExt.empty() ? nullptr : call.defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    std::uint32_t o = d.Options();
    if (o & ofReadOnly) ofn.Flags |= OFN_READONLY;
    if (o & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (o & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (o & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (o & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (o & ofEnableSizing) ofn.Flags |= OFN_ENABLESIZING;
}

void TakeFileDialogResult(TOpenDialog& d, const TFileDialogCall& call) {
    d.SetFileName(Narrow(call.file.c_str()));
    d.SetFilterIndex(static_cast<std::int32_t>(call.ofn.nFilterIndex));
}

bool RunFileDialog(TOpenDialog& d, HWND owner, bool save) {
    TFileDialogCall call;
    PrepareFileDialog(d, owner, call);
    if (!(save ? GetSaveFileNameW(&call.ofn) : GetOpenFileNameW(&call.ofn))) return false;
    TakeFileDialogResult(d, call);
    return true;
}

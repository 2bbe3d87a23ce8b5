#include "component/dialogs.h"

#include <commdlg.h>

#include "component/forms.h"
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

bool TOpenDialog::Execute() { return Application && Application->Prompts().ExecuteOpen(*this); }

bool TSaveDialog::Execute() { return Application && Application->Prompts().ExecuteSave(*this); }

bool RunFileDialog(TOpenDialog& d, HWND owner, bool save) {
    // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
    std::wstring filter = Widen(d.Filter());
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    // The platform wants the extension without its dot.
    std::wstring ext = Widen(d.DefaultExt());
    while (!ext.empty() && ext[0] == L'.') ext.erase(0, 1);
    std::wstring initialDir = Widen(d.InitialDir());
    std::wstring title = Widen(d.Title());
    std::wstring file = Widen(d.FileName());
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = d.Filter().empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(d.FilterIndex());
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    std::uint32_t o = d.Options();
    if (o & ofReadOnly) ofn.Flags |= OFN_READONLY;
    if (o & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (o & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (o & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (o & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (o & ofEnableSizing) ofn.Flags |= OFN_ENABLESIZING;
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    d.SetFileName(Narrow(file.c_str()));
    d.SetFilterIndex(static_cast<std::int32_t>(ofn.nFilterIndex));
    return true;
}

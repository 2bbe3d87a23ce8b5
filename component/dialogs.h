// The platform's file-open and file-save dialogs as components.
#pragma once

#include <string>

#include "component/classes.h"

enum TOpenOption : std::uint32_t {
    ofReadOnly = 1 << 0,
    ofOverwritePrompt = 1 << 1,
    ofHideReadOnly = 1 << 2,
    ofPathMustExist = 1 << 3,
    ofFileMustExist = 1 << 4,
    ofEnableSizing = 1 << 5,
};

class TOpenDialog : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    // "description|pattern|description|pattern..."
    std::string Filter() const { return filter_; }
    void SetFilter(const std::string& v) { filter_ = v; }
    std::int32_t FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(std::int32_t v) { filterIndex_ = v; }
    std::string DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& v) { defaultExt_ = v; }
    std::string FileName() const { return fileName_; }  // UTF-8
    void SetFileName(const std::string& v) { fileName_ = v; }
    std::string InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& v) { initialDir_ = v; }
    std::string Title() const { return title_; }
    void SetTitle(const std::string& v) { title_ = v; }
    std::uint32_t Options() const { return options_; }
    void SetOptions(std::uint32_t v) { options_ = v; }

    // Runs the dialog through the application's prompts (TPrompts, with the
    // application in component/forms); false on cancel.
    virtual bool Execute();

private:
    std::string filter_, defaultExt_, fileName_, initialDir_, title_;
    std::int32_t filterIndex_ = 1;
    std::uint32_t options_ = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
    SRT_DECLARE_CLASS()
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override;
};

#ifdef _WIN32
#include <windows.h>

#include <commdlg.h>

// The platform's structure for one run of a file dialog, with the texts it
// points into.
struct TFileDialogCall {
    TFileDialogCall() = default;
    TFileDialogCall(const TFileDialogCall&) = delete;
    TFileDialogCall& operator=(const TFileDialogCall&) = delete;
    std::wstring filter, defaultExt, initialDir, title, file;
    OPENFILENAMEW ofn{};
};
// Fills `call` for `dialog` owned by `owner`.
void PrepareFileDialog(const TOpenDialog& dialog, HWND owner, TFileDialogCall& call);
// Takes the chosen file name and filter of a dialog that ended with OK.
void TakeFileDialogResult(TOpenDialog& dialog, const TFileDialogCall& call);
// Runs the platform dialog for `dialog` owned by `owner`; `save` picks the
// save dialog. Returns false on cancel.
bool RunFileDialog(TOpenDialog& dialog, HWND owner, bool save);
#endif

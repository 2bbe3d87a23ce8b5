// TForm1: the main window, built from its stored description, and its three
// commands: open a subtitle file, adjust its times, save it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "component/dialogs.h"
#include "component/extctrls.h"
#include "component/forms.h"
#include "component/stdctrls.h"
#include "commands.h"
#include "core/document.h"
#include "core/history.h"
#include "core/utf16.h"
#include "lang.h"
#include "settings.h"
#include "textcodec.h"
#include "retimetarget.h"
#include "timingmemory.h"

// Registers every class the stored description of TForm1 names, and the
// picture classes of its images.
void RegisterMainFormClasses(TClassRegistry& classes, TGraphicFormats& pictures);

class TForm1 : public TForm, public srt::app::TRetimeTarget {
    SRT_DECLARE_CLASS()
public:
    // Reads the stored description "TFORM1" from the program's resources.
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    TMemo* Memo1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TMemo* Memo2 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TButton* Button3 = nullptr;
    TImage* Image1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    void FormShow(TObject* sender);
    void Button1Click(TObject* sender);  // open
    void Button2Click(TObject* sender);  // adjust
    void Button3Click(TObject* sender);  // save

    // Appends a file's lines to the document, as Open does after its dialog;
    // the open dialog keeps the name. For the command line and dropped files.
    void OpenFile(const std::wstring& path);

    // Switches the window to the packed skin of a file (a .skn), or to the
    // stored skin for an empty path; the current skin stays when the file
    // does not load. Why it did not, or empty. Not remembered.
    std::string LoadSkinFile(const std::wstring& path);
    // As LoadSkinFile, and remembered when it loads; empty: the stored skin.
    std::string ChooseSkin(const std::wstring& path);

    // The skin file in use; empty for the stored skin.
    const std::wstring& SkinFile() const { return skinFile_; }

    // Where the user's choices are remembered; none keeps them for this run.
    srt::app::TSettingsStore* Settings = nullptr;
    // Takes the remembered language, skin and timing choices, and remembers
    // later ones there (null: none).
    void UseSettings(srt::app::TSettingsStore* settings);
    // As SetLanguage, and remembered.
    void ChooseLanguage(srt::app::TLanguage language);

    // Relabels the window, its dialogs, its menus and later messages.
    void SetLanguage(srt::app::TLanguage language);

    // The encoding typed lines are saved in, none while no file decided it.
    std::optional<srt::TextEncoding> DocumentEncoding() const { return document_.Encoding(); }
    // Set when the document was read from UTF-16 and is written back so.
    std::optional<srt::ByteOrder> DocumentByteOrder() const { return document_.Utf16Order(); }

    // The commands of the system menu, the memo's menu and the shortcuts.
    srt::app::TCommandTable& Commands() { return *commands_; }
    // The document brought in line with the memo, for the timing window.
    const srt::Document& SyncedDocument() override;
    // Re-times the document and the memo, all or nothing, as one undo step.
    // The refused line (from 1) and the rule's message, or nothing.
    std::optional<std::pair<std::size_t, std::wstring>> Retime(const srt::TimeMap& map,
                                                               const srt::TimeRange& range) override;
    // Undo and redo of adjusts and re-timings; false when there is none.
    bool UndoRetime();
    bool RedoRetime();
    bool CanUndoRetime() const { return history_.CanUndo(); }
    bool CanRedoRetime() const { return history_.CanRedo(); }
    // The timing window, until it closes.
    void ShowTiming();
    // The timing window's last mode and rates.
    srt::app::TTimingMemory TimingMemory;
    // The language of the window's texts; the stored description's are Chinese.
    srt::app::TLanguage Language() const { return commands_->Language(); }
    // Shows the logo drawn for the scale nearest `dpi`: the stored picture
    // at 96 DPI, the resources LOGO125, LOGO150 and LOGO200 above it.
    void ShowLogoAtDpi(int dpi);

private:
    template <class T>
    T* Field(const char* name);
    void DropFile(const std::wstring& path);
    // The language and skin submenus of the command table.
    void AddChoiceCommands();
    void RememberTimingMemory();
    // An adjust error: the line (an index) selected and scrolled to, and the
    // message with its number.
    void ShowLineError(std::size_t line, const std::wstring& message);

    // The memo's lines as the bytes they were read from; brought in line
    // with the memo's text before each command.
    srt::WindowsTextCodec codec_;
    srt::Document document_{codec_};
    srt::History<srt::DocumentState> history_;
    void KeepUndoWithinBudget();
    std::unique_ptr<srt::app::TCommandTable> commands_;
    // The skin stored with the window, for going back to it.
    std::vector<std::uint8_t> storedSkin_;
    // The logo stored with the window (96 DPI), for going back to it.
    std::vector<std::uint8_t> storedLogo_;
    std::wstring skinFile_;
    // The skins submenu's names, while it is built.
    std::vector<std::wstring> skinTitles_;
};

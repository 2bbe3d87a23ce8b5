// SrtRetime: re-times SubRip subtitle files.
#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "component/forms.h"
#include "mainform.h"
#include "settings.h"
#include "skin/form/winskinform.h"
#include "skin/manager/skinmanager.h"
#include "systemcontrast.h"

namespace {

// The program icon at the sizes of the caption's icon button and the task bar.
void SetProgramIcon(HWND window) {
    for (auto [kind, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
        const int size = GetSystemMetrics(metric);
        if (HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_SHARED))
            SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

int Run() {
    Application->Initialize();
    Application->SetTitle("SrtRetime");
    RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
    TForm1* form = nullptr;
    try {
        form = Application->CreateForm<TForm1>();
    } catch (const std::exception& e) {
        Application->ShowException(e.what());
        return 1;
    }
    SetProgramIcon(form->Handle());
    srt::app::TSettingsStore settings(srt::app::ChooseSettingsPath(srt::app::ProgramFolder()));
    form->UseSettings(&settings);
    // SrtRetime [--skin FILE.skn] [--lang en|zh] [FILE.srt...]: the skin and
    // language are in place before the window first paints, and remembered;
    // the files open as if chosen in the open dialog.
    std::vector<std::wstring> files;
    std::string optionError;
    bool skinOption = false;
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i) {
            const bool skin = lstrcmpW(argv[i], L"--skin") == 0, lang = lstrcmpW(argv[i], L"--lang") == 0;
            if (!skin && !lang) {
                files.emplace_back(argv[i]);
            } else if (i + 1 >= argc) {
                optionError = skin ? "--skin needs the name of a skin file" : "--lang needs en or zh";
            } else if (skin) {
                skinOption = true;
                optionError = form->ChooseSkin(argv[++i]);
            } else if (std::optional<srt::app::TLanguage> language = srt::app::LanguageNamed(argv[++i])) {
                form->ChooseLanguage(*language);
            } else {
                optionError = "--lang needs en or zh";
            }
        }
        LocalFree(argv);
    }
    // Without a skin of the user's, the window follows Windows' high contrast.
    srt::app::TSystemContrast systemContrast(*form, !skinOption);
    form->Show();
    if (!optionError.empty()) Application->ShowException(optionError);
    for (const std::wstring& file : files) form->OpenFile(file);
    Application->Run();
    form->UseSettings(nullptr);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The skin manager, before the skin data on the main window loads.
    srt::InstallFormSkins();
    int code = 0;
    {
        TApplication app;
        code = Run();
    }
    // Program end: the manager lets go of what is left.
    srt::ReleaseSkinManager();
    return code;
}

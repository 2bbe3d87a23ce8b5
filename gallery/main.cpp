// SkinGallery: shows a window of every kind the skin engine paints.
//   SkinGallery.exe [--skin NAME] [PAGE...]   opens the pages named (number
//   from 1, or title) in the shipped skin NAME ("dusk" for skins\dusk.skn)
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "component/wstr.h"
#include "gallery.h"
#include "launcher.h"
#include "skin/form/winskinform.h"
#include "skin/manager/skinmanager.h"

namespace {

int Run() {
    Application->Initialize();
    Application->SetTitle("SkinGallery");
    RegisterGalleryClasses(Application->Classes());
    TGalleryForm* launcher = nullptr;
    try {
        launcher = Application->CreateForm<TGalleryForm>();
    } catch (const std::exception& e) {
        Application->ShowException(e.what());
        return 1;
    }
    launcher->Show();
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        int first = 1;
        if (argc > 2 && std::wstring(argv[1]) == L"--skin") {
            if (!launcher->ChooseSkin(Narrow(argv[2]))) Application->ShowException("No skin " + Narrow(argv[2]));
            first = 3;
        }
        for (int i = first; i < argc; ++i) gallery::ShowPage(Narrow(argv[i]));
        LocalFree(argv);
    }
    Application->Run();
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    srt::InstallFormSkins();
    int code = 0;
    {
        TApplication app;
        code = Run();
    }
    srt::ReleaseSkinManager();
    return code;
}

// A resizable form with a main menu and every caption button.
#include "gallery.h"

namespace gallery {
namespace {
enum : UINT { idNewPage = 1, idClose, idMaximize, idRestore, idMinimize, idAbout };

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, idNewPage, L"&New window");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, idClose, L"&Close");
    HMENU view = CreatePopupMenu();
    AppendMenuW(view, MF_STRING, idMaximize, L"Ma&ximize");
    AppendMenuW(view, MF_STRING, idRestore, L"&Restore");
    AppendMenuW(view, MF_STRING, idMinimize, L"Mi&nimize");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, idAbout, L"&About");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}
}  // namespace

void ResizablePage() {
    TForm* form = NewPageForm("Resizable form with a main menu", 420, 240);
    form->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    Place(new TLabel(form), form, 16, 16, 380, 40,
          "Drag an edge or a corner to resize. The caption buttons and the View menu minimise, "
          "maximise and restore.")
        ->SetWordWrap(true);
    Place(new TEdit(form), form, 16, 70, 200, 22, "An edit box");
    CloseButton(form, 16, 200);
    // The menu bar is there before the form is first activated (and skinned).
    SetMenu(form->Handle(), BuildMenu());
    TWndMethod inherited = form->WindowProc;
    form->WindowProc = [form, inherited](TMessage& m) {
        if (m.Msg == WM_COMMAND && HIWORD(m.WParam) == 0) {
            switch (LOWORD(m.WParam)) {
            case idNewPage: ResizablePage(); return;
            case idClose: form->Close(); return;
            case idMaximize: ShowWindow(form->Handle(), SW_MAXIMIZE); return;
            case idRestore: ShowWindow(form->Handle(), SW_RESTORE); return;
            case idMinimize: ShowWindow(form->Handle(), SW_MINIMIZE); return;
            case idAbout: Application->ShowMessage("A resizable skinned form with a main menu."); return;
            default: break;
            }
        }
        inherited(m);
    };
    form->Show();
}

}  // namespace gallery

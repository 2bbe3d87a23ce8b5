// A resizable form with a main menu and every caption button.
#include "gallery.h"
#include "menus_demo.h"

namespace gallery {

void ResizablePage();

namespace {

TMainMenu* BuildMenu(TForm* form) {
    auto* menu = new TMainMenu(form);
    menu->SetImages(MenuGlyphs(form));
    TMenuItem* file = NewItem(form, "&File");
    TMenuItem* newWindow = NewItem(form, "&New window", scCtrl | 'N', 0);
    TMenuItem* recent = NewItem(form, "&Recent files", scNone, 1);
    recent->Add(NewItem(form, "&1 film.srt"));
    recent->Add(NewItem(form, "&2 episode 01.srt"));
    TMenuItem* close = NewItem(form, "&Close", scAlt | VK_F4);
    for (TMenuItem* item : {newWindow, recent, NewItem(form, "-"), close}) file->Add(item);

    TMenuItem* view = NewItem(form, "&View");
    TMenuItem* maximize = NewItem(form, "Ma&ximize");
    TMenuItem* restore = NewItem(form, "&Restore");
    TMenuItem* minimize = NewItem(form, "Mi&nimize", scCtrl | 'M');
    TMenuItem* status = NewItem(form, "&Status bar");  // checked, no image
    status->SetChecked(true);
    TMenuItem* wrap = NewItem(form, "&Word wrap", scCtrl | 'W', 2);  // checked, with image
    wrap->SetChecked(true);
    TMenuItem* locked = NewItem(form, "Read &only");
    locked->SetEnabled(false);
    for (TMenuItem* item : {maximize, restore, minimize, NewItem(form, "-"), status, wrap, locked}) view->Add(item);

    TMenuItem* help = NewItem(form, "&Help");
    TMenuItem* about = NewItem(form, "&About", VK_F1);
    about->SetDefault(true);
    help->Add(about);
    for (TMenuItem* item : {file, view, help}) menu->Items()->Add(item);

    newWindow->OnClick.Code = [](TObject*) { ResizablePage(); };
    close->OnClick.Code = [form](TObject*) { form->Close(); };
    maximize->OnClick.Code = [form](TObject*) { ShowWindow(form->Handle(), SW_MAXIMIZE); };
    restore->OnClick.Code = [form](TObject*) { ShowWindow(form->Handle(), SW_RESTORE); };
    minimize->OnClick.Code = [form](TObject*) { ShowWindow(form->Handle(), SW_MINIMIZE); };
    for (TMenuItem* toggle : {status, wrap})
        toggle->OnClick.Code = [toggle](TObject*) { toggle->SetChecked(!toggle->Checked()); };
    about->OnClick.Code = [](TObject*) { Application->ShowMessage("A resizable skinned form with a main menu."); };
    return menu;
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
    form->SetMenu(BuildMenu(form));
    form->Show();
    DemoMenuLater(form, {40, 120});
}

}  // namespace gallery

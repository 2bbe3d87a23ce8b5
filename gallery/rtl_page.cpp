// A right-to-left form: its caption, menu bar and menus run from the right.
#include "gallery.h"
#include "menus_demo.h"

namespace gallery {

void RightToLeftPage() {
    TForm* form = NewPageForm("Right-to-left form", 380, 180);
    auto* menu = new TMainMenu(form);
    menu->SetRightToLeft(true);
    menu->SetImages(MenuGlyphs(form));
    TMenuItem* file = NewItem(form, "&File");
    file->Add(NewItem(form, "&Open", scCtrl | 'O', 1));
    TMenuItem* recent = NewItem(form, "&Recent files");
    recent->Add(NewItem(form, "&1 film.srt"));
    file->Add(recent);
    file->Add(NewItem(form, "-"));
    TMenuItem* close = NewItem(form, "&Close");
    close->OnClick.Code = [form](TObject*) { form->Close(); };
    file->Add(close);
    TMenuItem* view = NewItem(form, "&View");
    TMenuItem* wrap = NewItem(form, "&Word wrap", scNone, 2);
    wrap->SetChecked(true);
    view->Add(wrap);
    menu->Items()->Add(file);
    menu->Items()->Add(view);
    Place(new TLabel(form), form, 16, 16, 340, 40,
          "The menu bar is laid out from the right edge; the arrow keys move between its menus the other way.")
        ->SetWordWrap(true);
    CloseButton(form, 16, 140);
    form->SetMenu(menu);
    // Right-to-left reading before the form is first activated (and skinned).
    HWND window = form->Handle();
    SetWindowLongPtrW(window, GWL_EXSTYLE,
                      GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR | WS_EX_RTLREADING | WS_EX_RIGHT);
    form->Show();
    DemoMenuLater(form, {40, 100});
}

}  // namespace gallery

// Context menus: the form's own popup menu, drawn by the skin, and a memo's
// platform context menu, which keeps platform-drawn items in the skin's frame.
#include "gallery.h"
#include "menus_demo.h"

namespace gallery {

void ContextMenuPage() {
    TForm* form = NewPageForm("Context menus", 400, 220);
    Place(new TLabel(form), form, 16, 12, 370, 40,
          "Right-click the form for its own menu (drawn by the skin); right-click the memo for the "
          "platform's edit menu (not owner-drawn, in the skin's frame).")
        ->SetWordWrap(true);
    auto* memo = Place(new TMemo(form), form, 16, 60, 240, 110);
    memo->SetText("Subtitle text to cut, copy and paste.");
    CloseButton(form, 16, 184);

    auto* popup = new TPopupMenu(form);
    popup->SetImages(MenuGlyphs(form));
    TMenuItem* open = NewItem(form, "&Open subtitles...", scCtrl | 'O', 1);
    TMenuItem* shift = NewItem(form, "&Adjust times", scCtrl | 'T');
    shift->SetDefault(true);
    TMenuItem* wrap = NewItem(form, "&Word wrap", scNone, 2);
    wrap->SetChecked(true);
    wrap->OnClick.Code = [wrap](TObject*) { wrap->SetChecked(!wrap->Checked()); };
    TMenuItem* save = NewItem(form, "&Save", scCtrl | 'S', 0);
    save->SetEnabled(false);
    TMenuItem* close = NewItem(form, "&Close");
    close->OnClick.Code = [form](TObject*) { form->Close(); };
    for (TMenuItem* item : {open, shift, NewItem(form, "-"), wrap, save, NewItem(form, "-"), close})
        popup->Items()->Add(item);

    TWndMethod inherited = form->WindowProc;
    form->WindowProc = [form, popup, inherited](TMessage& m) {
        if (m.Msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(m.WParam) == form->Handle()) {
            popup->Popup(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
            m.Result = 0;
            return;
        }
        inherited(m);
    };
    form->Show();
    DemoMenuLater(form, {300, 100}, memo->Handle());
}

}  // namespace gallery

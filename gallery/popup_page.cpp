// A popup form without a caption: no skinned frame, no caption buttons.
#include "gallery.h"

namespace gallery {

void PopupPage() {
    TForm* form = NewPageForm("Popup form", 260, 110, bsNone);
    Place(new TLabel(form), form, 16, 16, 230, 40, "A popup window (WS_POPUP) without a caption.")
        ->SetWordWrap(true);
    CloseButton(form, 16, 70);
    form->Show();
}

}  // namespace gallery

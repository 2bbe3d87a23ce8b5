// A form whose Tag is 99: the skin leaves it its own frame.
#include "gallery.h"

namespace gallery {

void OwnFramePage() {
    TForm* form = NewPageForm("Form with Tag 99", 340, 120, bsSingle);
    form->SetTag(99);
    Place(new TLabel(form), form, 16, 16, 300, 40,
          "Tag 99: this form keeps the platform's frame and caption.")
        ->SetWordWrap(true);
    CloseButton(form, 16, 80);
    form->Show();
}

}  // namespace gallery

// SkinGallery: windows of every kind the skin engine paints, one page each.
// A page is a function that builds its windows and shows them; the launcher
// lists the pages of pages.inc.
#pragma once

#include <span>
#include <string>

#include "component/forms.h"
#include "skin/data/skindata.h"

namespace gallery {

struct TGalleryPage {
    const char* name;
    void (*show)();
};

// The registered pages, in launcher order.
std::span<const TGalleryPage> Pages();
// Shows the page whose number (from 1) or name is `which`; false when none has it.
bool ShowPage(const std::string& which);

// The skin data of the launcher: the skin every page is painted with.
TSkinData* GallerySkin();

// A form owned by the application, freed when it is closed. Not shown yet.
TForm* NewPageForm(const std::string& caption, int clientWidth, int clientHeight,
                   TBorderStyle border = bsSizeable);

// Puts `control` on `parent` at the given place, with an optional caption.
template <class C>
C* Place(C* control, TWinControl* parent, int x, int y, int width, int height, const std::string& caption = {}) {
    control->SetParent(parent);
    control->SetBounds(x, y, width, height);
    if (!caption.empty()) control->SetCaption(caption);
    return control;
}

// A button on `form` that closes it.
TButton* CloseButton(TForm* form, int x, int y);

}  // namespace gallery

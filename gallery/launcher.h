// TGalleryForm: the gallery's main window, read from its stored
// description (which carries the skin in SkinData1), with a button per page.
#pragma once

#include "component/forms.h"
#include "skin/data/skindata.h"

class TGalleryForm : public TForm {
    SRT_DECLARE_CLASS()
public:
    explicit TGalleryForm(TComponent* owner);

    TSkinData* SkinData1 = nullptr;
};

// Every class the stored description names.
void RegisterGalleryClasses(TClassRegistry& classes);

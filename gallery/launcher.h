// TGalleryForm: the gallery's main window, read from its stored
// description (which carries the skin in SkinData1), with a button per page
// and a list of the shipped skins to switch among.
#pragma once

#include <string>
#include <vector>

#include "component/forms.h"
#include "component/pickers.h"
#include "skin/data/skindata.h"

class TGalleryForm : public TForm {
    SRT_DECLARE_CLASS()
public:
    explicit TGalleryForm(TComponent* owner);

    TSkinData* SkinData1 = nullptr;
    TComboBox* SkinList = nullptr;

    // Switches every window of the gallery to the skin listed at `index`:
    // 0 is the stored skin, then the skins/*.skn files. False, with the
    // current skin kept and the reason shown, when it does not load.
    bool ChooseSkin(int index);
    // The same by the skin's file title ("dusk"); false when none is listed.
    bool ChooseSkin(const std::string& title);

private:
    std::vector<std::uint8_t> storedSkin_;
    std::vector<std::wstring> skinFiles_;  // one per list entry after the first
};

// Every class the stored description names.
void RegisterGalleryClasses(TClassRegistry& classes);

// The width a button needs to show `caption` in `font` whole, skinned frame
// margins included.
int ButtonWidthFor(TFont& font, const std::string& caption);

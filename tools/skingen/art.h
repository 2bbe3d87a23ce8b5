// The program's own skins, drawn from a palette: every element image as a
// BMP file and the definition (skin.ini) that names them. The same palette
// always gives the same bytes.
#pragma once

#include <string>
#include <vector>

#include "skin/data/skinreader.h"
#include "tools/skingen/raster.h"

namespace srt::art {

struct TPalette {
    std::string folder;    // folder under resources/skin/
    std::string skinName;  // SkinName of the definition

    RGB face;              // client areas, buttons' surroundings (ButtonFace)
    RGB text;              // window, button and menu text
    RGB textMuted;         // unselected tab captions, glyphs at rest
    RGB window;            // edit, list and menu backgrounds
    RGB accent;            // selection, focus, progress, checked marks
    RGB accentText;        // text on accent

    RGB titleTop, titleBottom, titleText, titleOutline;                       // active frame
    RGB titleInactiveTop, titleInactiveBottom, titleInactiveText, outlineInactive;
    RGB captionHot, captionPressed;  // caption button fills over the active title
    RGB closeHot, closePressed;

    RGB border;          // control outlines
    RGB borderDisabled;
    RGB buttonTop, buttonBottom, buttonHotTop, buttonHotBottom, buttonPressed, buttonDisabled;
    RGB glyphDisabled;

    RGB menuBar, menuBarText, menuBarLine;
    RGB menu, menuLine;

    RGB track, thumb, thumbHot, thumbPressed, arrow;

    RGB shadow, dkShadow, hilight, light;  // ButtonShadow, ButtonDkShadow, ButtonHilight, Buttonlight
};

TPalette DaylightPalette();  // the default skin
TPalette DuskPalette();      // the dark one

// The skins shipped with the program, the default first.
std::vector<TPalette> ShippedPalettes();

// The files of a skin folder: "skin.ini" first, then the bitmaps by name.
std::vector<TSkinEntry> GenerateSkin(const TPalette& palette);

}  // namespace srt::art

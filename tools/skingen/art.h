// The program's own skins, drawn from a palette: every element image as a
// BMP file and the definition (skin.ini) that names them. The same palette
// always gives the same bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "skin/data/skinreader.h"
#include "tools/skingen/raster.h"

namespace srt::art {

// The optional content colours of a definition (section Colours).
struct TContentPalette {
    Rgb client, clientText;            // client areas and static text
    Rgb edit, editText;                // edits, memos, lists
    Rgb editHilight, editHilightText;  // selected list items
    Rgb disabledText;                  // on client and on edit
    Rgb labelText;                     // labels whose own colour is too faint
    Rgb hotText;                       // hot items and links
};

struct TPalette {
    std::string folder;    // folder under resources/skin/
    std::string skinName;  // SkinName of the definition

    Rgb face;              // client areas, buttons' surroundings (ButtonFace)
    Rgb text;              // window, button and menu text
    Rgb textMuted;         // unselected tab captions, glyphs at rest
    Rgb window;            // edit, list and menu backgrounds
    Rgb accent;            // selection, focus, progress, checked marks
    Rgb accentText;        // text on accent

    Rgb titleTop, titleBottom, titleText, titleOutline;                       // active frame
    Rgb titleInactiveTop, titleInactiveBottom, titleInactiveText, outlineInactive;
    Rgb captionHot, captionPressed;  // caption button fills over the active title
    Rgb closeHot, closePressed;

    Rgb border;          // control outlines
    Rgb borderDisabled;
    Rgb buttonTop, buttonBottom, buttonHotTop, buttonHotBottom, buttonPressed, buttonDisabled;
    Rgb glyphDisabled;

    Rgb menuBar, menuBarText, menuBarLine;
    Rgb menu, menuLine;

    Rgb track, thumb, thumbHot, thumbPressed, arrow;

    Rgb shadow, dkShadow, hilight, light;  // ButtonShadow, ButtonDkShadow, ButtonHilight, Buttonlight

    std::optional<TContentPalette> content;  // none: the platform's content colours stay
};

TPalette DaylightPalette();  // the default skin
TPalette DuskPalette();      // the dark one
TPalette ContrastPalette();  // high contrast: every text at 7:1 or more

// The skins shipped with the program, the default first.
std::vector<TPalette> ShippedPalettes();

// The scales every image is drawn at besides 96 DPI, as optional package
// entries NAME@125.bmp, NAME@150.bmp and NAME@200.bmp beside NAME.bmp.
struct TScale {
    int dpi;
    const char* suffix;
};
inline constexpr TScale kScales[] = {{120, "@125"}, {144, "@150"}, {192, "@200"}};

// "NAME.bmp" drawn for `scale`: "NAME@125.bmp" and so on.
std::string ScaledName(const std::string& name, const TScale& scale);

// The files of a skin folder: "skin.ini" first, then the bitmaps by name,
// each image at 96 DPI and at every scale of kScales.
std::vector<TSkinEntry> GenerateSkin(const TPalette& palette);

}  // namespace srt::art

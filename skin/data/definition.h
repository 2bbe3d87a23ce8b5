// Reading a skin definition (an INI text inside the package) into the
// element records and colours. Platform-free; the definition is parsed in
// memory, so no file is written anywhere.
#pragma once

#include <string_view>

#include "component/graphics.h"
#include "skin/data/records.h"
#include "skin/data/skinreader.h"

namespace srt {

// Reads `definition` into `skin`, loading the bitmaps it names from `reader`.
// Missing keys, sections and bitmaps give defaults, empty images or empty
// slots. An entry that is not a valid BMP throws EInvalidBitmap ("Bitmap
// image is not valid"); the records read up to then stay as they are, and
// the caller keeps the skin marked empty.
// The caller (the skin data component) then makes its ButtonFace brush and
// clears its Empty flag.
// With an image suffix ("@200") every image is read from the entry drawn for
// that scale instead (NAME@200.bmp for NAME.bmp); where that entry is
// missing or unreadable the image stays empty and nothing is thrown.
void ReadSkinDefinition(TSkinElements& skin, const TSkinReader& reader, std::string_view definition,
                        std::string_view imageSuffix = {});

// Finds the first entry whose name contains ".ini" and reads it as above.
// False, with `skin` untouched, when the package has no such entry.
bool LoadSkinDefinition(TSkinElements& skin, const TSkinReader& reader, std::string_view imageSuffix = {});

// `fileText` with `suffix` before its extension: "a\\top.bmp", "@150" gives
// "a\\top@150.bmp". A name without an extension stays as it is.
std::string ScaledImageName(std::string_view fileText, std::string_view suffix);

// Fills `bitmap` from the package entry named by the file name part of
// `fileText` (after its last '\' or ':'), if that name ends in ".bmp" (lower
// case) and the entry holds bytes; empties it otherwise. Throws
// EInvalidBitmap for an entry that is not a valid BMP.
void LoadSkinBitmap(TBitmap& bitmap, std::string_view fileText, const TSkinReader& reader);

// A colour text such as "49 106 197" or "255,0,0": runs of decimal digits
// fill red, green and blue in turn (low 8 bits each). A run ending the text
// fills blue only once red and green are filled; a run too large for a
// signed 32-bit integer fills nothing and absorbs every later digit. An
// empty text gives `def`.
TColour ParseColourText(std::string_view text, TColour def);

}  // namespace srt

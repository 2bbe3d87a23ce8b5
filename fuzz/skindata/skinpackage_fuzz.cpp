// Packed skins: the LZHUF decoder, the package reader and, for packages that
// load, the definition reader with its bitmaps.
#include <cstdint>
#include <span>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/skinreader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    srt::TSkinReader reader;
    // A small cap keeps zero-filled giant packages from dominating the run.
    if (!reader.LoadFromStream(std::span(data, size), 1 << 20)) {
        if (reader.Count() != 0) __builtin_trap();
        return 0;
    }
    std::uint64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) total += reader.Entry(i).size();
    (void)total;
    srt::TSkinElements skin;
    try {
        srt::LoadSkinDefinition(skin, reader);
    } catch (const srt::EInvalidBitmap&) {
    }
    return 0;
}

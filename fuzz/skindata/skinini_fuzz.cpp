// Skin definitions: the INI reader, integers and colour texts, and the
// definition reader over a package with two bitmaps.
#include <cstdint>
#include <string_view>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/ini.h"
#include "skin/data/skinreader.h"

namespace {

const srt::TSkinReader& Package() {
    static const srt::TSkinReader reader = [] {
        TBitmap b(24, 8);
        srt::TSkinReader r;
        r.LoadFromStream(srt::PackSkin(srt::BuildSkinPackage(
            {{"a.bmp", srt::WriteBmp24(b)}, {"b.bmp", srt::WriteBmp24(TBitmap(192, 3))}, {"e.bmp", {}}})));
        return r;
    }();
    return reader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    srt::TSkinElements skin;
    srt::ReadSkinDefinition(skin, Package(), text);
    srt::ParseColourText(text, 0);
    srt::ParseIniInteger(text);
    return 0;
}

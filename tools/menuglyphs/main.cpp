// menuglyphs: writes the system-menu glyph strip as a 1-bit BMP.
//   menuglyphs OUTPUT.bmp
#include <cstdio>
#include <fstream>

#include "skin/data/menuglyphs.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: menuglyphs OUTPUT.bmp\n");
        return 2;
    }
    const std::vector<std::uint8_t> bmp = srt::WriteBmp1(srt::DrawMenuGlyphs());
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    if (!out) {
        std::fprintf(stderr, "menuglyphs: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

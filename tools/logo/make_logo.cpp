// Writes the program's logo as GIF files: make_logo OUTPUT.gif writes
// OUTPUT.gif at 96 DPI and OUTPUT@125.gif, OUTPUT@150.gif, OUTPUT@200.gif
// beside it.
#include <cstdio>
#include <string>

#include "logo/logo.h"
#include "logo/writebytes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.gif\n", argv[0]);
        return 2;
    }
    if (int rc = srt::logo::WriteBytes(argv[0], argv[1], srt::logo::LogoBytes())) return rc;
    const std::string path = argv[1];
    const std::size_t dot = path.rfind('.');
    const std::string stem = dot == std::string::npos ? path : path.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : path.substr(dot);
    for (const srt::logo::LogoScale& s : srt::logo::kLogoScales) {
        const std::string scaled = stem + s.suffix + ext;
        if (int rc = srt::logo::WriteBytes(argv[0], scaled.c_str(), srt::logo::LogoBytes(s.dpi))) return rc;
    }
    return 0;
}

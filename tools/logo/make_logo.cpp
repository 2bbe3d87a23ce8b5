// Writes the program's logo as a GIF file: make_logo OUTPUT.gif
#include <cstdio>

#include "logo/logo.h"
#include "logo/writebytes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.gif\n", argv[0]);
        return 2;
    }
    return srt::logo::WriteBytes(argv[0], argv[1], srt::logo::LogoBytes());
}

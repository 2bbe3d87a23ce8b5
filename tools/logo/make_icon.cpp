// Writes the program's icon as an .ico file: make_icon OUTPUT.ico
#include <cstdio>

#include "logo/icon.h"
#include "logo/writebytes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    return srt::logo::WriteBytes(argv[0], argv[1], srt::logo::IconBytes());
}

#include <iostream>

#include "tools/skinpack/skinpack.h"

int main(int argc, char** argv) {
    return srt::RunSkinpack(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

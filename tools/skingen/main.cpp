#include <iostream>
#include <string>
#include <vector>

#include "tools/skingen/skingen.h"

int main(int argc, char** argv) {
    return srt::art::RunSkingen(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

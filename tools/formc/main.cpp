// formc: compiles the source text of a stored description into its binary
// form, and prints a binary one as text.
//   formc SOURCE.form OUTPUT.bin      compile ("file" paths relative to SOURCE)
//   formc --print INPUT.bin           print as source text
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "component/stream.h"

namespace {
std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EReadError("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::string(argv[1]) == "--print") {
            std::string bytes = ReadFile(argv[2]);
            std::cout << PrintStoredText(
                ReadStoredObject(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
            return 0;
        }
        if (argc != 3) {
            std::cerr << "usage: formc SOURCE.form OUTPUT.bin | formc --print INPUT.bin\n";
            return 2;
        }
        std::string source = argv[1];
        std::size_t slash = source.find_last_of('/');
        std::string base = slash == std::string::npos ? "." : source.substr(0, slash);
        std::vector<std::uint8_t> out = WriteStoredObject(ParseStoredText(ReadFile(source), base));
        std::ofstream file(argv[2], std::ios::binary);
        file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        if (!file) {
            std::cerr << "formc: cannot write " << argv[2] << "\n";
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "formc: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
}

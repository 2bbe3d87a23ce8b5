// The line reader against a byte-by-byte model of the same rules, and the
// CR LF writer round trip.
#include "core/textlines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Model(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (char c : bytes) {
        if (c == '\x1a') break;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            if (c != '\r') line.push_back(c);
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = srt::SplitTextLines(bytes);
    if (lines != Model(bytes)) std::abort();
    if (srt::SplitTextLines(srt::JoinLinesCRLF(lines)) != lines) std::abort();
    return 0;
}

// The skingen command: writes the program's own skins from their palettes,
// checks committed skin folders against them, and draws a contact sheet or
// a mock-up of a packed skin.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace srt::art {

// args excludes the program name. 0 ok, 1 failed or differs, 2 usage.
int RunSkingen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace srt::art

// The skinpack command: pack a folder into a skin package, list a package,
// extract a package into a folder.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace srt {

// Exit codes.
constexpr int kSkinpackOk = 0;
constexpr int kSkinpackFailed = 1;  // bad input, a refused package, an I/O error
constexpr int kSkinpackUsage = 2;   // wrong command line

// Runs one command; args excludes the program name. Results go to out,
// messages to err.
int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace srt

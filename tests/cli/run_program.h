// Runs a program with arguments and standard input, no shell in between, and
// collects its exit status and both output streams.
#pragma once

#include <string>
#include <vector>

namespace srt::test {

struct RunResult {
    int status = -1;     // exit status; -1 when the program did not exit normally
    int signal = 0;      // the signal that ended it, if any
    std::string out;
    std::string err;
};

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& input = {});

}  // namespace srt::test

// The process around srt-retime: standard descriptors that were closed at
// start, and the one file a signal must not leave behind.
#pragma once

#include "core/nativepath.h"

#include <cstdint>

#ifndef _WIN32
#include <csignal>
#endif

namespace cli {

// Opens the null device on each closed standard descriptor, so that no file
// the program opens takes its number. Returns which were closed: bit 0 for
// input, 1 for output, 2 for errors. Nothing on Windows.
unsigned ReopenClosedStandardDescriptors();

// On SIGINT, SIGTERM and SIGHUP: removes the registered temporary file, or
// cuts the registered descriptor back to its size, then dies of the signal.
void InstallSignalCleanup();

// The temporary file to remove on a signal; an empty path clears it.
void RegisterTemporary(const srt::NativePath& path);
// A file written in place from size on, to cut back on a signal; fd -1 clears it.
void RegisterCutBack(int fd, std::uint64_t size);

// Holds SIGINT, SIGTERM and SIGHUP while alive: the step between a rename
// and clearing the registration must not be cut.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    bool held_ = false;
#ifndef _WIN32
    sigset_t before_{};
#endif
};

}  // namespace cli

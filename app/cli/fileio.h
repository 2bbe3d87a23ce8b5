// Whole-file reading and all-or-nothing writing for srt-retime. Failures
// return the platform's file error code (the Windows codes; POSIX errors are
// mapped onto them), which IOErrorText turns into a message.
#pragma once

#include <string>
#include <string_view>

namespace srt::cli {

// 0 or an error code.
int ReadFileBytes(const std::string& path, std::string& bytes);
int ReadStdinBytes(std::string& bytes);
int WriteStdoutBytes(std::string_view bytes);

// Replaces (or creates) path with bytes through a temporary file in the same
// folder and a rename, so that a failure leaves the old file as it was.
// Devices and pipes are written directly.
int ReplaceFileBytes(const std::string& path, std::string_view bytes);

}  // namespace srt::cli

// Texts of failed file operations, shown to the user.
#pragma once

#include <string>

namespace srt {

// File operation error codes: the platform's codes for failed file calls,
// plus the text-file layer's own.
enum : int {
    kErrFileNotFound = 2,
    kErrInvalidFilename = 3,
    kErrTooManyOpenFiles = 4,
    kErrAccessDenied = 5,
    kErrReadBeyondEnd = 100,
    kErrDiskFull = 101,
    kErrInvalidNumericInput = 106,
};

// "File not found", "Disk full", ...; "I/O error CODE" for codes without a text.
std::string IOErrorText(int code);

}  // namespace srt

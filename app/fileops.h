// Whole-file reading and safe replacement for the main window's commands.
// Failures return a file error code for IOErrorText (0 on success).
#pragma once

#include <string>
#include <string_view>

namespace srt {

// The platform's code of the last failed file call, with a full disk given
// the text-file layer's own code 101.
int LastFileError();

int ReadWholeFile(const std::wstring& path, std::string& bytes);

// Writes bytes to a temporary file beside `path`, flushed to disk, and puts it
// in the place of `path` only when everything is written (the one atomic
// writer, shared with srt-retime); on failure `path` is untouched.
int ReplaceFileAtomically(const std::wstring& path, std::string_view bytes);

}  // namespace srt

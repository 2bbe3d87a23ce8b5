// What the window refuses to open: a file whose lines are far beyond any
// subtitle's (the memo would take minutes to wrap them), and a non-empty
// file without a single time line. Platform-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "lang.h"

namespace srt::app {

// Characters of one line the memo still wraps quickly (see
// bench/app/memowrap_bench); subtitle lines are a hundred or so.
inline constexpr std::size_t kMaxLineCharacters = 4096;

struct TOverlongLine {
    std::size_t line = 0;        // from 1, as the document numbers its lines
    std::size_t characters = 0;  // not counting UTF-8 continuation bytes
};

// The first line of `text` (8-bit text as the document reads it: lines end
// at LF, byte 26 ends the file) with more than `limit` characters.
std::optional<TOverlongLine> FindOverlongLine(std::string_view text, std::size_t limit = kMaxLineCharacters);

// Why the window does not open a file of these bytes, in `language`: a line
// over kMaxLineCharacters, or no time line in a non-empty file (the rule of
// the command-line tool); none when it may.
std::optional<std::wstring> OpenRefusal(std::string_view file, TLanguage language);

}  // namespace srt::app

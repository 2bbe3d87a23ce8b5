// How file bytes are recognised as subtitle text: the window and the
// command-line tool decide by these same rules. Platform-free.
#pragma once

#include "core/utf16.h"

#include <optional>
#include <string_view>

namespace srt {

// The byte order of UTF-16 text without a mark, told by a time line in it:
// "-->" at an even offset with the characters of its line before the arrow
// (64 at most are looked at) printable ASCII, each a unit whose other byte is
// 0; found before any 8-bit "-->".
// nullopt for bytes that start with a UTF-16 mark or hold no such line.
std::optional<ByteOrder> FindUnmarkedUtf16(std::string_view bytes);

// Whether 8-bit text (or UTF-16 already decoded to it) holds a time line: a
// line containing "-->".
bool HoldsTimeLine(std::string_view text);

// Whether a file's bytes hold a time line read as the tool reads them:
// UTF-16 after a mark or recognised without one, else 8-bit text.
bool HoldsSubtitleTiming(std::string_view bytes);

}  // namespace srt

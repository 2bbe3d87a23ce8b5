// The two 8-bit text encodings of the tool, how a file's bytes are told
// apart, and the escape that carries a byte with no character through text.
// Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace srt {

// Ansi: the system's code page. Utf8: UTF-8, with or without its mark.
enum class TextEncoding { Ansi, Utf8 };

// A byte that decodes to no character (and a NUL byte, which would end a
// window's text) is held in text as the lone surrogate U+DC00 + byte. The
// low half of a surrogate pair is never one.
inline constexpr wchar_t kByteEscapeBase = 0xDC00;

bool IsByteEscapeAt(std::wstring_view text, std::size_t i);
bool HasByteEscape(std::wstring_view text);

bool IsValidUtf8(std::string_view bytes);

// UTF-8 when the bytes start with its mark, or are valid UTF-8 and not plain
// ASCII; else the code page.
TextEncoding DetectEncoding(std::string_view bytes);

}  // namespace srt

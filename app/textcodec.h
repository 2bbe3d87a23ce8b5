// A document's bytes as the memo's UTF-16 text and back, without loss: a
// byte that the document's code page cannot decode (or that would not come
// back as itself), and a NUL byte, which would end the memo's text, becomes
// the lone surrogate U+DC00 + byte, and turns back into that byte when the
// text is encoded again. The low half of a surrogate pair is never one.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace srt {

enum class TextEncoding { Ansi, Utf8 };

// UTF-8 when the bytes are valid UTF-8 and not plain ASCII; else the ANSI
// code page.
TextEncoding DetectEncoding(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

std::wstring DecodeText(std::string_view bytes, TextEncoding encoding, UINT codePage = CP_ACP);

// Encodes text; `lossy` (when given) is set when a character other than an
// escaped byte has no form in the encoding (it is then written as "?").
std::string EncodeText(std::wstring_view text, TextEncoding encoding, UINT codePage = CP_ACP,
                       bool* lossy = nullptr);

}  // namespace srt

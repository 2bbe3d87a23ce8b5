// A document's bytes as the memo's UTF-16 text and back, without loss: a
// byte that the document's code page cannot decode (or that would not come
// back as itself), and a NUL byte, which would end the memo's text, becomes
// its escape (see core/textencoding.h), and turns back into that byte when
// the text is encoded again.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "core/document.h"
#include "core/textencoding.h"

namespace srt {

std::wstring DecodeText(std::string_view bytes, TextEncoding encoding, UINT codePage = CP_ACP);

// Encodes text; `lossy` (when given) is set when a character other than an
// escaped byte has no form in the encoding (it is then written as "?", or as
// U+FFFD for an unpaired surrogate in UTF-8).
std::string EncodeText(std::wstring_view text, TextEncoding encoding, UINT codePage = CP_ACP,
                       bool* lossy = nullptr);

// The document's codec over a code page (the system's by default).
class WindowsTextCodec : public TextCodec {
public:
    explicit WindowsTextCodec(UINT codePage = CP_ACP) : codePage_(codePage) {}
    std::wstring Decode(std::string_view bytes, TextEncoding encoding) const override;
    bool Encode(std::wstring_view text, TextEncoding encoding, std::string& bytes) const override;
    std::string Name(TextEncoding encoding) const override;

private:
    UINT codePage_;
};

}  // namespace srt

// UTF-16 text files: the byte-order mark, and the code units as 8-bit text
// for the line rules, losslessly both ways. Platform-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace srt {

enum class ByteOrder { LittleEndian, BigEndian };

// A file read as UTF-16: its byte order (the mark), its units as 8-bit text
// (see Utf16ToUtf8) and the odd last byte, if any, carried as it was.
struct Utf16Text {
    ByteOrder order = ByteOrder::LittleEndian;
    std::string text;
    std::string tail;
};

// The byte order named by a UTF-16 mark (FF FE or FE FF) at the start.
std::optional<ByteOrder> FindUtf16Mark(std::string_view bytes);

// Two bytes per unit, an odd last byte left out. Characters come out as
// UTF-8; an unpaired surrogate as the three bytes UTF-8 would give its code
// point (ED A0..BF 80..BF), which no valid UTF-8 text holds.
std::string Utf16ToUtf8(std::string_view units, ByteOrder order);

// The inverse of Utf16ToUtf8; a byte that begins no character in that form
// becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view text, ByteOrder order);

// A file that starts with a UTF-16 mark; nullopt without one.
std::optional<Utf16Text> DecodeUtf16File(std::string_view bytes);

// The mark, text in UTF-16 and the tail: DecodeUtf16File's input again.
std::string EncodeUtf16File(ByteOrder order, std::string_view text, std::string_view tail = {});

}  // namespace srt

// UTF-16 files back to their own bytes, and any 8-bit text to whole units.
#include "core/utf16.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto file = srt::DecodeUtf16File(bytes)) {
        if (srt::EncodeUtf16File(file->order, file->text, file->tail) != bytes) std::abort();
        if (file->tail.size() != (size - 2) % 2) std::abort();
    }
    for (srt::ByteOrder order : {srt::ByteOrder::LittleEndian, srt::ByteOrder::BigEndian}) {
        const std::string even(bytes.substr(0, size - size % 2));
        if (srt::Utf8ToUtf16(srt::Utf16ToUtf8(even, order), order) != even) std::abort();
        const std::string units = srt::Utf8ToUtf16(bytes, order);
        if (units.size() % 2 != 0 || units.size() > 2 * size) std::abort();
    }
    return 0;
}

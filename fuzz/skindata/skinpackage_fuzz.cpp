// Packed skins: the LZHUF decoder, the package reader and, for packages that
// load, the definition reader with its bitmaps. An input starting with 'U'
// is an unpacked package instead: it is packed with the encoder first, which
// must round-trip, so the reader's parsing is reached without a valid stream.
#include <cstdint>
#include <cstring>
#include <span>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/lzh.h"
#include "skin/data/skinreader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    std::vector<std::uint8_t> packed;
    if (size > 0 && data[0] == 'U') {
        const auto unpacked = input.subspan(1);
        const auto stream = srt::TLZH().Encode(unpacked);
        const auto back = srt::TLZH().Decode(stream, static_cast<std::uint32_t>(unpacked.size()));
        if (back.size() != unpacked.size() || !std::equal(back.begin(), back.end(), unpacked.begin()))
            __builtin_trap();
        packed = srt::PackSkin(unpacked);
        input = packed;
    }
    srt::TSkinReader reader;
    // A small cap keeps zero-filled giant packages from dominating the run.
    if (!reader.LoadFromStream(input, 1 << 18)) {
        if (reader.Count() != 0) __builtin_trap();
        return 0;
    }
    std::uint64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) total += reader.Entry(i).size();
    (void)total;
    srt::TSkinElements skin;
    try {
        srt::LoadSkinDefinition(skin, reader);
    } catch (const srt::EInvalidBitmap&) {
    }
    return 0;
}

// Packed skins: the LZHUF decoder, the package reader and, for packages that
// load, the definition reader with its bitmaps. An input starting with 'U'
// is an unpacked package instead: it is packed with the encoder first, which
// must round-trip, so the reader's parsing is reached without a valid stream.
// The same bytes read leaving entries packed (which ones, the input's last
// byte picks) must load or be refused alike and give the same entries,
// unpacked later in one pass, one by one, and again after a repack; the
// definition and its records at 150 % are read from that reader too.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/lzh.h"
#include "skin/data/scaled.h"
#include "skin/data/skinreader.h"

namespace {

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

// The reader that leaves entries packed against the eager one.
void CheckLeavingPacked(std::span<const std::uint8_t> input, const srt::TSkinReader& eager, bool loaded,
                        std::uint8_t pick) {
    srt::TSkinReader lazy;
    const auto leave = [pick](std::string_view name) {
        return !srt::EntryScaleSuffix(name).empty() || (name.size() + pick) % 3 != 0;
    };
    if (lazy.LoadLeavingPacked(input, leave, 1 << 18) != loaded) __builtin_trap();
    if (!loaded) {
        if (lazy.Count() != 0) __builtin_trap();
        return;
    }
    if (lazy.Names() != eager.Names()) __builtin_trap();
    const srt::TSkinReader all = lazy.Unpacked([](std::string_view) { return true; });
    for (int i = 0; i < eager.Count(); ++i) {
        if (lazy.Size(i) != eager.Size(i) || all.Packed(i)) __builtin_trap();
        if (!Same(all.Entry(i), eager.Entry(i))) __builtin_trap();
        if (!lazy.Packed(i) && !Same(lazy.Entry(i), eager.Entry(i))) __builtin_trap();
    }
    lazy.Repack([](std::string_view) { return true; });
    for (int i = 0; i < eager.Count() && i < 8; ++i)
        if (!Same(lazy.GetFile(eager.Names()[i]), eager.GetFile(eager.Names()[i]))) __builtin_trap();
    srt::TSkinElements skin;
    try {
        if (srt::LoadSkinDefinition(skin, lazy)) srt::ScaleSkinElements(skin, 144, &lazy);
    } catch (const srt::EInvalidBitmap&) {
    }
}

}  // namespace

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
    const bool loaded = reader.LoadFromStream(input, 1 << 18);
    CheckLeavingPacked(input, reader, loaded, size > 0 ? data[size - 1] : 0);
    if (!loaded) {
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

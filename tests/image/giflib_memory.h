// Feeds giflib from bytes in memory; shared by the oracle test and the
// decoding benchmark.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

struct GiflibMemoryReader {
    const std::vector<std::uint8_t>* data;
    std::size_t pos;
};

// giflib's input callback; UserData is a GiflibMemoryReader.
inline int GiflibReadMemory(GifFileType* gif, GifByteType* dest, int count) {
    auto* r = static_cast<GiflibMemoryReader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), r->data->size() - r->pos);
    std::memcpy(dest, r->data->data() + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

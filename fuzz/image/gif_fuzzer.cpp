// Loads arbitrary bytes as a GIF stream. Whatever loads must convert to
// pixels, and must come back with the same indices through our writer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/gif.h"

namespace {

std::vector<const srt::TGIFFrame*> ImageFrames(const srt::TGIFImage& image) {
    std::vector<const srt::TGIFFrame*> frames;
    for (const auto& f : image.Frames)
        if (f->HasImage) frames.push_back(f.get());
    return frames;
}

void Limit(srt::TGIFImage& image) {
    // Small limits keep each run fast; the defaults are tested elsewhere.
    image.MaxFramePixels = 1u << 20;
    image.MaxTotalPixels = 1u << 22;
    image.OnWarning = [](const srt::TGIFItem&, srt::TGIFSeverity, const std::string& m) {
        if (m.empty()) std::abort();
    };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    srt::TGIFImage image;
    Limit(image);
    srt::TByteStream stream({data, size});
    try {
        image.LoadFromStream(stream);
    } catch (const srt::EInvalidGraphic&) {
    }
    if (stream.Position() > size) std::abort();

    for (const srt::TGIFFrame* f : ImageFrames(image)) {
        if (f->Pixels.size() != std::size_t(f->Width()) * f->Height()) std::abort();
        if (srt::FrameToBGRA(image, *f).size() != f->Pixels.size()) std::abort();
    }

    const std::vector<std::uint8_t> written = image.SaveToBytes();
    srt::TGIFImage again;
    Limit(again);
    try {
        again.LoadFromBytes(written);
    } catch (const srt::EInvalidGraphic&) {
        std::abort();  // our own output must always load
    }
    const auto a = ImageFrames(image);
    const auto b = ImageFrames(again);
    if (a.size() != b.size()) std::abort();
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i]->Pixels != b[i]->Pixels) std::abort();
    return 0;
}

#include "image/gifgraphic.h"

#include <algorithm>
#include <vector>

namespace srt {

namespace {

// Keeps the destination where the mask is 0.
constexpr DWORD kDestination = 0x00AA0029;

const TGIFFrame* FirstPicture(const TGIFImage& image) {
    for (const auto& f : image.Frames)
        if (f->HasImage && f->Width() > 0 && f->Height() > 0 &&
            f->Pixels.size() == static_cast<std::size_t>(f->Width()) * static_cast<std::size_t>(f->Height()))
            return f.get();
    return nullptr;
}

}  // namespace

bool TGIFGraphic::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    auto image = std::make_unique<TGIFImage>();
    try {
        image->LoadFromBytes(bytes);
    } catch (const EInvalidGraphic& e) {
        error_ = e.what();
        return false;
    }
    error_.clear();
    image_ = std::move(image);
    colours_.SetSize(0, 0);
    mask_.Reset();
    left_ = top_ = 0;
    const TGIFFrame* frame = FirstPicture(*image_);
    if (!frame) return true;

    const int w = frame->Width(), h = frame->Height();
    const std::vector<std::uint32_t> pixels = FrameToBGRA(*image_, *frame);
    colours_.SetSize(w, h);
    // Monochrome rows are padded to 16 bits; the first pixel is the top bit.
    const std::size_t stride = ((static_cast<std::size_t>(w) + 15) / 16) * 2;
    std::vector<std::uint8_t> mask(stride * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* in = pixels.data() + static_cast<std::size_t>(y) * w;
        std::uint32_t* out = colours_.ScanLine(y);
        std::uint8_t* bits = mask.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            out[x] = in[x] & 0xFFFFFF;
            if (in[x] >> 24) bits[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    mask_.Reset(CreateBitmap(w, h, 1, 1, mask.data()));
    left_ = frame->Descriptor.Left;
    top_ = frame->Descriptor.Top;
    return true;
}

int TGIFGraphic::Width() const {
    if (!image_) return 0;
    return image_->Width() ? image_->Width() : left_ + colours_.Width();
}

int TGIFGraphic::Height() const {
    if (!image_) return 0;
    return image_->Height() ? image_->Height() : top_ + colours_.Height();
}

void TGIFGraphic::Draw(HDC dc, int x, int y) {
    if (colours_.Empty() || !mask_) return;
    HDC source = colours_.Canvas();
    if (!source) return;
    MaskBlt(dc, x + left_, y + top_, colours_.Width(), colours_.Height(), source, 0, 0, mask_.Get(), 0, 0,
            MAKEROP4(SRCCOPY, kDestination));
}

void RegisterGIFGraphic(TGraphicFormats& formats) {
    TGraphicFormat f;
    f.ClassName = std::string(TGIFImage::ClassName);
    f.Extension = "GIF";
    f.Description = "GIF Image";
    f.ClipboardName = "GIF Image";
    f.Factory = [] { return std::make_unique<TGIFGraphic>(); };
    formats.Register(std::move(f));
}

}  // namespace srt

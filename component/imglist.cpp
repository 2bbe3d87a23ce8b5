#include "component/imglist.h"

#include "component/gdi.h"

SRT_DEFINE_CLASS(TImageList, TComponent, {
    b.Integer("Height", &TImageList::Height, nullptr);
    b.Integer("Width", &TImageList::Width, nullptr);
})

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width > 0 ? width : 16), height_(height > 0 ? height : 16) {}

TImageList::~TImageList() { Clear(); }

void TImageList::Clear() {
    for (TImage& image : images_) {
        DeleteObject(image.colour);
        DeleteObject(image.mask);
    }
    images_.clear();
}

int TImageList::AddMasked(const TBitmap& strip, std::uint32_t mask) {
    if (strip.Height() < height_ || strip.Width() < width_) return -1;
    const int first = Count();
    const std::uint32_t key = TBitmap::ToColour(mask & 0xFFFFFF);
    HDC screen = GetDC(nullptr);
    for (int x0 = 0; x0 + width_ <= strip.Width(); x0 += width_) {
        TBitmap cell(width_, height_);
        // One bit per pixel, rows padded to 16 bits.
        const int stride = ((width_ + 15) / 16) * 2;
        std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * height_, 0);
        for (int y = 0; y < height_; ++y) {
            const std::uint32_t* src = strip.ScanLine(y) + x0;
            std::uint32_t* dst = cell.ScanLine(y);
            for (int x = 0; x < width_; ++x) {
                const bool clear = (src[x] & 0xFFFFFF) == key;
                dst[x] = clear ? 0 : src[x];
                if (clear) bits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        TImage image;
        image.mask = CreateBitmap(width_, height_, 1, 1, bits.data());
        image.colour = CreateCompatibleBitmap(screen, width_, height_);
        {
            MemoryDC dc(screen);
            GdiSelect select(dc.Get(), image.colour);
            BitBlt(dc.Get(), 0, 0, width_, height_, cell.Canvas(), 0, 0, SRCCOPY);
        }
        images_.push_back(image);
    }
    ReleaseDC(nullptr, screen);
    return Count() > first ? first : -1;
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count() || !dc) return;
    const TImage& image = images_[static_cast<std::size_t>(index)];
    MemoryDC maskDC(dc);
    GdiSelect maskSelect(maskDC.Get(), image.mask);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    if (enabled) {
        MemoryDC colourDC(dc);
        GdiSelect colourSelect(colourDC.Get(), image.colour);
        BitBlt(dc, x, y, width_, height_, maskDC.Get(), 0, 0, SRCAND);
        BitBlt(dc, x, y, width_, height_, colourDC.Get(), 0, 0, SRCPAINT);
    } else {
        // Where the mask is 0 (opaque) the brush, elsewhere the target.
        GdiBrush shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
        GdiSelect brush(dc, shadow);
        BitBlt(dc, x, y, width_, height_, maskDC.Get(), 0, 0, 0x00B8074A);
    }
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

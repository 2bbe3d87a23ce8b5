// The GIF picture class of the component layer: a stored "TGIFImage"
// decoded by the GIF reader and drawn by its first frame, with the frame's
// transparent colour see-through. Win32 only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "component/extctrls.h"
#include "component/gdi.h"
#include "component/graphics.h"
#include "image/gif.h"

namespace srt {

class TGIFGraphic : public TGraphic {
public:
    bool LoadFromBytes(std::span<const std::uint8_t> bytes) override;
    // The logical screen's size.
    int Width() const override;
    int Height() const override;
    // Draws the first frame at its place on the logical screen, offset by
    // (x, y), in one masked blit.
    void Draw(HDC dc, int x, int y) override;

    const TGIFImage* Image() const { return image_.get(); }
    // Why the last LoadFromBytes failed; empty after a success.
    const std::string& Error() const { return error_; }

private:
    std::unique_ptr<TGIFImage> image_;
    std::string error_;
    TBitmap colours_;      // opaque pixels in their colours, transparent ones black
    GdiBitmap mask_;       // 1 bit a pixel: 1 opaque, 0 see-through
    int left_ = 0, top_ = 0;
};

// Registers TGIFGraphic: class "TGIFImage", extension "GIF", description
// and clipboard format "GIF Image".
void RegisterGIFGraphic(TGraphicFormats& formats);

}  // namespace srt

// Window regions from the opaque pixels of a bitmap, one rectangle per run
// of opaque pixels in a row.
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "skin/draw/skindraw.h"

namespace srt {
namespace {

constexpr DWORD kGrowth = 500;      // rectangles added whenever the buffer is full
constexpr DWORD kBatchRects = 2000;  // rectangles per ExtCreateRegion call

// RGNDATA in a growable buffer: the header followed by the rectangles.
class TRegionData {
public:
    TRegionData() { Grow(); Restart(); }

    void Add(const RECT& r) {
        if (Header().nCount == capacity_) Grow();
        RGNDATAHEADER& h = Header();
        std::memcpy(buffer_.data() + sizeof(RGNDATAHEADER) + h.nCount * sizeof(RECT), &r, sizeof(RECT));
        h.rcBound.left = std::min(h.rcBound.left, r.left);
        h.rcBound.top = std::min(h.rcBound.top, r.top);
        h.rcBound.right = std::max(h.rcBound.right, r.right);
        h.rcBound.bottom = std::max(h.rcBound.bottom, r.bottom);
        ++h.nCount;
    }
    DWORD Count() { return Header().nCount; }

    // ORs the rectangles gathered so far into `result` and starts a new batch.
    void Flush(GdiRegion& result) {
        GdiRegion batch(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer_.size()),
                                        reinterpret_cast<const RGNDATA*>(buffer_.data())));
        if (batch) {
            if (!result) {
                result = std::move(batch);
            } else {
                CombineRgn(result.Get(), result.Get(), batch.Get(), RGN_OR);
            }
        }
        Restart();
    }

private:
    RGNDATAHEADER& Header() { return *reinterpret_cast<RGNDATAHEADER*>(buffer_.data()); }

    void Grow() {
        capacity_ += kGrowth;
        buffer_.resize(sizeof(RGNDATAHEADER) + capacity_ * sizeof(RECT));
    }
    void Restart() {
        RGNDATAHEADER& h = Header();
        h.dwSize = sizeof(RGNDATAHEADER);
        h.iType = RDH_RECTANGLES;
        h.nCount = 0;
        h.nRgnSize = 0;
        h.rcBound = RECT{LONG_MAX, LONG_MAX, 0, 0};
    }

    DWORD capacity_ = 0;
    std::vector<unsigned char> buffer_;  // operator new aligns it for the header
};

}  // namespace

GdiRegion BitmapToRegion(const ::TBitmap& bitmap, int dx, int dy, std::uint32_t key, int redTolerance,
                         int greenTolerance, int blueTolerance) {
    const int kr = key & 0xFF, kg = (key >> 8) & 0xFF, kb = (key >> 16) & 0xFF;
    const int hr = std::min(255, kr + redTolerance);
    const int hg = std::min(255, kg + greenTolerance);
    const int hb = std::min(255, kb + blueTolerance);
    auto transparent = [&](std::uint32_t p) {  // p is 0x00RRGGBB
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        return kr <= r && r <= hr && kg <= g && g <= hg && kb <= b && b <= hb;
    };

    GdiRegion result;
    TRegionData data;
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint32_t* row = bitmap.ScanLine(y);
        int x = 0;
        while (x < width) {
            const int x0 = x;
            while (x < width && !transparent(row[x])) ++x;
            if (x > x0) {
                data.Add(RECT{x0 + dx, y + dy, x + dx, y + 1 + dy});
                if (data.Count() == kBatchRects) data.Flush(result);
            }
            ++x;
        }
    }
    data.Flush(result);
    return result;
}

}  // namespace srt

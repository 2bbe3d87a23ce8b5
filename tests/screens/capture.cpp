#include "tests/screens/capture.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace srt::screens {
namespace {

struct TRegionDeleter {
    void operator()(HRGN r) const { DeleteObject(r); }
};
using TRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, TRegionDeleter>;

// The part of the screen `window` covers: its rectangle, cut by its region.
TRegion Coverage(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    TRegion area(CreateRectRgnIndirect(&r));
    TRegion shape(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(window, shape.get());
    if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
        OffsetRgn(shape.get(), r.left, r.top);
        CombineRgn(area.get(), area.get(), shape.get(), RGN_AND);
    }
    return area;
}

// Sets `value` on the pixels of `image` (whose top left is `origin` on the
// screen) inside `region`, or outside it when `inside` is false.
void Paint(TImage& image, POINT origin, HRGN region, bool inside, std::uint32_t value) {
    std::vector<std::uint8_t> covered(image.pixels.size(), 0);
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size && GetRegionData(region, size, data)) {
        const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
        for (DWORD i = 0; i < data->rdh.nCount; ++i) {
            const int x0 = std::max<int>(0, rects[i].left - origin.x);
            const int x1 = std::min<int>(image.width, rects[i].right - origin.x);
            const int y0 = std::max<int>(0, rects[i].top - origin.y);
            const int y1 = std::min<int>(image.height, rects[i].bottom - origin.y);
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) covered[static_cast<std::size_t>(y) * image.width + x] = 1;
        }
    }
    for (std::size_t i = 0; i < covered.size(); ++i)
        if ((covered[i] != 0) == inside) image.pixels[i] = value;
}

// The caret of the thread that owns `window`, in screen coordinates, if it
// sits in `window` or one of its children.
bool CaretOf(HWND window, RECT& caret) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndCaret) return false;
    if (info.hwndCaret != window && !IsChild(window, info.hwndCaret)) return false;
    caret = info.rcCaret;
    if (IsRectEmpty(&caret)) return false;
    MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
    return true;
}

}  // namespace

TImage Capture(const std::vector<HWND>& windows) {
    RECT area{};
    for (HWND w : windows) {
        RECT r{};
        GetWindowRect(w, &r);
        UnionRect(&area, &area, &r);
    }
    TImage image;
    image.width = area.right - area.left;
    image.height = area.bottom - area.top;
    if (image.width <= 0 || image.height <= 0) return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, image.width, image.height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        image.pixels.assign(pixels, pixels + static_cast<std::size_t>(image.width) * image.height);
        for (std::uint32_t& p : image.pixels) p &= 0xFFFFFF;  // alpha ignored
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (image.pixels.empty()) return {};

    const POINT origin{area.left, area.top};
    TRegion covered(CreateRectRgn(0, 0, 0, 0));
    for (HWND w : windows) {
        TRegion one = Coverage(w);
        CombineRgn(covered.get(), covered.get(), one.get(), RGN_OR);
    }
    Paint(image, origin, covered.get(), false, kOutside);
    for (HWND w : windows) {
        RECT caret{};
        if (!CaretOf(w, caret)) continue;
        TRegion caretArea(CreateRectRgnIndirect(&caret));
        Paint(image, origin, caretArea.get(), true, kCaret);
    }
    return image;
}

bool CaptureSettled(const std::vector<HWND>& windows, TImage& image, int limitMs) {
    using namespace std::chrono;
    const auto end = steady_clock::now() + milliseconds(limitMs);
    image = Capture(windows);
    while (steady_clock::now() < end) {
        // Messages to this thread's own windows keep flowing meanwhile.
        for (const auto pause = steady_clock::now() + milliseconds(150); steady_clock::now() < pause;) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            Sleep(10);
        }
        TImage next = Capture(windows);
        const bool same = next == image && !next.pixels.empty();
        image = std::move(next);
        if (same) return true;
    }
    return false;
}

}  // namespace srt::screens

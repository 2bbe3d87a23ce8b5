// Times of the skin drawing routines: a 400 x 500 nine-piece frame, a
// 1024 x 32 strip, and the region of a 1024 x 768 bitmap with rounded
// transparent corners.
#include <windows.h>

#include <cstdio>
#include <functional>

#include "skin/draw/skindraw.h"

using namespace srt;

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs `work` for at least half a second and prints the time of one call.
void Measure(const char* name, const std::function<void()>& work) {
    work();  // warm-up
    int calls = 0;
    const double start = Seconds();
    double elapsed = 0;
    do {
        work();
        ++calls;
        elapsed = Seconds() - start;
    } while (elapsed < 0.5 || calls < 5);
    std::printf("%-44s %10.1f us  (%d calls)\n", name, elapsed / calls * 1e6, calls);
}

TBitmap Pattern(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, (x * 7 + y * 13) & 0xFFFFFF);
    return b;
}

}  // namespace

int main() {
    // Three 64 x 64 frames with margins 8, 24, 8, 8: a 48 x 32 centre.
    TBitmap frame = Pattern(192, 64);
    for (int i = 0; i < 6; ++i) frame.SetPixel(64 + i, i, kSkinKey);
    const RECT big{0, 0, 400, 500};
    TBitmap screen(1024, 768);
    HDC dc = screen.Canvas();

    Measure("baseline: CreateDIBSection 400x500", [&] {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 400;
        info.bmiHeader.biHeight = -500;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits;
        DeleteObject(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    });
    Measure("baseline: CreateCompatibleDC", [&] { DeleteDC(CreateCompatibleDC(nullptr)); });
    Measure("baseline: TBitmap 4x4 with its canvas", [&] {
        TBitmap b(4, 4);
        b.Canvas();
    });
    Measure("TBitmap 400x500 with its canvas", [&] {
        TBitmap b(400, 500);
        b.Canvas();
    });
    Measure("CreateSkinBitmap 400x500, centre stretched", [&] {
        TBitmap b = CreateSkinBitmap(big, frame, {3, 2}, {8, 24, 8, 8}, TFill::Stretch);
    });
    Measure("CreateSkinBitmap 400x500, centre tiled", [&] {
        TBitmap b = CreateSkinBitmap(big, frame, {3, 2}, {8, 24, 8, 8}, TFill::Tile);
    });
    Measure("DrawSkinImage 400x500, tiled, opaque", [&] {
        DrawSkinImage(dc, big, frame, {3, 2}, {8, 24, 8, 8}, TFill::Tile, TKeying::Opaque);
    });
    Measure("DrawSkinImage 400x500, tiled, keyed", [&] {
        DrawSkinImage(dc, big, frame, {3, 2}, {8, 24, 8, 8}, TFill::Tile, TKeying::Keyed);
    });
    Measure("DrawSkinBorder 400x500", [&] { DrawSkinBorder(dc, big, frame, {3, 2}, {8, 24, 8, 8}); });

    // Two 40 x 24 frames with 10-pixel caps: a 20-pixel middle, 51 pieces.
    TBitmap strip = Pattern(80, 24);
    const RECT wide{0, 0, 1024, 32};
    Measure("DrawSkinStrip 1024x32, opaque", [&] {
        DrawSkinStrip(dc, wide, strip, {2, 1}, {10, 10}, TKeying::Opaque);
    });
    Measure("DrawSkinStrip 1024x32, keyed", [&] { DrawSkinStrip(dc, wide, strip, {2, 1}, {10, 10}, TKeying::Keyed); });
    Measure("DrawSkinFrame 1024x32 from 40x24, keyed", [&] { DrawSkinFrame(dc, wide, strip, {2, 1}, TKeying::Keyed); });

    TBitmap sprite = Pattern(400, 500);
    Measure("DrawTransparent 400x500, MaskBlt", [&] {
        DrawTransparent(dc, big, sprite, kSkinKey, TTransparentMethod::tmMaskBlt);
    });
    Measure("DrawTransparent 400x500, three BitBlt", [&] {
        DrawTransparent(dc, big, sprite, kSkinKey, TTransparentMethod::tmThreeBlt);
    });

    // 1024 x 768, corners of radius 12 in the key colour.
    TBitmap window = Pattern(1024, 768);
    const int radius = 12;
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const int cx = x < radius ? radius - x : x >= 1024 - radius ? x - (1023 - radius) : 0;
            const int cy = y < radius ? radius - y : y >= 768 - radius ? y - (767 - radius) : 0;
            if (cx * cx + cy * cy > radius * radius) window.SetPixel(x, y, kSkinKey);
        }
    }
    Measure("BitmapToRegion 1024x768, rounded corners", [&] {
        GdiRegion region = BitmapToRegion(window, 0, 0, kSkinKey, 1, 1, 1);
    });
    TBitmap noisy = Pattern(1024, 768);
    for (int y = 0; y < 768; ++y)
        for (int x = y % 2; x < 1024; x += 2) noisy.SetPixel(x, y, kSkinKey);
    Measure("BitmapToRegion 1024x768, every other pixel", [&] {
        GdiRegion region = BitmapToRegion(noisy, 0, 0, kSkinKey, 1, 1, 1);
    });
    return 0;
}

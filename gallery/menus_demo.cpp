#include "menus_demo.h"

#include <cstdlib>
#include <string>

namespace gallery {
namespace {

constexpr std::uint32_t kClear = 0xFF00FF;  // fuchsia stays transparent
constexpr std::uint32_t kInk = 0x604020, kPaper = 0xFFFFFF, kFolder = 0x40B0E8;

void Box(TBitmap& b, int x0, int y0, int x1, int y1, std::uint32_t fill, std::uint32_t edge) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            b.SetPixel(x, y, (x == x0 || x == x1 || y == y0 || y == y1) ? edge : fill);
}

TBitmap Strip() {
    TBitmap b(48, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x) b.SetPixel(x, y, kClear);
    // A page with three lines.
    Box(b, 3, 1, 12, 14, kPaper, kInk);
    for (int y : {4, 7, 10})
        for (int x = 5; x <= 10; ++x) b.SetPixel(x, y, kInk);
    // A folder.
    Box(b, 16 + 1, 3, 16 + 6, 5, kFolder, kInk);
    Box(b, 16 + 1, 5, 16 + 14, 13, kFolder, kInk);
    // A line wrapping back to the left.
    for (int x = 33; x <= 44; ++x) b.SetPixel(x, 4, kInk);
    for (int y = 4; y <= 10; ++y) b.SetPixel(44, y, kInk);
    for (int x = 36; x <= 44; ++x) b.SetPixel(x, 10, kInk);
    for (int d = 1; d <= 3; ++d) {
        b.SetPixel(36 + d, 10 - d, kInk);
        b.SetPixel(36 + d, 10 + d, kInk);
    }
    return b;
}

}  // namespace

TImageList* MenuGlyphs(TComponent* owner) {
    auto* list = new TImageList(owner);
    list->AddMasked(Strip(), kClear);
    return list;
}

TMenuItem* NewItem(TComponent* owner, const char* caption, TShortCut shortCut, int image) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->SetImageIndex(image);
    return item;
}

namespace {
// One demonstration per run.
std::string g_demo;
POINT g_point;
HWND g_target = nullptr;

void CALLBACK DemoTick(HWND w, UINT, UINT_PTR id, DWORD) {
    KillTimer(w, id);
    if (g_demo == "menu") {
        PostMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    } else if (g_demo == "sysmenu") {
        RECT r{};
        GetWindowRect(w, &r);
        PostMessageW(w, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 12));
    } else if (g_demo == "context") {
        POINT p = g_point;
        ClientToScreen(w, &p);
        PostMessageW(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w), MAKELPARAM(p.x, p.y));
    } else if (g_demo == "control" && g_target) {
        RECT r{};
        GetWindowRect(g_target, &r);
        PostMessageW(g_target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(g_target), MAKELPARAM(r.left + 30, r.top + 20));
    }
}
}  // namespace

void DemoMenuLater(TForm* form, POINT contextPoint, HWND control) {
    const char* demo = std::getenv("SRT_GALLERY_DEMO");
    if (!demo) return;
    g_demo = demo;
    g_point = contextPoint;
    g_target = control;
    SetTimer(form->Handle(), 0x5EED, 1000, DemoTick);
}

}  // namespace gallery

#include "guicount.h"

namespace soak {
namespace {

// Wine keeps a handle's table slot in its low word and accepts the slot
// alone as the handle, for GDI and USER objects alike.
constexpr UINT_PTR kGdiSlots = 0x10000;
constexpr UINT_PTR kFirstUserHandle = 0x20, kUserSlots = 0x7FF8;

void CountGdiSlots(TGuiCounts& c) {
    c.gdi = c.windowDCs = 0;
    for (UINT_PTR slot = 1; slot < kGdiSlots; ++slot) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
        if (type == OBJ_DC)
            ++c.windowDCs;
        else if (type)
            ++c.gdi;
    }
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// Windows of this thread (the tests are single-threaded), then menus,
// icons and cursors by slot. GetCursorFrameInfo reads an icon or cursor
// without making anything.
void CountUserObjects(TGuiCounts& c) {
    long n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&n));
    c.windows = n;
    c.menus = c.icons = 0;
    using TFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    static const auto frameInfo = reinterpret_cast<TFrameInfo>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetCursorFrameInfo")));
    for (UINT_PTR slot = 0; slot < kUserSlots; ++slot) {
        const auto handle = reinterpret_cast<HANDLE>(kFirstUserHandle + 2 * slot);
        if (IsMenu(static_cast<HMENU>(handle))) {
            ++c.menus;
            continue;
        }
        DWORD rate = 0, steps = 0;
        if (frameInfo && frameInfo(static_cast<HCURSOR>(handle), 0, 0, &rate, &steps)) ++c.icons;
    }
    c.user = c.windows + c.menus + c.icons;
}

}  // namespace

TGuiCounts GuiCounts() {
    GdiFlush();
    HANDLE self = GetCurrentProcess();
    TGuiCounts c{static_cast<long>(GetGuiResources(self, GR_USEROBJECTS)),
                 static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS))};
    if (c.user == 0) CountUserObjects(c);
    if (c.gdi == 0) CountGdiSlots(c);
    return c;
}

std::string ToString(const TGuiCounts& c) {
    std::string s = "USER " + std::to_string(c.user);
    if (c.windows >= 0)
        s += " (" + std::to_string(c.windows) + " windows, " + std::to_string(c.menus) + " menus, " +
             std::to_string(c.icons) + " icons)";
    s += ", GDI " + std::to_string(c.gdi);
    if (c.windowDCs >= 0) s += " and " + std::to_string(c.windowDCs) + " window DCs";
    return s;
}

}  // namespace soak

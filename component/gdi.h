// Owners for GDI objects and device contexts, and guards that put a DC's
// selections back. Win32 only; header-only.
//
// Order of declaration matters: declare the object first and the guard that
// selects it after, so the guard restores the DC before the object is deleted.
//
//     MemoryDC dc(target);
//     GdiBitmap bitmap(CreateCompatibleBitmap(target, w, h));
//     GdiSelect select(dc.Get(), bitmap.Get());
//     ... draw on dc ...
#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object (bitmap, region, brush, pen, font) and deletes it.
// Never let an owner go while its object is still selected into a DC.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) noexcept : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    // Gives the object up without deleting it (for SetWindowRgn and the like).
    [[nodiscard]] Handle Release() noexcept { return std::exchange(handle_, nullptr); }

    // Deletes the current object and takes `handle`.
    void Reset(Handle handle = nullptr) noexcept {
        if (handle_ && handle_ != handle) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using GdiBitmap = GdiObject<HBITMAP>;
using GdiRegion = GdiObject<HRGN>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiPen = GdiObject<HPEN>;
using GdiFont = GdiObject<HFONT>;

// Selects a bitmap, brush, pen or font into a DC and selects the previous
// object back on destruction. Regions are not selected but copied
// (SelectClipRgn), so they are refused here.
class GdiSelect {
public:
    GdiSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc) {
        if (dc_ && object) {
            HGDIOBJ previous = SelectObject(dc_, object);
            if (previous && previous != HGDI_ERROR) previous_ = previous;
        }
    }
    template <class Handle>
    GdiSelect(HDC dc, const GdiObject<Handle>& object) noexcept : GdiSelect(dc, object.Get()) {}
    GdiSelect(HDC, HRGN) = delete;
    GdiSelect(HDC, const GdiRegion&) = delete;
    ~GdiSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    GdiSelect(const GdiSelect&) = delete;
    GdiSelect& operator=(const GdiSelect&) = delete;

    // False when nothing was selected (no DC, no object, or SelectObject failed).
    bool Selected() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// Saves the whole state of a DC (selections, colours, modes, clipping,
// origins) and restores it on destruction.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : dc_(dc), level_(dc ? SaveDC(dc) : 0) {}
    ~SavedDC() {
        if (level_ > 0) RestoreDC(dc_, level_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int level_;
};

// A memory DC compatible with `reference` (the screen when null), deleted on
// destruction. Whatever is selected into it must be selected out first
// (use GdiSelect).
class MemoryDC {
public:
    explicit MemoryDC(HDC reference = nullptr) noexcept : dc_(CreateCompatibleDC(reference)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    MemoryDC(MemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept {
        if (this != &other) {
            if (dc_) DeleteDC(dc_);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A DC of a window, released with ReleaseDC: the whole window including the
// non-client area (GetWindowDC), or any GetDCEx combination. With
// DCX_INTERSECTRGN or DCX_EXCLUDERGN the system takes ownership of `clip`
// when the call succeeds: pass a region given up with GdiRegion::Release().
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetWindowDC(window)) {}
    WindowDC(HWND window, HRGN clip, DWORD flags) noexcept : window_(window), dc_(GetDCEx(window, clip, flags)) {}
    ~WindowDC() { Free(); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& other) noexcept {
        if (this != &other) {
            Free();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

protected:
    struct FromClient {};
    WindowDC(HWND window, FromClient) noexcept : window_(window), dc_(GetDC(window)) {}

private:
    void Free() noexcept {
        if (dc_) ReleaseDC(window_, dc_);
        dc_ = nullptr;
    }

    HWND window_;
    HDC dc_;
};

// The client-area DC of a window (GetDC), released with ReleaseDC.
class ClientDC : public WindowDC {
public:
    explicit ClientDC(HWND window) noexcept : WindowDC(window, FromClient{}) {}
};

// BeginPaint on construction, EndPaint on destruction. For WM_PAINT only.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() {
        if (dc_) EndPaint(window_, &paint_);
    }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    const PAINTSTRUCT& Paint() const noexcept { return paint_; }
    const RECT& Rect() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

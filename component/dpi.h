// Dots per inch: the 96 at which forms and skins are designed, scaling to
// another DPI, and (on Windows) the DPI of a window or of the system, read
// through functions newer than the oldest supported Windows, looked up at
// run time: where they are missing every window has the system DPI.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace srt {

constexpr int kDesignDpi = 96;

// `value` (pixels at 96 DPI) at `dpi`, rounded half away from zero.
constexpr int ScaleToDpi(int value, int dpi) {
    const long long n = static_cast<long long>(value) * dpi;
    return static_cast<int>(n >= 0 ? (n + kDesignDpi / 2) / kDesignDpi : -((-n + kDesignDpi / 2) / kDesignDpi));
}

// `value` at `from` DPI, at `to` DPI.
constexpr int RescaleDpi(int value, int from, int to) {
    if (from <= 0 || from == to) return value;
    const long long n = static_cast<long long>(value) * to;
    return static_cast<int>(n >= 0 ? (n + from / 2) / from : -((-n + from / 2) / from));
}

#ifdef _WIN32
// The DPI of the screen as the process sees it (LOGPIXELSY of the screen).
int SystemDpi();
// The DPI of `window`: GetDpiForWindow where the platform has it, else the
// system DPI. A null window has the system DPI.
int WindowDpi(HWND window);
// GetSystemMetricsForDpi where present, else GetSystemMetrics scaled from
// the system DPI to `dpi`.
int SystemMetricForDpi(int index, int dpi);
#endif

}  // namespace srt

// A rectangle in a window's non-client coordinates, shared by the frame
// geometry, the caption buttons and the menu bar. Platform-free.
#pragma once

namespace srt {

struct TSkinRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool Contains(int x, int y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    constexpr TSkinRect Offset(int dx, int dy) const {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    constexpr bool operator==(const TSkinRect&) const = default;
};

}  // namespace srt

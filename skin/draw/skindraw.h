// The skin drawing routines: compose skin images off screen (nine-piece
// frames, three-piece strips, single frames), draw them colour-keyed, and cut
// window regions from bitmaps. Stateless; GUI thread only.
//
// A skin image holds N equal frames, side by side (frame width IW div N) or
// stacked (frame height IH div N); frames are numbered from 1 and pixels
// left over by the division are never drawn (TFrameIndex). Margins are the
// fixed border pieces of a frame in image pixels (TMargins). Transparency is
// always by the key colour fuchsia (kSkinKey).
//
// Every off-screen bitmap is a 32-bit DIB section (TBitmap), so the key
// colour survives composition exactly. The image arguments are drawn through
// their canvas (TBitmap::Canvas), which they create on first use and own.
//
// Left open by the rules and decided here: a frame count below 1 or a frame
// index outside 1..N draws nothing (CreateSkinBitmap then returns a blank
// bitmap of the target size); a strip whose frame is not wider than its two
// caps draws its two caps only; an empty image draws nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include <windows.h>

#include "component/gdi.h"
#include "component/graphics.h"

namespace srt {

// Fuchsia as a colour value (0x00BBGGRR).
inline constexpr std::uint32_t kSkinKey = 0x00FF00FF;

constexpr std::int32_t IntMax(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
constexpr std::int32_t IntMin(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

// Which frame of a multi-frame image: `count` equal frames laid side by side
// or stacked, `index` from 1.
enum class TFrameLayout { SideBySide, Stacked };
struct TFrameIndex {
    std::int32_t count = 1;
    std::int32_t index = 1;
    TFrameLayout layout = TFrameLayout::SideBySide;
};

// The fixed border pieces of a frame, in image pixels.
struct TMargins {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The two caps of a three-piece strip, in image pixels.
struct TStripCaps {
    std::int32_t left = 0;
    std::int32_t right = 0;
};

// How the centre of a nine-piece frame fills its space.
enum class TFill { Stretch, Tile };

// Whether fuchsia pixels are left out (the target keeps what it had there).
enum class TKeying { Opaque, Keyed };

// A new bitmap of `target`'s size holding `frame` of `image` composed by the
// nine-piece rule: corners copied 1:1, edges stretched along their length,
// the centre tiled or stretched. Margins that do not fit are dropped
// pairwise (left + right > W drops both; top + bottom > H drops both).
::TBitmap CreateSkinBitmap(const RECT& target, ::TBitmap& image, TFrameIndex frame, TMargins margins, TFill centre);

// Repeats `source` of `image` at natural size over `dest` of `dc`, columns
// left to right, each column top to bottom. The last tiles are not clipped
// to `dest`: they may run past its right and bottom.
void TileBitmap(HDC dc, const RECT& dest, ::TBitmap& image, const RECT& source);

// CreateSkinBitmap at `target`, then onto `dc` keyed or opaque.
void DrawSkinImage(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TMargins margins, TFill centre,
                   TKeying keying);

// The eight border pieces of the nine-piece rule straight onto `dc`; the
// centre of `target` keeps what it had. Sets `dc`'s stretch mode to
// COLORONCOLOR and leaves it so.
void DrawSkinBorder(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TMargins margins);

// A three-piece horizontal strip: left cap, the middle repeated at its own
// width, right cap; every piece stretched to the target height.
void DrawSkinStrip(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TStripCaps caps,
                   TKeying keying);

// `frame` stretched over `target`, composed at the DC's default stretch mode.
void DrawSkinFrame(HDC dc, const RECT& target, ::TBitmap& image, TFrameIndex frame, TKeying keying);

// How DrawTransparent reaches the target: one MaskBlt (the NT family), or
// three BitBlt calls through the mask (everything else). Both give the same
// pixels.
enum class TTransparentMethod { tmMaskBlt, tmThreeBlt };

// The method of the platform that runs the program (GetVersion).
TTransparentMethod PlatformTransparentMethod();

// Draws `bitmap` from (0, 0) at `target` except its pixels of `key`, where
// the target keeps what it had. Draws at most the bitmap's own size.
void DrawTransparent(HDC dc, const RECT& target, ::TBitmap& bitmap, std::uint32_t key);
void DrawTransparent(HDC dc, const RECT& target, ::TBitmap& bitmap, std::uint32_t key,
                     TTransparentMethod method);

// A region of the pixels of `bitmap` that are not transparent, moved by
// (dx, dy). A pixel is transparent when each channel lies between the key's
// and the key's plus the tolerance (capped at 255): the window lies above
// the key only.
GdiRegion BitmapToRegion(const ::TBitmap& bitmap, int dx, int dy, std::uint32_t key, int redTolerance,
                         int greenTolerance, int blueTolerance);

// The module's shared off-screen bitmap (its canvas stretches COLORONCOLOR),
// resized and drawn on by the menu bar and the control skins. Lives until
// program end.
::TBitmap& ScratchBitmap();

}  // namespace srt

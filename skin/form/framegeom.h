// Geometry of a skinned window frame: border kind, frame widths, the client
// rectangle inside them, the border parts, the caption text placement and
// the width a message dialog needs. Platform-free; the form skin reads the
// window, calls these and paints what they return.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "skin/data/records.h"
#include "skin/ncarea/skinrect.h"

namespace srt {

// Window style bits the frame rules read (the platform's values; the
// Win32 files use the platform's names and check that they agree).
namespace ws {
constexpr std::uint32_t Popup = 0x80000000u, Child = 0x40000000u, Caption = 0x00C00000u,
                        Border = 0x00800000u, SysMenu = 0x00080000u, ThickFrame = 0x00040000u,
                        MinimizeBox = 0x00020000u, MaximizeBox = 0x00010000u,
                        HScroll = 0x00100000u, VScroll = 0x00200000u;
constexpr std::uint32_t CaptionButtons = SysMenu | MinimizeBox | MaximizeBox;  // 0xB0000
constexpr std::uint32_t ExWindowEdge = 0x100, ExLeftScrollBar = 0x4000, ExMdiChild = 0x40;
}  // namespace ws

// System commands the caption-button rules name (the platform's values).
namespace sc {
constexpr unsigned Minimize = 0xF020, Maximize = 0xF030, Close = 0xF060, Restore = 0xF120;
}  // namespace sc

// Caption-button styles the window had at start (FBorderIcons).
constexpr std::uint8_t biSystemMenu = 8, biMinimize = 2, biMaximize = 1;

enum TShowState : std::uint8_t { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };

// Border kinds: the skinned frame; the skinned frame without the close
// button the full frame has (thin); no skinned frame (a popup without
// caption).
constexpr std::uint8_t bkFrame = 0, bkNoFrame = 2, bkThin = 3;
std::uint8_t BorderKindFor(std::uint32_t style, std::uint32_t exStyle);
std::uint8_t BorderIconsFor(std::uint32_t style, bool hasSystemMenu);

struct TFrameMetrics {
    int BorderLeft = 0, TitleHeight = 0, BorderRight = 0, BorderBottom = 0;
    constexpr bool operator==(const TFrameMetrics&) const = default;
};

// Widths from the edge images: left and right hold their frames side by
// side, top and bottom stacked. All zero for bkNoFrame.
TFrameMetrics ComputeFrameMetrics(const TSkinElements& skin, std::uint8_t borderKind);

// The client rectangle of a window at `window` (screen or parent
// coordinates) inside the skinned frame and a menu bar of menuHeight.
TSkinRect SkinnedClientRect(const TFrameMetrics& m, int menuHeight, const TSkinRect& window);

// Border parts, index 0 left, 1 right, 2 top, 3 bottom, in window
// coordinates of a W x H window. The top part spans between the side parts.
std::array<TSkinRect, 4> BorderPartRects(const TFrameMetrics& m, int width, int height);

// The frame's layout in window coordinates of a W x H window: what painting
// and hit testing both read. FrameGeometryFor fills the geometry; the form
// skin adds the caption text, the icon and where the right-hand buttons
// begin, which need the measured caption and the caption buttons.
struct TFrameGeometry {
    int Width = 0, Height = 0;
    TFrameMetrics Metrics;
    std::array<TSkinRect, 4> Edges{};  // as BorderPartRects
    TSkinRect Title;                   // the top edge: caption text and buttons
    TSkinRect Caption;                 // dragging the window: the title rows below the sizing band
    TSkinRect MenuBar;                 // empty without a menu bar
    TSkinRect Client;
    TSkinRect Text;                    // the caption text rectangle T
    TSkinRect Icon;                    // the icon button; empty without one
    int ButtonsRight = 0;              // see TCaptionButtons::Layout
    constexpr bool operator==(const TFrameGeometry&) const = default;
};
TFrameGeometry FrameGeometryFor(const TFrameMetrics& m, int menuHeight, bool hasMenuBar, int width,
                                int height);

// The frame of an edge element to paint: 1 when active or single-framed, else 2.
int BorderFrame(const TDataSkinObject& edge, bool active);

// The top rows of the title bar, left to the window's sizing.
constexpr int kTitleSizingBand = 4;

// Hit-test codes (the platform's values).
constexpr int htNowhere = 0, htCaption = 2, htSysMenu = 3, htMenu = 5, htMinButton = 8, htMaxButton = 9,
              htClose = 20, htHelp = 21;
// Whether `code` names a caption button (the icon included).
constexpr bool IsCaptionButtonCode(int code) {
    return code == htSysMenu || code == htMinButton || code == htMaxButton || code == htClose || code == htHelp;
}

// The hit-test answer at a point of the frame (window coordinates) given
// what the previous window procedure answered and the code of the caption
// button painted there (htNowhere for none, or for a button the platform
// has no code for): that button's code wins over the sizing borders;
// elsewhere, where the procedure found nothing, the menu bar and the caption
// of the layout; anywhere else its own answer.
int FrameHitTest(int defaultResult, const TFrameGeometry& layout, int buttonCode, int x, int y);

// Caption text placement inside the title rectangle R.
struct TCaptionLayoutInput {
    TSkinRect title;             // R
    int textWidth = 0;           // measured width of caption + " " + pad
    int textHeight = 0;
    bool rightToLeft = false;
    bool popup = false;          // WS_POPUP window
    int buttonsRight = 0;        // where the right-anchored buttons begin (0: none)
    int buttonsLeft = 0;         // where the left-anchored buttons end (0: none)
    int dpi = 96;                // scales the gap a popup's text keeps to its buttons
};
// The text rectangle T (stored as FTextRect); the text background strip is
// drawn across it and the text into it narrowed by TXTBackleft/TXTBackRight.
// T never reaches into the right-anchored buttons; text aligned by its
// width (right to left, right-aligned, centred) ends before them and,
// when too long, starts after the left-anchored ones (it is then cut with
// an ellipsis).
TSkinRect LayoutCaptionText(const TDataSkinTitle& title, const TCaptionLayoutInput& in);

// Width a message dialog needs for its caption of textLength characters.
int DialogCaptionWidth(const TFrameMetrics& m, const TDataSkinTitle& title, int spaceWidth,
                       int textLength);
// Dialog classes that are widened to fit their caption.
bool IsMessageDialogClass(std::string_view className);

}  // namespace srt

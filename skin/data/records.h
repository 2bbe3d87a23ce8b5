// The element records of a loaded skin, its colours and the slots through
// which painters reach them. Filled by ReadSkinDefinition (definition.h);
// owned by the skin data component. Platform-free.
//
// Frames: a record's Image holds FrameCount equal frames side by side
// (w = width div FrameCount, frame k from 1 is x = (k-1)w .. kw, full
// height) unless its consumer reads them stacked. A record with an empty
// Image means the platform's own look stays for that element.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "component/graphics.h"

namespace srt {

// 0x00BBGGRR: an RGB colour, red in the low byte; 0xFF000000 + n: system
// colour n; 0x1FFFFFFF: no colour.
using TColour = std::uint32_t;
constexpr TColour kNoColour = 0x1FFFFFFF;
constexpr TColour SysColour(int n) { return 0xFF000000u + static_cast<std::uint32_t>(n); }
constexpr TColour RGBColour(int r, int g, int b) {
    return static_cast<TColour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    std::int32_t LeftWidth = 0;     // fixed left edge of a frame, pixels
    std::int32_t TopHeight = 0;     // fixed top edge
    std::int32_t RightWidth = 0;    // fixed right edge
    std::int32_t BottomHeight = 0;  // fixed bottom edge
    TBitmap Image;                  // the element's frames; empty when the skin gives none
    std::int32_t Trans = 0;         // 1: leave the key colour (fuchsia) out; 0: opaque
    std::int32_t Tile = 0;          // 1: repeat the centre; 0: stretch. Edges: stretch flag
    std::string Name;               // normally the section the record was read from
    std::int32_t FrameCount = 0;
    std::int32_t Style = 0;
    // Numbers from "NormalColour", "MouseOverColour", "PressedColour"; -1 when
    // absent. Read only for Buttons, general and second-image sections.
    std::int32_t NormalColour = 0;
    std::int32_t MouseOverColour = 0;
    std::int32_t PressedColour = 0;
    // Text colours of the normal, hot and pressed states.
    TColour NormalColour2 = 0;
    TColour MouseOverColour2 = 0;
    TColour PressedColour2 = 0;
};

// Image2: the tab sheet border (Tabs), the mirrored button (ComboButton), the
// arrow glyphs (UpDown), the progress chunk (Progress).
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap Image2;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckButton;                // check box frames
    TBitmap RadioButton;                // radio button frames
    std::int32_t RadioButtonFrame = 0;  // frames in RadioButton
    std::int32_t CheckButtonFrame = 0;  // frames in CheckButton
};

// The margins carry the caption text placement: LeftWidth its left shift,
// TopHeight its vertical shift, RightWidth the right clip; BottomHeight 0.
// Image is the caption text background.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t TextAlignment = 0;
    std::int32_t Textbackground = 0;
    std::int32_t FontHeight = 0;
    std::int32_t TXTBackleft = 0;   // left margin of the text background
    std::int32_t TXTBackRight = 0;  // right margin of the text background
    TColour ActiveText = kNoColour;
    TColour InActiveText = kNoColour;
};

// A caption button. The three added for a maximised MDI child have Align,
// Visibility and Visibility1 100 and Action 7, 8, 9.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t Action = 0;
    std::int32_t Align = 0;  // anchor code
    std::int32_t Xcoord = 0;
    std::int32_t Ycoord = 0;
    std::int32_t CombineOp = -1;
    std::int32_t Visibility = 0;
    std::int32_t Visibility1 = 0;
};

constexpr std::int32_t kMdiButtonMark = 100;

// Colours of section "Colours"; 0 until a definition has been read.
struct TSkinColours {
    TColour WindowText = 0;
    TColour TitleTextActive = 0;
    TColour TitleTextNoActive = 0;
    TColour ButtonFace = 0;
    TColour ButtonText = 0;
    TColour ButtonHilight = 0;
    TColour Buttonlight = 0;
    TColour ButtonShadow = 0;
    TColour ButtonDkShadow = 0;
    TColour HilightText = 0;
    TColour Hilight = 0;
    TColour Menubar = 0;
    TColour MenuBarText = 0;
    TColour MenuText = 0;
    TColour Menu = 0;
    TColour Scrollbar = 0;
    // Content colours, each optional (kNoColour when the definition leaves
    // it out; the platform's or the form's own colour then stays).
    TColour Client = kNoColour;           // client areas, static text and button surroundings
    TColour ClientText = kNoColour;       // text on Client
    TColour Edit = kNoColour;             // edits, memos, lists
    TColour EditText = kNoColour;         // text on Edit
    TColour EditHilight = kNoColour;      // selected items in lists
    TColour EditHilightText = kNoColour;  // text on EditHilight
    TColour DisabledText = kNoColour;     // disabled text on Client or Edit
    TColour LabelText = kNoColour;        // labels whose own colour is too faint on Client
    TColour HotText = kNoColour;          // hot items and links
};

inline bool HasColour(TColour c) { return c != kNoColour; }

// Every record of a skin. Left, Right, Top, Bottom, Title and Buttons always
// exist; every other slot is null until a loaded definition names its image.
class TSkinElements {
public:
    TSkinElements();
    TSkinElements(const TSkinElements&) = delete;
    TSkinElements& operator=(const TSkinElements&) = delete;

    std::unique_ptr<TDataSkinBorder> Left, Right, Top, Bottom;
    std::unique_ptr<TDataSkinTitle> Title;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbars;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll, VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb, VertScrollThumb;
    struct {
        std::unique_ptr<TDataSkinObject> ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp, ThumbDown;
    } Trackbar;
    struct {
        std::unique_ptr<TDataSkinBorder> Horz, Vert;
    } UpDown;
    // The caption-button sections in file order, then the three MDI records.
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

    TSkinColours Colours;
    std::vector<TColour> ColourList;  // one per numbered colour section
    std::string SkinName;
    // The DPI the records are drawn for: 96 as read, another in a scaled set;
    // painters scale their own fixed sizes by it.
    int Dpi = 96;

    // The record of the slot named as its definition section ("Scrollbar",
    // "Trackbar.ThumbUp", "UpDown.Horz", "Left", "Title", ...; case-sensitive),
    // or null when the slot is empty or there is no such slot.
    TDataSkinObject* Slot(std::string_view name) const;
    // The names Slot() knows, edges first, in reading order.
    static const std::vector<std::string_view>& SlotNames();
};

}  // namespace srt

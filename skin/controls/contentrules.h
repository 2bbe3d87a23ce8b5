// Which of a skin's text colours a control skin draws with, where the
// skin's content colours meet the colours of its images. Platform-free:
// every colour here is a resolved RGB value (0x00BBGGRR), never a system
// colour, and kNoColour stands for a key the skin leaves out.
#pragma once

#include <cstdint>

#include "skin/data/contrast.h"
#include "skin/data/records.h"

namespace srt {

// The caption of a tab on `face` (its image's middle): the element's own
// colour, or the skin's ClientText where that stands out more on the face.
// Without ClientText the element's colour stays.
inline std::uint32_t TabCaptionColour(std::uint32_t face, std::uint32_t own, TColour clientText) {
    if (!HasColour(clientText)) return own;
    const auto text = static_cast<std::uint32_t>(clientText);
    return ContrastRatio(text, face) > ContrastRatio(own, face) ? text : own;
}

// The colours of one item of a list, tree or list view.
struct TItemColours {
    TColour back = kNoColour, text = kNoColour;  // kNoColour: the control's own
};

// A selected item shows EditHilight and EditHilightText, a hot one HotText
// on the field; a skin without those keys leaves the item to the control.
// Both colours of a selection or neither: half of one could be unreadable.
inline TItemColours ItemColours(const TSkinColours& c, bool selected, bool hot) {
    if (selected && HasColour(c.EditHilight) && HasColour(c.EditHilightText)) return {c.EditHilight, c.EditHilightText};
    if (hot && !selected && HasColour(c.HotText) && HasColour(c.Edit)) return {c.Edit, c.HotText};
    return {};
}

// Text a control drew in `fromInk` on `fromBack` shown in `toInk` on
// `toBack`: a pixel on the way between the two colours (the smoothed edge
// of a glyph) keeps its place on that way, any other pixel stays as it is.
// Channels in any one order, the same for all five values.
inline std::uint32_t Recoloured(std::uint32_t pixel, std::uint32_t fromBack, std::uint32_t fromInk,
                                std::uint32_t toBack, std::uint32_t toInk) {
    auto at = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    // The pixel's place between the colours, in 1/256 steps, from the
    // channel that differs most between them.
    int shift = 0, span = 0;
    for (int s : {0, 8, 16})
        if (const int d = at(fromInk, s) - at(fromBack, s); d * d > span * span) shift = s, span = d;
    if (span == 0) return pixel;
    const int t = ((at(pixel, shift) - at(fromBack, shift)) * 256) / span;
    if (t < 0 || t > 256) return pixel;
    std::uint32_t out = 0;
    for (int s : {0, 8, 16}) {
        const int expected = at(fromBack, s) + (at(fromInk, s) - at(fromBack, s)) * t / 256;
        const int off = at(pixel, s) - expected;
        if (off < -12 || off > 12) return pixel;  // another colour: not the text's
        out |= static_cast<std::uint32_t>(at(toBack, s) + (at(toInk, s) - at(toBack, s)) * t / 256) << s;
    }
    return out;
}

}  // namespace srt

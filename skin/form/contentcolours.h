// The content colours of a skin on a form's component controls, which
// answer their colour questions themselves (from Font.Color and Color):
//   - a control in the platform's text colour takes the skin's ClientText,
//     or EditText in an edit, memo or combo box, whose platform background
//     (clWindow) becomes the skin's Edit;
//   - list views and rich edits, which ask nobody, are told the skin's
//     Edit and EditText by their own messages;
//   - a label the form gave a colour of its own keeps it unless it falls
//     below 4.5:1 against the skin's background; then LabelText wins.
// Controls excluded by their Tag keep their look. Restore gives every
// control still on the form what it had.
#pragma once

#include <cstdint>
#include <vector>

#include "component/graphics.h"

class TControl;
class TCustomForm;
class TSkinData;
class TWinControl;

namespace srt {

class TContentColours {
public:
    void Apply(TCustomForm& form, const TSkinData& data);
    void Restore(TCustomForm& form);

private:
    struct TOwn {
        TControl* control;
        TColor font, colour;
        bool parentFont, parentColor;
        bool fontChanged = false, colourChanged = false;  // by us: only those go back
        bool told = false;                                 // a list view or rich edit told our colours
        std::uint32_t back = 0, text = 0, textBack = 0;    // a list view's own
    };
    // Controls are found on the form again before use: one freed meanwhile
    // is never touched.
    std::vector<TOwn> FOwn;
    TOwn& Remember(TControl& c);
    TOwn* Find(const TControl* c);
    void ApplyTo(TWinControl& parent, const TSkinData& data, std::uint32_t background);
    void RestoreIn(TWinControl& parent);
    static void Tell(TWinControl& control, TOwn& own, const TSkinData& data);
    static void Untell(TWinControl& control, const TOwn& own);
};

// The text colour a label shows on `background` (RGB) under a skin's
// `clientText` and `labelText` (kNoColour when absent); `ownColour` false:
// the label is in the platform's text colour.
TColor SkinnedLabelColour(TColor colour, bool ownColour, std::uint32_t background, std::uint32_t clientText,
                          std::uint32_t labelText);

}  // namespace srt

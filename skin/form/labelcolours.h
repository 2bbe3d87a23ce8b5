// The text colours of a form's labels under a skin with content colours. A
// label in the platform's text colour takes the skin's ClientText; a label
// the form gave a colour of its own keeps it unless it falls below 4.5:1
// against the skin's background, when the skin's LabelText wins. Restore
// gives every label still on the form its own colour back.
#pragma once

#include <utility>
#include <vector>

#include "component/graphics.h"

class TCustomForm;
class TLabel;
class TSkinData;

namespace srt {

class TLabelColours {
public:
    void Apply(TCustomForm& form, const TSkinData& data);
    void Restore(TCustomForm& form);

private:
    struct TOwn {
        TLabel* label;
        TColor colour;
        bool parentFont;
    };
    // Labels are looked up on the form before use: one freed meanwhile is
    // never touched.
    std::vector<TOwn> FOwn;
    const TOwn* Find(const TLabel* label) const;
};

// The colour a label with its own `colour` shows on `background` (both RGB)
// under a skin's `clientText` and `labelText` (kNoColour when absent).
// `ownColour` false: the label has the platform's text colour.
TColor SkinnedLabelColour(TColor colour, bool ownColour, std::uint32_t background, std::uint32_t clientText,
                          std::uint32_t labelText);

}  // namespace srt

#include "skin/form/labelcolours.h"

#include <algorithm>

#include "component/forms.h"
#include "component/stdctrls.h"
#include "skin/data/contrast.h"
#include "skin/data/skindata.h"

namespace srt {

namespace {

bool IsSystemColour(TColor c) { return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }

}  // namespace

TColor SkinnedLabelColour(TColor colour, bool ownColour, std::uint32_t background, std::uint32_t clientText,
                          std::uint32_t labelText) {
    if (!ownColour) {
        if (HasColour(clientText)) return static_cast<TColor>(clientText);
        if (HasColour(labelText)) return static_cast<TColor>(labelText);
        return colour;
    }
    if (HasColour(labelText) && ContrastRatio(ColorToRGB(colour), background) < kOwnColourContrast)
        return static_cast<TColor>(labelText);
    return colour;
}

const TLabelColours::TOwn* TLabelColours::Find(const TLabel* label) const {
    const auto it = std::find_if(FOwn.begin(), FOwn.end(), [&](const TOwn& o) { return o.label == label; });
    return it == FOwn.end() ? nullptr : &*it;
}

void TLabelColours::Apply(TCustomForm& form, const TSkinData& data) {
    const TSkinColours& c = data.Colours;
    if (!HasColour(c.ClientText) && !HasColour(c.LabelText)) {
        Restore(form);
        return;
    }
    const std::uint32_t background = ColorToRGB(static_cast<TColor>(HasColour(c.Client) ? c.Client : c.ButtonFace));
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* label = dyncast<TLabel>(form.Components(i));
        if (!label) continue;
        if (!Find(label)) FOwn.push_back({label, label->Font()->Color(), label->ParentFont()});
        const TOwn& own = *Find(label);
        const bool ownColour = !own.parentFont && !IsSystemColour(own.colour);
        const TColor shown = SkinnedLabelColour(own.colour, ownColour, background, c.ClientText, c.LabelText);
        if (shown != label->Font()->Color()) label->Font()->SetColor(shown);
    }
}

void TLabelColours::Restore(TCustomForm& form) {
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* label = dyncast<TLabel>(form.Components(i));
        const TOwn* own = label ? Find(label) : nullptr;
        if (!own) continue;
        if (label->Font()->Color() != own->colour) label->Font()->SetColor(own->colour);
        if (label->ParentFont() != own->parentFont) label->SetParentFont(own->parentFont);
    }
    FOwn.clear();
}

}  // namespace srt

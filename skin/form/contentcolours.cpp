#include "skin/form/contentcolours.h"

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <utility>

#include "component/controls.h"
#include "component/forms.h"
#include "component/stdctrls.h"
#include "skin/controls/classify.h"
#include "skin/data/contrast.h"
#include "skin/data/skindata.h"

namespace srt {

namespace {

bool IsSystemColour(TColor c) { return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }

// Edits, memos and combo boxes, and controls whose Tag asks for an edit's look.
bool ShowsAField(const TControl& c) {
    return c.InheritsFrom("TCustomEdit") || c.InheritsFrom("TComboBox") || TagRule(c.Tag()) == 97;
}

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

TContentColours::TOwn* TContentColours::Find(const TControl* c) {
    const auto it = std::find_if(FOwn.begin(), FOwn.end(), [&](const TOwn& o) { return o.control == c; });
    return it == FOwn.end() ? nullptr : &*it;
}

TContentColours::TOwn& TContentColours::Remember(TControl& c) {
    if (TOwn* own = Find(&c)) return *own;
    FOwn.push_back({&c, c.Font()->Color(), c.Color(), c.ParentFont(), c.ParentColor()});
    return FOwn.back();
}

void TContentColours::Apply(TCustomForm& form, const TSkinData& data) {
    const TSkinColours& c = data.Colours;
    if (!HasColour(c.ClientText) && !HasColour(c.LabelText) && !HasColour(c.EditText) && !HasColour(c.Edit)) {
        Restore(form);
        return;
    }
    ApplyTo(form, data, ColorToRGB(static_cast<TColor>(HasColour(c.Client) ? c.Client : c.ButtonFace)));
}

void TContentColours::ApplyTo(TWinControl& parent, const TSkinData& data, std::uint32_t background) {
    const TSkinColours& c = data.Colours;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl& control = *parent.Controls(i);
        if (TagRule(control.Tag()) == data.DisableTag()) continue;
        TOwn& own = Remember(control);
        const bool platformText = own.parentFont || IsSystemColour(own.font);
        TColor font = own.font, colour = own.colour;
        if (control.InheritsFrom("TLabel")) {
            font = SkinnedLabelColour(own.font, !platformText, background, c.ClientText, c.LabelText);
        } else if (ShowsAField(control)) {
            if (platformText && HasColour(c.EditText)) font = static_cast<TColor>(c.EditText);
            if (IsSystemColour(own.colour) && HasColour(c.Edit)) colour = static_cast<TColor>(c.Edit);
        } else if (platformText && HasColour(c.ClientText)) {
            font = static_cast<TColor>(c.ClientText);
        }
        // A colour set back to the control's own is left alone: another
        // skin object may have changed it since.
        const bool fontWas = std::exchange(own.fontChanged, font != own.font);
        const bool colourWas = std::exchange(own.colourChanged, colour != own.colour);
        if ((own.fontChanged || fontWas) && font != control.Font()->Color()) control.Font()->SetColor(font);
        if ((own.colourChanged || colourWas) && colour != control.Color()) control.SetColor(colour);
        if (auto* inner = dyncast<TWinControl>(&control)) {
            Tell(*inner, own, data);
            ApplyTo(*inner, data, background);
        }
    }
}

void TContentColours::Tell(TWinControl& control, TOwn& own, const TSkinData& data) {
    const TSkinColours& c = data.Colours;
    const bool list = control.InheritsFrom("TListView"), rich = control.InheritsFrom("TRichEdit");
    if ((!list && !rich) || !control.HandleAllocated() || !HasColour(c.Edit) || !HasColour(c.EditText)) {
        if (own.told && control.HandleAllocated()) Untell(control, own);
        own.told = false;
        return;
    }
    const HWND h = control.Handle();
    const COLORREF back = ColorToRGB(static_cast<TColor>(c.Edit)), text = ColorToRGB(static_cast<TColor>(c.EditText));
    if (list) {
        if (!own.told) {
            own.back = static_cast<std::uint32_t>(SendMessageW(h, LVM_GETBKCOLOR, 0, 0));
            own.text = static_cast<std::uint32_t>(SendMessageW(h, LVM_GETTEXTCOLOR, 0, 0));
            own.textBack = static_cast<std::uint32_t>(SendMessageW(h, LVM_GETTEXTBKCOLOR, 0, 0));
        }
        SendMessageW(h, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageW(h, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageW(h, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
    } else {
        SendMessageW(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(back));
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        format.crTextColor = text;
        SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    }
    own.told = true;
    InvalidateRect(h, nullptr, TRUE);
}

void TContentColours::Untell(TWinControl& control, const TOwn& own) {
    const HWND h = control.Handle();
    if (control.InheritsFrom("TListView")) {
        SendMessageW(h, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(own.back));
        SendMessageW(h, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(own.textBack));
        SendMessageW(h, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(own.text));
    } else {
        SendMessageW(h, EM_SETBKGNDCOLOR, 1, 0);  // the platform's window colour again
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        format.dwEffects = CFE_AUTOCOLOR;
        SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    }
    InvalidateRect(h, nullptr, TRUE);
}

void TContentColours::Restore(TCustomForm& form) {
    RestoreIn(form);
    FOwn.clear();
}

void TContentColours::RestoreIn(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl& control = *parent.Controls(i);
        TOwn* own = Find(&control);
        if (own && own->told)
            if (auto* windowed = dyncast<TWinControl>(&control); windowed && windowed->HandleAllocated())
                Untell(*windowed, *own);
        if (own) {
            if (own->fontChanged) {
                control.Font()->SetColor(own->font);
                if (control.ParentFont() != own->parentFont) control.SetParentFont(own->parentFont);
            }
            if (own->colourChanged) {
                control.SetColor(own->colour);
                if (control.ParentColor() != own->parentColor) control.SetParentColor(own->parentColor);
            }
        }
        if (auto* inner = dyncast<TWinControl>(&control)) RestoreIn(*inner);
    }
}

}  // namespace srt

#include "skin/controls/classify.h"

#include <algorithm>

#include "skin/draw/enumprop.h"

namespace srt {

namespace {

constexpr std::uint32_t kWsHScroll = 0x00100000;
constexpr std::uint32_t kWsVScroll = 0x00200000;
constexpr std::uint32_t kDtsTimeFormat = 0x0009;

struct TKindRow {
    std::string_view name;
    TSkinKind kind;
    TSkinControlType required;
    bool changeColour;
    bool byHandle;
};

// The kinds a Skin3rd line may name.
constexpr TKindRow kKinds[] = {
    {"combobox", TSkinKind::ComboBox, xcCombo, false, false},
    {"edit", TSkinKind::Edit, xcEdit, false, true},
    {"radiobutton", TSkinKind::RadioButton, xcRadioButton, true, false},
    {"panel", TSkinKind::Box, xcPanel, true, false},
    {"trackbar", TSkinKind::TrackBar, xcButton, false, false},
    {"button", TSkinKind::Button, xcButton, false, false},
    {"tab", TSkinKind::Tab, xcTab, false, true},
    {"progress", TSkinKind::Progress, xcProgress, false, false},
    {"scrollbar", TSkinKind::ScrollBar, xcScrollbar, true, false},
    {"radiogroup", TSkinKind::Box, xcPanel, true, false},
    {"checkgroup", TSkinKind::Box, xcPanel, true, false},
    {"checkbox", TSkinKind::CheckBox, xcCheckBox, true, false},
};

bool SkinHasTab(TSkinData& data) { return data.Tabs && !data.Tabs->Image.Empty(); }

void SetBackgroundColour(TSkinData& data, TComponent* c) {
    try {
        const TPropInfo& p = GetPropInfo(*c, "Color");
        if (p.Kind == TTypeKind::Integer && p.SetOrd) p.SetOrd(*c, static_cast<std::int32_t>(data.Colours.ButtonFace));
    } catch (const EPropertyError&) {
    }
}

void SetParentColourOff(TComponent* c) {
    try {
        const TPropInfo& p = GetPropInfo(*c, "ParentColor");
        if (p.Kind == TTypeKind::Enumeration && p.SetOrd) p.SetOrd(*c, 0);
    } catch (const EPropertyError&) {
    }
}

bool IsWindowed(const TComponent* c) { return c->InheritsFrom("TWinControl"); }

// Left alone: excluded by its tag, or skinned already.
bool Skip(TClassifyTarget& t, TComponent* c) {
    if (TagRule(c->Tag()) == t.Data().DisableTag()) return true;
    const std::uintptr_t handle = IsWindowed(c) ? t.Handle(c) : 0;
    for (const TSkinEntry& e : t.Entries()) {
        if (e.control == c) return true;
        if (e.control) continue;
        if (IsWindowed(c) && handle == 0) {
            // A control without a window cannot be told from the raw windows
            // of the list; only preview forms are left alone then.
            const std::string name = t.FormName();
            return Lower(name).find("preview") != std::string::npos || name == "TQRStandardPreview" ||
                   name == "TppPrintPreview" || name == "TdxfmStdPreview";
        }
        if (e.handle == handle) return true;
    }
    return false;
}

bool IsScrollable(TClassifyTarget& t, TComponent* c) {
    if (IsWindowed(c) && (t.Style(c) & (kWsHScroll | kWsVScroll)) != 0) return true;
    return c->InheritsFrom("TMemo") || c->Tag() == 55;
}

bool IsTimePicker(TClassifyTarget& t, TComponent* c) {
    try {
        return SameText(GetEnumProp(*c, "Kind"), "dtkTime");
    } catch (const EPropertyError&) {
        return (t.Style(c) & kDtsTimeFormat) == kDtsTimeFormat;
    }
}

// The built-in rules by class and tag, first match wins.
void ApplyBuiltInRules(TClassifyTarget& t, TComponent* c, const std::string& n, std::int32_t tagRule) {
    TSkinData& d = t.Data();
    auto has = [&](TSkinControlType x) { return d.HasControl(x); };
    auto attach = [&](TSkinKind kind, bool colour, bool byHandle = false) { t.Attach(c, kind, colour, byHandle); };
    if (n == "TTABSET" && has(xcTab) && SkinHasTab(d)) return attach(TSkinKind::Tab31, false);
    if (n == "TTABBEDNOTEBOOK" && has(xcTab) && SkinHasTab(d)) return attach(TSkinKind::Tab, false, true);
    if (n == "TMVCPANEL") return ClassifyComponents(t, c);
    if (n == "TTRACKBAR" && has(xcButton)) return attach(TSkinKind::TrackBar, false);
    if (n == "TUPDOWN" && has(xcButton)) return attach(TSkinKind::UpDown, false);
    if (n == "TDBNAVIGATOR" && has(xcPanel)) {
        SetEnumProperty(c, "Flat", "True");
        return attach(TSkinKind::Box, true);
    }
    if (tagRule == 95 && has(xcCombo)) return attach(TSkinKind::ComboBox, false);
    if (n == "TDATETIMEPICKER" && has(xcEdit))
        return attach(IsTimePicker(t, c) ? TSkinKind::Edit : TSkinKind::ComboBox, false);
    if ((n == "TRICHEDIT" || n == "TWWDBRICHEDIT" || n == "TDXDBMEMO") && has(xcScrollbar))
        return attach(TSkinKind::ScrollBar, true);
    if ((n == "TDXTREELIST" || n == "TDXDBTREELIST" || n == "TDXDBGRID") && has(xcScrollbar))
        return attach(TSkinKind::ScrollBar, false);
    if (c->InheritsFrom("TCustomMemo") && has(xcScrollbar)) return attach(TSkinKind::ScrollBar, true);
    if ((tagRule == 96 || IsScrollable(t, c)) && has(xcScrollbar)) return attach(TSkinKind::ScrollBar, true);
    if (c->InheritsFrom("TButton") && has(xcButton)) return attach(TSkinKind::Button, false);
    if ((c->InheritsFrom("TCustomEdit") || tagRule == 97) && has(xcEdit)) return attach(TSkinKind::Edit, false, true);
    if (c->InheritsFrom("TCustomForm")) {
        SetBackgroundColour(d, c);
        ClassifyComponents(t, c);
    }
}

}  // namespace

std::optional<std::string> Skin3rdKind(const TStrings& lines, std::string_view upperName) {
    const std::string key = Lower(upperName) + "=";
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = Lower(lines.Get(i));
        if (line.compare(0, key.size(), key) != 0) continue;
        return line.substr(line.find('=') + 1, 50);
    }
    return std::nullopt;
}

bool MapSkin3rd(TClassifyTarget& t, std::string_view upperName, TComponent* control) {
    TSkinData& d = t.Data();
    const std::optional<std::string> found = Skin3rdKind(d.Skin3rdList(), upperName);
    if (!found) return false;
    const std::string& kind = *found;
    const auto row = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const TKindRow& r) { return r.name == kind; });
    if (row == std::end(kKinds) || !d.HasControl(row->required)) return true;
    if (row->kind == TSkinKind::Tab && !SkinHasTab(d)) return true;
    const bool radioGroup = kind == "radiogroup", checkGroup = kind == "checkgroup";
    if ((radioGroup && d.HasControl(xcRadioButton)) || (checkGroup && d.HasControl(xcCheckBox))) {
        for (TComponent* child : t.Children(control)) {
            SetParentColourOff(child);
            t.Attach(child, radioGroup ? TSkinKind::RadioButton : TSkinKind::CheckBox, true, false);
        }
    }
    if (kind == "panel" || kind == "trackbar") SetEnumProperty(control, "Transparent", "True");
    t.Attach(control, row->kind, row->changeColour, row->byHandle);
    return true;
}

void ClassifyComponents(TClassifyTarget& t, TComponent* container) {
    if (!container) return;
    TSkinData& d = t.Data();
    // A rule may add components (a handle made, a toolbar re-created): walk by index.
    for (int i = 0; i < container->ComponentCount(); ++i) {
        TComponent* c = container->Components(i);
        const std::string n = Upper(c->ClassName());
        const std::int32_t tagRule = TagRule(c->Tag());
        if (Skip(t, c)) continue;
        if (IsWindowed(c) && t.Handle(c) == 0) t.HandleNeeded(c);
        if (d.OnSkinControl) {
            TObject* skin = nullptr;
            d.OnSkinControl(t.Sender(), &d, container, c, n, skin);
            if (skin) {
                t.Adopt(skin, c);
                continue;
            }
        }
        if (n == "TDBCOMBOBOXEH" || n == "TQRPREVIEW" || n == "TFRDESIGNERPAGE" || n == "TFRPBOX") continue;
        if (n == "TTOOLBAR") {
            SetEnumProperty(c, "Flat", "True");
            SetBackgroundColour(d, c);
            continue;
        }
        if (MapSkin3rd(t, n, c)) continue;
        ApplyBuiltInRules(t, c, n, tagRule);
    }
}

namespace {

// The skin of a "button" window by its kind (style & BS_TYPEMASK). Kinds
// without a skin keep the platform's look: group boxes, the obsolete user
// button and owner-drawn buttons, which paint themselves. Split buttons,
// command links and push boxes are pressed as push buttons are.
constexpr TSkinKind kButtonKinds[16] = {
    TSkinKind::Button,       // BS_PUSHBUTTON
    TSkinKind::Button,       // BS_DEFPUSHBUTTON
    TSkinKind::CheckBox,     // BS_CHECKBOX
    TSkinKind::CheckBox,     // BS_AUTOCHECKBOX
    TSkinKind::RadioButton,  // BS_RADIOBUTTON
    TSkinKind::CheckBox,     // BS_3STATE
    TSkinKind::CheckBox,     // BS_AUTO3STATE
    TSkinKind::None,         // BS_GROUPBOX
    TSkinKind::None,         // BS_USERBUTTON
    TSkinKind::RadioButton,  // BS_AUTORADIOBUTTON
    TSkinKind::Button,       // BS_PUSHBOX
    TSkinKind::None,         // BS_OWNERDRAW
    TSkinKind::Button,       // BS_SPLITBUTTON
    TSkinKind::Button,       // BS_DEFSPLITBUTTON
    TSkinKind::Button,       // BS_COMMANDLINK
    TSkinKind::Button,       // BS_DEFCOMMANDLINK
};

}  // namespace

TSkinKind WindowClassKind(std::string_view lowerClass, std::uint32_t style) {
    if (lowerClass == "button") return kButtonKinds[style & 0x0F];  // BS_TYPEMASK
    if (lowerClass == "combobox") return (style & 3) != 1 ? TSkinKind::ComboBox : TSkinKind::None;
    if (lowerClass == "comboboxex32") return TSkinKind::ComboBox;
    if (lowerClass == "scrollbar") return TSkinKind::Sizer;
    if (lowerClass == "systabcontrol32") return (style & 0x2000) == 0 ? TSkinKind::Tab : TSkinKind::None;
    if (lowerClass == "edit") return TSkinKind::Edit;
    return TSkinKind::None;
}

}  // namespace srt

// Which control skin each control of a skinned window gets. Platform-free:
// the rules read class names with their ancestry, published properties and
// Tag through the component layer, and reach windows and the form skin's
// list of control skins through TClassifyTarget.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "component/asciicase.h"
#include "component/classes.h"
#include "skin/data/skindata.h"

namespace srt {

// The control skin classes a rule can pick.
enum class TSkinKind : std::uint8_t {
    None, Button, BitButton, SpeedButton, CheckBox, RadioButton, Edit, ComboBox, UpDown,
    ScrollBar, Box, TrackBar, Tab, Tab31, Progress, Sizer
};

// One control skin of the form skin's list: its control object, or null for
// one attached to a window handle only.
struct TSkinEntry {
    const TComponent* control = nullptr;
    std::uintptr_t handle = 0;
};

// What the rules need of the form skin and of the window system.
class TClassifyTarget {
public:
    virtual ~TClassifyTarget() = default;
    virtual TSkinData& Data() = 0;
    // OnSkinControl's Sender: the form skin.
    virtual TObject* Sender() = 0;
    // Name of the form skin's form ("" without one).
    virtual std::string FormName() = 0;
    virtual std::vector<TSkinEntry> Entries() = 0;
    // The component's window handle, 0 when it has none (yet).
    virtual std::uintptr_t Handle(TComponent* c) = 0;
    virtual void HandleNeeded(TComponent* c) = 0;
    virtual std::uint32_t Style(TComponent* c) = 0;
    // The controls whose parent is `c`.
    virtual std::vector<TComponent*> Children(TComponent* c) = 0;
    // A control skin handed over by OnSkinControl: added to the list and
    // initialised for `control` unless the list holds it already.
    virtual void Adopt(TObject* skin, TComponent* control) = 0;
    // Attaches a control skin of `kind` to the control object (with the
    // colour flag) or, `byHandle`, to its window only.
    virtual void Attach(TComponent* control, TSkinKind kind, bool changeColour, bool byHandle) = 0;
};

// Walks the owned components of `container` in order and attaches what the
// rules pick; recurses into nested forms and MVC panels.
void ClassifyComponents(TClassifyTarget& target, TComponent* container);

// The kind the first Skin3rd line naming the class `upperName` gives it
// (lower case, at most 50 characters); none when no line names it.
std::optional<std::string> Skin3rdKind(const TStrings& lines, std::string_view upperName);

// True when a Skin3rd line names the class: its kind is then attached (or
// nothing, for a kind whose switch is off or that is unknown).
bool MapSkin3rd(TClassifyTarget& target, std::string_view upperName, TComponent* control);

// The control skin for a child window of a window that is not one of the
// application's forms: `lowerClass` its class name in lower case, `style`
// its GWL_STYLE. A "comboboxex32" kind applies to its first child.
TSkinKind WindowClassKind(std::string_view lowerClass, std::uint32_t style);

// Tag modulo 100, the value compared with DisableTag and the forcing tags.
constexpr std::int32_t TagRule(std::int32_t tag) { return tag % 100; }

}  // namespace srt

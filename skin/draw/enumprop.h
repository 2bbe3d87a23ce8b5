// Setting an enumerated published property by the names of the property and
// of its value, for the control classification. Platform-free.
#pragma once

#include <string_view>

class TObject;

namespace srt {

// Sets the published property `name` of `object` (Boolean included: "True",
// "False") to the value named `value`, compared without regard to case. Does
// nothing when the object is null, has no such published property, the
// property is not of an enumerated type or cannot be written, or no value of
// its type has that name.
void SetEnumProperty(TObject* object, std::string_view name, std::string_view value);

}  // namespace srt

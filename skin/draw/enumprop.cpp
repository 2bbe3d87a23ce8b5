#include "skin/draw/enumprop.h"

#include <cstdint>

#include "component/classes.h"

namespace srt {

void SetEnumProperty(TObject* object, std::string_view name, std::string_view value) {
    if (!object) return;
    const TPropInfo* info = object->ClassType().FindProperty(name);
    if (!info || info->Kind != TTypeKind::Enumeration || !info->SetOrd) return;
    for (std::size_t i = 0; i < info->Names.size(); ++i) {
        if (SameText(info->Names[i], value)) {
            info->SetOrd(*object, static_cast<std::int64_t>(i));
            return;
        }
    }
}

}  // namespace srt

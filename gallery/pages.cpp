#include <cstdlib>

#include "gallery.h"

namespace gallery {

#define GALLERY_PAGE(function, title) void function();
#include "pages.inc"
#undef GALLERY_PAGE

namespace {
constexpr TGalleryPage kPages[] = {
#define GALLERY_PAGE(function, title) {title, &function},
#include "pages.inc"
#undef GALLERY_PAGE
};
}  // namespace

std::span<const TGalleryPage> Pages() { return kPages; }

bool ShowPage(const std::string& which) {
    char* end = nullptr;
    const long number = std::strtol(which.c_str(), &end, 10);
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        const bool byNumber = !which.empty() && *end == '\0' && number == static_cast<long>(i + 1);
        if (byNumber || which == kPages[i].name) {
            kPages[i].show();
            return true;
        }
    }
    return false;
}

}  // namespace gallery

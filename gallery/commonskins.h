// The control skins the built-in classification leaves to the application:
// list views, stand-alone scroll bars, status bars, progress bars and tab
// controls get theirs through the gallery skin's OnSkinControl.
#pragma once

namespace gallery {

// Installs the handler once; a handler set before it still runs first.
void UseCommonControlSkins();

// The Tag of a progress bar drawn in the block look.
inline constexpr int kBlockProgressTag = 7;

}  // namespace gallery

// Shared by the menu pages: the pages' menu glyphs and the demonstration
// switch that opens a page's menu by itself (for screenshots).
#pragma once

#include "component/imglist.h"
#include "component/menus.h"
#include "gallery.h"

namespace gallery {

// 16 x 16 glyphs of our own: 0 a page, 1 a folder, 2 a wrap arrow.
TImageList* MenuGlyphs(TComponent* owner);

// When the environment variable SRT_GALLERY_DEMO is "menu", "sysmenu",
// "context" or "control", opens the form's first bar menu, its system menu,
// its context menu (at `contextPoint`, client coordinates) or the context
// menu of `control` a second after it shows.
void DemoMenuLater(TForm* form, POINT contextPoint, HWND control = nullptr);

TMenuItem* NewItem(TComponent* owner, const char* caption, TShortCut shortCut = scNone, int image = -1);

}  // namespace gallery

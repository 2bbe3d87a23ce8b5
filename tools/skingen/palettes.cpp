// The shipped skins' palettes: the colours every image and the definition
// are drawn from.
#include "tools/skingen/art.h"

namespace srt::art {

TPalette DaylightPalette() {
    TPalette p;
    p.folder = "default";
    p.skinName = "Daylight";
    p.face = Hex(0xF0F2F5);
    p.text = Hex(0x1E2530);
    p.textMuted = Hex(0x4A5563);
    p.window = Hex(0xFFFFFF);
    p.accent = Hex(0x2F6DB5);
    p.accentText = Hex(0xFFFFFF);
    p.titleTop = Hex(0x32669A);
    p.titleBottom = Hex(0x2B5B8C);
    p.titleText = Hex(0xFFFFFF);
    p.titleOutline = Hex(0x1F4468);
    p.titleInactiveTop = Hex(0xE7EAEE);
    p.titleInactiveBottom = Hex(0xE1E5EA);
    p.titleInactiveText = Hex(0x525C69);
    p.outlineInactive = Hex(0xA3ABB6);
    p.captionHot = Lighten(p.titleTop, 0.16);
    p.captionPressed = Darken(p.titleBottom, 0.18);
    p.closeHot = Hex(0xC42B1C);
    p.closePressed = Hex(0x9B2217);
    p.border = Hex(0xA9B2BE);
    p.borderDisabled = Hex(0xCDD2D9);
    p.buttonTop = Hex(0xFDFDFE);
    p.buttonBottom = Hex(0xEBEEF2);
    p.buttonHotTop = Hex(0xFFFFFF);
    p.buttonHotBottom = Hex(0xE3ECF7);
    p.buttonPressed = Hex(0xD6E2F0);
    p.buttonDisabled = Hex(0xF4F5F7);
    p.glyphDisabled = Hex(0xB4BBC4);
    p.menuBar = Hex(0xF8F9FB);
    p.menuBarText = p.text;
    p.menuBarLine = Hex(0xDDE1E6);
    p.menu = Hex(0xFFFFFF);
    p.menuLine = Hex(0xE1E5EA);
    p.track = Hex(0xEBEEF1);
    p.thumb = Hex(0xBCC3CC);
    p.thumbHot = Hex(0xA3ABB5);
    p.thumbPressed = Hex(0x87909B);
    p.arrow = Hex(0x6B7480);
    p.shadow = p.border;
    p.dkShadow = Hex(0x6B7480);
    p.hilight = Hex(0x7FA7D6);
    p.light = Hex(0xFFFFFF);
    return p;
}

TPalette DuskPalette() {
    TPalette p;
    p.folder = "dusk";
    p.skinName = "Dusk";
    p.face = Hex(0x2A2E35);
    p.text = Hex(0xE4E7EB);
    p.textMuted = Hex(0xA3AAB4);
    p.window = Hex(0x1F2227);
    p.accent = Hex(0x2E7A6C);
    p.accentText = Hex(0xFFFFFF);
    p.titleTop = Hex(0x23272D);
    p.titleBottom = Hex(0x1F2228);
    p.titleText = Hex(0xE8EAED);
    p.titleOutline = Hex(0x3E9C8B);
    p.titleInactiveTop = Hex(0x30343B);
    p.titleInactiveBottom = Hex(0x2D3138);
    p.titleInactiveText = Hex(0x9DA4AE);
    p.outlineInactive = Hex(0x4A5058);
    p.captionHot = Lighten(p.titleTop, 0.12);
    p.captionPressed = Lighten(p.titleTop, 0.05);
    p.closeHot = Hex(0xC42B1C);
    p.closePressed = Hex(0x9B2217);
    p.border = Hex(0x555C66);
    p.borderDisabled = Hex(0x3C4148);
    p.buttonTop = Hex(0x3B4048);
    p.buttonBottom = Hex(0x353A41);
    p.buttonHotTop = Hex(0x434951);
    p.buttonHotBottom = Hex(0x3B4148);
    p.buttonPressed = Hex(0x2C4A46);
    p.buttonDisabled = Hex(0x30343A);
    p.glyphDisabled = Hex(0x5F666F);
    p.menuBar = Hex(0x262A30);
    p.menuBarText = p.text;
    p.menuBarLine = Hex(0x1B1E22);
    p.menu = Hex(0x2A2E35);
    p.menuLine = Hex(0x3C4148);
    p.track = Hex(0x24272D);
    p.thumb = Hex(0x4D545D);
    p.thumbHot = Hex(0x5D646E);
    p.thumbPressed = Hex(0x707882);
    p.arrow = Hex(0x9AA1AB);
    p.shadow = Hex(0x555C66);
    p.dkShadow = Hex(0x8A919B);
    p.hilight = Hex(0x3E9C8B);
    p.light = Hex(0x3B4048);
    p.content = TContentPalette{.client = p.face,
                                .clientText = p.text,
                                .edit = p.window,
                                .editText = p.text,
                                .editHilight = p.accent,
                                .editHilightText = p.accentText,
                                .disabledText = p.arrow,
                                .labelText = Hex(0x6FC3B2),
                                .hotText = Hex(0x7FB8F0)};
    return p;
}

TPalette ContrastPalette() {
    TPalette p;
    p.folder = "contrast";
    p.skinName = "High Contrast";
    p.face = Hex(0x000000);
    p.text = Hex(0xFFFFFF);
    p.textMuted = Hex(0xE0E0E0);
    p.window = Hex(0x000000);
    p.accent = Hex(0xFFD800);
    p.accentText = Hex(0x000000);
    p.titleTop = Hex(0x000000);
    p.titleBottom = Hex(0x000000);
    p.titleText = Hex(0xFFFFFF);
    p.titleOutline = Hex(0xFFD800);
    p.titleInactiveTop = Hex(0x1A1A1A);
    p.titleInactiveBottom = Hex(0x1A1A1A);
    p.titleInactiveText = Hex(0xD0D0D0);
    p.outlineInactive = Hex(0x8C8C8C);
    p.captionHot = Hex(0x3A3A3A);
    p.captionPressed = Hex(0x4A4A4A);
    p.closeHot = Hex(0xC42B1C);
    p.closePressed = Hex(0x9B2217);
    p.border = Hex(0xFFFFFF);
    p.borderDisabled = Hex(0x8C8C8C);
    p.buttonTop = Hex(0x000000);
    p.buttonBottom = Hex(0x000000);
    p.buttonHotTop = Hex(0x242424);
    p.buttonHotBottom = Hex(0x242424);
    p.buttonPressed = Hex(0x00405E);
    p.buttonDisabled = Hex(0x000000);
    p.glyphDisabled = Hex(0x8C8C8C);
    p.menuBar = Hex(0x000000);
    p.menuBarText = Hex(0xFFFFFF);
    p.menuBarLine = Hex(0xFFFFFF);
    p.menu = Hex(0x000000);
    p.menuLine = Hex(0x8C8C8C);
    p.track = Hex(0x000000);
    p.thumb = Hex(0xC8C8C8);
    p.thumbHot = Hex(0xFFFFFF);
    p.thumbPressed = Hex(0xFFD800);
    p.arrow = Hex(0xFFFFFF);
    p.shadow = Hex(0x8C8C8C);
    p.dkShadow = Hex(0xFFFFFF);
    p.hilight = Hex(0xFFD800);
    p.light = Hex(0x000000);
    p.content = TContentPalette{.client = p.face,
                                .clientText = p.text,
                                .edit = p.window,
                                .editText = p.text,
                                .editHilight = p.accent,
                                .editHilightText = p.accentText,
                                .disabledText = Hex(0xA6A6A6),
                                .labelText = Hex(0xFFD800),
                                .hotText = Hex(0x75E9FC)};
    return p;
}

std::vector<TPalette> ShippedPalettes() { return {DaylightPalette(), DuskPalette(), ContrastPalette()}; }

}  // namespace srt::art

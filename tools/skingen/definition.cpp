// The skin definition (skin.ini) the generator writes beside the images:
// every length in it is at 96 DPI; the scaled images follow it.
#include "tools/skingen/definition.h"

#include <sstream>

#include "tools/skingen/painter.h"

namespace srt::art {
namespace {

std::string ColourText(Rgb c) {
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

// The definition text, section by section.
class Ini {
public:
    void Comment(const std::string& text) { out_ << "; " << text << "\r\n"; }
    void Section(const std::string& name) {
        if (out_.tellp() > 0) out_ << "\r\n";
        out_ << "[" << name << "]\r\n";
    }
    void Key(const std::string& key, const std::string& value) { out_ << key << "=" << value << "\r\n"; }
    void Key(const std::string& key, int value) { Key(key, std::to_string(value)); }
    void Key(const std::string& key, Rgb c) { Key(key, ColourText(c)); }
    std::string Text() const { return out_.str(); }

private:
    std::ostringstream out_;
};

}  // namespace

std::string SkinDefinition(const TPalette& p) {
    Ini ini;
    ini.Comment(p.skinName + ": made by tools/skingen; edit the palette there and regenerate,");
    ini.Comment("or edit these files by hand and pack them with skinpack.");
    ini.Section("TitlebarSkin");
    ini.Key("SkinName", p.skinName);

    ini.Section("Personality");
    ini.Comment("Frame edges: left and right hold two frames side by side (active,");
    ini.Comment("inactive), top and bottom two frames stacked. Fuchsia corners round the window.");
    const char* edges[] = {"Left", "Right", "Top", "Bottom"};
    const char* files[] = {"left.bmp", "right.bmp", "top.bmp", "bottom.bmp"};
    // Left, Right: fixed top part (the title bar) and bottom part. Top,
    // Bottom: fixed left and right parts (Top's hold the rest of the curve).
    const int first[] = {kTitle, kTitle, kTopRadius, 0};
    const int last[] = {kBorder, kBorder, kTopRadius, 0};
    for (int i = 0; i < 4; ++i) {
        const std::string e = edges[i];
        ini.Key(e, files[i]);
        ini.Key(e + "TopHeight", first[i]);
        ini.Key(e + "BotHeight", last[i]);
        ini.Key(e + "Frame", 2);
        ini.Key(e + "Stretch", 1);
        ini.Key(e + "Trans", 1);
    }
    ini.Key("TextBack", "textback.bmp");
    ini.Key("TXTBackleft", 10);
    ini.Key("TXTBackRight", 10);
    ini.Key("TextShift", 26);
    ini.Key("TextShiftVert", 0);
    // Room for two caption buttons: a window with close alone (the main
    // window) shows its whole title; with all three a long title runs on
    // under the minimise button.
    ini.Key("TextRightClip", 2 * (kCapW + kCapGap) + 4);
    ini.Key("TextAlignment", 0);
    ini.Key("Textbackground", 0);
    ini.Key("ActiveTextR", p.titleText.r);
    ini.Key("ActiveTextG", p.titleText.g);
    ini.Key("ActiveTextB", p.titleText.b);
    ini.Key("InActiveTextR", p.titleInactiveText.r);
    ini.Key("InActiveTextG", p.titleInactiveText.g);
    ini.Key("InActiveTextB", p.titleInactiveText.b);
    ini.Key("menuBar", "menubar.bmp");
    ini.Key("TileMenu", 0);
    ini.Key("TileLeftMenu", 2);
    ini.Key("TileRightMenu", 2);

    ini.Section("Fonts");
    ini.Key("FontHeight", 14);

    ini.Section("Colours");
    ini.Key("WindowText", p.text);
    ini.Key("ButtonFace", p.face);
    ini.Key("Scrollbar", p.track);
    ini.Key("HilightText", p.accentText);
    ini.Key("Hilight", p.accent);
    ini.Key("Menubar", p.menuBar);
    ini.Key("Menu", p.menu);
    ini.Key("MenuText", p.text);
    ini.Key("ButtonText", p.text);
    ini.Key("ButtonHilight", p.hilight);
    ini.Key("Buttonlight", p.light);
    ini.Key("ButtonShadow", p.shadow);
    ini.Key("ButtonDkShadow", p.dkShadow);
    ini.Key("MenuBarText", p.menuBarText);
    ini.Key("TitleTextActive", p.titleText);
    ini.Key("TitleTextNoActive", p.titleInactiveText);
    if (const auto& c = p.content) {
        ini.Key("Client", c->client);
        ini.Key("ClientText", c->clientText);
        ini.Key("Edit", c->edit);
        ini.Key("EditText", c->editText);
        ini.Key("EditHilight", c->editHilight);
        ini.Key("EditHilightText", c->editHilightText);
        ini.Key("DisabledText", c->disabledText);
        ini.Key("LabelText", c->labelText);
        ini.Key("HotText", c->hotText);
    }

    const std::pair<const char*, Rgb> numbered[] = {
        {"Colour1", p.accent}, {"Colour2", p.titleBottom}, {"Colour3", p.face}, {"Colour4", p.text}};
    for (const auto& [name, c] : numbered) {
        ini.Section(name);
        ini.Key("color", c);
    }

    // Caption buttons. Align 1 counts Xcoord from the window's right edge.
    // Frames: 1 normal, 2 pressed, 3 hover, 4 inactive window.
    struct Cap {
        const char* section;
        int action, align, x, y, vis, vis1;
        const char* image;
    };
    const int step = kCapW + kCapGap;
    const Cap caps[] = {
        {"ButtonIcon", 3, 0, 10, (kTitle - 16) / 2, 0, 0, nullptr},
        {"ButtonClose", 0, 1, kBorder + 2 + kCapW, kCapY, 0, 0, "close.bmp"},
        {"ButtonMaximize", 1, 1, kBorder + 2 + kCapW + step, kCapY, 6, 2, "maximize.bmp"},
        {"ButtonRestore", 1, 1, kBorder + 2 + kCapW + step, kCapY, 6, 1, "restore.bmp"},
        // Next to the maximise box, or next to close when there is none.
        {"ButtonMinimize", 2, 1, kBorder + 2 + kCapW + 2 * step, kCapY, 8, 6, "minimize.bmp"},
        {"ButtonMinimizeAlone", 2, 1, kBorder + 2 + kCapW + step, kCapY, 8, 7, "minimize.bmp"},
    };
    for (const Cap& c : caps) {
        ini.Section(c.section);
        ini.Key("Action", c.action);
        ini.Key("Align", c.align);
        ini.Key("Xcoord", c.x);
        ini.Key("Ycoord", c.y);
        ini.Key("Visibility", c.vis);
        ini.Key("Visibility1", c.vis1);
        ini.Key("CombineOp", -1);
        // The icon button shows the window's icon: no image, frame 0.
        ini.Key("frame", c.image ? 4 : 0);
        ini.Key("ButtonImage", c.image ? c.image : "");
    }
    ini.Section("MDICONTROLS");
    ini.Key("Image", "mdicontrols.bmp");

    ini.Section("Buttons");
    ini.Comment("Frames: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.");
    ini.Key("Bitmap", "button.bmp");
    ini.Key("LeftWidth", 4);
    ini.Key("RightWidth", 4);
    ini.Key("TopHeight", 4);
    ini.Key("BottomHeight", 4);
    ini.Key("Trans", 1);
    ini.Key("Tile", 0);
    ini.Key("CheckButton", "checkbox.bmp");
    ini.Key("CheckButtonFrame", 4);
    ini.Key("RadioButton", "radio.bmp");
    ini.Key("RadioButtonFrame", 4);
    ini.Key("NormalColour2", p.text);
    ini.Key("MouseOverColour2", p.text);
    ini.Key("PressedColour2", p.text);
    ini.Comment("Colour numbers: -1, none.");
    ini.Key("NormalColour", -1);
    ini.Key("MouseOverColour", -1);
    ini.Key("PressedColour", -1);

    ini.Section("Progress");
    ini.Key("Bitmap", "progress.bmp");
    ini.Key("Chunk", "progresschunk.bmp");
    ini.Key("Style", 0);
    ini.Key("LeftWidth", 3);
    ini.Key("RightWidth", 3);
    ini.Key("TopHeight", 3);
    ini.Key("BottomHeight", 3);
    ini.Key("Trans", 1);
    ini.Key("Tile", 0);

    // General sections: image, margins, transparency, tiling, text colours.
    struct General {
        const char* section;
        const char* image;
        int l, t, r, b, trans, tile;
        const char* second = nullptr;
        const char* secondImage = nullptr;
        Rgb normal{}, hot{}, pressed{};
    };
    const General general[] = {
        {"GroupBoxEdge", "groupbox.bmp", 4, 4, 4, 4, 1, 0},
        {"Toolbars", "toolbar.bmp", 4, 4, 4, 4, 1, 0},
        {"Tabs", "tabs.bmp", 5, 5, 5, 1, 1, 0, "Border", "tabborder.bmp", p.textMuted, p.text, p.text},
        {"StatusBarEdges", "statusbar.bmp", 1, 2, 2, 1, 0, 0},
        {"ComboButton", "combobutton.bmp", 0, 0, 0, 0, 1, 0},
        {"SunkEdge", "sunkedge.bmp", 2, 2, 2, 2, 0, 0},
        {"ExtraImages", "extra.bmp", 0, 0, 0, 0, 1, 0},
        {"Headerbar", "header.bmp", 2, 2, 2, 2, 0, 0},
        {"MenuItem", "menuitem.bmp", 4, 3, 4, 3, 1, 0},
        {"MenuBackground", "menubackground.bmp", 3, 3, 3, 3, 0, 0},
        {"Scrollbar", "scrollbar.bmp", 0, 0, 0, 0, 1, 0},
        {"HorzScroll", "hscroll.bmp", 0, 1, 0, 0, 0, 0},
        {"VertScroll", "vscroll.bmp", 1, 0, 0, 0, 0, 0},
        {"HorzScrollThumb", "hthumb.bmp", 6, 0, 6, 0, 1, 0},
        {"VertScrollThumb", "vthumb.bmp", 0, 6, 0, 6, 1, 0},
        {"Trackbar.ThumbHorz", "thumbhorz.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbVert", "thumbvert.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbLeft", "thumbleft.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbRight", "thumbright.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbUp", "thumbup.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbDown", "thumbdown.bmp", 0, 0, 0, 0, 1, 0},
        {"UpDown.Horz", "updownhorz.bmp", 0, 0, 0, 0, 1, 0, "GlyphImage", "updownhorzglyph.bmp"},
        {"UpDown.Vert", "updownvert.bmp", 0, 0, 0, 0, 1, 0, "GlyphImage", "updownvertglyph.bmp"},
    };
    for (const General& g : general) {
        ini.Section(g.section);
        ini.Key("Image", g.image);
        if (g.second) ini.Key(g.second, g.secondImage);
        ini.Key("LeftWidth", g.l);
        ini.Key("TopHeight", g.t);
        ini.Key("RightWidth", g.r);
        ini.Key("BottomHeight", g.b);
        ini.Key("Trans", g.trans);
        ini.Key("Tile", g.tile);
        const std::string s = g.section;
        if (!g.second && s != "ComboButton") ini.Key("Style", 0);  // not read where there is a second image
        if (s == "HorzScrollThumb" || s == "VertScrollThumb") ini.Key("FrameCount", 3);
        const bool tabs = s == "Tabs";
        ini.Key("NormalColour2", tabs ? g.normal : p.text);
        ini.Key("MouseOverColour2", tabs ? g.hot : p.text);
        ini.Key("PressedColour2", tabs ? g.pressed : p.text);
        ini.Key("NormalColour", -1);
        ini.Key("MouseOverColour", -1);
        ini.Key("PressedColour", -1);
    }
    return ini.Text();
}

}  // namespace srt::art

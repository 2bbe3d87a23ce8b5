#include "skin/data/definition.h"

#include <cctype>
#include <optional>
#include <string>

#include "component/asciicase.h"
#include "skin/data/bmp.h"
#include "skin/data/ini.h"

namespace srt {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

class DefinitionReader {
public:
    DefinitionReader(TSkinElements& skin, const TSkinReader& reader, std::string_view text,
                     std::string_view imageSuffix)
        : skin_(skin), reader_(reader), imageSuffix_(imageSuffix), ini_(text), sections_(ini_.SectionNames()) {}

    void Run() {
        skin_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
        ReadEdges();
        ReadColours();
        ReadColourList();
        ReadCaptionButtons();
        ReadMdiButtons();
        ReadButtons();
        ReadTitle();
        ReadProgress();
        ReadMenuBar();
        ReadGeneral(skin_.GroupBoxEdge, "GroupBoxEdge");
        ReadGeneral(skin_.Toolbars, "Toolbars");
        ReadSecondImage(skin_.Tabs, "Tabs", "Border");
        ReadGeneral(skin_.StatusBarEdges, "StatusBarEdges");
        ReadSecondImage(skin_.ComboButton, "ComboButton", "****");
        MirrorComboButton();
        ReadGeneral(skin_.SunkEdge, "SunkEdge");
        ReadGeneral(skin_.ExtraImages, "ExtraImages");
        ReadGeneral(skin_.Headerbar, "Headerbar");
        ReadGeneral(skin_.MenuItem, "MenuItem");
        ReadGeneral(skin_.MenuBackground, "MenuBackground");
        ReadGeneral(skin_.Scrollbar, "Scrollbar");
        ReadGeneral(skin_.HorzScroll, "HorzScroll");
        ReadGeneral(skin_.VertScroll, "VertScroll");
        ReadGeneral(skin_.HorzScrollThumb, "HorzScrollThumb");
        ReadGeneral(skin_.VertScrollThumb, "VertScrollThumb");
        ReadGeneral(skin_.Trackbar.ThumbHorz, "Trackbar.ThumbHorz");
        ReadGeneral(skin_.Trackbar.ThumbVert, "Trackbar.ThumbVert");
        ReadGeneral(skin_.Trackbar.ThumbLeft, "Trackbar.ThumbLeft");
        ReadGeneral(skin_.Trackbar.ThumbRight, "Trackbar.ThumbRight");
        ReadGeneral(skin_.Trackbar.ThumbUp, "Trackbar.ThumbUp");
        ReadGeneral(skin_.Trackbar.ThumbDown, "Trackbar.ThumbDown");
        ReadSecondImage(skin_.UpDown.Horz, "UpDown.Horz", "GlyphImage");
        ReadSecondImage(skin_.UpDown.Vert, "UpDown.Vert", "GlyphImage");
        SetFrameCounts();
    }

private:
    std::string Text(std::string_view section, std::string_view key) const {
        return ini_.ReadString(section, key, "");
    }
    std::int32_t Int(std::string_view section, std::string_view key, std::int32_t def) const {
        return ini_.ReadInteger(section, key, def);
    }
    TColour Colour(std::string_view section, std::string_view key, TColour def) const {
        return ParseColourText(Text(section, key), def);
    }
    void Bitmap(TBitmap& bitmap, std::string_view section, std::string_view key) const {
        Load(bitmap, Text(section, key));
    }
    // The named bitmap, or its entry drawn for another scale: one that is
    // missing or unreadable there leaves the image empty.
    void Load(TBitmap& bitmap, std::string_view fileText) const {
        if (imageSuffix_.empty()) return LoadSkinBitmap(bitmap, fileText, reader_);
        try {
            LoadSkinBitmap(bitmap, ScaledImageName(fileText, imageSuffix_), reader_);
        } catch (const EInvalidBitmap&) {
            bitmap.SetSize(0, 0);
        }
    }

    void ReadEdges() {
        TDataSkinBorder* const edges[] = {skin_.Left.get(), skin_.Right.get(), skin_.Top.get(),
                                          skin_.Bottom.get()};
        const char* const names[] = {"Left", "Right", "Top", "Bottom"};
        for (int i = 0; i < 4; ++i) {
            TDataSkinBorder& e = *edges[i];
            const std::string name = names[i];
            const std::int32_t first = Int("Personality", name + "TopHeight", 0);
            const std::int32_t last = Int("Personality", name + "BotHeight", 0);
            if (i < 2) {
                e.TopHeight = first, e.BottomHeight = last, e.LeftWidth = e.RightWidth = 0;
            } else {
                e.LeftWidth = first, e.RightWidth = last, e.TopHeight = e.BottomHeight = 0;
            }
            e.FrameCount = Int("Personality", name + "Frame", 1);
            e.Tile = Int("Personality", name + "Stretch", 1);
            e.Trans = Int("Personality", name + "Trans", 1);
            Bitmap(e.Image, "Personality", name);
        }
    }

    void ReadColours() {
        TSkinColours& c = skin_.Colours;
        c.WindowText = Colour("Colours", "WindowText", SysColour(8));
        c.ButtonFace = Colour("Colours", "ButtonFace", SysColour(15));
        c.Scrollbar = Colour("Colours", "Scrollbar", SysColour(0));
        c.HilightText = Colour("Colours", "HilightText", SysColour(14));
        c.Hilight = Colour("Colours", "Hilight", SysColour(13));
        c.Menubar = Colour("Colours", "Menubar", c.ButtonFace);
        c.Menu = Colour("Colours", "Menu", SysColour(4));
        c.MenuText = Colour("Colours", "MenuText", SysColour(7));
        c.ButtonText = Colour("Colours", "ButtonText", SysColour(18));
        c.ButtonHilight = Colour("Colours", "ButtonHilight", SysColour(20));
        c.Buttonlight = Colour("Colours", "Buttonlight", SysColour(20));
        c.ButtonShadow = Colour("Colours", "ButtonShadow", SysColour(16));
        c.ButtonDkShadow = Colour("Colours", "ButtonDkShadow", SysColour(16));
        c.MenuBarText = Colour("Colours", "MenuBarText", SysColour(7));
        c.TitleTextActive = Colour("Colours", "TitleTextActive", SysColour(9));
        c.TitleTextNoActive = Colour("Colours", "TitleTextNoActive", SysColour(19));
        c.Client = Colour("Colours", "Client", kNoColour);
        c.ClientText = Colour("Colours", "ClientText", kNoColour);
        c.Edit = Colour("Colours", "Edit", kNoColour);
        c.EditText = Colour("Colours", "EditText", kNoColour);
        c.EditHilight = Colour("Colours", "EditHilight", kNoColour);
        c.EditHilightText = Colour("Colours", "EditHilightText", kNoColour);
        c.DisabledText = Colour("Colours", "DisabledText", kNoColour);
        c.LabelText = Colour("Colours", "LabelText", kNoColour);
        c.HotText = Colour("Colours", "HotText", kNoColour);
    }

    void ReadColourList() {
        skin_.ColourList.clear();
        for (const std::string& s : sections_) {
            const std::string u = Upper(s);
            if (StartsWith(u, "COLOUR") && u != "COLOURS")
                skin_.ColourList.push_back(Colour(s, "color", SysColour(8)));
        }
    }

    void ReadCaptionButtons() {
        auto& buttons = skin_.SysButtons;
        buttons.clear();
        for (const std::string& s : sections_) {
            const std::string u = Upper(s);
            if (!StartsWith(u, "BUTTON") || u == "BUTTONS" || u == "BUTTON.RADIO" || u == "BUTTON.CHECKBOX")
                continue;
            auto b = std::make_unique<TDataSkinSysButton>(u);
            b->Action = Int(s, "Action", 0);
            b->Align = Int(s, "Align", 0);
            b->Xcoord = Int(s, "Xcoord", 0);
            b->Ycoord = Int(s, "Ycoord", 0);
            b->Visibility = Int(s, "Visibility", 0);
            b->Visibility1 = Int(s, "Visibility1", 0);
            b->CombineOp = Int(s, "CombineOp", -1);
            b->FrameCount = Int(s, "frame", 0);
            Bitmap(b->Image, s, "ButtonImage");
            if (b->FrameCount == 0) {
                if (b->Image.Empty() || b->Action < 0) {
                    b->FrameCount = 6;
                } else {
                    const double ratio = static_cast<double>(b->Image.Width()) / b->Image.Height();
                    b->FrameCount = ratio <= 3.8 ? 3 : 6;
                }
                if (b->Action == 3 || b->Action == 11) b->Image.SetSize(0, 0);
            }
            buttons.push_back(std::move(b));
        }
        for (int i = 0; i < 3; ++i) {
            auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
            b->Action = 7 + i;
            b->Align = b->Visibility = b->Visibility1 = kMdiButtonMark;
            b->FrameCount = 4;
            buttons.push_back(std::move(b));
        }
    }

    void ReadMdiButtons() {
        TBitmap strip;
        Bitmap(strip, "MDICONTROLS", "Image");
        if (strip.Empty()) return;
        const int w = strip.Width() / 12;
        const int h = strip.Height();
        const std::size_t n = skin_.SysButtons.size() - 3;
        for (int b = 0; b < 3; ++b) {
            TDataSkinSysButton& rec = *skin_.SysButtons[n + b];
            rec.Image.SetSize(4 * w, h);
            if (!rec.Image.Empty())
                for (int y = 0; y < h; ++y)
                    std::copy_n(strip.ScanLine(y) + 4 * b * w, 4 * w, rec.Image.ScanLine(y));
            rec.Xcoord = (3 - b) * (w + 4);
        }
    }

    void ReadStateColours(TDataSkinObject& r, std::string_view s) {
        r.NormalColour = Int(s, "NormalColour", -1);
        r.MouseOverColour = Int(s, "MouseOverColour", -1);
        r.PressedColour = Int(s, "PressedColour", -1);
        const TColour text = skin_.Colours.ButtonText;
        r.NormalColour2 = Colour(s, "NormalColour2", text);
        r.MouseOverColour2 = Colour(s, "MouseOverColour2", text);
        r.PressedColour2 = Colour(s, "PressedColour2", text);
    }

    void ReadMargins(TDataSkinObject& r, std::string_view s) {
        r.LeftWidth = Int(s, "LeftWidth", 0);
        r.RightWidth = Int(s, "RightWidth", 0);
        r.TopHeight = Int(s, "TopHeight", 0);
        r.BottomHeight = Int(s, "BottomHeight", 0);
    }

    void ReadButtons() {
        TDataSkinButton& b = *skin_.Buttons;
        ReadMargins(b, "Buttons");
        b.Trans = Int("Buttons", "Trans", 0);
        Bitmap(b.Image, "Buttons", "Bitmap");
        b.Tile = Int("Buttons", "Tile", 0);
        Bitmap(b.CheckButton, "Buttons", "CheckButton");
        Bitmap(b.RadioButton, "Buttons", "RadioButton");
        b.RadioButtonFrame = Int("Buttons", "RadioButtonFrame", 0);
        b.CheckButtonFrame = Int("Buttons", "CheckButtonFrame", 0);
        ReadStateColours(b, "Buttons");
    }

    TColour TextColour(std::string_view prefix) const {
        const std::string p(prefix);
        const std::int32_t r = Int("Personality", p + "R", -1);
        const std::int32_t g = Int("Personality", p + "G", -1);
        const std::int32_t b = Int("Personality", p + "B", -1);
        return r >= 0 && g >= 0 && b >= 0 ? RGBColour(r, g, b) : kNoColour;
    }

    void ReadTitle() {
        TDataSkinTitle& t = *skin_.Title;
        Bitmap(t.Image, "Personality", "TextBack");
        t.LeftWidth = Int("Personality", "TextShift", 0);
        t.TopHeight = Int("Personality", "TextShiftVert", 0);
        t.RightWidth = Int("Personality", "TextRightClip", 0);
        t.BottomHeight = 0;
        t.TextAlignment = Int("Personality", "TextAlignment", 0);
        t.Textbackground = Int("Personality", "Textbackground", 0);
        t.FontHeight = Int("Fonts", "FontHeight", 14);
        t.TXTBackleft = Int("Personality", "TXTBackleft", 0);
        t.TXTBackRight = Int("Personality", "TXTBackRight", 0);
        t.ActiveText = TextColour("ActiveText");
        t.InActiveText = TextColour("InActiveText");
    }

    void ReadProgress() {
        skin_.Progress.reset();
        const std::string bitmap = Text("Progress", "Bitmap");
        if (bitmap.empty()) return;
        auto p = std::make_unique<TDataSkinBorder>("Progress");
        Load(p->Image, bitmap);
        const std::string chunk = Text("Progress", "Chunk");
        if (!chunk.empty()) Load(p->Image2, chunk);
        p->Style = Int("Progress", "Style", 0);
        ReadMargins(*p, "Progress");
        p->Trans = Int("Progress", "Trans", 0);
        p->Tile = Int("Progress", "Tile", 0);
        skin_.Progress = std::move(p);
    }

    void ReadMenuBar() {
        skin_.MenuBar.reset();
        const std::string bitmap = Text("Personality", "menuBar");
        if (bitmap.empty()) return;
        auto m = std::make_unique<TDataSkinObject>("Personality");
        Load(m->Image, bitmap);
        m->TopHeight = m->BottomHeight = 0;
        m->Tile = Int("Personality", "TileMenu", 0);
        m->LeftWidth = Int("Personality", "TileLeftMenu", 1);
        m->RightWidth = Int("Personality", "TileRightMenu", 1);
        skin_.MenuBar = std::move(m);
    }

    // The part shared by general and second-image sections; null when the
    // section names no image.
    template <class Record>
    std::unique_ptr<Record> ReadElement(std::string_view s) {
        const std::string image = Text(s, "Image");
        if (image.empty()) return nullptr;
        auto r = std::make_unique<Record>(std::string(s));
        Load(r->Image, image);
        ReadMargins(*r, s);
        r->Trans = Int(s, "Trans", 0);
        r->Tile = Int(s, "Tile", 0);
        if (r->Tile > 1) r->Tile = 0;
        ReadStateColours(*r, s);
        return r;
    }

    void ReadGeneral(std::unique_ptr<TDataSkinObject>& slot, std::string_view s) {
        slot.reset();
        slot = ReadElement<TDataSkinObject>(s);
        if (slot) slot->Style = Int(s, "Style", 0);
    }

    void ReadSecondImage(std::unique_ptr<TDataSkinBorder>& slot, std::string_view s, std::string_view key) {
        slot.reset();
        slot = ReadElement<TDataSkinBorder>(s);
        if (!slot) return;
        const std::string second = Text(s, key);
        if (!second.empty()) Load(slot->Image2, second);
    }

    void MirrorComboButton() {
        TDataSkinBorder* c = skin_.ComboButton.get();
        if (c == nullptr || c->Image.Empty()) return;
        const int w = c->Image.Width(), h = c->Image.Height();
        c->Image2.SetSize(w, h);
        if (c->Image2.Empty()) return;
        for (int y = 0; y < h; ++y) {
            const std::uint32_t* src = c->Image.ScanLine(y);
            std::uint32_t* dst = c->Image2.ScanLine(y);
            for (int x = 0; x < w; ++x) dst[x] = src[w - 1 - x] & 0x00FFFFFF;
        }
    }

    void SetFrameCounts() {
        struct Count {
            TDataSkinObject* record;
            std::int32_t frames;
        };
        const Count counts[] = {
            {skin_.Buttons.get(), 5},        {skin_.Title.get(), 2},
            {skin_.Progress.get(), 2},       {skin_.MenuBar.get(), 2},
            {skin_.GroupBoxEdge.get(), 2},   {skin_.Toolbars.get(), 5},
            {skin_.Tabs.get(), 5},           {skin_.StatusBarEdges.get(), 3},
            {skin_.ComboButton.get(), 4},    {skin_.SunkEdge.get(), 4},
            {skin_.ExtraImages.get(), 5},    {skin_.Headerbar.get(), 5},
            {skin_.MenuItem.get(), 5},       {skin_.MenuBackground.get(), 1},
            {skin_.Scrollbar.get(), 23},     {skin_.HorzScroll.get(), 4},
            {skin_.VertScroll.get(), 4},     {skin_.UpDown.Horz.get(), 8},
            {skin_.UpDown.Vert.get(), 8},    {skin_.Trackbar.ThumbHorz.get(), 5},
            {skin_.Trackbar.ThumbVert.get(), 5}, {skin_.Trackbar.ThumbLeft.get(), 5},
            {skin_.Trackbar.ThumbRight.get(), 5}, {skin_.Trackbar.ThumbUp.get(), 5},
            {skin_.Trackbar.ThumbDown.get(), 5},
        };
        for (const Count& c : counts)
            if (c.record) c.record->FrameCount = c.frames;
        if (skin_.HorzScrollThumb) skin_.HorzScrollThumb->FrameCount = Int("HorzScrollThumb", "FrameCount", 3);
        if (skin_.VertScrollThumb) skin_.VertScrollThumb->FrameCount = Int("VertScrollThumb", "FrameCount", 3);

        TDataSkinButton& b = *skin_.Buttons;
        auto frames = [](const TBitmap& image) {
            const int n = image.Width() / (image.Height() < 16 ? 13 : 16);
            return n < 4 ? 4 : n;
        };
        if (b.RadioButtonFrame == 0) b.RadioButtonFrame = frames(b.RadioButton);
        if (b.CheckButtonFrame == 0) b.CheckButtonFrame = frames(b.CheckButton);
    }

    TSkinElements& skin_;
    const TSkinReader& reader_;
    std::string imageSuffix_;
    TIniText ini_;
    std::vector<std::string> sections_;
};

}  // namespace

void ReadSkinDefinition(TSkinElements& skin, const TSkinReader& reader, std::string_view definition,
                        std::string_view imageSuffix) {
    DefinitionReader(skin, reader, definition, imageSuffix).Run();
}

bool LoadSkinDefinition(TSkinElements& skin, const TSkinReader& reader, std::string_view imageSuffix) {
    std::vector<std::uint8_t> bytes;
    std::string name;
    if (!reader.GetFileByExt(".ini", bytes, name)) return false;
    ReadSkinDefinition(skin, reader,
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), imageSuffix);
    return true;
}

std::string ScaledImageName(std::string_view fileText, std::string_view suffix) {
    std::string name(fileText);
    const std::size_t dot = name.rfind('.');
    const std::size_t cut = name.find_last_of("\\:");
    if (dot == std::string::npos || (cut != std::string::npos && dot < cut)) return name;
    return name.insert(dot, suffix);
}

void LoadSkinBitmap(TBitmap& bitmap, std::string_view fileText, const TSkinReader& reader) {
    const std::size_t cut = fileText.find_last_of("\\:");
    const std::string_view name = cut == std::string_view::npos ? fileText : fileText.substr(cut + 1);
    const std::size_t dot = name.rfind('.');
    const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    if (!name.empty() && ext == ".bmp") {
        const std::vector<std::uint8_t> bytes = reader.GetFile(name);
        if (!bytes.empty()) {
            bitmap = ReadBmp(bytes);
            return;
        }
    }
    bitmap.SetSize(0, 0);
}

TColour ParseColourText(std::string_view text, TColour def) {
    if (text.empty()) return def;
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);

    std::int64_t rgb[3] = {0, 0, 0};
    int filled = 0;
    std::string run;  // pending digits
    auto value = [&]() -> std::optional<std::int64_t> {
        // A run too large for a signed 32-bit integer stays pending.
        std::int64_t v = 0;
        for (char c : run) {
            v = v * 10 + (c - '0');
            if (v > 0x7FFFFFFF) return std::nullopt;
        }
        return v;
    };
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            run += c;
            continue;
        }
        if (run.empty() || filled == 3) continue;
        if (const auto v = value()) {
            rgb[filled++] = *v;
            run.clear();
        }
    }
    if (!run.empty() && filled == 2)
        if (const auto v = value()) rgb[filled++] = *v;
    return RGBColour(static_cast<int>(rgb[0] & 0xFF), static_cast<int>(rgb[1] & 0xFF),
                     static_cast<int>(rgb[2] & 0xFF));
}

}  // namespace srt

#include "skin/data/scaled.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "component/dpi.h"
#include "skin/data/definition.h"
#include "skin/data/skinreader.h"

namespace srt {
namespace {

// Nearest neighbour: the source pixel under the centre of target pixel d
// when `src` pixels spread over `dst`; exact at whole factors.
int Nearest(int d, int src, int dst) {
    return static_cast<int>((2LL * d + 1) * src / (2LL * dst));
}

// For each target pixel along one axis of a frame, its source pixel: the
// lead and trail margins nearest-neighbour to their scaled widths, the span
// between stretched or tiled at natural size. Whole factors scale the
// frame as one.
std::vector<int> AxisMap(int src, int dst, int lead, int trail, bool tile, int dpi) {
    std::vector<int> map(static_cast<std::size_t>(dst));
    lead = std::clamp(lead, 0, src);
    trail = std::clamp(trail, 0, src - lead);
    const int middle = src - lead - trail;
    if (dpi % kDesignDpi == 0 || middle == 0 || (lead == 0 && trail == 0 && !tile)) {
        for (int d = 0; d < dst; ++d) map[d] = Nearest(d, src, dst);
        return map;
    }
    const int l = std::min(ScaleToDpi(lead, dpi), dst);
    const int r = std::min(ScaleToDpi(trail, dpi), dst - l);
    const int c = dst - l - r;
    for (int d = 0; d < l; ++d) map[d] = Nearest(d, lead, l);
    for (int d = 0; d < c; ++d) map[l + d] = lead + (tile ? d % middle : Nearest(d, middle, c));
    for (int d = 0; d < r; ++d) map[l + c + d] = src - trail + Nearest(d, trail, r);
    return map;
}

void FrameSize(const TBitmap& image, const TImageSlices& s, int& width, int& height) {
    const int frames = std::max(s.frames, 1);
    width = s.stacked ? image.Width() : image.Width() / frames;
    height = s.stacked ? image.Height() / frames : image.Height();
}

// Moves the per-scale image into `out` when it has the size the scaled
// record needs, else scales the 96-DPI image.
void ChooseImage(TBitmap& out, const TBitmap& base, TBitmap* drawn, const TImageSlices& s, int dpi) {
    int w = 0, h = 0;
    ScaledImageSize(base, s, dpi, w, h);
    if (!base.Empty() && drawn && drawn->Width() == w && drawn->Height() == h)
        out = std::move(*drawn);
    else
        out = ScaleSkinImage(base, s, dpi);
}

TImageSlices Slices(const TDataSkinObject& r, bool tileCentre, int frames = 0) {
    return {frames > 0 ? frames : r.FrameCount, false, r.LeftWidth, r.TopHeight, r.RightWidth, r.BottomHeight,
            tileCentre};
}

// Copies every field but the images, lengths scaled.
void CopyScaled(const TDataSkinObject& from, TDataSkinObject& to, int dpi) {
    to.LeftWidth = ScaleToDpi(from.LeftWidth, dpi);
    to.TopHeight = ScaleToDpi(from.TopHeight, dpi);
    to.RightWidth = ScaleToDpi(from.RightWidth, dpi);
    to.BottomHeight = ScaleToDpi(from.BottomHeight, dpi);
    to.Trans = from.Trans;
    to.Tile = from.Tile;
    to.Name = from.Name;
    to.FrameCount = from.FrameCount;
    to.Style = from.Style;
    to.NormalColour = from.NormalColour;
    to.MouseOverColour = from.MouseOverColour;
    to.PressedColour = from.PressedColour;
    to.NormalColour2 = from.NormalColour2;
    to.MouseOverColour2 = from.MouseOverColour2;
    to.PressedColour2 = from.PressedColour2;
}

class Scaler {
public:
    Scaler(const TSkinElements& base, TSkinElements* drawn, int dpi) : base_(base), drawn_(drawn), dpi_(dpi) {}

    std::unique_ptr<TSkinElements> Run() {
        auto out = std::make_unique<TSkinElements>();
        out->Colours = base_.Colours;
        out->ColourList = base_.ColourList;
        out->SkinName = base_.SkinName;
        out->Dpi = dpi_;
        Edge(base_.Left, out->Left, "Left", false);
        Edge(base_.Right, out->Right, "Right", false);
        Edge(base_.Top, out->Top, "Top", true);
        Edge(base_.Bottom, out->Bottom, "Bottom", true);
        Title(*base_.Title, *out->Title);
        Buttons(*base_.Buttons, *out->Buttons);
        Strip(base_.MenuBar, out->MenuBar, "MenuBar");
        Border(base_.Progress, out->Progress, "Progress", 1, false);
        General(base_.GroupBoxEdge, out->GroupBoxEdge, "GroupBoxEdge");
        General(base_.Toolbars, out->Toolbars, "Toolbars");
        Border(base_.Tabs, out->Tabs, "Tabs", 1, true);
        General(base_.StatusBarEdges, out->StatusBarEdges, "StatusBarEdges");
        ComboButton(out->ComboButton);
        General(base_.SunkEdge, out->SunkEdge, "SunkEdge");
        General(base_.ExtraImages, out->ExtraImages, "ExtraImages");
        General(base_.Headerbar, out->Headerbar, "Headerbar");
        General(base_.MenuItem, out->MenuItem, "MenuItem");
        General(base_.MenuBackground, out->MenuBackground, "MenuBackground");
        General(base_.Scrollbar, out->Scrollbar, "Scrollbar");
        General(base_.HorzScroll, out->HorzScroll, "HorzScroll");
        General(base_.VertScroll, out->VertScroll, "VertScroll");
        General(base_.HorzScrollThumb, out->HorzScrollThumb, "HorzScrollThumb");
        General(base_.VertScrollThumb, out->VertScrollThumb, "VertScrollThumb");
        General(base_.Trackbar.ThumbHorz, out->Trackbar.ThumbHorz, "Trackbar.ThumbHorz");
        General(base_.Trackbar.ThumbVert, out->Trackbar.ThumbVert, "Trackbar.ThumbVert");
        General(base_.Trackbar.ThumbLeft, out->Trackbar.ThumbLeft, "Trackbar.ThumbLeft");
        General(base_.Trackbar.ThumbRight, out->Trackbar.ThumbRight, "Trackbar.ThumbRight");
        General(base_.Trackbar.ThumbUp, out->Trackbar.ThumbUp, "Trackbar.ThumbUp");
        General(base_.Trackbar.ThumbDown, out->Trackbar.ThumbDown, "Trackbar.ThumbDown");
        Border(base_.UpDown.Horz, out->UpDown.Horz, "UpDown.Horz", 8, false);
        Border(base_.UpDown.Vert, out->UpDown.Vert, "UpDown.Vert", 8, false);
        SysButtons(*out);
        return out;
    }

private:
    // The same record of the set read from the per-scale entries, if any.
    template <class Record>
    Record* Drawn(std::string_view slot) const {
        return drawn_ ? static_cast<Record*>(drawn_->Slot(slot)) : nullptr;
    }
    static TBitmap* ImageOf(TDataSkinObject* r) { return r ? &r->Image : nullptr; }

    // An edge keeps its stretch flag in Tile: 1 stretches the centre.
    void Edge(const std::unique_ptr<TDataSkinBorder>& from, std::unique_ptr<TDataSkinBorder>& to,
              std::string_view slot, bool stacked) {
        CopyScaled(*from, *to, dpi_);
        TImageSlices s = Slices(*from, from->Tile != 1);
        s.stacked = stacked;
        ChooseImage(to->Image, from->Image, ImageOf(Drawn<TDataSkinBorder>(slot)), s, dpi_);
    }

    void Title(const TDataSkinTitle& from, TDataSkinTitle& to) {
        CopyScaled(from, to, dpi_);
        to.TextAlignment = from.TextAlignment;
        to.Textbackground = from.Textbackground;
        to.FontHeight = ScaleToDpi(from.FontHeight, dpi_);
        to.TXTBackleft = ScaleToDpi(from.TXTBackleft, dpi_);
        to.TXTBackRight = ScaleToDpi(from.TXTBackRight, dpi_);
        to.ActiveText = from.ActiveText;
        to.InActiveText = from.InActiveText;
        // The caption text background: two stacked frames, capped left and right.
        const TImageSlices s{2, true, from.TXTBackleft, 0, from.TXTBackRight, 0, false};
        ChooseImage(to.Image, from.Image, ImageOf(Drawn<TDataSkinTitle>("Title")), s, dpi_);
    }

    void Buttons(const TDataSkinButton& from, TDataSkinButton& to) {
        CopyScaled(from, to, dpi_);
        to.RadioButtonFrame = from.RadioButtonFrame;
        to.CheckButtonFrame = from.CheckButtonFrame;
        auto* drawn = Drawn<TDataSkinButton>("Buttons");
        ChooseImage(to.Image, from.Image, ImageOf(drawn), Slices(from, from.Tile == 1), dpi_);
        ChooseImage(to.CheckButton, from.CheckButton, drawn ? &drawn->CheckButton : nullptr,
                    {from.CheckButtonFrame}, dpi_);
        ChooseImage(to.RadioButton, from.RadioButton, drawn ? &drawn->RadioButton : nullptr,
                    {from.RadioButtonFrame}, dpi_);
    }

    // The menu bar: two stacked frames, its caps in LeftWidth and RightWidth.
    void Strip(const std::unique_ptr<TDataSkinObject>& from, std::unique_ptr<TDataSkinObject>& to,
               std::string_view slot) {
        if (!from) return;
        to = std::make_unique<TDataSkinObject>(from->Name);
        CopyScaled(*from, *to, dpi_);
        TImageSlices s = Slices(*from, from->Tile == 1, 2);
        s.stacked = true;
        ChooseImage(to->Image, from->Image, ImageOf(Drawn<TDataSkinObject>(slot)), s, dpi_);
    }

    void General(const std::unique_ptr<TDataSkinObject>& from, std::unique_ptr<TDataSkinObject>& to,
                 std::string_view slot) {
        if (!from) return;
        to = std::make_unique<TDataSkinObject>(from->Name);
        CopyScaled(*from, *to, dpi_);
        ChooseImage(to->Image, from->Image, ImageOf(Drawn<TDataSkinObject>(slot)), Slices(*from, from->Tile == 1),
                    dpi_);
    }

    // Image2 holds `frames2` frames, cut by the record's margins or uncut.
    void Border(const std::unique_ptr<TDataSkinBorder>& from, std::unique_ptr<TDataSkinBorder>& to,
                std::string_view slot, int frames2, bool margins2) {
        if (!from) return;
        to = std::make_unique<TDataSkinBorder>(from->Name);
        CopyScaled(*from, *to, dpi_);
        auto* drawn = Drawn<TDataSkinBorder>(slot);
        ChooseImage(to->Image, from->Image, ImageOf(drawn), Slices(*from, from->Tile == 1), dpi_);
        const TImageSlices s2 = margins2 ? Slices(*from, from->Tile == 1, frames2) : TImageSlices{frames2};
        ChooseImage(to->Image2, from->Image2, drawn ? &drawn->Image2 : nullptr, s2, dpi_);
    }

    // Its second image is the first mirrored, as the definition reader makes it.
    void ComboButton(std::unique_ptr<TDataSkinBorder>& to) {
        const auto& from = base_.ComboButton;
        if (!from) return;
        to = std::make_unique<TDataSkinBorder>(from->Name);
        CopyScaled(*from, *to, dpi_);
        ChooseImage(to->Image, from->Image, ImageOf(Drawn<TDataSkinBorder>("ComboButton")),
                    Slices(*from, from->Tile == 1), dpi_);
        const int w = to->Image.Width(), h = to->Image.Height();
        to->Image2.SetSize(w, h);
        for (int y = 0; y < h; ++y) {
            const std::uint32_t* src = to->Image.ScanLine(y);
            std::uint32_t* dst = to->Image2.ScanLine(y);
            for (int x = 0; x < w; ++x) dst[x] = src[w - 1 - x] & 0x00FFFFFF;
        }
    }

    void SysButtons(TSkinElements& out) {
        for (std::size_t i = 0; i < base_.SysButtons.size(); ++i) {
            const TDataSkinSysButton& from = *base_.SysButtons[i];
            auto to = std::make_unique<TDataSkinSysButton>(from.Name);
            CopyScaled(from, *to, dpi_);
            to->Action = from.Action;
            to->Align = from.Align;
            to->Xcoord = ScaleToDpi(from.Xcoord, dpi_);
            to->Ycoord = ScaleToDpi(from.Ycoord, dpi_);
            to->CombineOp = from.CombineOp;
            to->Visibility = from.Visibility;
            to->Visibility1 = from.Visibility1;
            TBitmap* drawn = drawn_ && i < drawn_->SysButtons.size() ? &drawn_->SysButtons[i]->Image : nullptr;
            ChooseImage(to->Image, from.Image, drawn, {from.FrameCount}, dpi_);
            out.SysButtons.push_back(std::move(to));
        }
    }

    const TSkinElements& base_;
    TSkinElements* drawn_;
    int dpi_;
};

}  // namespace

std::string_view ScaleSuffixFor(int dpi) {
    switch (dpi) {
    case 120: return "@125";
    case 144: return "@150";
    case 192: return "@200";
    default: return {};
    }
}

void ScaledImageSize(const TBitmap& image, const TImageSlices& slices, int dpi, int& width, int& height) {
    int fw = 0, fh = 0;
    FrameSize(image, slices, fw, fh);
    const int frames = std::max(slices.frames, 1);
    width = ScaleToDpi(fw, dpi) * (slices.stacked ? 1 : frames);
    height = ScaleToDpi(fh, dpi) * (slices.stacked ? frames : 1);
    if (width <= 0 || height <= 0) width = height = 0;
}

TBitmap ScaleSkinImage(const TBitmap& image, const TImageSlices& slices, int dpi) {
    int fw = 0, fh = 0, w = 0, h = 0;
    FrameSize(image, slices, fw, fh);
    ScaledImageSize(image, slices, dpi, w, h);
    TBitmap out(w, h);
    if (out.Empty()) return out;
    const int dw = ScaleToDpi(fw, dpi), dh = ScaleToDpi(fh, dpi);
    const std::vector<int> xs = AxisMap(fw, dw, slices.left, slices.right, slices.tileCentre, dpi);
    const std::vector<int> ys = AxisMap(fh, dh, slices.top, slices.bottom, slices.tileCentre, dpi);
    for (int k = 0; k < std::max(slices.frames, 1); ++k) {
        const int sx = slices.stacked ? 0 : k * fw, sy = slices.stacked ? k * fh : 0;
        const int tx = slices.stacked ? 0 : k * dw, ty = slices.stacked ? k * dh : 0;
        for (int y = 0; y < dh; ++y) {
            const std::uint32_t* src = image.ScanLine(sy + ys[y]) + sx;
            std::uint32_t* dst = out.ScanLine(ty + y) + tx;
            for (int x = 0; x < dw; ++x) dst[x] = src[xs[x]];
        }
    }
    return out;
}

std::unique_ptr<TSkinElements> ScaleSkinElements(const TSkinElements& base, int dpi, const TSkinReader* package) {
    std::unique_ptr<TSkinElements> drawn;
    const std::string_view suffix = ScaleSuffixFor(dpi);
    if (package && !suffix.empty()) {
        // The entries drawn for this scale, unpacked now where the load left
        // them packed.
        const auto ofScale = [suffix](std::string_view name) { return EntryScaleSuffix(name) == suffix; };
        std::optional<TSkinReader> unpacked;
        for (int i = 0; i < package->Count() && !unpacked; ++i)
            if (package->Packed(i) && ofScale(package->Names()[i])) unpacked = package->Unpacked(ofScale);
        drawn = std::make_unique<TSkinElements>();
        // A definition that no longer reads leaves every image to be scaled.
        try {
            if (!LoadSkinDefinition(*drawn, unpacked ? *unpacked : *package, suffix)) drawn.reset();
        } catch (const std::exception&) {
            drawn.reset();
        }
    }
    return Scaler(base, drawn.get(), dpi).Run();
}

}  // namespace srt

#include "tools/skingen/art.h"

#include <map>

#include "skin/data/bmp.h"
#include "tools/skingen/definition.h"
#include "tools/skingen/painter.h"

namespace srt::art {
namespace {

// Every image of the skin at `dpi`, by its 96-DPI name.
std::map<std::string, TBitmap> DrawImages(const TPalette& palette, int dpi) {
    Painter art(palette, dpi);
    art.FrameEdges();
    art.TextBack();
    art.CaptionButtons();
    art.MenuBar();
    art.Buttons();
    art.CheckCells();
    art.Progress();
    art.GroupBox();
    art.Toolbars();
    art.Tabs();
    art.StatusBar();
    art.ComboButton();
    art.SunkEdge();
    art.ExtraImages();
    art.Headerbar();
    art.Menus();
    art.ScrollBars();
    art.TrackBars();
    art.UpDowns();
    return std::move(art.images);
}

}  // namespace

std::string ScaledName(const std::string& name, const TScale& scale) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name + scale.suffix : name.substr(0, dot) + scale.suffix + name.substr(dot);
}

std::vector<TSkinEntry> GenerateSkin(const TPalette& palette) {
    std::map<std::string, std::vector<std::uint8_t>> bitmaps;
    for (const auto& [name, image] : DrawImages(palette, kDesignDpi)) bitmaps[name] = WriteBmp24(image);
    for (const TScale& scale : kScales)
        for (const auto& [name, image] : DrawImages(palette, scale.dpi))
            bitmaps[ScaledName(name, scale)] = WriteBmp24(image);

    std::vector<TSkinEntry> files;
    const std::string ini = SkinDefinition(palette);
    files.push_back({"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())});
    for (auto& [name, bytes] : bitmaps) files.push_back({name, std::move(bytes)});
    return files;
}

}  // namespace srt::art

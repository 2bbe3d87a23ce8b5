#include "skin/data/records.h"

namespace srt {

TSkinElements::TSkinElements()
    : Left(std::make_unique<TDataSkinBorder>("Left")),
      Right(std::make_unique<TDataSkinBorder>("Right")),
      Top(std::make_unique<TDataSkinBorder>("Top")),
      Bottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {}

const std::vector<std::string_view>& TSkinElements::SlotNames() {
    static const std::vector<std::string_view> names = {
        "Left", "Right", "Top", "Bottom", "Title", "Buttons", "MenuBar", "Progress",
        "GroupBoxEdge", "Toolbars", "Tabs", "StatusBarEdges", "ComboButton", "SunkEdge",
        "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
        "VertScroll", "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz",
        "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp",
        "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert"};
    return names;
}

TDataSkinObject* TSkinElements::Slot(std::string_view name) const {
    const std::pair<std::string_view, TDataSkinObject*> slots[] = {
        {"Left", Left.get()},
        {"Right", Right.get()},
        {"Top", Top.get()},
        {"Bottom", Bottom.get()},
        {"Title", Title.get()},
        {"Buttons", Buttons.get()},
        {"MenuBar", MenuBar.get()},
        {"Progress", Progress.get()},
        {"GroupBoxEdge", GroupBoxEdge.get()},
        {"Toolbars", Toolbars.get()},
        {"Tabs", Tabs.get()},
        {"StatusBarEdges", StatusBarEdges.get()},
        {"ComboButton", ComboButton.get()},
        {"SunkEdge", SunkEdge.get()},
        {"ExtraImages", ExtraImages.get()},
        {"Headerbar", Headerbar.get()},
        {"MenuItem", MenuItem.get()},
        {"MenuBackground", MenuBackground.get()},
        {"Scrollbar", Scrollbar.get()},
        {"HorzScroll", HorzScroll.get()},
        {"VertScroll", VertScroll.get()},
        {"HorzScrollThumb", HorzScrollThumb.get()},
        {"VertScrollThumb", VertScrollThumb.get()},
        {"Trackbar.ThumbHorz", Trackbar.ThumbHorz.get()},
        {"Trackbar.ThumbVert", Trackbar.ThumbVert.get()},
        {"Trackbar.ThumbLeft", Trackbar.ThumbLeft.get()},
        {"Trackbar.ThumbRight", Trackbar.ThumbRight.get()},
        {"Trackbar.ThumbUp", Trackbar.ThumbUp.get()},
        {"Trackbar.ThumbDown", Trackbar.ThumbDown.get()},
        {"UpDown.Horz", UpDown.Horz.get()},
        {"UpDown.Vert", UpDown.Vert.get()},
    };
    for (const auto& [slotName, record] : slots)
        if (slotName == name) return record;
    return nullptr;
}

}  // namespace srt

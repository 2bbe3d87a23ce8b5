// Skinned tabs: tab controls with their tabs on each side, one with more
// tabs than fit (scroll arrows), and a tab set.
#include "commonskins.h"
#include "component/comctrls.h"
#include "gallery.h"

namespace gallery {

void TabsPage() {
    UseCommonControlSkins();
    TForm* form = NewPageForm("Tab controls and a tab set", 600, 420);
    const struct {
        TTabPosition position;
        int x, y;
        const char* name;
    } sides[] = {{tpTop, 12, 12, "Top"}, {tpBottom, 304, 12, "Bottom"}, {tpLeft, 12, 160, "Left"},
                 {tpRight, 304, 160, "Right"}};
    for (const auto& s : sides) {
        auto* tabs = new TTabControl(form);
        tabs->SetTabPosition(s.position);
        tabs->SetTabs({s.name, "Timing", "Text"});
        Place(tabs, form, s.x, s.y, 284, 136);
    }
    auto* many = new TTabControl(form);
    many->SetTabs({"Cues", "Timing", "Offsets", "Encoding", "Preview", "Export", "Options"});
    many->SetTabIndex(1);
    Place(many, form, 12, 308, 284, 60);
    auto* set = new TTabSet(form);
    Place(set, form, 304, 308, 284, 22);
    set->SetTabs({"Sheet 1", "A very long sheet name", "Sheet 3", "Sheet 4", "Sheet 5", "Sheet 6"});
    set->SetTabIndex(0);
    CloseButton(form, 508, 382);
    form->Show();
}

}  // namespace gallery

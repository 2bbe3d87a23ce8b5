// Skinned indicators: status bars with panels and in simple mode, progress
// bars in both looks, track bars horizontal and vertical.
#include "commonskins.h"
#include "component/comctrls.h"
#include "gallery.h"

namespace gallery {

void IndicatorsPage() {
    UseCommonControlSkins();
    TForm* form = NewPageForm("Status, progress and track bars", 460, 330);
    auto* normal = new TProgressBar(form);
    Place(normal, form, 12, 16, 250, 18);
    normal->SetPosition(60);
    auto* block = new TProgressBar(form);
    block->SetTag(kBlockProgressTag);
    Place(block, form, 12, 44, 250, 18);
    block->SetPosition(35);

    auto* horz = new TTrackBar(form);
    horz->SetRange(0, 20);
    horz->SetFrequency(2);
    Place(horz, form, 12, 80, 250, 40);
    horz->SetPosition(8);
    auto* vert = new TTrackBar(form);
    vert->SetOrientation(trVertical);
    vert->SetRange(0, 10);
    Place(vert, form, 290, 16, 40, 180);
    vert->SetPosition(3);

    auto* simple = new TStatusBar(form);
    simple->SetSizeGrip(false);
    Place(simple, form, 0, 230, 460, 22);
    simple->SetSimplePanel(true);
    simple->SetSimpleText("Ready: 120 cues, offset +1500 ms");
    auto* panels = new TStatusBar(form);
    Place(panels, form, 0, 308, 460, 22);
    panels->SetPanels({{"Line 12", 90, taLeftJustify, pbLowered},
                       {"UTF-8", 90, taCenter, pbRaised},
                       {"", 80, taLeftJustify, pbNone},
                       {"Saved", 200, taRightJustify, pbLowered}});
    CloseButton(form, 368, 270);
    form->Show();
}

}  // namespace gallery

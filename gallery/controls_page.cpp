// Standard controls in the skin: push, bitmap and speed buttons, check boxes
// and radio buttons alone and in groups, an edit box with its spin button,
// combo boxes, date-time pickers, and the controls that a Tag or a Skin3rd
// line decides on.
#include <windows.h>

#include <commctrl.h>

#include "component/buttons.h"
#include "component/groups.h"
#include "component/pickers.h"
#include "component/richedit.h"
#include "gallery.h"
#include "skin/controls/buttons.h"
#include "skin/controls/controlskins.h"

namespace gallery {
namespace {

constexpr std::uint32_t kKey = 0xFF00FF;  // see-through

// A 16 x 16 tick in `colour` on the key colour, frame `frame` of the strip.
void DrawTick(TBitmap& strip, int frame, std::uint32_t colour) {
    const int x0 = frame * 16;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) strip.SetPixel(x0 + x, y, kKey);
    for (int i = 0; i < 5; ++i)
        for (int t = 0; t < 3; ++t) strip.SetPixel(x0 + 2 + i, 7 + i + t - 1, colour);
    for (int i = 0; i < 8; ++i)
        for (int t = 0; t < 3; ++t) strip.SetPixel(x0 + 6 + i, 11 - i + t - 1, colour);
}

// Up, disabled and down glyphs.
void MakeGlyphs(TBitmap& strip) {
    strip.SetSize(48, 16);
    DrawTick(strip, 0, 0x208020);
    DrawTick(strip, 1, 0x909090);
    DrawTick(strip, 2, 0x104010);
}

void AddSkin3rd(TSkinData& data, const std::string& line) {
    TStringList* lines = data.Skin3rd();
    for (int i = 0; i < lines->Count(); ++i)
        if (SameText(lines->Get(i), line)) return;
    lines->Add(line);
}

// No built-in rule picks the bitmap and speed button skins: the application
// hands them out.
void HandOutButtonSkins(TSkinData& data) {
    if (data.OnSkinControl) return;
    data.OnSkinControl.Code = [](TObject* sender, TSkinData* d, TComponent*, TComponent* control,
                                 const std::string& cls, TObject*& skin) {
        auto* owner = dyncast<srt::TControlSkins>(sender);
        if (!owner) return;
        if (cls == "TBITBTN") {
            skin = new srt::TSkinBitButton(owner);
        } else if (cls == "TSPEEDBUTTON") {
            auto* s = new srt::TSkinSpeedButton(owner);
            s->InitSpeedButton(static_cast<TSpeedButton*>(control), d);
            skin = s;
        }
    };
}

TLabel* Heading(TForm* form, int x, int y, const std::string& text) {
    return Place(new TLabel(form), form, x, y, 200, 16, text);
}

void Buttons(TForm* form, int x) {
    Heading(form, x, 12, "Push buttons");
    Place(new TButton(form), form, x, 30, 90, 26, "Normal");
    Place(new TButton(form), form, x + 100, 30, 90, 26, "Disabled")->SetEnabled(false);
    auto* excluded = Place(new TButton(form), form, x, 62, 190, 26, "Tag 199: its own look");
    excluded->SetTag(199);

    Heading(form, x, 100, "Bitmap buttons");
    auto* open = Place(new TBitBtn(form), form, x, 118, 90, 30, "Open");
    MakeGlyphs(open->Glyph());
    open->SetNumGlyphs(3);
    auto* top = Place(new TBitBtn(form), form, x + 100, 118, 90, 46, "Above");
    MakeGlyphs(top->Glyph());
    top->SetNumGlyphs(3);
    top->SetLayout(blGlyphTop);
    auto* bare = Place(new TBitBtn(form), form, x, 154, 40, 30);
    MakeGlyphs(bare->Glyph());
    bare->SetNumGlyphs(3);

    Heading(form, x, 196, "Speed buttons");
    for (int i = 0; i < 3; ++i) {
        auto* b = Place(new TSpeedButton(form), form, x + i * 32, 214, 30, 28);
        MakeGlyphs(b->Glyph());
        b->SetNumGlyphs(3);
        b->SetGroupIndex(1);
        if (i == 0) b->SetDown(true);
    }
    auto* none = Place(new TSpeedButton(form), form, x + 100, 214, 40, 28, "None");
    MakeGlyphs(none->Glyph());
    none->SetNumGlyphs(0);  // a glyph count of 0: no glyph
    auto* off = Place(new TSpeedButton(form), form, x + 144, 214, 46, 28, "Off");
    off->SetEnabled(false);
}

void Checks(TForm* form, int x) {
    Heading(form, x, 12, "Check boxes and radio buttons");
    Place(new TCheckBox(form), form, x, 30, 190, 18, "Unchecked");
    Place(new TCheckBox(form), form, x, 50, 190, 18, "Checked")->SetChecked(true);
    Place(new TCheckBox(form), form, x, 70, 190, 18, "Grayed")->SetState(cbGrayed);
    auto* disabled = Place(new TCheckBox(form), form, x, 90, 190, 18, "Disabled, checked");
    disabled->SetChecked(true);
    disabled->SetEnabled(false);
    Place(new TCheckBox(form), form, x, 110, 190, 18, "Caption left of the box")->SetAlignment(taLeftJustify);
    Place(new TRadioButton(form), form, x, 132, 90, 18, "Radio one")->SetChecked(true);
    Place(new TRadioButton(form), form, x + 95, 132, 95, 18, "Radio two");

    auto* radios = Place(new TRadioGroup(form), form, x, 156, 190, 78, "Radio group");
    radios->SetItems({"First", "Second", "Third"});
    radios->SetItemIndex(1);
    auto* checks = Place(new TCheckGroup(form), form, x, 240, 190, 60, "Check group");
    checks->SetColumns(2);
    checks->SetItems({"Left", "Right"});
    checks->SetChecked(0, true);
}

void Entries(TForm* form, int x) {
    Heading(form, x, 12, "Edit box with a spin button");
    auto* edit = Place(new TEdit(form), form, x, 30, 120, 22, "5");
    auto* spin = Place(new TUpDown(form), form, x + 120, 30, 17, 22);
    spin->SetMax(99);
    spin->SetPosition(5);
    spin->SetAssociate(edit);
    // Styles that the window takes at its creation are set before placing.
    auto* across = new TUpDown(form);
    across->SetOrientation(udHorizontal);
    Place(across, form, x + 150, 30, 36, 20);

    Heading(form, x, 60, "Combo boxes (Tag 95; no tag)");
    auto* combo = Place(new TComboBox(form), form, x, 78, 190, 22);
    combo->SetTag(95);
    combo->SetItems({"Western (1252)", "Simplified Chinese (936)", "UTF-8"});
    combo->SetItemIndex(0);
    auto* list = new TComboBox(form);
    list->SetStyle(csDropDownList);
    Place(list, form, x, 104, 190, 22);
    list->SetTag(95);
    list->SetItems({"A list only", "Second"});
    list->SetItemIndex(0);
    auto* plain = Place(new TComboBox(form), form, x, 130, 190, 22);
    plain->SetItems({"No tag: its own look"});
    plain->SetItemIndex(0);

    Heading(form, x, 160, "Date and time pickers");
    Place(new TDateTimePicker(form), form, x, 178, 110, 22);
    auto* time = new TDateTimePicker(form);
    time->SetKind(dtkTime);
    Place(time, form, x + 116, 178, 74, 22);

    Heading(form, x, 208, "Tag 97 panel; rich edit");
    auto* framed = new TPanel(form);
    framed->SetBorderStyle(bsSingle);
    framed->SetBevelOuter(bvNone);
    framed->SetTag(97);
    Place(framed, form, x, 226, 190, 26, "An edge like an edit box");
    auto* rich = Place(new TRichEdit(form), form, x, 258, 190, 42);
    rich->SetText("A rich edit: a memo subclass.");
}

}  // namespace

void ControlsPage() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    if (TSkinData* data = GallerySkin()) {
        // Stock check boxes and groups take their skins through the list.
        AddSkin3rd(*data, "TCheckBox=Checkbox");
        AddSkin3rd(*data, "TRadioButton=Radiobutton");
        AddSkin3rd(*data, "TRadioGroup=Radiogroup");
        AddSkin3rd(*data, "TCheckGroup=CheckGroup");
        HandOutButtonSkins(*data);
    }
    TForm* form = NewPageForm("Controls", 640, 350, bsSingle);
    Buttons(form, 16);
    Checks(form, 226);
    Entries(form, 436);
    CloseButton(form, 16, 310);
    form->Show();
}

}  // namespace gallery

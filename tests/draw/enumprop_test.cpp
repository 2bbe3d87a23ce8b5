#include "skin/draw/enumprop.h"

#include <gtest/gtest.h>

#include "component/classes.h"

namespace {

enum TLook { lkFlat, lkRaised, lkSunken };

class TWidget : public TComponent {
    SRT_DECLARE_CLASS()
public:
    using TComponent::TComponent;
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    TLook Look() const { return look_; }
    void SetLook(TLook v) { look_ = v; }
    TLook Shown() const { return look_; }
    std::int32_t Size() const { return size_; }
    void SetSize(std::int32_t v) { size_ = v; }
    std::uint32_t Parts() const { return parts_; }
    void SetParts(std::uint32_t v) { parts_ = v; }

private:
    bool flat_ = false;
    TLook look_ = lkFlat;
    std::int32_t size_ = 0;
    std::uint32_t parts_ = 0;
};

SRT_DEFINE_CLASS(TWidget, TComponent, {
    b.Boolean("Flat", &TWidget::Flat, &TWidget::SetFlat);
    b.Enum("Look", "TLook", {"lkFlat", "lkRaised", "lkSunken"}, &TWidget::Look, &TWidget::SetLook);
    b.Enum("Shown", "TLook", {"lkFlat", "lkRaised", "lkSunken"}, &TWidget::Shown, nullptr);
    b.Integer("Size", &TWidget::Size, &TWidget::SetSize, 0);
    b.Set("Parts", "TParts", {"pTop", "pBottom"}, &TWidget::Parts, &TWidget::SetParts);
})

TEST(SetEnumProperty, SetsEnumerationsAndBooleansByNameInAnyCase) {
    TWidget w(nullptr);
    srt::SetEnumProperty(&w, "Flat", "True");
    EXPECT_TRUE(w.Flat());
    srt::SetEnumProperty(&w, "flat", "false");
    EXPECT_FALSE(w.Flat());
    srt::SetEnumProperty(&w, "LOOK", "lkSunken");
    EXPECT_EQ(w.Look(), lkSunken);
}

TEST(SetEnumProperty, AnythingElseLeavesTheObjectAsItWas) {
    srt::SetEnumProperty(nullptr, "Flat", "True");  // no object

    TWidget w(nullptr);
    w.SetLook(lkRaised);
    w.SetSize(7);
    w.SetParts(1);
    srt::SetEnumProperty(&w, "Missing", "True");
    srt::SetEnumProperty(&w, "Size", "True");       // integer
    srt::SetEnumProperty(&w, "Parts", "pBottom");   // set
    srt::SetEnumProperty(&w, "Name", "lkFlat");     // string
    srt::SetEnumProperty(&w, "Look", "lkUpsideDown");
    srt::SetEnumProperty(&w, "Look", "");
    srt::SetEnumProperty(&w, "Shown", "lkFlat");    // read-only
    EXPECT_EQ(w.Look(), lkRaised);
    EXPECT_EQ(w.Size(), 7);
    EXPECT_EQ(w.Parts(), 1u);
    EXPECT_EQ(w.Name(), "");
}

}  // namespace

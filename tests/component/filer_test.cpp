#include "component/filer.h"

#include <gtest/gtest.h>

#include "component/graphics.h"

namespace {

std::vector<std::string>* gLog = nullptr;

class TBox : public TComponent {
    SRT_DECLARE_CLASS()
public:
    using TComponent::TComponent;
    std::int32_t Width() const { return width_; }
    void SetWidth(std::int32_t v) {
        width_ = v;
        if (gLog) gLog->push_back(Name() + ".Width" + (InState(csLoading) ? " loading" : ""));
    }
    TFont* Font() { return &font_; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    TNotifyEvent OnClick;
    TComponent* ParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* p) override { parent_ = p; }
    void Loaded() override {
        TComponent::Loaded();
        if (gLog) gLog->push_back(Name() + ".Loaded");
    }
    // A byte block the component reads itself.
    std::vector<std::uint8_t> blob;
    bool hasBlob = false;
    void DefineProperties(std::vector<TBlockProperty>& blocks) override {
        blocks.push_back({"Blob",
                          [this](std::span<const std::uint8_t> b) {
                              blob.assign(b.begin(), b.end());
                              hasBlob = true;
                              if (gLog) gLog->push_back(Name() + ".Blob");
                          },
                          [this] { return blob; }, hasBlob});
    }

private:
    std::int32_t width_ = 10;
    TFont font_;
    std::string caption_;
    TComponent* parent_ = nullptr;
};

class TRootBox : public TBox {
    SRT_DECLARE_CLASS()
public:
    using TBox::TBox;
};

SRT_DEFINE_CLASS(TBox, TComponent, {
    b.Integer("Width", &TBox::Width, &TBox::SetWidth, 10);
    b.Object("Font", &TBox::Font);
    b.String("Caption", &TBox::Caption, &TBox::SetCaption);
    b.Event("OnClick", &TBox::OnClick);
})
SRT_DEFINE_CLASS(TRootBox, TBox, )

TStoredObject Description() {
    return ParseStoredText(R"(object Root: TRootBox
  Width = 300
  Font.Height = -12
  Font.Name = '宋体'
  Caption = 'root'
  object Inner: TBox
    Tag = 7
    Width = 20
    OnClick = Clicked
    Blob = { 010203 }
    object Leaf: TBox
      Caption = 'leaf'
    end
  end
  object Other: TBox
  end
end
)");
}

struct Registry {
    TClassRegistry classes;
    Registry() { classes.Register<TBox, TRootBox>(); }
};

}  // namespace

TEST(Reader, CreatesByClassNameSetsInStoredOrderThenLoadsAll) {
    std::vector<std::string> log;
    gLog = &log;
    Registry r;
    TRootBox root(nullptr);
    int clicks = 0;
    root.RegisterMethod("Clicked", std::function<void(TObject*)>([&](TObject*) { ++clicks; }));
    ReadComponent(root, Description(), r.classes);
    gLog = nullptr;
    // Properties while loading, block after the published ones, Loaded once
    // on every component after the whole description.
    EXPECT_EQ(log, (std::vector<std::string>{"Root.Width loading", "Inner.Width loading", "Inner.Blob", "Root.Loaded",
                                             "Inner.Loaded", "Leaf.Loaded", "Other.Loaded"}));
    EXPECT_EQ(root.Name(), "Root");
    EXPECT_EQ(root.Font()->Name(), "宋体");
    EXPECT_EQ(root.Font()->Height(), -12);
    ASSERT_EQ(root.ComponentCount(), 3);  // all owned by the root
    auto* inner = root.FindComponentAs<TBox>("Inner");
    auto* leaf = root.FindComponentAs<TBox>("Leaf");
    ASSERT_TRUE(inner && leaf);
    EXPECT_EQ(inner->Tag(), 7);
    EXPECT_EQ(leaf->ParentComponent(), inner);
    EXPECT_EQ(inner->blob, (std::vector<std::uint8_t>{1, 2, 3}));
    inner->OnClick(inner);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(root.InState(csLoading));
}

TEST(Writer, WritesTheSameDescriptionBack) {
    Registry r;
    TRootBox root(nullptr);
    root.RegisterMethod("Clicked", std::function<void(TObject*)>([](TObject*) {}));
    TStoredObject stored = Description();
    ReadComponent(root, stored, r.classes);
    EXPECT_EQ(PrintStoredText(WriteComponent(root)), PrintStoredText(stored));
    EXPECT_EQ(WriteComponentBytes(root), WriteStoredObject(stored));
}

TEST(Reader, ErrorsNameTheComponentAndProperty) {
    Registry r;
    auto read = [&](const char* text) {
        TRootBox root(nullptr);
        ReadComponent(root, ParseStoredText(text), r.classes);
    };
    try {
        read("object R: TRootBox\n object B: TBox\n  Colour = 1\n end\nend");
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(std::string(e.what()), "Error reading B.Colour: Property Colour does not exist in TBox");
    }
    EXPECT_THROW(read("object R: TRootBox\n object B: TNoSuchClass\n end\nend"), EReadError);
    EXPECT_THROW(read("object R: TRootBox\n Width = 'text'\nend"), EReadError);
    EXPECT_THROW(read("object R: TRootBox\n OnClick = Missing\nend"), EReadError);
    EXPECT_THROW(read("object R: TRootBox\n object B: TBox end\n object b: TBox end\nend"), EReadError);
    TBox plain(nullptr);  // a TBox is no TRootBox
    EXPECT_THROW(ReadComponent(plain, ParseStoredText("object R: TRootBox\nend"), r.classes), EReadError);
}

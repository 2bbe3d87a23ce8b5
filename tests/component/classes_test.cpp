#include "component/classes.h"

#include <gtest/gtest.h>

#include "component/crlf.h"

namespace {

enum TKind { kA, kB, kC };

class TThing : public TComponent {
    SRT_DECLARE_CLASS()
public:
    using TComponent::TComponent;
    std::int32_t Size() const { return size_; }
    void SetSize(std::int32_t v) { size_ = v; }
    bool On() const { return on_; }
    void SetOn(bool v) { on_ = v; }
    TKind Kind() const { return kind_; }
    void SetKind(TKind v) { kind_ = v; }
    std::uint32_t Flags() const { return flags_; }
    void SetFlags(std::uint32_t v) { flags_ = v; }
    std::string Text() const { return text_; }
    void SetText(const std::string& v) { text_ = v; }
    TStringList* Items() { return &items_; }
    std::vector<std::string> removed;
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove) removed.push_back(c->Name());
    }

private:
    std::int32_t size_ = 0;
    bool on_ = false;
    TKind kind_ = kA;
    std::uint32_t flags_ = 0;
    std::string text_;
    TStringList items_;
};

class TSpecialThing : public TThing {
    SRT_DECLARE_CLASS()
public:
    using TThing::TThing;
};

SRT_DEFINE_CLASS(TThing, TComponent, {
    b.Integer("Size", &TThing::Size, &TThing::SetSize, 0);
    b.Boolean("On", &TThing::On, &TThing::SetOn);
    b.Enum("Kind", "TKind", {"kA", "kB", "kC"}, &TThing::Kind, &TThing::SetKind);
    b.Set("Flags", "TFlags", {"fOne", "fTwo", "fThree"}, &TThing::Flags, &TThing::SetFlags);
    b.String("Text", &TThing::Text, &TThing::SetText);
    b.Object("Items", &TThing::Items);
})
SRT_DEFINE_CLASS(TSpecialThing, TThing, )

}  // namespace

TEST(ClassInfo, AncestryAndNamesAnswerIsADescendantQuestions) {
    TSpecialThing s(nullptr);
    EXPECT_EQ(s.ClassName(), "TSpecialThing");
    EXPECT_TRUE(s.InheritsFrom("TThing"));
    EXPECT_TRUE(s.InheritsFrom("tcomponent"));
    EXPECT_TRUE(s.InheritsFrom("TObject"));
    EXPECT_FALSE(s.InheritsFrom("TButton"));
    EXPECT_TRUE(s.Is<TThing>());
    EXPECT_EQ(dyncast<TSpecialThing>(static_cast<TObject*>(&s)), &s);
    TThing t(nullptr);
    EXPECT_EQ(dyncast<TSpecialThing>(static_cast<TObject*>(&t)), nullptr);
    // Inherited properties come first, in declaration order.
    auto props = TSpecialThing::StaticClass().Properties();
    ASSERT_GE(props.size(), 3u);
    EXPECT_EQ(props[0]->Name, "Name");
    EXPECT_EQ(props[1]->Name, "Tag");
    EXPECT_EQ(props[2]->Name, "Size");
}

TEST(Properties, ReadAndWrittenByNameWithTheirKinds) {
    TThing t(nullptr);
    SetOrdProp(t, "Size", 42);
    EXPECT_EQ(t.Size(), 42);
    SetEnumProp(t, "On", "true");
    EXPECT_TRUE(t.On());
    EXPECT_EQ(GetEnumProp(t, "On"), "True");
    SetEnumProp(t, "Kind", "kC");
    EXPECT_EQ(t.Kind(), kC);
    SetSetProp(t, "Flags", {"fOne", "fThree"});
    EXPECT_EQ(t.Flags(), 5u);
    EXPECT_EQ(GetSetProp(t, "Flags"), (std::vector<std::string>{"fOne", "fThree"}));
    SetStrProp(t, "Text", "héllo");
    EXPECT_EQ(GetStrProp(t, "text"), "héllo");
    EXPECT_EQ(GetObjectProp(t, "Items"), t.Items());
    EXPECT_EQ(GetPropInfo(t, "Kind").Kind, TTypeKind::Enumeration);
    EXPECT_EQ(GetPropInfo(t, "Items").Kind, TTypeKind::StringList);
    EXPECT_TRUE(IsPublishedProp(t, "Tag"));
    EXPECT_FALSE(IsPublishedProp(t, "Colour"));
}

TEST(Properties, UnknownNamesAndValuesAreRefused) {
    TThing t(nullptr);
    EXPECT_THROW(SetOrdProp(t, "Missing", 1), EPropertyError);
    EXPECT_THROW(SetEnumProp(t, "Kind", "kD"), EPropertyError);
    EXPECT_THROW(SetEnumProp(t, "Size", "kA"), EPropertyError);
    EXPECT_THROW(SetOrdProp(t, "Kind", 3), EPropertyError);
    EXPECT_THROW(SetSetProp(t, "Flags", {"fFour"}), EPropertyError);
    EXPECT_THROW(GetStrProp(t, "Size"), EPropertyError);
    EXPECT_EQ(t.Kind(), kA);
}

TEST(Components, OwnerFreesOwnedLastFirstAndNotifiesRemoval) {
    auto* owner = new TThing(nullptr);
    auto* a = new TThing(owner);
    a->SetName("A");
    auto* b = new TThing(owner);
    b->SetName("B");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(owner->FindComponent("b"), b);
    delete b;  // removal is heard by the owner and its other components
    EXPECT_EQ(owner->removed, std::vector<std::string>{"B"});
    EXPECT_EQ(a->removed, std::vector<std::string>{"B"});
    EXPECT_EQ(owner->ComponentCount(), 1);
    delete owner;  // frees a; nothing leaks under the sanitizers
}

TEST(Components, NamesAreIdentifiersUniqueUnderTheOwner) {
    TThing owner(nullptr);
    auto* a = new TThing(&owner);
    a->SetName("Memo1");
    auto* b = new TThing(&owner);
    EXPECT_THROW(b->SetName("memo1"), EPropertyError);
    EXPECT_THROW(b->SetName("1Memo"), EPropertyError);
    EXPECT_THROW(b->SetName("Me mo"), EPropertyError);
    b->SetName("Memo2");
    EXPECT_EQ(b->Name(), "Memo2");
}

TEST(Strings, LinesSplitAtCRLFOnly) {
    EXPECT_EQ(SplitCRLF("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitCRLF("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitCRLF("a\nb\rc"), (std::vector<std::string>{"a\nb\rc"}));
    EXPECT_EQ(SplitCRLF("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(SplitCRLF("").empty());
    TStringList l;
    l.SetText("x\r\ny");
    EXPECT_EQ(l.Text(), "x\r\ny\r\n");
}

TEST(SplitCrLfLines, OnlyCrLfEndsALine) {
    using Views = std::vector<std::string_view>;
    EXPECT_EQ(srt::SplitCrLfLines<char>("a\r\nb"), (Views{"a", "b"}));
    EXPECT_EQ(srt::SplitCrLfLines<char>("a\r\nb\r\n"), (Views{"a", "b"}));
    EXPECT_EQ(srt::SplitCrLfLines<char>("a\nb\rc"), (Views{"a\nb\rc"}));
    EXPECT_EQ(srt::SplitCrLfLines<char>("\r\n\r\n"), (Views{"", ""}));
    EXPECT_EQ(srt::SplitCrLfLines<char>("\r\r\n\n"), (Views{"\r", "\n"}));
    EXPECT_TRUE(srt::SplitCrLfLines<char>("").empty());
    using WideViews = std::vector<std::wstring_view>;
    EXPECT_EQ(srt::SplitCrLfLines<wchar_t>(L"\u4f60\r\n\xdc80\r\n"), (WideViews{L"\u4f60", L"\xdc80"}));
}

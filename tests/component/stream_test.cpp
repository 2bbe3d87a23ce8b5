#include "component/stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace {

TStoredObject Sample() {
    TStoredObject root{"TForm1", "Form1", {}, {}};
    root.properties = {
        {"Left", TStoredValue::Int(-5)},
        {"Caption", TStoredValue::Str("Srt字幕 'q'\r\n\x01\xff")},
        {"BorderStyle", TStoredValue::Ident("bsSingle")},
        {"BorderIcons", TStoredValue::SetOf({"biSystemMenu", "biHelp"})},
        {"Empty", TStoredValue::SetOf({})},
        {"Lines", TStoredValue::List({"one", "", "three"})},
        {"Font.Name", TStoredValue::Str("宋体")},
        {"Picture.Data", TStoredValue::Block({0x47, 0x49, 0x46, 0x00, 0xff})},
        {"Min", TStoredValue::Int(INT32_MIN)},
    };
    TStoredObject child{"TMemo", "Memo1", {{"Top", TStoredValue::Int(8)}}, {}};
    child.children.push_back({"TButton", "", {}, {}});
    root.children.push_back(child);
    root.children.push_back({"TOpenDialog", "OpenDialog1", {}, {}});
    return root;
}

}  // namespace

TEST(StoredBinary, RoundTripsEveryValueType) {
    TStoredObject o = Sample();
    std::vector<std::uint8_t> bytes = WriteStoredObject(o);
    EXPECT_EQ(ReadStoredObject(bytes), o);
    EXPECT_EQ(WriteStoredObject(ReadStoredObject(bytes)), bytes);
}

TEST(StoredText, PrintsAndParsesBackTheSameObject) {
    TStoredObject o = Sample();
    std::string text = PrintStoredText(o);
    EXPECT_EQ(ParseStoredText(text), o);
    EXPECT_EQ(PrintStoredText(ParseStoredText(text)), text);
}

TEST(StoredText, SyntaxOfTheSource) {
    TStoredObject o = ParseStoredText(
        "// comment\n"
        "object Form1: TForm1\n"
        "  Color = $FF00000F\n"
        "  Caption = 'It''s'#13#10'x'\n"
        "  Set = [ a , b ]\n"
        "  Hex = { 01 0A ff }\n"
        "  Joined = #3'abc' + { 00 } + 'd'\n"
        "  object TTimer end\n"
        "end\n");
    EXPECT_EQ(o.Find("Color")->value.integer, static_cast<std::int32_t>(0xFF00000F));
    EXPECT_EQ(o.Find("Caption")->value.text, "It's\r\nx");
    EXPECT_EQ(o.Find("Set")->value.items, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(o.Find("Hex")->value.bytes, (std::vector<std::uint8_t>{1, 10, 255}));
    EXPECT_EQ(o.Find("Joined")->value.type, TStoredValue::Type::Bytes);
    EXPECT_EQ(o.Find("Joined")->value.bytes, (std::vector<std::uint8_t>{3, 'a', 'b', 'c', 0, 'd'}));
    ASSERT_EQ(o.children.size(), 1u);
    EXPECT_EQ(o.children[0].className, "TTimer");
    EXPECT_EQ(o.children[0].name, "");
}

TEST(StoredText, ErrorsNameTheLine) {
    try {
        ParseStoredText("object A: TA\n  X = 'open\nend\n");
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "line 2: unterminated string");
    }
    EXPECT_THROW(ParseStoredText("object A: TA\n X = 1\n"), EReadError);
    EXPECT_THROW(ParseStoredText("object A: TA\n X = 99999999999\nend"), EReadError);
    EXPECT_THROW(ParseStoredText("object A: TA\n X = { 1 }\nend"), EReadError);
    EXPECT_THROW(ParseStoredText("object A: TA\n X = #300\nend"), EReadError);
    EXPECT_THROW(ParseStoredText("object A: TA end trailing"), EReadError);
    EXPECT_THROW(ParseStoredText("object A: TA\n X = { 01 } + 2\nend"), EReadError);
    EXPECT_THROW(ParseStoredText("object A: TA\n X = { 01 } +\nend"), EReadError);
    // "file" only where a base folder is given.
    EXPECT_THROW(ParseStoredText("object A: TA\n X = file 'a.gif'\nend"), EReadError);
}

TEST(StoredBinary, MalformedInputIsRefusedNotOverread) {
    std::vector<std::uint8_t> good = WriteStoredObject(Sample());
    EXPECT_THROW(ReadStoredObject(std::vector<std::uint8_t>{}), EReadError);
    EXPECT_THROW(ReadStoredObject(std::vector<std::uint8_t>{'S', 'R', 'T', 'F', 2}), EReadError);
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + n);
        EXPECT_THROW(ReadStoredObject(cut), EReadError) << n;
    }
    std::vector<std::uint8_t> extra = good;
    extra.push_back(0);
    EXPECT_THROW(ReadStoredObject(extra), EReadError);
    // Huge counts and lengths fail fast.
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::uint8_t> mutated = good;
        mutated[5 + rng() % (mutated.size() - 5)] = static_cast<std::uint8_t>(rng());
        try {
            ReadStoredObject(mutated);
        } catch (const EReadError&) {
        }
    }
}

TEST(StoredBinary, DeepNestingIsRefused) {
    TStoredObject o{"T", "", {}, {}};
    TStoredObject* p = &o;
    for (int i = 0; i < kMaxStoredDepth + 2; ++i) {
        p->children.push_back({"T", "", {}, {}});
        p = &p->children.back();
    }
    EXPECT_THROW(ReadStoredObject(WriteStoredObject(o)), EReadError);
}

TEST(StoredText, TheMainWindowSourceCompilesAndPrintsBack) {
    std::string dir = std::string(SRT_SOURCE_DIR) + "/resources/forms";
    std::ifstream in(dir + "/main.form", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TStoredObject o = ParseStoredText(text, dir);
    EXPECT_EQ(o.className, "TForm1");
    const TStoredObject* image = nullptr;
    for (const auto& c : o.children)
        if (c.name == "Image1") image = &c;
    ASSERT_NE(image, nullptr);
    const TStoredProperty* data = image->Find("Picture.Data");
    ASSERT_NE(data, nullptr);
    // The graphic's class name as a length byte and its characters, then the GIF stream.
    ASSERT_GE(data->value.bytes.size(), 16u);
    EXPECT_EQ(std::string(data->value.bytes.begin(), data->value.bytes.begin() + 16), "\x09TGIFImageGIF89a");
    EXPECT_EQ(ParseStoredText(PrintStoredText(o)), o);
}

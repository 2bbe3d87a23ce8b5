// Picture classes: the registry and a picture's stored data, decoded by the
// class its data names and kept byte for byte whatever it holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "component/forms.h"

namespace {

// A picture whose stream is its width and height bytes; "bad" streams fail.
class TProbeGraphic : public TGraphic {
public:
    std::vector<std::uint8_t> seen;
    bool LoadFromBytes(std::span<const std::uint8_t> bytes) override {
        seen.assign(bytes.begin(), bytes.end());
        return bytes.size() == 2;
    }
    int Width() const override { return seen.size() == 2 ? seen[0] : 0; }
    int Height() const override { return seen.size() == 2 ? seen[1] : 0; }
    void Draw(HDC, int, int) override {}
};

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TGraphicFormats ProbeFormats() {
    TGraphicFormats formats;
    TGraphicFormat f;
    f.ClassName = "TProbeGraphic";
    f.Extension = "prb";
    f.Description = "Probe";
    f.ClipboardName = "Srt Probe Picture";
    f.Factory = [] { return std::make_unique<TProbeGraphic>(); };
    formats.Register(f);
    return formats;
}

}  // namespace

TEST(GraphicFormats, FoundByClassExtensionAndClipboardFormat) {
    TGraphicFormats formats = ProbeFormats();
    const TGraphicFormat* f = formats.FindClass("TProbeGraphic");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(formats.FindExtension("PRB"), f);
    EXPECT_EQ(formats.FindExtension(".prb"), f);
    EXPECT_EQ(formats.FindExtension("gif"), nullptr);
    EXPECT_EQ(formats.FindClass("tprobegraphic"), nullptr);  // class names are exact
    ASSERT_NE(f->ClipboardFormat, 0u);
    wchar_t name[64];
    ASSERT_GT(GetClipboardFormatNameW(f->ClipboardFormat, name, 64), 0);
    EXPECT_STREQ(name, L"Srt Probe Picture");
    EXPECT_EQ(formats.FindClipboardFormat(f->ClipboardFormat), f);
    EXPECT_EQ(formats.FindClipboardFormat(0), nullptr);

    // Registering a class again replaces it.
    TGraphicFormat again = *f;
    again.Description = "Probe 2";
    formats.Register(again);
    ASSERT_EQ(formats.Formats().size(), 1u);
    EXPECT_EQ(formats.FindClass("TProbeGraphic")->Description, "Probe 2");
}

TEST(Picture, DataNamesTheClassThatDecodesTheRest) {
    TGraphicFormats formats = ProbeFormats();
    TPicture picture(&formats);
    std::vector<std::uint8_t> data = TPicture::StoredData("TProbeGraphic", Bytes("\x4e\x4f"));
    EXPECT_EQ(data, Bytes("\x0dTProbeGraphic\x4e\x4f"));
    picture.SetData(data);
    EXPECT_EQ(picture.GraphicClassName(), "TProbeGraphic");
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->Width(), 0x4e);
    EXPECT_EQ(picture.Graphic()->Height(), 0x4f);
    EXPECT_EQ(picture.Data(), data);
}

TEST(Picture, DataThatDoesNotDecodeIsKeptAsItIs) {
    TGraphicFormats formats = ProbeFormats();
    const std::vector<std::vector<std::uint8_t>> cases = {
        Bytes("\x0dTProbeGraphicbad"),   // the class refuses its stream
        Bytes("\x0bTOtherClassxy"),      // a class no one registered
        Bytes("\x40TProbe"),             // the name runs past the end
        Bytes("GIF89a"),                 // no class name at all
        {0},                             // an empty name
    };
    for (const auto& data : cases) {
        TPicture picture(&formats);
        picture.SetData(data);
        EXPECT_EQ(picture.Graphic(), nullptr);
        EXPECT_EQ(picture.Data(), data);
    }
    TPicture unregistered(nullptr);
    unregistered.SetData(Bytes("\x0dTProbeGraphicxy"));
    EXPECT_EQ(unregistered.Graphic(), nullptr);
    // Formats that arrive later decode what is already there.
    unregistered.SetFormats(&formats);
    EXPECT_NE(unregistered.Graphic(), nullptr);
}

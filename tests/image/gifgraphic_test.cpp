// The GIF picture class drawn on real GDI: the first frame at its place,
// transparent pixels leave the target as it was; registration.
#include <windows.h>

#include <gtest/gtest.h>

#include "component/graphics.h"
#include "image/gifgraphic.h"

namespace srt {
namespace {

// A 5 x 4 screen with one 3 x 2 frame at (1, 1): red, transparent, blue /
// transparent, green, red; index 3 is the transparent one.
std::vector<std::uint8_t> SmallGif(bool transparent) {
    TGIFImage image;
    image.Header.Screen.Width = 5;
    image.Header.Screen.Height = 4;
    image.Header.Screen.Flags = 0x80 | 0x01;  // four-entry global table
    image.Header.ColorMap = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    auto frame = std::make_unique<TGIFFrame>();
    auto gce = std::make_unique<TGIFGraphicControlExtension>();
    gce->SetTransparent(transparent);
    gce->TransparentColorIndex = 3;
    frame->AddExtension(std::move(gce));
    frame->HasImage = true;
    frame->Descriptor.Left = 1;
    frame->Descriptor.Top = 1;
    frame->Descriptor.Width = 3;
    frame->Descriptor.Height = 2;
    frame->Pixels = {0, 3, 2, 3, 1, 0};
    image.Frames.push_back(std::move(frame));
    return image.SaveToBytes();
}

constexpr std::uint32_t kBack = 0x123456;  // colour value of the target's background

TBitmap Target() {
    TBitmap target(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) target.SetPixel(x, y, kBack);
    return target;
}

}  // namespace

TEST(GifGraphic, DrawsTheFrameAtItsPlaceWithTheTransparentColourSeeThrough) {
    TGIFGraphic g;
    ASSERT_TRUE(g.LoadFromBytes(SmallGif(true))) << g.Error();
    EXPECT_EQ(g.Width(), 5);
    EXPECT_EQ(g.Height(), 4);
    TBitmap target = Target();
    g.Draw(target.Canvas(), 2, 1);
    GdiFlush();
    const std::uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
    // Frame origin: (2 + 1, 1 + 1).
    const std::uint32_t want[2][3] = {{red, kBack, blue}, {kBack, green, red}};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 3 && x < 6 && y >= 2 && y < 4;
            const std::uint32_t expected = inside ? want[y - 2][x - 3] : kBack;
            EXPECT_EQ(target.Pixel(x, y), expected) << "at " << x << "," << y;
        }
}

TEST(GifGraphic, WithoutTransparencyEveryPixelIsOpaque) {
    TGIFGraphic g;
    ASSERT_TRUE(g.LoadFromBytes(SmallGif(false)));
    TBitmap target = Target();
    g.Draw(target.Canvas(), 0, 0);
    GdiFlush();
    EXPECT_EQ(target.Pixel(2, 1), 0x090909u);
    EXPECT_EQ(target.Pixel(0, 0), kBack);
}

TEST(GifGraphic, StreamsItCannotUseAreRefusedWithTheReadersMessage) {
    TGIFGraphic g;
    const std::vector<std::uint8_t> junk = {'P', 'N', 'G', 0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_FALSE(g.LoadFromBytes(junk));
    EXPECT_EQ(g.Error(), "Invalid GIF signature");
    std::vector<std::uint8_t> cut = SmallGif(true);
    cut.resize(9);  // inside the screen descriptor
    EXPECT_FALSE(g.LoadFromBytes(cut));
    EXPECT_EQ(g.Error(), "Premature end of data");
    // Drawing after a refusal draws nothing and does not fail.
    TBitmap target = Target();
    g.Draw(target.Canvas(), 0, 0);
    EXPECT_EQ(target.Pixel(1, 1), kBack);
    // A GIF without frames loads and has nothing to draw.
    std::vector<std::uint8_t> empty = SmallGif(true);
    empty.resize(6 + 7 + 12);
    empty.push_back(';');
    ASSERT_TRUE(g.LoadFromBytes(empty));
    g.Draw(target.Canvas(), 0, 0);
    EXPECT_EQ(target.Pixel(1, 1), kBack);
}

TEST(GifGraphic, RegisteredAsTGIFImage) {
    TGraphicFormats formats;
    RegisterGIFGraphic(formats);
    const TGraphicFormat* f = formats.FindClass("TGIFImage");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(formats.FindExtension("gif"), f);
    EXPECT_EQ(f->Description, "GIF Image");
    wchar_t name[32];
    ASSERT_GT(GetClipboardFormatNameW(f->ClipboardFormat, name, 32), 0);
    EXPECT_STREQ(name, L"GIF Image");
    TPicture picture(&formats);
    picture.SetData(TPicture::StoredData("TGIFImage", SmallGif(true)));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->Width(), 5);
}

}  // namespace srt

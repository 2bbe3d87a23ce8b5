#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "component/dpi.h"
#include "image/gif.h"
#include "logo/logo.h"

namespace srt {
namespace {

std::vector<std::uint8_t> StoredLogo() {
    std::ifstream in(std::string(SRT_SOURCE_DIR) + "/resources/logo/logo.gif", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Logo, StoredLogoHasTheExpectedStructure) {
    const std::vector<std::uint8_t> bytes = StoredLogo();
    ASSERT_FALSE(bytes.empty());
    TGIFImage image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](const TGIFItem&, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    TByteStream stream(bytes);
    image.LoadFromStream(stream);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(stream.Position(), bytes.size());

    EXPECT_EQ(std::string(image.Header.Signature.begin(), image.Header.Signature.end()), "GIF89a");
    EXPECT_EQ(image.Width(), 78);
    EXPECT_EQ(image.Height(), 79);
    EXPECT_EQ(image.Header.ColorMap.size(), 32u);
    ASSERT_EQ(image.Frames.size(), 1u);
    const TGIFFrame& frame = *image.Frames[0];
    ASSERT_EQ(frame.Extensions.size(), 1u);
    ASSERT_EQ(frame.Extensions[0]->Label(), beGraphicControl);
    EXPECT_EQ(frame.GraphicControl, frame.Extensions[0].get());
    EXPECT_TRUE(frame.Transparent());
    EXPECT_EQ(frame.TransparentColorIndex(), 31);
    EXPECT_EQ(frame.Width(), 78);
    EXPECT_EQ(frame.Height(), 79);
    EXPECT_EQ(frame.Descriptor.Left, 0);
    EXPECT_EQ(frame.Descriptor.Top, 0);
    EXPECT_TRUE(frame.ColorMap.empty());

    // See-through around the shapes, opaque inside them.
    const std::vector<std::uint32_t> bgra = FrameToBGRA(image, frame);
    EXPECT_EQ(bgra.front(), 0u);
    EXPECT_EQ(bgra.back(), 0u);
    EXPECT_EQ(bgra[30 * 78 + 8] >> 24, 0xFFu);  // inside the bubble
    std::size_t clear = 0;
    for (std::uint32_t p : bgra) clear += p == 0;
    EXPECT_GT(clear, bgra.size() / 5);
    EXPECT_LT(clear, bgra.size() / 2);
}

TEST(Logo, StoredPictureRoundTrip) {
    TGIFImage image;
    image.LoadFromBytes(StoredLogo());
    std::vector<std::uint8_t> stored;
    SaveStoredPicture(image, stored);
    TByteStream stream(stored);
    TGIFImage back;
    LoadStoredPicture(stream, back);
    EXPECT_TRUE(stream.AtEnd());
    ASSERT_EQ(back.Frames.size(), 1u);
    EXPECT_EQ(back.Frames[0]->Pixels, image.Frames[0]->Pixels);
}

// The logo drawn for 125, 150 and 200 %: the 96-DPI size scaled by the one
// rounding rule, and the same picture (opaque where it is at 96 DPI).
TEST(Logo, ScaledLogosHaveTheScaledSizeAndTheSamePicture) {
    TGIFImage base;
    base.LoadFromBytes(StoredLogo());
    const std::vector<std::uint32_t> basePixels = FrameToBGRA(base, *base.Frames.at(0));
    for (const logo::LogoScale& s : logo::kLogoScales) {
        SCOPED_TRACE(s.suffix);
        std::ifstream in(std::string(SRT_SOURCE_DIR) + "/resources/logo/logo" + s.suffix + ".gif", std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        TGIFImage image;
        image.LoadFromBytes(bytes);
        ASSERT_EQ(image.Frames.size(), 1u);
        EXPECT_EQ(image.Width(), ScaleToDpi(78, s.dpi));
        EXPECT_EQ(image.Height(), ScaleToDpi(79, s.dpi));
        EXPECT_TRUE(image.Frames[0]->Transparent());
        const std::vector<std::uint32_t> pixels = FrameToBGRA(image, *image.Frames[0]);
        // Pixel centres that fall well inside or outside the shapes agree.
        int agree = 0, compared = 0;
        for (int y = 0; y < 79; ++y)
            for (int x = 0; x < 78; ++x) {
                const int sx = ScaleToDpi(x, s.dpi) + s.dpi / 192, sy = ScaleToDpi(y, s.dpi) + s.dpi / 192;
                ++compared;
                agree += (basePixels[y * 78 + x] >> 24 == 0) == (pixels[sy * image.Width() + sx] >> 24 == 0);
            }
        EXPECT_GT(agree, compared * 9 / 10);
#ifndef _WIN32
        EXPECT_TRUE(logo::LogoBytes(s.dpi) == bytes) << "regenerate: build/native/bin/make_logo resources/logo/logo.gif";
#endif
    }
}

#ifndef _WIN32
// The committed file is the generator's output (floating point may round
// differently in the cross build, so this is checked natively).
TEST(Logo, GeneratorMakesTheCommittedFile) {
    EXPECT_TRUE(logo::LogoBytes() == StoredLogo())
        << "regenerate: build/native/bin/make_logo resources/logo/logo.gif";
}
#endif

}  // namespace
}  // namespace srt

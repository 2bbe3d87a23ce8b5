#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

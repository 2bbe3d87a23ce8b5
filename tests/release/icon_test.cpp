// The committed program icon: the generator's exact output, a true-colour
// picture per size whose alpha and mask agree, drawn where the logo is.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "logo/icon.h"

namespace srt::logo {
namespace {

std::vector<std::uint8_t> StoredIcon() {
    std::ifstream in(std::string(SRT_SOURCE_DIR) + "/resources/icon/SrtRetime.ico", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

TEST(ProgramIcon, CommittedFileIsTheGeneratorsOutput) {
    // Regenerate with make_icon after changing the drawing.
    EXPECT_EQ(StoredIcon(), IconBytes());
}

TEST(ProgramIcon, HoldsATrueColourPicturePerSizeWithMatchingMasks) {
    const std::vector<std::uint8_t> ico = StoredIcon();
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(U16(ico, 0), 0u);
    EXPECT_EQ(U16(ico, 2), 1u);  // an icon, not a cursor
    const std::size_t count = std::size(kIconSizes);
    ASSERT_EQ(U16(ico, 4), count);
    std::size_t expectedOffset = 6 + count * 16;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const std::size_t entry = 6 + 16 * i;
        const int size = kIconSizes[i];
        EXPECT_EQ(ico.at(entry), size);
        EXPECT_EQ(ico.at(entry + 1), size);
        EXPECT_EQ(U16(ico, entry + 6), 32u);
        const std::uint32_t bytes = U32(ico, entry + 8), offset = U32(ico, entry + 12);
        EXPECT_EQ(offset, expectedOffset);
        ASSERT_LE(std::size_t{offset} + bytes, ico.size());
        expectedOffset = offset + bytes;

        // The bitmap: 40-byte header, height doubled for the mask.
        EXPECT_EQ(U32(ico, offset), 40u);
        EXPECT_EQ(U32(ico, offset + 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(U32(ico, offset + 8), static_cast<std::uint32_t>(2 * size));
        EXPECT_EQ(U16(ico, offset + 14), 32u);
        const std::size_t maskStride = (size + 31) / 32 * 4;
        ASSERT_EQ(bytes, 40 + size * size * 4 + maskStride * size);

        // Rows run bottom up in both parts. The mask is set exactly where the
        // picture is mostly clear, so the icon looks the same without alpha.
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const std::size_t row = static_cast<std::size_t>(size - 1 - y);
                const std::uint32_t pixel = U32(ico, offset + 40 + (row * size + x) * 4);
                const bool masked = ico.at(offset + 40 + size * size * 4 + row * maskStride + x / 8) & (0x80 >> x % 8);
                EXPECT_EQ(masked, pixel >> 24 < 128) << x << "," << y;
                if (pixel >> 24 == 255) ++opaque;
            }
        }
        // The logo covers about half the square.
        EXPECT_GT(opaque, size * size * 2 / 5);
        EXPECT_LT(opaque, size * size * 4 / 5);
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

TEST(ProgramIcon, SmallPictureIsOpaqueOrClearAndShowsTheClockAtTopRight) {
    // Skinned captions draw the 16-pixel picture over their key colour:
    // a half-clear pixel would show a fringe of it.
    const IconImage small = DrawIcon(16);
    ASSERT_EQ(small.pixels.size(), 256u);
    for (std::uint32_t pixel : small.pixels) {
        const std::uint32_t alpha = pixel >> 24;
        EXPECT_TRUE(alpha == 0 || alpha == 255) << std::hex << pixel;
    }
    auto at = [&](int x, int y) { return small.pixels[static_cast<std::size_t>(y * 16 + x)]; };
    EXPECT_EQ(at(11, 5) & 0xFFFFFF, 0xFFFFFFu);  // the clock face
    EXPECT_EQ(at(0, 0) >> 24, 0u);               // clear above the bubble
    const std::uint32_t bubble = at(1, 8);
    EXPECT_GT(bubble & 0xFF, (bubble >> 16 & 0xFF) + 100) << std::hex << bubble;  // blue
    // So are the other pictures below 32 pixels, drawn for their size with
    // the clock's face white and its hands a pixel wide.
    for (int size : {20, 24}) {
        const IconImage icon = DrawIcon(size);
        for (std::uint32_t pixel : icon.pixels) EXPECT_TRUE(pixel >> 24 == 0 || pixel >> 24 == 255) << size;
        auto px = [&](int x, int y) { return icon.pixels[static_cast<std::size_t>(y * size + x)]; };
        // The hour hand: one dark column at the clock's centre, white on both sides.
        const int cx = size == 20 ? 14 : 17, y = 3;
        EXPECT_LT(px(cx, y) & 0xFF, 0x80u) << size;
        EXPECT_EQ(px(cx - 1, y) & 0xFFFFFF, 0xFFFFFFu) << size;
        EXPECT_EQ(px(cx + 1, y) & 0xFFFFFF, 0xFFFFFFu) << size;
    }
    // The larger pictures have soft edges.
    bool soft = false;
    for (std::uint32_t pixel : DrawIcon(32).pixels) soft |= (pixel >> 24) > 0 && (pixel >> 24) < 255;
    EXPECT_TRUE(soft);
}

}  // namespace
}  // namespace srt::logo

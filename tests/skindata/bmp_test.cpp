#include "skin/data/bmp.h"

#include <gtest/gtest.h>

#include <string>

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BmpSpec {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0, height = 0;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::uint32_t> masks;    // after the header (40) or inside it (>= 52)
    Bytes data;
    std::uint32_t sizeImage = 0;
};

void Put16(Bytes& b, std::uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void Put32(Bytes& b, std::uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

Bytes MakeBmp(const BmpSpec& s) {
    Bytes h;
    if (s.headerSize == 12) {
        Put32(h, 12), Put16(h, s.width), Put16(h, s.height), Put16(h, 1), Put16(h, s.bpp);
    } else {
        Put32(h, s.headerSize), Put32(h, s.width), Put32(h, s.height), Put16(h, 1), Put16(h, s.bpp);
        Put32(h, s.compression), Put32(h, s.sizeImage), Put32(h, 0), Put32(h, 0);
        Put32(h, s.colorsUsed), Put32(h, 0);
        if (s.headerSize >= 52)
            for (auto m : s.masks) Put32(h, m);
        h.resize(s.headerSize, 0);
        if (s.headerSize == 40)
            for (auto m : s.masks) Put32(h, m);
    }
    for (auto c : s.palette) {
        h.push_back(c & 0xFF), h.push_back((c >> 8) & 0xFF), h.push_back((c >> 16) & 0xFF);
        if (s.headerSize != 12) h.push_back(0);
    }
    Bytes f = {'B', 'M'};
    const std::uint32_t off = 14 + static_cast<std::uint32_t>(h.size());
    Put32(f, off + static_cast<std::uint32_t>(s.data.size())), Put32(f, 0), Put32(f, off);
    f.insert(f.end(), h.begin(), h.end());
    f.insert(f.end(), s.data.begin(), s.data.end());
    return f;
}

// Raw 0x00RRGGBB pixels, row by row.
std::vector<std::uint32_t> Pixels(const TBitmap& b) {
    std::vector<std::uint32_t> v;
    for (int y = 0; y < b.Height(); ++y) v.insert(v.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
    return v;
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(Bmp, ReadsPalettedFormatsBottomUpAndTopDown) {
    // 3 x 2; top row: red green blue, bottom row: white red green.
    const std::vector<std::uint32_t> expected = {kRed, kGreen, kBlue, kWhite, kRed, kGreen};
    BmpSpec s;
    s.width = 3, s.height = 2, s.bpp = 8, s.palette = {kRed, kGreen, kBlue, kWhite};
    s.colorsUsed = 4;
    s.data = {3, 0, 1, 0, 0, 1, 2, 0};  // bottom row first, rows padded to 4 bytes
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), expected);

    s.height = -2;
    s.data = {0, 1, 2, 0, 3, 0, 1, 0};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), expected);

    s.height = 2, s.bpp = 4, s.data = {0x30, 0x10, 0, 0, 0x01, 0x20, 0, 0};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), expected);

    s.bpp = 1, s.palette = {kBlue, kWhite}, s.colorsUsed = 0;
    s.data = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), (std::vector<std::uint32_t>{kWhite, kBlue, kWhite, kBlue, kWhite, kBlue}));

    s.headerSize = 12, s.bpp = 8, s.palette = {kRed, kGreen, kBlue, kWhite};
    s.palette.resize(256);
    s.data = {3, 0, 1, 0, 0, 1, 2, 0};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), expected);
}

TEST(Bmp, ReadsDirectColourFormats) {
    BmpSpec s;
    s.width = 2, s.height = 1, s.bpp = 24, s.data = {0x33, 0x22, 0x11, 0xFF, 0x00, 0xFF, 0, 0};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), (std::vector<std::uint32_t>{0x112233, 0xFF00FF}));

    s.bpp = 32, s.data = {0x33, 0x22, 0x11, 0x80, 0xFF, 0x00, 0xFF, 0xFF};  // alpha dropped
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), (std::vector<std::uint32_t>{0x112233, 0xFF00FF}));

    s.bpp = 16, s.data = {0x00, 0x7C, 0x1F, 0x00};  // 555: red, blue
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), (std::vector<std::uint32_t>{kRed, kBlue}));

    s.compression = 3, s.masks = {0xF800, 0x07E0, 0x001F};  // 565 after a 40-byte header
    s.data = {0xE0, 0x07, 0x00, 0xF8};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), (std::vector<std::uint32_t>{kGreen, kRed}));

    s.headerSize = 124, s.bpp = 32, s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // RGBA order
    s.data = {0x11, 0x22, 0x33, 0x00, 0xFF, 0, 0, 0};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))), (std::vector<std::uint32_t>{0x112233, kRed}));
}

TEST(Bmp, ReadsRunLengthEncodings) {
    BmpSpec s;
    s.width = 4, s.height = 3, s.bpp = 8, s.compression = 1, s.palette = {0, kRed, kGreen, kBlue};
    s.colorsUsed = 4;
    s.data = {
        3, 1, 0, 0,        // bottom row: red x3, end of line (last pixel stays black)
        0, 3, 2, 3, 1, 0,  // absolute: green blue red, padded to a word
        0, 0,              //
        0, 2, 1, 0,        // delta one right: top row starts at x = 1
        9, 2,              // a run past the row's end is clipped
        0, 1};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))),
              (std::vector<std::uint32_t>{0, kGreen, kGreen, kGreen, kGreen, kBlue, kRed, 0, kRed, kRed, kRed, 0}));

    s.compression = 2, s.bpp = 4;
    s.data = {4, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1};
    EXPECT_EQ(Pixels(ReadBmp(MakeBmp(s))),
              (std::vector<std::uint32_t>{0, 0, 0, 0, kBlue, kGreen, kRed, 0, kRed, kGreen, kRed, kGreen}));

    s.data = {4, 0x12};  // a stream may end between commands
    EXPECT_NO_THROW(ReadBmp(MakeBmp(s)));
    s.data = {0, 8, 0x12};  // but not inside one
    EXPECT_THROW(ReadBmp(MakeBmp(s)), EInvalidBitmap);
}

TEST(Bmp, RefusesWhatItCannotReadWithThePlatformMessage) {
    BmpSpec good;
    good.width = 2, good.height = 2, good.data = Bytes(16, 0);
    const Bytes file = MakeBmp(good);
    ASSERT_NO_THROW(ReadBmp(file));
    try {
        ReadBmp(Bytes(file.begin(), file.end() - 1));  // truncated pixels
        FAIL();
    } catch (const EInvalidBitmap& e) {
        EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
    for (std::size_t n : {0, 2, 14, 20, 53}) EXPECT_THROW(ReadBmp(Bytes(file.begin(), file.begin() + n)), EInvalidBitmap) << n;

    auto refused = [](BmpSpec s) { return testing::AssertionResult(!![&] {
        try { ReadBmp(MakeBmp(s)); } catch (const EInvalidBitmap&) { return true; }
        return false; }()); };
    BmpSpec s = good;
    s.bpp = 2;
    EXPECT_TRUE(refused(s));
    s = good, s.compression = 4;  // JPEG
    EXPECT_TRUE(refused(s));
    s = good, s.width = 0;
    EXPECT_TRUE(refused(s));
    s = good, s.height = 0;
    EXPECT_TRUE(refused(s));
    s = good, s.width = 100000, s.height = 100000;  // pixel count checked first
    EXPECT_TRUE(refused(s));
    s = good, s.headerSize = 64;
    EXPECT_TRUE(refused(s));
    s = good, s.bpp = 8, s.compression = 1, s.height = -2;  // top-down RLE
    EXPECT_TRUE(refused(s));
    s = good, s.bpp = 8, s.compression = 1, s.sizeImage = 1000;  // lying image size
    EXPECT_TRUE(refused(s));
    s = good, s.bpp = 8, s.colorsUsed = 256, s.data = {};  // palette past the end
    EXPECT_TRUE(refused(s));

    Bytes badOffset = file;
    badOffset[10] = 0xFF, badOffset[11] = 0xFF;
    EXPECT_THROW(ReadBmp(badOffset), EInvalidBitmap);
    Bytes notBm = file;
    notBm[0] = 'X';
    EXPECT_THROW(ReadBmp(notBm), EInvalidBitmap);
}

TEST(Bmp, WrittenFilesReadBack) {
    TBitmap b(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) b.ScanLine(y)[x] = static_cast<std::uint32_t>(x * 0x10203 + y * 0x300000);
    EXPECT_EQ(Pixels(ReadBmp(WriteBmp24(b))), Pixels(b));
}

}  // namespace
}  // namespace srt

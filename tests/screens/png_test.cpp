// The screenshot tests' PNG codec: its own images round-trip, images written
// by ImageMagick read back (stored, fixed and dynamic deflate blocks, palette,
// grey and 16-bit rows), and damaged files fail cleanly.
#include <gtest/gtest.h>

#include "tests/screens/diff.h"
#include "tools/png/png.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

using srt::png::DecodePng;
using srt::png::EncodePng;
using srt::png::TImage;

// Flat areas, a frame, text-like noise and a gradient, like a screenshot.
TImage Sample(int width, int height) {
    TImage image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t& p = image.pixels[static_cast<std::size_t>(y) * width + x];
            if (y < 20) p = 0x1F3F7F + static_cast<std::uint32_t>(x % 256);  // caption gradient
            else if (x == 0 || y == height - 1 || x == width - 1) p = 0x102030;
            else if (y > 40 && y < 60 && x > 10 && x < width / 2) {
                seed = seed * 1103515245 + 12345;
                p = (seed >> 8) & 0xFFFFFF;
            } else p = 0xF0F0F0;
        }
    return image;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Png, OwnImagesRoundTripAndCompressWell) {
    for (auto [w, h] : {std::pair{1, 1}, {3, 7}, {400, 300}, {1024, 40}}) {
        const TImage image = Sample(w, h);
        const std::vector<std::uint8_t> png = EncodePng(image);
        TImage back;
        std::string error;
        ASSERT_TRUE(DecodePng(png, back, error)) << w << "x" << h << ": " << error;
        EXPECT_EQ(back, image) << w << "x" << h;
    }
    // 360,000 bytes of pixels: the band of noise (10,830 random bytes) and a
    // few kilobytes for the rest.
    EXPECT_LT(EncodePng(Sample(400, 300)).size(), 10830u + 4000u);
    // Long runs and matches far back (more than 258 bytes, up to the window).
    std::vector<std::uint8_t> data(100000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>((i / 3000) * 7 + i % 5);
    const std::vector<std::uint8_t> z = srt::png::Deflate(data);
    std::vector<std::uint8_t> back;
    std::string error;
    ASSERT_TRUE(srt::png::Inflate(z.data(), z.size(), back, error)) << error;
    EXPECT_EQ(back, data);
}

TEST(Png, DamagedFilesFailWithAReason) {
    const std::vector<std::uint8_t> good = EncodePng(Sample(40, 30));
    TImage image;
    std::string error;
    // Every truncation, one byte flipped in each chunk, a bad zlib checksum
    // (chunk CRC made to match).
    for (std::size_t n = 0; n < good.size(); n += 7) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(DecodePng(cut, image, error)) << n;
        EXPECT_FALSE(error.empty());
    }
    for (std::size_t at : {std::size_t{3}, std::size_t{20}, good.size() / 2, good.size() - 6}) {
        std::vector<std::uint8_t> bad = good;
        bad[at] ^= 0x40;
        error.clear();
        EXPECT_FALSE(DecodePng(bad, image, error)) << at;
        EXPECT_FALSE(error.empty()) << at;
    }
    // A zlib stream whose distance reaches before the data: fixed block,
    // length 3 (code 257), distance 1 as the first symbol.
    const std::vector<std::uint8_t> before = {0x78, 0x01, 0x03, 0x02, 0x00, 0, 0, 0, 1};
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(srt::png::Inflate(before.data(), before.size(), out, error));
    EXPECT_EQ(error, "distance before the start of the data");
}

TEST(ScreenDiff, CountsAndMarksTheDifferingPixels) {
    const TImage expected = Sample(30, 20);
    EXPECT_EQ(srt::screens::Compare(expected, expected).count, 0);

    TImage actual = expected;
    actual.pixels[5 * 30 + 7] ^= 1;  // one bit of one pixel
    actual.pixels[19 * 30 + 29] = 0;
    const srt::screens::TDifference d = srt::screens::Compare(expected, actual);
    EXPECT_EQ(d.count, 2);
    EXPECT_EQ(d.firstX, 7);
    EXPECT_EQ(d.firstY, 5);
    EXPECT_EQ(d.marked.At(7, 5), 0xFF0000u);
    EXPECT_EQ(d.marked.At(29, 19), 0xFF0000u);
    EXPECT_NE(d.marked.At(0, 5), 0xFF0000u);

    // Another size: every pixel counts, whatever the overlap holds.
    const srt::screens::TDifference sized = srt::screens::Compare(expected, Sample(30, 21));
    EXPECT_EQ(sized.count, 30 * 21);
    EXPECT_EQ(sized.marked.width, 30);
    EXPECT_EQ(sized.marked.height, 21);
}

// Writes `image` as a binary PPM for ImageMagick.
void WritePpm(const std::filesystem::path& path, const TImage& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    for (std::uint32_t p : image.pixels) out.put(static_cast<char>(p >> 16)).put(static_cast<char>(p >> 8)).put(static_cast<char>(p));
}

TEST(Png, ReadsImagesWrittenByImageMagick) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("srt-png-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const TImage colour = Sample(120, 90);
    TImage grey = colour, few = colour;
    for (std::uint32_t& p : grey.pixels) p = (p & 0xFF) * 0x010101;
    for (std::uint32_t& p : few.pixels) p = p == 0xF0F0F0 ? 0xF0F0F0 : p & 0x800000 ? 0x2040C0 : 0x000000;
    WritePpm(dir / "colour.ppm", colour);
    WritePpm(dir / "grey.ppm", grey);
    WritePpm(dir / "few.ppm", few);

    struct TCase {
        const char* name;
        const char* source;
        const char* options;
        const TImage* expected;
    };
    const TCase cases[] = {
        {"dynamic", "colour.ppm", "", &colour},
        {"stored", "colour.ppm", "-define png:compression-level=0", &colour},
        {"fixed-ish, filter none", "colour.ppm", "-define png:compression-strategy=4 -define png:compression-filter=0", &colour},
        {"rgba", "colour.ppm", "-alpha set -define png:color-type=6", &colour},
        {"16-bit", "colour.ppm", "-depth 16", &colour},
        {"palette", "few.ppm", "-type Palette PNG8:", &few},
        {"grey", "grey.ppm", "-type Grayscale", &grey},
        {"one bit", "few.ppm", "-threshold 50% -type Bilevel", nullptr},
    };
    for (const TCase& c : cases) {
        const std::string options = c.options;
        const std::size_t prefixAt = options.find("PNG8:");
        const std::string flags = prefixAt == std::string::npos ? options : options.substr(0, prefixAt);
        const std::string prefix = prefixAt == std::string::npos ? "" : "PNG8:";
        const std::filesystem::path png = dir / "out.png";
        const std::string command = "convert '" + (dir / c.source).string() + "' " + flags + " '" + prefix +
                                    png.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        TImage image;
        std::string error;
        ASSERT_TRUE(DecodePng(ReadAll(png), image, error)) << c.name << ": " << error;
        if (c.expected) {
            EXPECT_EQ(image, *c.expected) << c.name;
        } else {
            ASSERT_EQ(image.width, few.width);
            for (std::uint32_t p : image.pixels) EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << c.name;
        }
    }
    std::filesystem::remove_all(dir);
}

}  // namespace

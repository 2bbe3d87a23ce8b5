#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "image/gif.h"

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Reported {
    const TGIFItem* sender;
    std::string message;
};

// Loads `bytes` and records every warning and the error, if any.
struct Load {
    explicit Load(const Bytes& bytes) {
        image.OnWarning = [this](const TGIFItem& s, TGIFSeverity, const std::string& m) {
            warnings.push_back({&s, m});
        };
        TByteStream stream(bytes);
        try {
            image.LoadFromStream(stream);
        } catch (const EInvalidGraphic& e) {
            error = e.what();
        }
        end = stream.Position();
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& w : warnings) out.push_back(w.message);
        return out;
    }
    TGIFImage image;
    std::vector<Reported> warnings;
    std::string error;
    std::size_t end = 0;
};

using Strings = std::vector<std::string>;

TGIFColorMap Gray(std::size_t n) {
    TGIFColorMap map(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / (n > 1 ? n - 1 : 1));
        map[i] = {v, v, v};
    }
    return map;
}

std::unique_ptr<TGIFFrame> MakeFrame(int w, int h, std::vector<std::uint8_t> pixels) {
    auto f = std::make_unique<TGIFFrame>();
    f->HasImage = true;
    f->Descriptor.Width = static_cast<std::uint16_t>(w);
    f->Descriptor.Height = static_cast<std::uint16_t>(h);
    f->Pixels = std::move(pixels);
    return f;
}

std::unique_ptr<TGIFGraphicControlExtension> Gce(bool transparent, std::uint8_t index) {
    auto g = std::make_unique<TGIFGraphicControlExtension>();
    g->SetTransparent(transparent);
    g->TransparentColorIndex = index;
    return g;
}

// A 4 x 2 image, one frame, two colours, as bytes.
Bytes SmallGif(bool withGce = false, std::uint8_t transparent = 0) {
    TGIFImage img;
    img.Header.Screen.Width = 4;
    img.Header.Screen.Height = 2;
    img.Header.ColorMap = Gray(4);
    auto f = MakeFrame(4, 2, {0, 1, 2, 3, 3, 2, 1, 0});
    if (withGce) f->AddExtension(Gce(true, transparent));
    img.Frames.push_back(std::move(f));
    return img.SaveToBytes();
}

std::vector<std::uint8_t> RandomPixels(std::size_t n, int colours, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> px(n);
    for (auto& p : px) p = static_cast<std::uint8_t>(rng() % colours);
    return px;
}

// Hand-made stream: header and 2-colour global table for a w x h screen.
Bytes Header(int w, int h) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a',
               static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
               static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8),
               0x80, 0, 0,
               0, 0, 0, 255, 255, 255};
    return b;
}

void Append(Bytes& b, std::initializer_list<int> more) {
    for (int v : more) b.push_back(static_cast<std::uint8_t>(v));
}

TEST(GifRead, RoundTripKeepsEveryFieldAndIndex) {
    TGIFImage img;
    img.Header.Screen = {300, 200, 0x70, 3, 0};
    img.Header.ColorMap = Gray(256);
    // Noise fills the code table several times over (clear codes, 12-bit codes).
    img.Frames.push_back(MakeFrame(300, 200, RandomPixels(300 * 200, 256, 1)));
    auto local = MakeFrame(37, 23, RandomPixels(37 * 23, 5, 2));
    local->Descriptor.Left = 7;
    local->Descriptor.Top = 9;
    local->Descriptor.Flags = 0x40;  // interlaced
    local->ColorMap = Gray(5);
    auto comment = std::make_unique<TGIFCommentExtension>();
    comment->Text = std::string(600, 'c');
    local->AddExtension(std::move(comment));
    local->AddExtension(Gce(true, 4));
    local->AddExtension(Gce(false, 1));
    img.Frames.push_back(std::move(local));
    // Long runs of one colour: long strings, at 2-bit code size.
    auto runs = MakeFrame(1000, 3, std::vector<std::uint8_t>(3000, 1));
    for (std::size_t i = 0; i < 3000; i += 97) runs->Pixels[i] = 2;
    img.Frames.push_back(std::move(runs));

    const Bytes bytes = img.SaveToBytes();
    Load l(bytes);
    ASSERT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), Strings{});
    EXPECT_EQ(l.end, bytes.size());
    EXPECT_EQ(l.image.Header.Screen.Width, 300);
    EXPECT_EQ(l.image.Header.Screen.BackgroundColorIndex, 3);
    EXPECT_EQ(l.image.Header.ColorMap, img.Header.ColorMap);
    ASSERT_EQ(l.image.Frames.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TGIFFrame& a = *img.Frames[i];
        const TGIFFrame& b = *l.image.Frames[i];
        EXPECT_TRUE(b.HasImage);
        EXPECT_EQ(b.Descriptor.Left, a.Descriptor.Left);
        EXPECT_EQ(b.Descriptor.Top, a.Descriptor.Top);
        EXPECT_EQ(b.Width(), a.Width());
        EXPECT_EQ(b.Height(), a.Height());
        EXPECT_EQ(b.Interlaced(), a.Interlaced());
        EXPECT_EQ(b.ColorMap.size(), a.ColorMap.empty() ? 0u : 8u);
        EXPECT_TRUE(b.Pixels == a.Pixels);
    }
    const TGIFFrame& f = *l.image.Frames[1];
    ASSERT_EQ(f.Extensions.size(), 3u);
    EXPECT_EQ(static_cast<const TGIFCommentExtension&>(*f.Extensions[0]).Text, std::string(600, 'c'));
    // The first graphic control extension decides the transparency.
    EXPECT_EQ(f.GraphicControl, f.Extensions[1].get());
    EXPECT_TRUE(f.Transparent());
    EXPECT_EQ(f.TransparentColorIndex(), 4);
}

TEST(GifRead, EveryCodeSizeAndShape) {
    for (int colours : {2, 3, 4, 16, 17, 128, 256}) {
        for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {64, 70}}) {
            SCOPED_TRACE(testing::Message() << colours << " colours " << w << "x" << h);
            TGIFImage img;
            img.Header.Screen.Width = static_cast<std::uint16_t>(w);
            img.Header.Screen.Height = static_cast<std::uint16_t>(h);
            img.Header.ColorMap = Gray(static_cast<std::size_t>(colours));
            auto f = MakeFrame(w, h, RandomPixels(static_cast<std::size_t>(w * h), colours, 7));
            f->Descriptor.Flags = h > 4 ? 0x40 : 0;
            const auto pixels = f->Pixels;
            img.Frames.push_back(std::move(f));
            Load l(img.SaveToBytes());
            ASSERT_EQ(l.error, "");
            EXPECT_EQ(l.Messages(), Strings{});
            ASSERT_EQ(l.image.Frames.size(), 1u);
            EXPECT_EQ(l.image.Frames[0]->Pixels, pixels);
        }
    }
}

TEST(GifRead, SignatureRetryAfterFourBytes) {
    const Bytes plain = SmallGif();
    Bytes prefixed = {0x12, 0x34, 0x56, 0x78};
    prefixed.insert(prefixed.end(), plain.begin(), plain.end());
    Load a(plain), b(prefixed);
    ASSERT_EQ(b.error, "");
    ASSERT_EQ(b.image.Frames.size(), 1u);
    EXPECT_EQ(b.image.Frames[0]->Pixels, a.image.Frames[0]->Pixels);
    EXPECT_EQ(b.end, prefixed.size());

    Bytes lower = plain;
    lower[0] = 'g', lower[1] = 'i', lower[2] = 'f';
    EXPECT_EQ(Load(lower).error, "");

    Bytes five = {0, 0, 0, 0, 0};
    five.insert(five.end(), plain.begin(), plain.end());
    EXPECT_EQ(Load(five).error, "Invalid GIF signature");
    EXPECT_EQ(Load(Bytes{'G', 'I', 'F', '8', '9'}).error, "Premature end of data");
    EXPECT_EQ(Load(Bytes{'x', 'G', 'I', 'F', '8', '9', 'a'}).error, "Premature end of data");
}

TEST(GifRead, ShortHeaderTablesAndDescriptorAreErrors) {
    const Bytes full = SmallGif();
    // signature 6, screen 7, table 12, descriptor 10
    for (std::size_t cut : {6u, 12u, 13u, 24u, 26u, 34u}) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(Load(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut))).error,
                  "Premature end of data");
    }
    // Right after the descriptor: no data at all.
    Load l(Bytes(full.begin(), full.begin() + 35));
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), Strings{"Decoder bit buffer under-run"});
}

TEST(GifRead, StreamEndingWithoutTrailerIsAccepted) {
    Bytes b = SmallGif();
    ASSERT_EQ(b.back(), ';');
    b.pop_back();
    Load l(b);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), Strings{});
    EXPECT_EQ(l.image.Frames.size(), 1u);
}

TEST(GifRead, ZeroBytesBetweenBlocksAreSkipped) {
    Bytes one = SmallGif();
    const Bytes header(one.begin(), one.begin() + 25);
    const Bytes frame(one.begin() + 25, one.end() - 1);
    Bytes b = header;
    for (int i = 0; i < 3; ++i) {
        b.insert(b.end(), {0, 0});
        b.insert(b.end(), frame.begin(), frame.end());
    }
    b.insert(b.end(), {0, 0, 0, ';'});
    Load l(b);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), Strings{});
    ASSERT_EQ(l.image.Frames.size(), 3u);
    EXPECT_EQ(l.image.Frames[2]->Pixels, (Bytes{0, 1, 2, 3, 3, 2, 1, 0}));
    EXPECT_EQ(l.end, b.size());
}

TEST(GifRead, UnknownBlockStopsFramesAndTrailerIsChecked) {
    Bytes b = SmallGif();
    b.back() = 'X';
    Load only(b);
    EXPECT_EQ(only.error, "");
    EXPECT_EQ(only.Messages(), Strings{"Unknown GIF block type"});
    EXPECT_EQ(only.image.Frames.size(), 1u);

    b.push_back('Y');
    EXPECT_EQ(Load(b).Messages(), (Strings{"Unknown GIF block type", "Invalid Image trailer"}));
    // The trailer is left in the stream for the trailer check, which takes it.
    b.pop_back();
    b.back() = ';';
    b.push_back('Z');
    Load stop(b);
    EXPECT_EQ(stop.Messages(), Strings{});
    EXPECT_EQ(stop.end, b.size() - 1);
}

TEST(GifRead, UnreachedPixelsKeepTheStartValue) {
    // 4 x 2 frame, data: clear, one literal, then the data ends.
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent);
        Bytes b = Header(4, 2);
        if (transparent) Append(b, {'!', 0xF9, 4, 0x01, 0, 0, 7, 0});
        Append(b, {',', 0, 0, 0, 0, 4, 0, 2, 0, 0});
        // code size 2: clear=4 (3 bits), literal 1 -> bits 100 001
        Append(b, {2, 1, 0x0C, 0, ';'});
        Load l(b);
        EXPECT_EQ(l.error, "");
        EXPECT_EQ(l.Messages(), Strings{"Decoder bit buffer under-run"});
        ASSERT_EQ(l.image.Frames.size(), 1u);
        const std::uint8_t s = transparent ? 7 : 0;
        EXPECT_EQ(l.image.Frames[0]->Pixels, (Bytes{1, s, s, s, s, s, s, s}));
        EXPECT_EQ(l.end, b.size());
    }
}

TEST(GifRead, ShortSubBlockTakesWhatIsThere) {
    Bytes b = SmallGif(true, 3);
    // Cut inside the first data sub-block and claim a longer one.
    // header 25, graphic control 8, descriptor 10, code size 1: the block length is at 44.
    ASSERT_GT(b[44], 2);
    Bytes cut(b.begin(), b.begin() + 44 + 3);
    Load l(cut);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), (Strings{"Premature end of data", "Decoder bit buffer under-run"}));
    ASSERT_EQ(l.image.Frames.size(), 1u);
    EXPECT_EQ(l.image.Frames[0]->Pixels.back(), 3);
    EXPECT_EQ(l.end, cut.size());
}

TEST(GifRead, EndCodeSkipsTheRestOfTheData) {
    Bytes b = Header(4, 1);
    Append(b, {',', 0, 0, 0, 0, 4, 0, 1, 0, 0});
    // clear(4), 1, end(5): 100 001 101 -> 0x4C 0x01, then a junk sub-block
    Append(b, {2, 2, 0x4C, 0x01, 3, 9, 9, 9, 0});
    const Bytes frame2(b.begin() + 19, b.end());
    b.insert(b.end(), frame2.begin(), frame2.end());
    b.push_back(';');
    Load l(b);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), Strings{});
    ASSERT_EQ(l.image.Frames.size(), 2u);
    EXPECT_EQ(l.image.Frames[1]->Pixels, (Bytes{1, 0, 0, 0}));
}

TEST(GifRead, ZeroSizeFrameTakesTheScreenSize) {
    Bytes b = Header(3, 2);
    Append(b, {',', 0, 0, 0, 0, 0, 0, 5, 0, 0, 2, 0, ';'});
    Load l(b);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), (Strings{"Image exceeds Logical Screen size", "Decoder bit buffer under-run"}));
    ASSERT_EQ(l.image.Frames.size(), 1u);
    EXPECT_EQ(l.image.Frames[0]->Width(), 3);
    EXPECT_EQ(l.image.Frames[0]->Height(), 2);
    EXPECT_EQ(l.warnings[0].sender, l.image.Frames[0].get());

    // Found by fuzzing: an interlaced frame on a screen 0 pixels wide.
    Bytes empty = Header(0, 31);
    Append(empty, {',', 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 2, 0, ';'});
    Load e(empty);
    EXPECT_EQ(e.error, "");
    ASSERT_EQ(e.image.Frames.size(), 1u);
    EXPECT_EQ(e.image.Frames[0]->Height(), 31);
    EXPECT_TRUE(e.image.Frames[0]->Pixels.empty());
}

TEST(GifRead, ExtensionErrorsAndWarnings) {
    const Bytes good = SmallGif();
    const Bytes head(good.begin(), good.begin() + 25);
    auto with = [&](std::initializer_list<int> ext) {
        Bytes b = head;
        Bytes frame(good.begin() + 25, good.end());
        b.insert(b.end(), frame.begin(), frame.end() - 1);  // a first frame that stays
        Append(b, ext);
        b.insert(b.end(), frame.begin(), frame.end());
        return b;
    };
    Load unknown(with({'!', 0x02, 0}));
    EXPECT_EQ(unknown.error, "Unknown extension type");
    EXPECT_EQ(unknown.image.Frames.size(), 1u);

    EXPECT_EQ(Load(with({'!', 0xFF, 9, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', 0})).error,
              "Unsupported Application Extension block size");

    Load loop(with({'!', 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
                    3, 1, 5, 0, 5, 2, 0x10, 0x20, 0, 1, 2, 7, 7, 0}));
    ASSERT_EQ(loop.error, "");
    ASSERT_EQ(loop.image.Frames.size(), 2u);
    const auto* l = dynamic_cast<const TGIFLoopExtension*>(loop.image.Frames[1]->Extensions.at(0).get());
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->HasLoops);
    EXPECT_EQ(l->Loops, 5);
    EXPECT_TRUE(l->HasBufferSize);
    EXPECT_EQ(l->BufferSize, 0x01002010u);

    EXPECT_EQ(Load(with({'!', 0xFF, 11, 'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0',
                         2, 1, 5, 0})).error,
              "Invalid GIF data");
    // Any other application: sub-blocks kept as they are, loop bytes mean nothing.
    Load other(with({'!', 0xFF, 12, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', '!',
                     2, 1, 5, 0}));
    ASSERT_EQ(other.error, "");
    const auto* app =
        dynamic_cast<const TGIFApplicationExtension*>(other.image.Frames[1]->Extensions.at(0).get());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(dynamic_cast<const TGIFLoopExtension*>(app), nullptr);
    EXPECT_EQ(app->IdentifierText(), "XMP DataXMP");
    EXPECT_EQ(app->SubBlocks, (std::vector<Bytes>{{1, 5}}));

    Load introducer(with({'!', 0xFE, 1, 'a', 0, 'q'}));
    EXPECT_EQ(introducer.error, "");
    EXPECT_EQ(introducer.Messages().at(0), "Invalid extension introducer");

    // A graphic control extension cut short, at the very end of the stream.
    Bytes shortGce = head;
    Append(shortGce, {'!', 0xF9, 4, 1, 0});
    Load gce(shortGce);
    EXPECT_EQ(gce.error, "");
    EXPECT_EQ(gce.Messages(), Strings{"Premature end of data"});
    ASSERT_EQ(gce.image.Frames.size(), 1u);
    EXPECT_FALSE(gce.image.Frames[0]->HasImage);
    EXPECT_EQ(gce.image.Frames[0]->Extensions.size(), 1u);
}

TEST(GifRead, ApplicationExtensionOfBlockSizeTenTakesElevenBytes) {
    Bytes b = SmallGif();
    const Bytes frame(b.begin() + 25, b.end());
    b.resize(25);
    Append(b, {'!', 0xFF, 10, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 7, 0, 0});
    b.insert(b.end(), frame.begin(), frame.end());
    Load l(b);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Messages(), Strings{});
    ASSERT_EQ(l.image.Frames.size(), 1u);
    EXPECT_TRUE(l.image.Frames[0]->HasImage);
    const auto* loop = dynamic_cast<const TGIFLoopExtension*>(l.image.Frames[0]->Extensions.at(0).get());
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->IdentifierText(), "NETSCAPE2.0");
    EXPECT_TRUE(loop->HasLoops);
    EXPECT_EQ(loop->Loops, 7);
    EXPECT_EQ(l.end, b.size());
}

// A sub-block length byte that is the last byte of the stream announces a
// block of which nothing is there: the data ends, no empty block is used.
TEST(GifRead, LengthByteAtTheEndOfTheStreamEndsTheData) {
    const Bytes good = SmallGif();
    const Bytes head(good.begin(), good.begin() + 25);
    Bytes loopBytes = head;
    Append(loopBytes, {'!', 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 5, 0, 3});
    Load loop(loopBytes);
    EXPECT_EQ(loop.error, "");
    EXPECT_EQ(loop.Messages(), Strings{"Premature end of data"});
    ASSERT_EQ(loop.image.Frames.size(), 1u);
    const auto* l = dynamic_cast<const TGIFLoopExtension*>(loop.image.Frames[0]->Extensions.at(0).get());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Loops, 5);
    EXPECT_EQ(l->SubBlocks, (std::vector<Bytes>{{1, 5, 0}}));

    Bytes appBytes = head;
    Append(appBytes, {'!', 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 200});
    Load app(appBytes);
    EXPECT_EQ(app.error, "");
    EXPECT_EQ(app.Messages(), Strings{"Premature end of data"});
    ASSERT_EQ(app.image.Frames.size(), 1u);
    const auto* a =
        dynamic_cast<const TGIFApplicationExtension*>(app.image.Frames[0]->Extensions.at(0).get());
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->SubBlocks.empty());

    for (int label : {0xFE, 0x01}) {
        Bytes textBytes = head;
        Append(textBytes, {'!', label, 9});
        Load text(textBytes);
        EXPECT_EQ(text.error, "") << label;
        EXPECT_EQ(text.Messages(), Strings{"Premature end of data"}) << label;
        ASSERT_EQ(text.image.Frames.size(), 1u);
        EXPECT_EQ(text.image.Frames[0]->Extensions.size(), 1u);
    }
}

// Found by fuzzing: a plain text extension without a first block was written
// with a second terminator, which the reader takes for a bad introducer.
TEST(GifWrite, PlainTextWithoutBlockIsOneTerminator) {
    Bytes b = SmallGif();
    const Bytes frame(b.begin() + 25, b.end());
    b.resize(25);
    Append(b, {'!', 0x01, 0, '!', 0xFE, 1, 'c', 0});
    b.insert(b.end(), frame.begin(), frame.end());
    Load read(b);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.image.Frames.size(), 1u);
    ASSERT_EQ(read.image.Frames[0]->Extensions.size(), 2u);

    Load again(read.image.SaveToBytes());
    EXPECT_EQ(again.error, "");
    EXPECT_EQ(again.Messages(), Strings{});
    ASSERT_EQ(again.image.Frames.size(), 1u);
    EXPECT_EQ(again.image.Frames[0]->Extensions.size(), 2u);
    EXPECT_EQ(again.image.Frames[0]->Pixels, read.image.Frames[0]->Pixels);
}

TEST(GifRead, ExtensionsBeforeTheTrailerMakeAFrameWithoutImage) {
    Bytes b = SmallGif();
    b.pop_back();
    Append(b, {'!', 0xFE, 2, 'h', 'i', 0, ';'});
    Load l(b);
    EXPECT_EQ(l.error, "");
    ASSERT_EQ(l.image.Frames.size(), 2u);
    EXPECT_FALSE(l.image.Frames[1]->HasImage);
    EXPECT_TRUE(l.image.Frames[1]->Pixels.empty());
}

TEST(GifRead, BadCodesAreErrors) {
    auto frame = [](std::initializer_list<int> data) {
        Bytes b = Header(4, 1);
        Append(b, {',', 0, 0, 0, 0, 4, 0, 1, 0, 0});
        Append(b, data);
        Append(b, {';'});
        return b;
    };
    // Codes the table does not hold. clear, 1, then code 7 while the next
    // free code is 6: 100 001 111, packed LSB first.
    EXPECT_EQ(Load(frame({2, 2, 0xCC, 0x01, 0})).error, "Circular decoder table entry");
    // The first code after a clear is a table code (6, the next free one).
    EXPECT_EQ(Load(frame({2, 1, 0x34, 0})).error, "Circular decoder table entry");
    // The same after a second clear in mid-stream: clear, 1, clear, 6.
    EXPECT_EQ(Load(frame({2, 2, 0x0C, 0x0D, 0})).error, "Circular decoder table entry");
    EXPECT_EQ(Load(frame({12, 1, 0, 0})).error, "Invalid GIF data");
}

TEST(GifRead, AbsurdFramesAreRefusedBeforeAllocation) {
    Bytes b = Header(1, 1);
    Append(b, {',', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0, ';'});
    EXPECT_EQ(Load(b).error, "Image exceeds maximum size");

    // 10 x 10 frames against a 250-pixel budget: the third is refused.
    Bytes many = Header(1, 1);
    for (int i = 0; i < 4; ++i) Append(many, {',', 0, 0, 0, 0, 10, 0, 10, 0, 0, 2, 0});
    many.push_back(';');
    TGIFImage img;
    img.MaxFramePixels = 100;
    img.MaxTotalPixels = 250;
    TByteStream s(many);
    EXPECT_THROW(img.LoadFromStream(s), EInvalidGraphic);
    EXPECT_EQ(img.Frames.size(), 2u);
}

TEST(GifRead, StoredPictureLayout) {
    TGIFImage img;
    img.LoadFromBytes(SmallGif(true, 2));
    Bytes stored;
    SaveStoredPicture(img, stored);
    ASSERT_GE(stored.size(), 10u);
    EXPECT_EQ(std::string(stored.begin(), stored.begin() + 10), "\x09TGIFImage");
    EXPECT_EQ(Bytes(stored.begin() + 10, stored.end()), SmallGif(true, 2));

    stored.insert(stored.end(), {'n', 'e', 'x', 't'});
    TByteStream s(stored);
    TGIFImage back;
    LoadStoredPicture(s, back);
    EXPECT_EQ(s.Remaining(), 4u);
    ASSERT_EQ(back.Frames.size(), 1u);
    EXPECT_EQ(back.Frames[0]->Pixels, img.Frames[0]->Pixels);

    Bytes other = {4, 'T', 'B', 'M', 'P', 'G', 'I', 'F'};
    TByteStream o(other);
    EXPECT_THROW(LoadStoredPicture(o, back), EInvalidGraphic);
    Bytes cut = {9, 'T', 'G', 'I'};
    TByteStream c(cut);
    EXPECT_THROW(LoadStoredPicture(c, back), EInvalidGraphic);
}

TEST(GifPixels, TransparentIndexBecomesClear) {
    TGIFImage img;
    img.Header.ColorMap = {{255, 0, 0}, {0, 128, 255}, {1, 2, 3}};
    auto f = MakeFrame(5, 1, {0, 1, 2, 3, 200});
    f->AddExtension(Gce(true, 2));
    img.Frames.push_back(std::move(f));
    EXPECT_EQ(FrameToBGRA(img, *img.Frames[0]),
              (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF0080FFu, 0, 0xFF000000u, 0xFF000000u}));

    img.Frames[0]->ColorMap = {{9, 9, 9}};
    img.Frames[0]->Extensions.clear();
    img.Frames[0]->GraphicControl = nullptr;
    EXPECT_EQ(FrameToBGRA(img, *img.Frames[0])[0], 0xFF090909u);
}

}  // namespace
}  // namespace srt

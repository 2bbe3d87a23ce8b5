// The GIF writer: the image model back to a GIF stream, with an LZW encoder
// whose code widths follow the reader's.
#include <algorithm>
#include <cstring>

#include "image/gif.h"

namespace srt {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutColorMap(Bytes& out, const TGIFColorMap& map) {
    const std::size_t count = std::size_t{2} << ColorMapSizeBits(map.size());
    for (std::size_t i = 0; i < count; ++i) {
        const TGIFColor c = i < map.size() ? map[i] : TGIFColor{};
        out.insert(out.end(), {c.Red, c.Green, c.Blue});
    }
}

// Flags with the table bits set from the table itself.
std::uint8_t TableFlags(std::uint8_t flags, const TGIFColorMap& map) {
    flags &= static_cast<std::uint8_t>(~0x87);
    if (!map.empty()) flags |= static_cast<std::uint8_t>(0x80 | ColorMapSizeBits(map.size()));
    return flags;
}

void PutSubBlocks(Bytes& out, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const std::size_t n = std::min<std::size_t>(size, 255);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data, data + n);
        data += n;
        size -= n;
    }
    out.push_back(0);
}

void PutSubBlocks(Bytes& out, const std::string& text) {
    PutSubBlocks(out, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// Packs codes least significant bit first into data sub-blocks of 255 bytes.
class TCodeWriter {
public:
    explicit TCodeWriter(Bytes& out) : out_(out) {}
    void Put(int code, int width) {
        buf_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            PutByte(static_cast<std::uint8_t>(buf_ & 0xFF));
            buf_ >>= 8;
            bits_ -= 8;
        }
    }
    void Finish() {
        if (bits_ > 0) PutByte(static_cast<std::uint8_t>(buf_ & 0xFF));
        bits_ = 0;
        buf_ = 0;
        FlushBlock();
        out_.push_back(0);
    }

private:
    void PutByte(std::uint8_t b) {
        block_[blockSize_++] = b;
        if (blockSize_ == 255) FlushBlock();
    }
    void FlushBlock() {
        if (blockSize_ == 0) return;
        out_.push_back(static_cast<std::uint8_t>(blockSize_));
        out_.insert(out_.end(), block_, block_ + blockSize_);
        blockSize_ = 0;
    }

    Bytes& out_;
    std::uint32_t buf_ = 0;
    int bits_ = 0;
    std::uint8_t block_[255];
    std::size_t blockSize_ = 0;
};

// The code table as an open-addressed hash of (prefix code, next byte).
class TEncoderTable {
public:
    void Reset() { std::fill(std::begin(keys_), std::end(keys_), -1); }
    int Find(std::int32_t key) const {
        for (std::size_t h = Hash(key);; h = (h + 1) & kMask) {
            if (keys_[h] == key) return codes_[h];
            if (keys_[h] < 0) return -1;
        }
    }
    void Insert(std::int32_t key, int code) {
        std::size_t h = Hash(key);
        while (keys_[h] >= 0) h = (h + 1) & kMask;
        keys_[h] = key;
        codes_[h] = static_cast<std::uint16_t>(code);
    }

private:
    static constexpr std::size_t kSize = 16384;  // four times the code count
    static constexpr std::size_t kMask = kSize - 1;
    static std::size_t Hash(std::int32_t key) {
        return (static_cast<std::uint32_t>(key) * 2654435761u >> 18) & kMask;
    }
    std::int32_t keys_[kSize];
    std::uint16_t codes_[kSize];
};

void EncodeLZW(Bytes& out, const std::uint8_t* pixels, std::size_t count, int codeSize) {
    out.push_back(static_cast<std::uint8_t>(codeSize));
    TCodeWriter writer(out);
    auto table = std::make_unique<TEncoderTable>();
    const int clear = 1 << codeSize;
    const int endCode = clear + 1;
    int width = codeSize + 1;
    int next = clear + 2;
    table->Reset();
    writer.Put(clear, width);
    if (count > 0) {
        int prefix = pixels[0];
        for (std::size_t i = 1; i < count; ++i) {
            const int c = pixels[i];
            const std::int32_t key = (prefix << 8) | c;
            const int found = table->Find(key);
            if (found >= 0) {
                prefix = found;
                continue;
            }
            writer.Put(prefix, width);
            if (next < 4096) {
                if (next >= (1 << width) && width < 12) ++width;
                table->Insert(key, next++);
            } else {
                writer.Put(clear, width);
                table->Reset();
                width = codeSize + 1;
                next = clear + 2;
            }
            prefix = c;
        }
        writer.Put(prefix, width);
        if (next < 4096 && next >= (1 << width) && width < 12) ++width;
    }
    writer.Put(endCode, width);
    writer.Finish();
}

void PutExtension(Bytes& out, const TGIFExtension& ext) {
    out.push_back('!');
    out.push_back(ext.Label());
    switch (ext.Label()) {
    case beGraphicControl: {
        const auto& gce = static_cast<const TGIFGraphicControlExtension&>(ext);
        out.push_back(4);
        out.push_back(gce.Packed);
        Put16(out, gce.Delay);
        out.push_back(gce.TransparentColorIndex);
        out.push_back(0);
        break;
    }
    case beComment:
        PutSubBlocks(out, static_cast<const TGIFCommentExtension&>(ext).Text);
        break;
    case bePlainText: {
        const auto& text = static_cast<const TGIFTextExtension&>(ext);
        const std::size_t n = std::min<std::size_t>(text.Block.size(), 255);
        out.push_back(static_cast<std::uint8_t>(n));
        // Without a first block the length 0 just written ends the extension.
        if (n == 0) break;
        out.insert(out.end(), text.Block.begin(), text.Block.begin() + static_cast<std::ptrdiff_t>(n));
        PutSubBlocks(out, text.Text);
        break;
    }
    case beApplication: {
        const auto& app = static_cast<const TGIFApplicationExtension&>(ext);
        out.push_back(11);
        out.insert(out.end(), app.Identifier.begin(), app.Identifier.end());
        const auto* loop = dynamic_cast<const TGIFLoopExtension*>(&app);
        if (loop && app.SubBlocks.empty()) {
            if (loop->HasLoops) {
                out.insert(out.end(), {3, 1});
                Put16(out, loop->Loops);
            }
            if (loop->HasBufferSize) {
                out.insert(out.end(), {5, 2});
                Put16(out, static_cast<std::uint16_t>(loop->BufferSize & 0xFFFF));
                Put16(out, static_cast<std::uint16_t>(loop->BufferSize >> 16));
            }
        }
        for (const auto& block : app.SubBlocks) {
            for (std::size_t at = 0; at < block.size(); at += 255) {
                const std::size_t n = std::min<std::size_t>(block.size() - at, 255);
                out.push_back(static_cast<std::uint8_t>(n));
                out.insert(out.end(), block.begin() + static_cast<std::ptrdiff_t>(at),
                           block.begin() + static_cast<std::ptrdiff_t>(at + n));
            }
        }
        out.push_back(0);
        break;
    }
    default:
        out.push_back(0);
        break;
    }
}

int CodeSizeFor(const TGIFColorMap& map, const std::vector<std::uint8_t>& pixels) {
    int size = std::max(2, ColorMapSizeBits(map.size()) + 1);
    const std::uint8_t top = pixels.empty() ? 0 : *std::max_element(pixels.begin(), pixels.end());
    while ((1 << size) <= top) ++size;
    return size;
}

void PutFrame(Bytes& out, const TGIFImage& image, const TGIFFrame& frame) {
    for (const auto& ext : frame.Extensions) PutExtension(out, *ext);
    if (!frame.HasImage) return;
    const TGIFImageDescriptor& d = frame.Descriptor;
    out.push_back(',');
    Put16(out, d.Left);
    Put16(out, d.Top);
    Put16(out, d.Width);
    Put16(out, d.Height);
    out.push_back(TableFlags(d.Flags, frame.ColorMap));
    if (!frame.ColorMap.empty()) PutColorMap(out, frame.ColorMap);

    const std::size_t width = d.Width;
    const std::size_t height = d.Height;
    std::vector<std::uint8_t> pixels = frame.Pixels;
    pixels.resize(width * height, 0);
    const int codeSize = CodeSizeFor(ActiveColorMap(image, frame), pixels);
    if (frame.Interlaced()) {
        std::vector<std::uint8_t> stored;
        stored.reserve(pixels.size());
        static constexpr std::size_t kStart[4] = {0, 4, 2, 1};
        static constexpr std::size_t kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (std::size_t y = kStart[pass]; y < height; y += kStep[pass])
                stored.insert(stored.end(), pixels.begin() + static_cast<std::ptrdiff_t>(y * width),
                              pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * width));
        pixels.swap(stored);
    }
    EncodeLZW(out, pixels.data(), pixels.size(), codeSize);
}

}  // namespace

void TGIFImage::SaveToStream(std::vector<std::uint8_t>& out) const {
    out.insert(out.end(), Header.Signature.begin(), Header.Signature.end());
    Put16(out, Header.Screen.Width);
    Put16(out, Header.Screen.Height);
    out.push_back(TableFlags(Header.Screen.Flags, Header.ColorMap));
    out.push_back(Header.Screen.BackgroundColorIndex);
    out.push_back(Header.Screen.AspectRatio);
    if (!Header.ColorMap.empty()) PutColorMap(out, Header.ColorMap);
    for (const auto& frame : Frames) PutFrame(out, *this, *frame);
    out.push_back(';');
}

std::vector<std::uint8_t> TGIFImage::SaveToBytes() const {
    std::vector<std::uint8_t> out;
    SaveToStream(out);
    return out;
}

}  // namespace srt

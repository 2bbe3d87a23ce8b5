// The GIF reader: block grammar, extensions and LZW decoding.
#include "image/gif.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace srt {

namespace {

constexpr const char* kInvalidSignature = "Invalid GIF signature";
constexpr const char* kPrematureEnd = "Premature end of data";
constexpr const char* kUnknownBlock = "Unknown GIF block type";
constexpr const char* kInvalidTrailer = "Invalid Image trailer";
constexpr const char* kInvalidIntroducer = "Invalid extension introducer";
constexpr const char* kUnknownExtension = "Unknown extension type";
constexpr const char* kAppBlockSize = "Unsupported Application Extension block size";
constexpr const char* kInvalidData = "Invalid GIF data";
constexpr const char* kCircularEntry = "Circular decoder table entry";
constexpr const char* kExceedsScreen = "Image exceeds Logical Screen size";
constexpr const char* kUnderrun = "Decoder bit buffer under-run";
constexpr const char* kTooLarge = "Image exceeds maximum size";

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

[[noreturn]] void Fail(const char* message) { throw EInvalidGraphic(message); }

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool IsSignature(const std::uint8_t* p) {
    return std::toupper(p[0]) == 'G' && std::toupper(p[1]) == 'I' && std::toupper(p[2]) == 'F';
}

void ReadColorMap(TByteStream& stream, std::uint8_t flags, TGIFColorMap& map) {
    const std::size_t count = std::size_t{2} << (flags & 7);
    std::uint8_t raw[256 * 3];
    if (stream.Read(raw, count * 3) < count * 3) Fail(kPrematureEnd);
    map.resize(count);
    for (std::size_t i = 0; i < count; ++i) map[i] = {raw[3 * i], raw[3 * i + 1], raw[3 * i + 2]};
}

// Reads one data sub-block into `block`. Returns false at the terminating
// length 0 or at the end of the stream. A block that announces more bytes
// than the stream holds yields the bytes that are there; a length byte with
// nothing after it ends the data, so a block handed out is never empty.
bool ReadSubBlock(const TGIFImage& image, const TGIFItem& sender, TByteStream& stream,
                  std::vector<std::uint8_t>& block) {
    block.clear();
    std::uint8_t length;
    if (!stream.ReadByte(length) || length == 0) return false;
    block.resize(length);
    const std::size_t got = stream.Read(block.data(), length);
    if (got < length) {
        image.Warning(sender, TGIFSeverity::gsWarning, kPrematureEnd);
        block.resize(got);
    }
    return got > 0;
}

void SkipSubBlocks(const TGIFImage& image, const TGIFItem& sender, TByteStream& stream) {
    std::uint8_t length;
    while (stream.ReadByte(length) && length != 0) {
        if (stream.Skip(length) < length) image.Warning(sender, TGIFSeverity::gsWarning, kPrematureEnd);
    }
}

std::string ReadSubBlockText(const TGIFImage& image, const TGIFItem& sender, TByteStream& stream) {
    std::string text;
    std::vector<std::uint8_t> block;
    while (ReadSubBlock(image, sender, stream, block)) text.append(block.begin(), block.end());
    return text;
}

std::unique_ptr<TGIFExtension> ReadGraphicControl(const TGIFImage& image, TByteStream& stream) {
    auto ext = std::make_unique<TGIFGraphicControlExtension>();
    std::uint8_t raw[5] = {};
    const std::size_t got = stream.Read(raw, sizeof raw);
    ext->BlockSize = raw[0];
    ext->Packed = raw[1];
    ext->Delay = Le16(raw + 2);
    ext->TransparentColorIndex = raw[4];
    std::uint8_t terminator;
    if (got < sizeof raw || !stream.ReadByte(terminator)) {
        image.Warning(*ext, TGIFSeverity::gsWarning, kPrematureEnd);
        return ext;
    }
    if (terminator != 0) {
        // A block longer than four bytes, or further sub-blocks: skip them
        // so that the stream stays in step.
        stream.Seek(stream.Position() - 1);
        const std::size_t extra = ext->BlockSize > 4 ? ext->BlockSize - 4u : 0u;
        if (stream.Skip(extra) < extra) image.Warning(*ext, TGIFSeverity::gsWarning, kPrematureEnd);
        SkipSubBlocks(image, *ext, stream);
    }
    return ext;
}

std::unique_ptr<TGIFExtension> ReadApplication(const TGIFImage& image, TByteStream& stream) {
    std::uint8_t size = 0;
    stream.ReadByte(size);
    if (size < 10) Fail(kAppBlockSize);
    // Identifier and authentication code are always eleven bytes, also when
    // the block size says ten; a longer first block is skipped to its end.
    std::array<std::uint8_t, 11> id{};
    const std::size_t want = id.size();
    const std::size_t got = stream.Read(id.data(), want);
    if (size > id.size()) stream.Skip(size - id.size());

    const std::string_view text(reinterpret_cast<const char*>(id.data()), id.size());
    const bool loop = text == "NETSCAPE2.0" || text == "ANIMEXTS1.0";
    std::unique_ptr<TGIFApplicationExtension> ext;
    TGIFLoopExtension* loopExt = nullptr;
    if (loop) {
        auto l = std::make_unique<TGIFLoopExtension>();
        loopExt = l.get();
        ext = std::move(l);
    } else {
        ext = std::make_unique<TGIFApplicationExtension>();
    }
    ext->Identifier = id;
    if (got < want) image.Warning(*ext, TGIFSeverity::gsWarning, kPrematureEnd);

    std::vector<std::uint8_t> block;
    while (ReadSubBlock(image, *ext, stream, block)) {
        if (loopExt) {
            switch (block[0] & 7) {
            case 1:
                if (block.size() < 3) Fail(kInvalidData);
                loopExt->HasLoops = true;
                loopExt->Loops = Le16(block.data() + 1);
                break;
            case 2:
                if (block.size() < 5) Fail(kInvalidData);
                loopExt->HasBufferSize = true;
                loopExt->BufferSize = block[1] | (block[2] << 8) | (block[3] << 16) |
                                      (std::uint32_t{block[4]} << 24);
                break;
            default:
                break;
            }
        }
        ext->SubBlocks.push_back(block);
    }
    return ext;
}

// Codes, least significant bit first, from the data sub-blocks that start
// at `data`. Never reads outside `data`.
class TCodeReader {
public:
    TCodeReader(const TGIFImage& image, const TGIFItem& sender, std::span<const std::uint8_t> data)
        : image_(image), sender_(sender), p_(data.data()), end_(data.data() + data.size()) {}

    // Makes at least `width` bits available; false when the data has ended first.
    bool Fill(int width) {
        while (bits_ < width) {
            if (blockLeft_ == 0 && !NextBlock()) return false;
            while (blockLeft_ > 0 && bits_ <= 56) {
                buf_ |= std::uint64_t{*p_++} << bits_;
                bits_ += 8;
                --blockLeft_;
            }
        }
        return true;
    }
    int Take(int width) {
        const int code = static_cast<int>(buf_ & ((1u << width) - 1));
        buf_ >>= width;
        bits_ -= width;
        return code;
    }
    // Skips what is left of the data, up to and including the terminator.
    void SkipRest() {
        p_ += blockLeft_;
        blockLeft_ = 0;
        while (NextBlock()) {
            p_ += blockLeft_;
            blockLeft_ = 0;
        }
    }
    std::size_t Consumed(const std::uint8_t* begin) const { return static_cast<std::size_t>(p_ - begin); }

private:
    bool NextBlock() {
        if (ended_ || p_ == end_) {
            ended_ = true;
            return false;
        }
        std::size_t length = *p_++;
        if (length == 0) {
            ended_ = true;
            return false;
        }
        if (length > static_cast<std::size_t>(end_ - p_)) {
            image_.Warning(sender_, TGIFSeverity::gsWarning, kPrematureEnd);
            length = static_cast<std::size_t>(end_ - p_);
            if (length == 0) {
                ended_ = true;
                return false;
            }
        }
        blockLeft_ = length;
        return true;
    }

    const TGIFImage& image_;
    const TGIFItem& sender_;
    const std::uint8_t* p_;
    const std::uint8_t* end_;
    std::size_t blockLeft_ = 0;
    std::uint64_t buf_ = 0;
    int bits_ = 0;
    bool ended_ = false;
};

// Decodes the LZW data at the stream's position into out[0 .. count).
// Pixels the data does not reach keep their value.
void DecodeLZW(const TGIFImage& image, const TGIFFrame& frame, TByteStream& stream,
               std::uint8_t* out, std::size_t count) {
    std::uint8_t codeSize;
    if (!stream.ReadByte(codeSize)) {
        if (count > 0) image.Warning(frame, TGIFSeverity::gsWarning, kUnderrun);
        return;
    }
    if (codeSize >= kMaxCodeBits) Fail(kInvalidData);

    const int clear = 1 << codeSize;
    const int endCode = clear + 1;
    std::uint16_t prefix[kMaxCodes];
    std::uint8_t suffix[kMaxCodes];
    std::uint8_t first[kMaxCodes];
    std::uint16_t length[kMaxCodes];
    for (int c = 0; c < clear; ++c) {
        prefix[c] = 0;
        suffix[c] = first[c] = static_cast<std::uint8_t>(c);
        length[c] = 1;
    }

    const std::uint8_t* begin = stream.Rest().data();
    TCodeReader reader(image, frame, stream.Rest());
    int width = codeSize + 1;
    int limit = 1 << width;
    int next = clear + 2;
    int old = -1;
    std::size_t pos = 0;
    bool finished = false;  // end code seen or every pixel written

    while (pos < count) {
        if (!reader.Fill(width)) {
            image.Warning(frame, TGIFSeverity::gsWarning, kUnderrun);
            break;
        }
        const int code = reader.Take(width);
        if (code == clear) {
            width = codeSize + 1;
            limit = 1 << width;
            next = clear + 2;
            old = -1;
            continue;
        }
        if (code == endCode) {
            finished = true;
            break;
        }
        // A code the table does not hold (a table code right after a clear,
        // or one past the next free entry) has no chain that ends in a root.
        if (old < 0) {
            if (code >= clear) Fail(kCircularEntry);
        } else if (code < next) {
            if (next < kMaxCodes) {
                prefix[next] = static_cast<std::uint16_t>(old);
                suffix[next] = first[code];
                first[next] = first[old];
                length[next] = static_cast<std::uint16_t>(length[old] + 1);
                ++next;
            }
        } else if (code == next && next < kMaxCodes) {
            prefix[next] = static_cast<std::uint16_t>(old);
            suffix[next] = first[old];
            first[next] = first[old];
            length[next] = static_cast<std::uint16_t>(length[old] + 1);
            ++next;
        } else {
            Fail(kCircularEntry);
        }
        old = code;
        if (next >= limit && width < kMaxCodeBits) {
            ++width;
            limit <<= 1;
        }

        // The string of `code`, written backwards from its last byte.
        if (length[code] == 1) {
            out[pos++] = suffix[code];
            continue;
        }
        std::size_t len = length[code];
        int c = code;
        if (len > count - pos) {
            for (std::size_t skip = len - (count - pos); skip > 0; --skip) c = prefix[c];
            len = count - pos;
        }
        std::uint8_t* q = out + pos + len;
        for (std::size_t k = len; k > 0; --k) {
            *--q = suffix[c];
            c = prefix[c];
        }
        pos += len;
    }
    if (pos == count) finished = true;
    if (finished) reader.SkipRest();
    stream.Skip(reader.Consumed(begin));
}

// Row order of an interlaced frame: rows 0, 8, 16.., then 4, 12.., then
// 2, 6.., then 1, 3...
void Deinterlace(const std::vector<std::uint8_t>& stored, std::vector<std::uint8_t>& rows,
                 std::size_t width, std::size_t height) {
    static constexpr std::size_t kStart[4] = {0, 4, 2, 1};
    static constexpr std::size_t kStep[4] = {8, 8, 4, 2};
    const std::uint8_t* src = stored.data();
    for (int pass = 0; pass < 4; ++pass) {
        for (std::size_t y = kStart[pass]; y < height; y += kStep[pass]) {
            std::memcpy(rows.data() + y * width, src, width);
            src += width;
        }
    }
}

}  // namespace

std::size_t TByteStream::Skip(std::size_t count) {
    const std::size_t n = std::min(count, Remaining());
    pos_ += n;
    return n;
}

std::size_t TByteStream::Read(void* dest, std::size_t count) {
    const std::size_t n = std::min(count, Remaining());
    if (n) std::memcpy(dest, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

bool TByteStream::ReadByte(std::uint8_t& b) {
    if (pos_ == data_.size()) return false;
    b = data_[pos_++];
    return true;
}

std::uint8_t ColorMapSizeBits(std::size_t count) {
    std::uint8_t bits = 0;
    while (bits < 7 && (std::size_t{2} << bits) < count) ++bits;
    return bits;
}

TGIFExtension& TGIFFrame::AddExtension(std::unique_ptr<TGIFExtension> extension) {
    TGIFExtension& ext = *extension;
    if (!GraphicControl && ext.Label() == beGraphicControl)
        GraphicControl = static_cast<const TGIFGraphicControlExtension*>(&ext);
    Extensions.push_back(std::move(extension));
    return ext;
}

void TGIFImage::Clear() {
    Header = TGIFHeader{};
    Frames.clear();
    totalPixels_ = 0;
}

void TGIFImage::Warning(const TGIFItem& sender, TGIFSeverity severity, const std::string& message) const {
    if (OnWarning) OnWarning(sender, severity, message);
}

void TGIFImage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    TByteStream stream(bytes);
    LoadFromStream(stream);
}

void TGIFImage::LoadFromStream(TByteStream& stream) {
    Clear();
    ReadHeader(stream);

    for (;;) {
        std::uint8_t b;
        bool got;
        while ((got = stream.ReadByte(b)) && b == 0) {
        }
        if (!got) break;
        if (b == ';') {
            stream.Seek(stream.Position() - 1);
            break;
        }
        if (b != '!' && b != ',') {
            Warning(*this, TGIFSeverity::gsWarning, kUnknownBlock);
            break;
        }
        stream.Seek(stream.Position() - 1);
        Frames.push_back(ReadFrame(stream));
        if (OnProgress) OnProgress(*this, Frames.size());
    }

    std::uint8_t trailer;
    if (stream.ReadByte(trailer) && trailer != ';') Warning(*this, TGIFSeverity::gsWarning, kInvalidTrailer);
}

void TGIFImage::ReadHeader(TByteStream& stream) {
    const std::size_t start = stream.Position();
    std::uint8_t sig[6];
    if (stream.Read(sig, sizeof sig) < sizeof sig) Fail(kPrematureEnd);
    if (!IsSignature(sig)) {
        stream.Seek(start);
        stream.Skip(4);
        if (stream.Read(sig, sizeof sig) < sizeof sig) Fail(kPrematureEnd);
        if (!IsSignature(sig)) Fail(kInvalidSignature);
    }
    std::memcpy(Header.Signature.data(), sig, sizeof sig);

    std::uint8_t lsd[7];
    if (stream.Read(lsd, sizeof lsd) < sizeof lsd) Fail(kPrematureEnd);
    Header.Screen.Width = Le16(lsd);
    Header.Screen.Height = Le16(lsd + 2);
    Header.Screen.Flags = lsd[4];
    Header.Screen.BackgroundColorIndex = lsd[5];
    Header.Screen.AspectRatio = lsd[6];
    if (Header.Screen.Flags & 0x80) ReadColorMap(stream, Header.Screen.Flags, Header.ColorMap);
}

std::unique_ptr<TGIFFrame> TGIFImage::ReadFrame(TByteStream& stream) {
    auto frame = std::make_unique<TGIFFrame>();
    ReadExtensions(stream, *frame);
    std::uint8_t b;
    if (!stream.ReadByte(b)) return frame;
    stream.Seek(stream.Position() - 1);
    if (b == ';' || b == 0) return frame;
    ReadImage(stream, *frame);
    return frame;
}

void TGIFImage::ReadExtensions(TByteStream& stream, TGIFFrame& frame) {
    for (;;) {
        std::uint8_t b;
        if (!stream.ReadByte(b)) return;
        if (b == ',' || b == ';') {
            stream.Seek(stream.Position() - 1);
            return;
        }
        if (b != '!') {
            Warning(frame, TGIFSeverity::gsWarning, kInvalidIntroducer);
            return;
        }
        std::uint8_t label;
        if (!stream.ReadByte(label)) return;
        std::unique_ptr<TGIFExtension> ext;
        switch (label) {
        case beGraphicControl:
            ext = ReadGraphicControl(*this, stream);
            break;
        case beComment: {
            auto comment = std::make_unique<TGIFCommentExtension>();
            comment->Text = ReadSubBlockText(*this, *comment, stream);
            ext = std::move(comment);
            break;
        }
        case bePlainText: {
            auto text = std::make_unique<TGIFTextExtension>();
            ReadSubBlock(*this, *text, stream, text->Block);
            if (!text->Block.empty()) text->Text = ReadSubBlockText(*this, *text, stream);
            ext = std::move(text);
            break;
        }
        case beApplication:
            ext = ReadApplication(*this, stream);
            break;
        default:
            Fail(kUnknownExtension);
        }
        frame.AddExtension(std::move(ext));
    }
}

void TGIFImage::ReadImage(TByteStream& stream, TGIFFrame& frame) {
    std::uint8_t raw[10];
    if (stream.Read(raw, sizeof raw) < sizeof raw) Fail(kPrematureEnd);
    TGIFImageDescriptor& d = frame.Descriptor;
    d.Separator = raw[0];
    d.Left = Le16(raw + 1);
    d.Top = Le16(raw + 3);
    d.Width = Le16(raw + 5);
    d.Height = Le16(raw + 7);
    d.Flags = raw[9];
    if (d.Width == 0 || d.Height == 0) {
        d.Width = Header.Screen.Width;
        d.Height = Header.Screen.Height;
        Warning(frame, TGIFSeverity::gsWarning, kExceedsScreen);
    }
    const std::size_t count = std::size_t{d.Width} * d.Height;
    if (count > MaxFramePixels || count > MaxTotalPixels - std::min(totalPixels_, MaxTotalPixels))
        Fail(kTooLarge);
    if (d.Flags & 0x80) ReadColorMap(stream, d.Flags, frame.ColorMap);

    const std::uint8_t start = frame.Transparent() ? frame.TransparentColorIndex() : 0;
    frame.Pixels.assign(count, start);
    totalPixels_ += count;
    frame.HasImage = true;
    if (frame.Interlaced() && d.Height > 1 && count > 0) {
        std::vector<std::uint8_t> stored(count, start);
        DecodeLZW(*this, frame, stream, stored.data(), count);
        Deinterlace(stored, frame.Pixels, d.Width, d.Height);
    } else {
        DecodeLZW(*this, frame, stream, frame.Pixels.data(), count);
    }
}

const TGIFColorMap& ActiveColorMap(const TGIFImage& image, const TGIFFrame& frame) {
    return frame.ColorMap.empty() ? image.Header.ColorMap : frame.ColorMap;
}

std::vector<std::uint32_t> FrameToBGRA(const TGIFImage& image, const TGIFFrame& frame) {
    std::uint32_t lut[256];
    const TGIFColorMap& map = ActiveColorMap(image, frame);
    for (std::size_t i = 0; i < 256; ++i) {
        lut[i] = 0xFF000000u;
        if (i < map.size())
            lut[i] |= (std::uint32_t{map[i].Red} << 16) | (std::uint32_t{map[i].Green} << 8) | map[i].Blue;
    }
    if (frame.Transparent()) lut[frame.TransparentColorIndex()] = 0;
    std::vector<std::uint32_t> pixels(frame.Pixels.size());
    std::transform(frame.Pixels.begin(), frame.Pixels.end(), pixels.begin(),
                   [&lut](std::uint8_t index) { return lut[index]; });
    return pixels;
}

std::string ReadStoredClassName(TByteStream& stream) {
    std::uint8_t length;
    if (!stream.ReadByte(length)) Fail(kPrematureEnd);
    std::string name(length, '\0');
    if (stream.Read(name.data(), length) < length) Fail(kPrematureEnd);
    return name;
}

void LoadStoredPicture(TByteStream& stream, TGIFImage& image) {
    const std::string name = ReadStoredClassName(stream);
    if (name != TGIFImage::ClassName) throw EInvalidGraphic("Unknown picture class \"" + name + "\"");
    image.LoadFromStream(stream);
}

void SaveStoredPicture(const TGIFImage& image, std::vector<std::uint8_t>& out) {
    out.push_back(static_cast<std::uint8_t>(TGIFImage::ClassName.size()));
    out.insert(out.end(), TGIFImage::ClassName.begin(), TGIFImage::ClassName.end());
    image.SaveToStream(out);
}

}  // namespace srt

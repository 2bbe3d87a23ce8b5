// GIF images: a reader that turns a GIF87a/GIF89a stream into frames of
// colour indices with their colour tables and extensions, and a writer for
// the same model. Platform-free.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace srt {

// A stream that is not a GIF image the reader can use; what() is the message.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Read cursor over a byte buffer. Reads never go past the end: they return
// what is there. The buffer must outlive the cursor.
class TByteStream {
public:
    explicit TByteStream(std::span<const std::uint8_t> data, std::size_t position = 0)
        : data_(data), pos_(position < data.size() ? position : data.size()) {}

    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ == data_.size(); }
    void Seek(std::size_t position) { pos_ = position < data_.size() ? position : data_.size(); }
    std::size_t Skip(std::size_t count);
    std::size_t Read(void* dest, std::size_t count);
    bool ReadByte(std::uint8_t& b);
    // The unread bytes, for readers that walk them directly.
    std::span<const std::uint8_t> Rest() const { return data_.subspan(pos_); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_;
};

enum class TGIFSeverity { gsInfo, gsWarning, gsError };

// Base of everything that can send a warning: the image, a frame, an extension.
class TGIFItem {
public:
    virtual ~TGIFItem() = default;
};

using TGIFWarningEvent =
    std::function<void(const TGIFItem& sender, TGIFSeverity severity, const std::string& message)>;

struct TGIFColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

// Up to 256 entries in stream order. A stream announces 2 << (flags & 7).
using TGIFColorMap = std::vector<TGIFColor>;

// The packed-byte value (0..7) that announces a table of at least `count` entries.
std::uint8_t ColorMapSizeBits(std::size_t count);

struct TGIFScreenDescriptor {
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t Flags = 0;  // 0x80 global table, 0x70 colour resolution, 0x08 sort, 0x07 size
    std::uint8_t BackgroundColorIndex = 0;
    std::uint8_t AspectRatio = 0;
};

struct TGIFHeader {
    std::array<char, 6> Signature{'G', 'I', 'F', '8', '9', 'a'};
    TGIFScreenDescriptor Screen;
    TGIFColorMap ColorMap;  // empty when the screen flags announce none
};

// Extension labels.
inline constexpr std::uint8_t beGraphicControl = 0xF9;
inline constexpr std::uint8_t bePlainText = 0x01;
inline constexpr std::uint8_t beComment = 0xFE;
inline constexpr std::uint8_t beApplication = 0xFF;

class TGIFExtension : public TGIFItem {
public:
    virtual std::uint8_t Label() const = 0;
};

enum class TGIFDisposal : std::uint8_t { dmNone, dmNoDisposal, dmBackground, dmPrevious };

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    std::uint8_t Label() const override { return beGraphicControl; }
    bool Transparent() const { return (Packed & 0x01) != 0; }
    void SetTransparent(bool on) { Packed = on ? (Packed | 0x01) : (Packed & ~0x01); }
    bool UserInput() const { return (Packed & 0x02) != 0; }
    TGIFDisposal Disposal() const { return static_cast<TGIFDisposal>((Packed >> 2) & 0x07); }

    std::uint8_t BlockSize = 4;
    std::uint8_t Packed = 0;
    std::uint16_t Delay = 0;  // hundredths of a second
    std::uint8_t TransparentColorIndex = 0;
};

class TGIFCommentExtension : public TGIFExtension {
public:
    std::uint8_t Label() const override { return beComment; }
    std::string Text;  // the data sub-blocks joined
};

class TGIFTextExtension : public TGIFExtension {
public:
    std::uint8_t Label() const override { return bePlainText; }
    std::vector<std::uint8_t> Block;  // the first sub-block: text grid, cells, colours
    std::string Text;                 // the further sub-blocks joined
};

class TGIFApplicationExtension : public TGIFExtension {
public:
    std::uint8_t Label() const override { return beApplication; }
    // "NETSCAPE" + "2.0": eight identifier characters, three authentication bytes.
    std::array<std::uint8_t, 11> Identifier{};
    std::string_view IdentifierText() const {
        return {reinterpret_cast<const char*>(Identifier.data()), Identifier.size()};
    }
    std::vector<std::vector<std::uint8_t>> SubBlocks;  // as stored
};

// "NETSCAPE2.0" or "ANIMEXTS1.0": the loop count and buffer size.
class TGIFLoopExtension : public TGIFApplicationExtension {
public:
    bool HasLoops = false;
    std::uint16_t Loops = 0;  // 0: for ever
    bool HasBufferSize = false;
    std::uint32_t BufferSize = 0;
};

struct TGIFImageDescriptor {
    std::uint8_t Separator = ',';
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t Flags = 0;  // 0x80 local table, 0x40 interlaced, 0x20 sort, 0x07 size
};

class TGIFFrame : public TGIFItem {
public:
    std::vector<std::unique_ptr<TGIFExtension>> Extensions;  // stream order
    // The frame's first graphic control extension, or null.
    const TGIFGraphicControlExtension* GraphicControl = nullptr;
    bool HasImage = false;  // false for extensions that precede the trailer
    TGIFImageDescriptor Descriptor;
    TGIFColorMap ColorMap;              // local table; empty when none
    std::vector<std::uint8_t> Pixels;   // Width * Height indices, rows from the top

    bool Transparent() const { return GraphicControl && GraphicControl->Transparent(); }
    std::uint8_t TransparentColorIndex() const {
        return GraphicControl ? GraphicControl->TransparentColorIndex : 0;
    }
    bool Interlaced() const { return (Descriptor.Flags & 0x40) != 0; }
    int Width() const { return Descriptor.Width; }
    int Height() const { return Descriptor.Height; }

    // Appends an extension, making it the frame's transparency source if it
    // is the first graphic control extension.
    TGIFExtension& AddExtension(std::unique_ptr<TGIFExtension> extension);
};

class TGIFImage : public TGIFItem {
public:
    // The class name under which a picture is stored.
    static constexpr std::string_view ClassName = "TGIFImage";
    // Frames larger than this, or images whose frames add up to more than
    // MaxTotalPixels, are refused before their pixels are allocated.
    static constexpr std::size_t DefaultMaxFramePixels = 64u * 1024 * 1024;
    static constexpr std::size_t DefaultMaxTotalPixels = 256u * 1024 * 1024;

    TGIFImage() = default;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    TGIFHeader Header;
    std::vector<std::unique_ptr<TGIFFrame>> Frames;
    TGIFWarningEvent OnWarning;
    std::function<void(const TGIFImage&, std::size_t frameCount)> OnProgress;
    std::size_t MaxFramePixels = DefaultMaxFramePixels;
    std::size_t MaxTotalPixels = DefaultMaxTotalPixels;

    int Width() const { return Header.Screen.Width; }
    int Height() const { return Header.Screen.Height; }
    void Clear();

    // Reads one GIF stream from the stream's position, replacing what the
    // image held, and leaves the stream after the trailer. Errors throw
    // EInvalidGraphic; the frames read before the error stay.
    void LoadFromStream(TByteStream& stream);
    void LoadFromBytes(std::span<const std::uint8_t> bytes);

    // Writes the image as a GIF stream (header, frames, trailer).
    void SaveToStream(std::vector<std::uint8_t>& out) const;
    std::vector<std::uint8_t> SaveToBytes() const;

    // Sends a warning to OnWarning, if assigned.
    void Warning(const TGIFItem& sender, TGIFSeverity severity, const std::string& message) const;

private:
    void ReadHeader(TByteStream& stream);
    std::unique_ptr<TGIFFrame> ReadFrame(TByteStream& stream);
    void ReadExtensions(TByteStream& stream, TGIFFrame& frame);
    void ReadImage(TByteStream& stream, TGIFFrame& frame);

    std::size_t totalPixels_ = 0;
};

// The colour table that applies to a frame: its local one, else the global one.
const TGIFColorMap& ActiveColorMap(const TGIFImage& image, const TGIFFrame& frame);

// A frame as 32-bit pixels, rows from the top, each pixel B, G, R, A in
// memory order (0xAARRGGBB as a little-endian word). Opaque pixels have
// alpha 255; pixels of the transparent index are 0 in all four bytes, so
// the result is valid both as straight and as premultiplied alpha. An index
// past the end of the colour table shows black.
std::vector<std::uint32_t> FrameToBGRA(const TGIFImage& image, const TGIFFrame& frame);

// A picture in a stored description: the class name as a length byte and
// its characters, then the GIF stream with no length field in between.
// Reads the class name; the stream is left on the first byte after it.
std::string ReadStoredClassName(TByteStream& stream);
// Reads a stored picture whose class must be "TGIFImage".
void LoadStoredPicture(TByteStream& stream, TGIFImage& image);
void SaveStoredPicture(const TGIFImage& image, std::vector<std::uint8_t>& out);

}  // namespace srt

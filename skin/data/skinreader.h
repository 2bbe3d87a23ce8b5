// The skin package: a 32-bit little-endian unpacked size followed by an LZHUF
// stream that unpacks to a container of named entries:
//
//   offset 0   version (20000)      offset 4   L, name-list length
//   offset 8   reserved             offset 12  reserved
//   offset 16  name list, L bytes: one name per line (CR LF, CR or LF)
//   then       C 32-bit entry sizes, C = number of names
//   then       the entries' bytes, in name order, without gaps
//
// Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace srt {

constexpr std::uint32_t kSkinPackageVersion = 20000;
constexpr int kSkinMaxEntries = 1001;
// Unpacked sizes above this are refused before anything is allocated.
constexpr std::uint32_t kSkinMaxUnpackedSize = 64u << 20;

// The message shown for a package of another version. CR between the lines.
extern const char* const kOlderSkinFileMessage;

class TSkinReader {
public:
    // Called with kOlderSkinFileMessage when a package has the wrong version;
    // the skin data component shows it in a modal message box.
    std::function<void(const std::string&)> OnMessage;
    // Which entries a load leaves packed, by their (lower-case) names.
    using TNameFilter = std::function<bool(std::string_view name)>;

    // Unpacks `source` (size word and stream) and splits it into entries.
    // False when the package is refused: too short, too large (over
    // maxUnpacked), of another version (after OnMessage), more than 1001
    // entries, or a name list, size table or sizes that do not fit the
    // unpacked bytes. A refused package leaves the reader without entries.
    bool LoadFromStream(std::span<const std::uint8_t> source,
                        std::uint32_t maxUnpacked = kSkinMaxUnpackedSize);

    // Refuses and accepts what LoadFromStream does and lists the same
    // entries, but the entries `leavePacked` names are only located: their
    // bytes are unpacked when asked for. The rest of the stream is decoded
    // and dropped, to refuse a package cut short. The reader keeps a view of
    // `source`, which must stay as it is while the reader (or a copy) may
    // read it: until it is cleared, loaded again or freed.
    bool LoadLeavingPacked(std::span<const std::uint8_t> source, const TNameFilter& leavePacked,
                           std::uint32_t maxUnpacked = kSkinMaxUnpackedSize);

    // A copy of this reader with the packed entries `which` names unpacked,
    // all in one pass over the stream.
    TSkinReader Unpacked(const TNameFilter& which) const;
    // Drops the bytes of the held entries `which` names; they are unpacked
    // again when asked for. Only a reader loaded by LoadLeavingPacked can
    // (on any other it does nothing). Views from Entry end.
    void Repack(const TNameFilter& which);

    // The bytes of the first entry named `name` (compared lower-cased);
    // empty when there is none. A packed entry is unpacked for the call.
    std::vector<std::uint8_t> GetFile(std::string_view name) const;
    void GetFile(std::string_view name, std::vector<std::uint8_t>& dest) const;

    // The first entry whose stored (lower-case) name contains `text` as a
    // case-sensitive byte search. Fills dest and name and returns true;
    // otherwise empties dest, leaves name alone and returns false.
    bool GetFileByExt(std::string_view text, std::vector<std::uint8_t>& dest,
                      std::string& name) const;

    // Entries in package order.
    int Count() const { return static_cast<int>(names_.size()); }
    const std::vector<std::string>& Names() const { return names_; }
    std::uint32_t Size(int index) const { return sizes_[index]; }
    // The bytes of a held entry; empty for a packed one.
    std::span<const std::uint8_t> Entry(int index) const;
    bool Packed(int index) const { return offsets_[index] == kPacked; }

    // Bytes of entry data held unpacked.
    std::size_t HeldBytes() const { return data_.size(); }
    // Packed entries unpacked since the load (by Unpacked or GetFile): how
    // tests and benches see what a load left packed.
    int LateUnpacks() const { return lateUnpacks_; }

    // The header words as read: version, L, reserved, reserved.
    const std::uint32_t* Header() const { return header_; }

    void Clear();

private:
    struct TDirectory;
    void Adopt(TDirectory& directory);

    static constexpr std::uint64_t kPacked = ~std::uint64_t{0};

    // The bytes of entry `index`, unpacked for the call when packed.
    void Bytes(int index, std::vector<std::uint8_t>& dest) const;

    std::vector<std::string> names_;
    std::vector<std::uint32_t> sizes_;
    std::vector<std::uint64_t> starts_;   // entry starts in the unpacked package
    std::vector<std::uint64_t> offsets_;  // held entries' starts within data_, or kPacked
    std::vector<std::uint8_t> data_;      // the held entries' data (may hold extra tail bytes)
    std::span<const std::uint8_t> stream_;  // the LZHUF stream of a package loaded leaving entries packed
    mutable int lateUnpacks_ = 0;
    std::uint32_t header_[4] = {};
};

// The scale an entry was drawn for, by its (lower-case) name: "@125",
// "@150" or "@200" for NAME@125.bmp, NAME@150.bmp, NAME@200.bmp; empty for
// any other. A name holding ".ini" never has one: it may be the definition.
std::string_view EntryScaleSuffix(std::string_view name);

// Splits a name list: lines end at CR LF, lone CR or lone LF; a byte 0 ends
// the list; a break at the very end adds no empty name. Names lower-cased
// (A-Z only).
std::vector<std::string> SplitSkinNames(std::string_view list);

// ASCII A-Z to a-z.
std::string SkinLowerCase(std::string_view text);

struct TSkinEntry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// An unpacked package of the entries, in order, but with the images drawn
// for a scale (EntryScaleSuffix) after all others, those for 125 % first,
// then 150 % and 200 %: a load that leaves them packed stops before them.
// Names must hold no CR, LF or byte 0 and there may be at most 1001 entries
// (std::invalid_argument).
std::vector<std::uint8_t> BuildSkinPackage(const std::vector<TSkinEntry>& entries);

// Size word plus LZHUF stream of `unpacked`.
std::vector<std::uint8_t> PackSkin(std::span<const std::uint8_t> unpacked);

}  // namespace srt

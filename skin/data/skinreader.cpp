#include "skin/data/skinreader.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "skin/data/lzh.h"

namespace srt {

const char* const kOlderSkinFileMessage = "This is Older Skin File\rPlease update to new version !";

namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::string SkinLowerCase(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<std::string> SplitSkinNames(std::string_view list) {
    list = list.substr(0, list.find('\0'));
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = start;
        while (end < list.size() && list[end] != '\r' && list[end] != '\n') ++end;
        names.push_back(SkinLowerCase(list.substr(start, end - start)));
        if (end < list.size()) {
            // A break is CR LF, a lone CR or a lone LF.
            if (list[end] == '\r' && end + 1 < list.size() && list[end + 1] == '\n') ++end;
            ++end;
        }
        start = end;
    }
    return names;
}

// What a package's first bytes say: header, names and entry sizes.
struct TSkinReader::TDirectory {
    std::uint32_t header[4] = {};
    std::vector<std::string> names;
    std::vector<std::uint32_t> sizes;
    std::uint64_t dataStart = 0;  // where entry data starts in the unpacked package
    std::uint64_t dataSize = 0;   // the sizes' sum
};

namespace {

// Reads the directory of an unpacked package of `size` bytes whose bytes
// `read(dest, n)` gives in order; false when it is refused (after onMessage
// for another version).
template <class Directory, class Read>
bool ReadDirectory(Read&& read, std::uint32_t size, Directory& d,
                   const std::function<void(const std::string&)>& onMessage) {
    std::uint8_t head[16];
    read(head, 16);
    for (int i = 0; i < 4; ++i) d.header[i] = ReadU32(head + 4 * i);
    if (d.header[0] != kSkinPackageVersion) {
        if (onMessage) onMessage(kOlderSkinFileMessage);
        return false;
    }
    const std::uint64_t listLength = d.header[1];
    if (16 + listLength > size) return false;
    std::string list(static_cast<std::size_t>(listLength), '\0');
    read(reinterpret_cast<std::uint8_t*>(list.data()), list.size());
    d.names = SplitSkinNames(list);
    if (d.names.size() > static_cast<std::size_t>(kSkinMaxEntries)) return false;
    d.dataStart = 16 + listLength + 4 * static_cast<std::uint64_t>(d.names.size());
    if (d.dataStart > size) return false;
    std::vector<std::uint8_t> table(4 * d.names.size());
    read(table.data(), table.size());
    d.sizes.resize(d.names.size());
    for (std::size_t i = 0; i < d.sizes.size(); ++i) {
        d.sizes[i] = ReadU32(table.data() + 4 * i);
        d.dataSize += d.sizes[i];
    }
    return true;
}

}  // namespace

void TSkinReader::Clear() {
    names_.clear();
    sizes_.clear();
    starts_.clear();
    offsets_.clear();
    data_.clear();
    stream_ = {};
    lateUnpacks_ = 0;
    std::fill(std::begin(header_), std::end(header_), 0u);
}

void TSkinReader::Adopt(TDirectory& d) {
    std::copy(std::begin(d.header), std::end(d.header), header_);
    names_ = std::move(d.names);
    sizes_ = std::move(d.sizes);
    starts_.resize(names_.size());
    std::uint64_t at = d.dataStart;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        starts_[i] = at;
        at += sizes_[i];
    }
}

bool TSkinReader::LoadFromStream(std::span<const std::uint8_t> source, std::uint32_t maxUnpacked) {
    Clear();
    if (source.size() < 4) return false;
    const std::uint32_t size = ReadU32(source.data());
    if (size > maxUnpacked) return false;
    if (size < 16) return false;  // no room for the header: nothing to decode
    // A package cut short still decodes (bits past its end read as zero):
    // refused, whatever its entries would read as.
    bool cutShort = false;
    const std::vector<std::uint8_t> unpacked = TLZH().Decode(source.subspan(4), size, cutShort);
    if (cutShort) return false;
    // Only the announced size is the package; the tail of a last match past
    // it belongs to the entry data, as the format's own readers keep it.
    std::size_t at = 0;
    auto read = [&](std::uint8_t* dest, std::size_t n) {
        std::copy_n(unpacked.begin() + static_cast<std::ptrdiff_t>(at), n, dest);
        at += n;
    };
    TDirectory d;
    if (!ReadDirectory(read, size, d, OnMessage)) return false;
    if (d.dataStart + d.dataSize > unpacked.size()) return false;

    Adopt(d);
    offsets_.resize(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) offsets_[i] = starts_[i] - d.dataStart;
    data_.assign(unpacked.begin() + static_cast<std::ptrdiff_t>(d.dataStart), unpacked.end());
    return true;
}

bool TSkinReader::LoadLeavingPacked(std::span<const std::uint8_t> source, const TNameFilter& leavePacked,
                                    std::uint32_t maxUnpacked) {
    Clear();
    if (source.size() < 4) return false;
    const std::uint32_t size = ReadU32(source.data());
    if (size > maxUnpacked || size < 16) return false;
    const std::span<const std::uint8_t> stream = source.subspan(4);
    auto decoder = std::make_unique<TLZHStream>(stream);
    std::size_t decoded = 0;
    TDirectory d;
    if (!ReadDirectory([&](std::uint8_t* dest, std::size_t n) { decoder->Read(dest, n); decoded += n; }, size, d,
                       OnMessage))
        return false;
    if (d.dataStart + d.dataSize > size) {
        // Entries that reach into the tail of the last match: whether they
        // fit is known only at the end of the stream, so read it all.
        if (!LoadFromStream(source, maxUnpacked)) return false;
        stream_ = stream;
        return true;
    }

    Adopt(d);
    stream_ = stream;
    offsets_.assign(names_.size(), kPacked);
    std::size_t held = 0, end = 0;  // entries up to `end` are unpacked now
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (leavePacked && leavePacked(names_[i])) continue;
        offsets_[i] = held;
        held += sizes_[i];
        end = i + 1;
    }
    data_.resize(held);
    for (std::size_t i = 0; i < end; ++i) {
        std::uint8_t* dest = Packed(static_cast<int>(i)) ? nullptr : data_.data() + offsets_[i];
        decoder->Read(dest, sizes_[i]);
        decoded += sizes_[i];
    }
    // Whether the package is whole is known only at the end of its stream:
    // the rest is decoded and dropped, and a package cut short is refused
    // as LoadFromStream refuses it, not found when a scale is first asked for.
    if (decoded < size) decoder->Read(nullptr, size - decoded);
    if (decoder->Overran()) {
        Clear();
        return false;
    }
    return true;
}

TSkinReader TSkinReader::Unpacked(const TNameFilter& which) const {
    TSkinReader copy = *this;
    std::vector<std::size_t> wanted;
    std::size_t size = data_.size();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (offsets_[i] != kPacked || !which(names_[i])) continue;
        wanted.push_back(i);
        size += sizes_[i];
    }
    if (wanted.empty()) return copy;
    copy.data_.resize(size);
    auto decoder = std::make_unique<TLZHStream>(stream_);
    std::uint64_t at = 0;  // decoded so far
    std::size_t next = data_.size();
    for (const std::size_t i : wanted) {
        decoder->Read(nullptr, static_cast<std::size_t>(starts_[i] - at));
        decoder->Read(copy.data_.data() + next, sizes_[i]);
        copy.offsets_[i] = next;
        next += sizes_[i];
        at = starts_[i] + sizes_[i];
        ++lateUnpacks_;
    }
    return copy;
}

void TSkinReader::Repack(const TNameFilter& which) {
    if (stream_.empty()) return;
    std::vector<std::uint8_t> kept;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (offsets_[i] == kPacked) continue;
        if (which(names_[i])) {
            offsets_[i] = kPacked;
            continue;
        }
        const auto bytes = Entry(static_cast<int>(i));
        offsets_[i] = kept.size();
        kept.insert(kept.end(), bytes.begin(), bytes.end());
    }
    data_ = std::move(kept);
}

std::span<const std::uint8_t> TSkinReader::Entry(int index) const {
    if (Packed(index)) return {};
    return std::span<const std::uint8_t>(data_).subspan(static_cast<std::size_t>(offsets_[index]),
                                                        sizes_[index]);
}

void TSkinReader::Bytes(int index, std::vector<std::uint8_t>& dest) const {
    if (!Packed(index)) {
        const auto bytes = Entry(index);
        dest.assign(bytes.begin(), bytes.end());
        return;
    }
    auto decoder = std::make_unique<TLZHStream>(stream_);
    decoder->Read(nullptr, static_cast<std::size_t>(starts_[index]));
    dest.resize(sizes_[index]);
    decoder->Read(dest.data(), dest.size());
    ++lateUnpacks_;
}

void TSkinReader::GetFile(std::string_view name, std::vector<std::uint8_t>& dest) const {
    dest.clear();
    const std::string key = SkinLowerCase(name);
    const auto it = std::find(names_.begin(), names_.end(), key);
    if (it == names_.end()) return;
    Bytes(static_cast<int>(it - names_.begin()), dest);
}

std::vector<std::uint8_t> TSkinReader::GetFile(std::string_view name) const {
    std::vector<std::uint8_t> dest;
    GetFile(name, dest);
    return dest;
}

bool TSkinReader::GetFileByExt(std::string_view text, std::vector<std::uint8_t>& dest,
                               std::string& name) const {
    dest.clear();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(text) == std::string::npos) continue;
        Bytes(static_cast<int>(i), dest);
        name = names_[i];
        return true;
    }
    return false;
}

std::string_view EntryScaleSuffix(std::string_view name) {
    if (name.find(".ini") != std::string_view::npos) return {};
    if (!name.ends_with(".bmp")) return {};
    const std::string_view stem = name.substr(0, name.size() - 4);
    for (const std::string_view suffix : {"@125", "@150", "@200"})
        if (stem.ends_with(suffix)) return suffix;
    return {};
}

std::vector<std::uint8_t> BuildSkinPackage(const std::vector<TSkinEntry>& entries) {
    if (entries.size() > static_cast<std::size_t>(kSkinMaxEntries))
        throw std::invalid_argument("a skin package holds at most 1001 entries");
    // Every other entry first, then the images of each scale.
    std::vector<const TSkinEntry*> ordered;
    for (const std::string_view suffix : {"", "@125", "@150", "@200"})
        for (const TSkinEntry& e : entries)
            if (EntryScaleSuffix(SkinLowerCase(e.name)) == suffix) ordered.push_back(&e);
    std::string list;
    for (const TSkinEntry* e : ordered) {
        if (e->name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            throw std::invalid_argument("entry name holds a line break or byte 0: " + e->name);
        list += e->name;
        list += "\r\n";
    }
    std::vector<std::uint8_t> out;
    PutU32(out, kSkinPackageVersion);
    PutU32(out, static_cast<std::uint32_t>(list.size()));
    PutU32(out, 0);
    PutU32(out, 0);
    out.insert(out.end(), list.begin(), list.end());
    for (const TSkinEntry* e : ordered) PutU32(out, static_cast<std::uint32_t>(e->bytes.size()));
    for (const TSkinEntry* e : ordered) out.insert(out.end(), e->bytes.begin(), e->bytes.end());
    return out;
}

std::vector<std::uint8_t> PackSkin(std::span<const std::uint8_t> unpacked) {
    std::vector<std::uint8_t> out;
    PutU32(out, static_cast<std::uint32_t>(unpacked.size()));
    const std::vector<std::uint8_t> stream = TLZH().Encode(unpacked);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

}  // namespace srt

#include "skin/data/skinreader.h"

#include <algorithm>
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

void TSkinReader::Clear() {
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    data_.clear();
    std::fill(std::begin(header_), std::end(header_), 0u);
}

bool TSkinReader::LoadFromStream(std::span<const std::uint8_t> source, std::uint32_t maxUnpacked) {
    Clear();
    if (source.size() < 4) return false;
    const std::uint32_t size = ReadU32(source.data());
    if (size > maxUnpacked) return false;
    if (size < 16) return false;  // no room for the header: nothing to decode
    const std::vector<std::uint8_t> unpacked = TLZH().Decode(source.subspan(4), size);
    // Only the announced size is the package; the tail of a last match past
    // it belongs to the entry data, as the format's own readers keep it.
    const std::uint8_t* p = unpacked.data();
    const std::size_t total = unpacked.size();

    std::uint32_t header[4];
    for (int i = 0; i < 4; ++i) header[i] = ReadU32(p + 4 * i);
    if (header[0] != kSkinPackageVersion) {
        if (OnMessage) OnMessage(kOlderSkinFileMessage);
        return false;
    }
    const std::uint64_t listLength = header[1];
    if (16 + listLength > size) return false;
    std::vector<std::string> names = SplitSkinNames(
        std::string_view(reinterpret_cast<const char*>(p + 16), static_cast<std::size_t>(listLength)));
    if (names.size() > static_cast<std::size_t>(kSkinMaxEntries)) return false;
    const std::uint64_t tableStart = 16 + listLength;
    const std::uint64_t dataStart = tableStart + 4 * static_cast<std::uint64_t>(names.size());
    if (dataStart > size) return false;

    std::vector<std::uint32_t> sizes(names.size());
    std::vector<std::uint64_t> offsets(names.size());
    std::uint64_t offset = 0;
    const std::uint64_t dataLength = total - dataStart;
    for (std::size_t i = 0; i < names.size(); ++i) {
        sizes[i] = ReadU32(p + tableStart + 4 * i);
        offsets[i] = offset;
        offset += sizes[i];
        if (offset > dataLength) return false;
    }

    std::copy(std::begin(header), std::end(header), header_);
    names_ = std::move(names);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    data_.assign(unpacked.begin() + static_cast<std::ptrdiff_t>(dataStart), unpacked.end());
    return true;
}

std::span<const std::uint8_t> TSkinReader::Entry(int index) const {
    return std::span<const std::uint8_t>(data_).subspan(static_cast<std::size_t>(offsets_[index]),
                                                        sizes_[index]);
}

void TSkinReader::GetFile(std::string_view name, std::vector<std::uint8_t>& dest) const {
    dest.clear();
    const std::string key = SkinLowerCase(name);
    const auto it = std::find(names_.begin(), names_.end(), key);
    if (it == names_.end()) return;
    const auto bytes = Entry(static_cast<int>(it - names_.begin()));
    dest.assign(bytes.begin(), bytes.end());
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
        const auto bytes = Entry(static_cast<int>(i));
        dest.assign(bytes.begin(), bytes.end());
        name = names_[i];
        return true;
    }
    return false;
}

std::vector<std::uint8_t> BuildSkinPackage(const std::vector<TSkinEntry>& entries) {
    if (entries.size() > static_cast<std::size_t>(kSkinMaxEntries))
        throw std::invalid_argument("a skin package holds at most 1001 entries");
    std::string list;
    for (const TSkinEntry& e : entries) {
        if (e.name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            throw std::invalid_argument("entry name holds a line break or byte 0: " + e.name);
        list += e.name;
        list += "\r\n";
    }
    std::vector<std::uint8_t> out;
    PutU32(out, kSkinPackageVersion);
    PutU32(out, static_cast<std::uint32_t>(list.size()));
    PutU32(out, 0);
    PutU32(out, 0);
    out.insert(out.end(), list.begin(), list.end());
    for (const TSkinEntry& e : entries) PutU32(out, static_cast<std::uint32_t>(e.bytes.size()));
    for (const TSkinEntry& e : entries) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
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

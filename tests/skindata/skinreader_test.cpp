#include "skin/data/skinreader.h"

#include <gtest/gtest.h>

#include <random>

#include "skin/data/lzh.h"

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::string_view s) { return {s.begin(), s.end()}; }

void PutU32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// An unpacked package with a hand-made name list.
Bytes RawPackage(std::string_view list, const std::vector<std::uint32_t>& sizes, std::string_view data,
                 std::uint32_t version = kSkinPackageVersion) {
    Bytes out;
    PutU32(out, version);
    PutU32(out, static_cast<std::uint32_t>(list.size()));
    PutU32(out, 0xDEADBEEF);
    PutU32(out, 0xDEADBEEF);
    out.insert(out.end(), list.begin(), list.end());
    for (auto s : sizes) PutU32(out, s);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

struct Loaded {
    TSkinReader reader;
    std::vector<std::string> messages;
    bool ok = false;
};

std::unique_ptr<Loaded> Load(const Bytes& unpacked) {
    auto l = std::make_unique<Loaded>();
    l->reader.OnMessage = [p = l.get()](const std::string& m) { p->messages.push_back(m); };
    l->ok = l->reader.LoadFromStream(PackSkin(unpacked));
    return l;
}

TEST(SkinReader, NameListsSplitAtEveryKindOfLineBreak) {
    const std::vector<std::string> abc = {"a.bmp", "b.bmp", "c.ini"};
    EXPECT_EQ(SplitSkinNames("A.bmp\r\nb.BMP\r\nc.ini\r\n"), abc);
    EXPECT_EQ(SplitSkinNames("a.bmp\nb.bmp\nc.ini"), abc);
    EXPECT_EQ(SplitSkinNames("a.bmp\rb.bmp\rc.ini\r"), abc);
    EXPECT_EQ(SplitSkinNames("a.bmp\r\nb.bmp\nc.ini\r"), abc);
    EXPECT_EQ(SplitSkinNames("a.bmp\r\nb.bmp\r\nc.ini\r\n\0junk\r\n"), abc);
    // Empty lines between names are entries with empty names.
    EXPECT_EQ(SplitSkinNames("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSkinNames("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSkinNames("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSkinNames("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitSkinNames("").empty());
    EXPECT_EQ(SplitSkinNames("\xC4Z.BMP"), (std::vector<std::string>{"\xC4z.bmp"}));
}

TEST(SkinReader, LooksEntriesUpByNameAndByExtension) {
    auto l = Load(RawPackage("Skin.INI\r\nTop.bmp\r\nempty.bmp\r\ntop.bmp\r\n", {5, 3, 0, 2},
                             "[x]\r\nTOPzz"));
    ASSERT_TRUE(l->ok);
    EXPECT_EQ(l->reader.Count(), 4);
    EXPECT_EQ(l->reader.Names()[0], "skin.ini");
    EXPECT_EQ(l->reader.Header()[2], 0xDEADBEEFu);
    EXPECT_EQ(l->reader.GetFile("top.bmp"), B("TOP"));  // the first of two wins
    EXPECT_EQ(l->reader.GetFile("TOP.BMP"), B("TOP"));
    EXPECT_TRUE(l->reader.GetFile("empty.bmp").empty());
    EXPECT_TRUE(l->reader.GetFile("missing.bmp").empty());

    Bytes dest = B("old");
    std::string name = "unchanged";
    EXPECT_FALSE(l->reader.GetFileByExt(".INI", dest, name));  // not lower-cased
    EXPECT_TRUE(dest.empty());
    EXPECT_EQ(name, "unchanged");
    EXPECT_TRUE(l->reader.GetFileByExt(".ini", dest, name));
    EXPECT_EQ(dest, B("[x]\r\n"));
    EXPECT_EQ(name, "skin.ini");
    EXPECT_TRUE(l->reader.GetFileByExt("op", dest, name));
    EXPECT_EQ(name, "top.bmp");
}

TEST(SkinReader, OtherVersionsAreRefusedWithTheMessage) {
    for (std::uint32_t version : {19999u, 20001u}) {
        auto l = Load(RawPackage("a.ini\r\n", {1}, "x", version));
        EXPECT_FALSE(l->ok);
        EXPECT_EQ(l->reader.Count(), 0);
        ASSERT_EQ(l->messages.size(), 1u);
        EXPECT_EQ(l->messages[0], "This is Older Skin File\rPlease update to new version !");
    }
}

TEST(SkinReader, MalformedPackagesAreRefusedWithoutEntries) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkin(RawPackage("a\r\n", {1}, "x"))));
    EXPECT_FALSE(reader.LoadFromStream(B("abc")));  // shorter than the size word
    EXPECT_EQ(reader.Count(), 0);

    Bytes huge;
    PutU32(huge, kSkinMaxUnpackedSize + 1);
    EXPECT_FALSE(reader.LoadFromStream(huge));

    const Bytes good = RawPackage("a\r\nb\r\n", {1, 2}, "xyz");
    EXPECT_FALSE(reader.LoadFromStream(PackSkin(Bytes(good.begin(), good.begin() + 12))));  // header
    EXPECT_FALSE(reader.LoadFromStream(PackSkin(Bytes(good.begin(), good.begin() + 20))));  // names
    EXPECT_FALSE(reader.LoadFromStream(PackSkin(Bytes(good.begin(), good.begin() + 26))));  // sizes
    EXPECT_FALSE(reader.LoadFromStream(PackSkin(RawPackage("a\r\nb\r\n", {1, 3}, "xyz"))));
    EXPECT_FALSE(reader.LoadFromStream(PackSkin(RawPackage("a\r\nb\r\n", {0xFFFFFFFF, 2}, "xyz"))));
    EXPECT_EQ(reader.Count(), 0);

    std::string list;
    for (int i = 0; i < kSkinMaxEntries + 1; ++i) list += "e\n";
    EXPECT_FALSE(reader.LoadFromStream(PackSkin(RawPackage(list, std::vector<std::uint32_t>(1002, 0), ""))));
    list.resize(list.size() - 2);
    EXPECT_TRUE(reader.LoadFromStream(PackSkin(RawPackage(list, std::vector<std::uint32_t>(1001, 0), ""))));
    EXPECT_EQ(reader.Count(), kSkinMaxEntries);
}

TEST(SkinReader, BuiltPackagesRoundTrip) {
    std::mt19937 gen(11);
    std::vector<TSkinEntry> entries = {{"skin.ini", B("[Personality]\r\nLeft=l.bmp\r\n")}};
    for (int i = 0; i < 20; ++i) {
        TSkinEntry e{"bitmap" + std::to_string(i) + ".bmp", Bytes(gen() % 20000)};
        for (auto& b : e.bytes) b = static_cast<std::uint8_t>(gen() % 7);
        entries.push_back(std::move(e));
    }
    entries.push_back({"zero.bmp", {}});
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage(entries))));
    ASSERT_EQ(reader.Count(), static_cast<int>(entries.size()));
    for (const auto& e : entries) EXPECT_EQ(reader.GetFile(e.name), e.bytes) << e.name;

    EXPECT_THROW(BuildSkinPackage({{"bad\nname", {}}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinPackage(std::vector<TSkinEntry>(1002)), std::invalid_argument);
}

TEST(SkinReader, ALastMatchPastTheSizeStaysInTheEntryData) {
    // The entry ends in 60 blanks, coded as one match. A size word 30 bytes
    // short still yields the whole match, so the entry is still all there.
    const std::string data = "data" + std::string(TLZH::F, ' ');
    const Bytes unpacked = RawPackage("a\r\n", {static_cast<std::uint32_t>(data.size())}, data);
    Bytes packed = PackSkin(unpacked);
    const std::uint32_t shorter = static_cast<std::uint32_t>(unpacked.size() - 30);
    for (int i = 0; i < 4; ++i) packed[i] = static_cast<std::uint8_t>(shorter >> (8 * i));
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(packed));
    EXPECT_EQ(reader.GetFile("a"), B(data));
}

}  // namespace
}  // namespace srt

#include "skin/data/skinreader.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// An unpacked package of `entries` in exactly their order.
Bytes InOrder(const std::vector<TSkinEntry>& entries) {
    std::string list, data;
    std::vector<std::uint32_t> sizes;
    for (const TSkinEntry& e : entries) {
        list += e.name + "\r\n";
        sizes.push_back(static_cast<std::uint32_t>(e.bytes.size()));
        data.append(e.bytes.begin(), e.bytes.end());
    }
    return RawPackage(list, sizes, data);
}

bool OfAScale(std::string_view name) { return !EntryScaleSuffix(name).empty(); }

// A skin's entries with images for 150 % and 200 % beside the 96-DPI ones.
std::vector<TSkinEntry> ScaledEntries() {
    std::mt19937 gen(5);
    auto bytes = [&](std::size_t n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>(gen() % 9);
        return b;
    };
    std::vector<TSkinEntry> e = {{"skin.ini", B("[Personality]\r\nTop=top.bmp\r\n")}};
    for (const char* name : {"top", "left", "close"}) {
        e.push_back({std::string(name) + ".bmp", bytes(3000)});
        e.push_back({std::string(name) + "@150.bmp", bytes(6000)});
        e.push_back({std::string(name) + "@200.bmp", bytes(12000)});
    }
    e.push_back({"empty@150.bmp", {}});
    e.push_back({"readme.txt", B("notes")});
    return e;
}

TEST(SkinReader, PerScaleImagesAreToldByNameAndPackedLast) {
    EXPECT_EQ(EntryScaleSuffix("top@125.bmp"), "@125");
    EXPECT_EQ(EntryScaleSuffix("top@150.bmp"), "@150");
    EXPECT_EQ(EntryScaleSuffix("a@b@200.bmp"), "@200");
    for (const char* other : {"top.bmp", "top@175.bmp", "top@150.gif", "top@150", "top@150.bmp.txt",
                              "skin.ini@150.bmp", ""})
        EXPECT_EQ(EntryScaleSuffix(other), "") << other;

    // Built packages hold every other entry first, in the order given, then
    // the scales' images, 125 % before 150 % before 200 %.
    const std::vector<TSkinEntry> entries = {{"b@200.bmp", B("1")}, {"skin.ini", B("2")}, {"b@125.bmp", B("3")},
                                             {"B.bmp", B("4")},     {"a@200.bmp", B("5")}, {"a.bmp", B("6")},
                                             {"x.ini@150.bmp", B("7")}};
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage(entries))));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "b.bmp", "a.bmp", "x.ini@150.bmp", "b@125.bmp",
                                                         "b@200.bmp", "a@200.bmp"}));
    EXPECT_EQ(reader.GetFile("b@200.bmp"), B("1"));
    EXPECT_EQ(reader.GetFile("a.bmp"), B("6"));
}

TEST(SkinReader, LeavingEntriesPackedListsAndReadsWhatTheEagerLoadDoes) {
    const std::vector<TSkinEntry> entries = ScaledEntries();
    // Built (scales last) and in the entries' own order (scales between).
    for (const Bytes& unpacked : {BuildSkinPackage(entries), InOrder(entries)}) {
        const Bytes packed = PackSkin(unpacked);
        TSkinReader eager, lazy;
        ASSERT_TRUE(eager.LoadFromStream(packed));
        ASSERT_TRUE(lazy.LoadLeavingPacked(packed, OfAScale));
        ASSERT_EQ(lazy.Names(), eager.Names());
        std::size_t held = 0;
        int packedCount = 0;
        for (int i = 0; i < lazy.Count(); ++i) {
            SCOPED_TRACE(lazy.Names()[i]);
            EXPECT_EQ(lazy.Size(i), eager.Size(i));
            EXPECT_EQ(lazy.Packed(i), OfAScale(lazy.Names()[i]));
            if (lazy.Packed(i)) {
                ++packedCount;
                EXPECT_TRUE(lazy.Entry(i).empty());
            } else {
                held += lazy.Size(i);
                EXPECT_TRUE(std::ranges::equal(lazy.Entry(i), eager.Entry(i)));
            }
        }
        EXPECT_EQ(packedCount, 7);
        EXPECT_EQ(lazy.HeldBytes(), held);
        EXPECT_EQ(lazy.LateUnpacks(), 0);
        // A packed entry asked for is unpacked for the call, each time.
        for (const TSkinEntry& e : entries) EXPECT_EQ(lazy.GetFile(e.name), e.bytes) << e.name;
        Bytes dest;
        std::string name;
        ASSERT_TRUE(lazy.GetFileByExt("@200", dest, name));
        EXPECT_EQ(dest, eager.GetFile(name));
        EXPECT_EQ(lazy.LateUnpacks(), 8);
        EXPECT_EQ(lazy.HeldBytes(), held);
    }
}

TEST(SkinReader, OneScaleUnpacksInOnePassAndRepackLetsImagesGo) {
    const std::vector<TSkinEntry> entries = ScaledEntries();
    for (const Bytes& unpacked : {BuildSkinPackage(entries), InOrder(entries)}) {
        const Bytes packed = PackSkin(unpacked);
        TSkinReader lazy;
        ASSERT_TRUE(lazy.LoadLeavingPacked(packed, OfAScale));
        lazy.Repack([](std::string_view name) { return name.ends_with(".bmp"); });
        EXPECT_EQ(lazy.HeldBytes(), entries[0].bytes.size() + entries.back().bytes.size());
        EXPECT_EQ(lazy.GetFile("top.bmp"), entries[1].bytes);  // unpacked again when asked for
        EXPECT_EQ(lazy.GetFile("readme.txt"), B("notes"));

        const TSkinReader at150 =
            lazy.Unpacked([](std::string_view name) { return EntryScaleSuffix(name) == "@150"; });
        EXPECT_EQ(lazy.LateUnpacks(), 1 + 4);  // top.bmp above, then the four @150 entries
        for (int i = 0; i < at150.Count(); ++i) {
            const std::string& name = at150.Names()[i];
            SCOPED_TRACE(name);
            EXPECT_EQ(at150.Packed(i), EntryScaleSuffix(name) != "@150" && name.ends_with(".bmp"));
            EXPECT_TRUE(lazy.Packed(i) || !name.ends_with(".bmp"));  // the original is left as it was
            if (!at150.Packed(i)) {
                EXPECT_EQ(Bytes(at150.Entry(i).begin(), at150.Entry(i).end()), lazy.GetFile(name));
            }
        }
        EXPECT_EQ(at150.GetFile("close@200.bmp"), entries[9].bytes);
    }
}

TEST(SkinReader, LeavingEntriesPackedRefusesWhatTheEagerLoadRefuses) {
    const Bytes good = RawPackage("a\r\nb@150.bmp\r\n", {1, 2}, "xyz");
    std::vector<Bytes> packages = {
        B("abc"),
        PackSkin(Bytes(good.begin(), good.begin() + 12)),
        PackSkin(Bytes(good.begin(), good.begin() + 20)),
        PackSkin(Bytes(good.begin(), good.begin() + 26)),
        PackSkin(RawPackage("a\r\nb@150.bmp\r\n", {1, 3}, "xyz")),
        PackSkin(RawPackage("a\r\nb@150.bmp\r\n", {0xFFFFFFFF, 2}, "xyz")),
        PackSkin(RawPackage("a\r\nb@150.bmp\r\n", {1, 2}, "xyz", 19999)),
        PackSkin(good),
    };
    Bytes huge;
    PutU32(huge, kSkinMaxUnpackedSize + 1);
    packages.push_back(huge);
    // Entries that end in the tail of the last match past the size word:
    // 30 bytes short keeps the entry whole, 62 (within "data") does not.
    const std::string data = "data" + std::string(TLZH::F, ' ');
    const Bytes tail = RawPackage("a@150.bmp\r\n", {static_cast<std::uint32_t>(data.size())}, data);
    for (const std::uint32_t shorter : {30u, 62u}) {
        Bytes p = PackSkin(tail);
        const std::uint32_t size = static_cast<std::uint32_t>(tail.size()) - shorter;
        for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(size >> (8 * i));
        packages.push_back(p);
    }
    for (std::size_t k = 0; k < packages.size(); ++k) {
        SCOPED_TRACE(k);
        int eagerMessages = 0, lazyMessages = 0;
        TSkinReader eager, lazy;
        eager.OnMessage = [&](const std::string&) { ++eagerMessages; };
        lazy.OnMessage = [&](const std::string&) { ++lazyMessages; };
        const bool loaded = eager.LoadFromStream(packages[k]);
        EXPECT_EQ(lazy.LoadLeavingPacked(packages[k], OfAScale), loaded);
        EXPECT_EQ(lazyMessages, eagerMessages);
        ASSERT_EQ(lazy.Names(), eager.Names());
        for (const std::string& name : eager.Names()) EXPECT_EQ(lazy.GetFile(name), eager.GetFile(name));
    }
    TSkinReader tailReader;
    ASSERT_TRUE(tailReader.LoadLeavingPacked(packages[packages.size() - 2], OfAScale));
    EXPECT_EQ(tailReader.GetFile("a@150.bmp"), B(data));
}

}  // namespace
}  // namespace srt

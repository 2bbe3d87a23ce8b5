#include "tools/skinpack/skinpack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "skin/data/bmp.h"
#include "skin/data/skinreader.h"

namespace srt {
namespace {
namespace fs = std::filesystem;

class Skinpack : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("skinpack-test-" + std::to_string(std::random_device{}()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_ / "in");
    }
    void TearDown() override { fs::remove_all(root_); }

    void Write(const fs::path& p, std::string_view bytes) {
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void WriteBmp(const fs::path& p, int w, int h) {
        TBitmap b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = 0xFF00FF;
        const auto bytes = WriteBmp24(b);
        Write(p, std::string(bytes.begin(), bytes.end()));
    }
    std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int Run(std::vector<std::string> args) {
        out_.str(""), err_.str("");
        return RunSkinpack(args, out_, err_);
    }
    std::string P(const fs::path& p) { return p.string(); }

    fs::path root_;
    std::ostringstream out_, err_;
};

TEST_F(Skinpack, PackedFoldersRoundTripThroughExtract) {
    Write(root_ / "in" / "Skin.ini", "[Personality]\r\nLeft=left.bmp\r\n");
    WriteBmp(root_ / "in" / "left.bmp", 4, 30);
    std::string noise(50000, '\0');
    std::mt19937 gen(5);
    for (char& c : noise) c = static_cast<char>(gen());
    Write(root_ / "in" / "notes.txt", noise);
    Write(root_ / "in" / "empty.bmp.txt", "");

    ASSERT_EQ(Run({"pack", P(root_ / "in"), P(root_ / "skin.pkg")}), kSkinpackOk) << err_.str();
    EXPECT_NE(out_.str().find("packed 4 entries"), std::string::npos) << out_.str();

    ASSERT_EQ(Run({"list", P(root_ / "skin.pkg")}), kSkinpackOk);
    EXPECT_EQ(out_.str().find("skin.ini"), out_.str().find("  skin.ini") + 2);  // definition first
    EXPECT_LT(out_.str().find("skin.ini"), out_.str().find("left.bmp"));
    EXPECT_NE(out_.str().find("4 entries"), std::string::npos);

    ASSERT_EQ(Run({"extract", P(root_ / "skin.pkg"), P(root_ / "out")}), kSkinpackOk) << err_.str();
    EXPECT_EQ(Read(root_ / "out" / "skin.ini"), Read(root_ / "in" / "Skin.ini"));
    EXPECT_EQ(Read(root_ / "out" / "left.bmp"), Read(root_ / "in" / "left.bmp"));
    EXPECT_EQ(Read(root_ / "out" / "notes.txt"), noise);
    EXPECT_TRUE(fs::exists(root_ / "out" / "empty.bmp.txt"));

    // Existing files are kept unless --force.
    Write(root_ / "out" / "left.bmp", "mine");
    EXPECT_EQ(Run({"extract", P(root_ / "skin.pkg"), P(root_ / "out")}), kSkinpackFailed);
    EXPECT_EQ(Read(root_ / "out" / "left.bmp"), "mine");
    EXPECT_EQ(Run({"extract", "--force", P(root_ / "skin.pkg"), P(root_ / "out")}), kSkinpackOk);
    EXPECT_EQ(Read(root_ / "out" / "left.bmp"), Read(root_ / "in" / "left.bmp"));
}

TEST_F(Skinpack, RefusesBadFoldersAndPackages) {
    EXPECT_EQ(Run({}), kSkinpackUsage);
    EXPECT_EQ(Run({"pack", "x"}), kSkinpackUsage);
    EXPECT_NE(err_.str().find("usage"), std::string::npos);
    EXPECT_EQ(Run({"--help"}), kSkinpackOk);

    EXPECT_EQ(Run({"pack", P(root_ / "none"), P(root_ / "o.pkg")}), kSkinpackFailed);
    WriteBmp(root_ / "in" / "a.bmp", 2, 2);
    EXPECT_EQ(Run({"pack", P(root_ / "in"), P(root_ / "o.pkg")}), kSkinpackFailed);  // no definition
    EXPECT_NE(err_.str().find("no skin definition"), std::string::npos);

    Write(root_ / "in" / "skin.ini", "[Personality]\nLeft=a.bmp\n");
    Write(root_ / "in" / "b.bmp", "BM not really");
    EXPECT_EQ(Run({"pack", P(root_ / "in"), P(root_ / "o.pkg")}), kSkinpackFailed);
    EXPECT_NE(err_.str().find("Bitmap image is not valid"), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(root_ / "o.pkg"));

    Write(root_ / "junk.pkg", "not a package at all");
    EXPECT_EQ(Run({"list", P(root_ / "junk.pkg")}), kSkinpackFailed);
    EXPECT_NE(err_.str().find("not a skin package"), std::string::npos);
    EXPECT_EQ(Run({"extract", P(root_ / "missing.pkg"), P(root_ / "out")}), kSkinpackFailed);
    EXPECT_FALSE(fs::exists(root_ / "out"));
}

TEST_F(Skinpack, ExtractsOnlyPlainNamesAndTheFirstOfTwins) {
    const auto packed = PackSkin(BuildSkinPackage({{"s.ini", {'1'}}, {"../evil", {'2'}}, {"a\\b", {'3'}},
                                                   {"", {'4'}}, {"s.ini", {'5'}}, {"ok.bmp", {'6'}}}));
    Write(root_ / "p.pkg", std::string(packed.begin(), packed.end()));
    EXPECT_EQ(Run({"extract", P(root_ / "p.pkg"), P(root_ / "out")}), kSkinpackFailed);
    EXPECT_EQ(Read(root_ / "out" / "s.ini"), "1");
    EXPECT_EQ(Read(root_ / "out" / "ok.bmp"), "6");
    EXPECT_FALSE(fs::exists(root_ / "evil"));
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "out"), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace srt

// The one atomic writer: files replaced whole or not at all, nothing left
// beside them.
#include "core/atomicfile.h"

#include "core/ioerror.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace srt {
namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("srt-atomic-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }
    std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::size_t Entries() { return std::size_t(std::distance(fs::directory_iterator(dir_), {})); }

    fs::path dir_;
};

TEST_F(AtomicFileTest, CreatesAndReplacesWholeFiles) {
    const fs::path file = dir_ / "a.srt";
    EXPECT_EQ(ReplaceFileContents(file, "first"), 0);
    EXPECT_EQ(Read(file), "first");
    EXPECT_EQ(ReplaceFileContents(file, std::string("second\0bytes", 12)), 0);
    EXPECT_EQ(Read(file), std::string("second\0bytes", 12));
    EXPECT_EQ(ReplaceFileContents(file, ""), 0);
    EXPECT_EQ(fs::file_size(file), 0u);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, WritesInPiecesAndCommitsOnce) {
    const fs::path file = dir_ / "b.srt";
    Write(file, "old");
    {
        AtomicFile out;
        ASSERT_EQ(out.Open(file), 0);
        ASSERT_EQ(out.Write("ne"), 0);
        ASSERT_EQ(out.Write("w"), 0);
        EXPECT_EQ(Read(file), "old");  // nothing shows before the commit
        EXPECT_EQ(Entries(), 2u);
        ASSERT_EQ(out.Commit(), 0);
    }
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, AnAbandonedWriteLeavesTheTargetAsItWas) {
    const fs::path file = dir_ / "c.srt";
    Write(file, "keep me");
    {
        AtomicFile out;
        ASSERT_EQ(out.Open(file), 0);
        ASSERT_EQ(out.Write("half of it"), 0);
    }
    EXPECT_EQ(Read(file), "keep me");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, RefusalsUseTheFileErrorCodes) {
    EXPECT_EQ(ReplaceFileContents(dir_ / "no" / "such" / "d.srt", "x"), kErrInvalidFilename);
    fs::create_directory(dir_ / "folder");
    EXPECT_EQ(ReplaceFileContents(dir_ / "folder", "x"), kErrAccessDenied);
    EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, BareAndNestedNamesGetTheirTemporaryFileBesideThem) {
    // A name without a folder is replaced in the current folder; the
    // temporary file never lands anywhere else.
    const fs::path before = fs::current_path();
    fs::create_directory(dir_ / "sub");
    fs::current_path(dir_);
    const int bare = ReplaceFileContents(NativePath(fs::path("bare.srt")), "bare");
    const int nested = ReplaceFileContents(NativePath(fs::path("sub") / "nested.srt"), "nested");
    fs::current_path(before);
    EXPECT_EQ(bare, 0);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(Read(dir_ / "bare.srt"), "bare");
    EXPECT_EQ(Read(dir_ / "sub" / "nested.srt"), "nested");
    EXPECT_EQ(Entries(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "sub"), {}), 1);
}

TEST_F(AtomicFileTest, ReadWholeFileReadsEveryByteOrNothing) {
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 % 251);
    Write(dir_ / "big.srt", big);
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(dir_ / "big.srt", bytes), 0);
    EXPECT_EQ(bytes, big);
    Write(dir_ / "empty.srt", "");
    EXPECT_EQ(ReadWholeFile(dir_ / "empty.srt", bytes), 0);
    EXPECT_EQ(bytes, "");
    bytes = "stale";
    EXPECT_EQ(ReadWholeFile(dir_ / "missing.srt", bytes), kErrFileNotFound);
    EXPECT_EQ(bytes, "");
}

#ifdef _WIN32
TEST_F(AtomicFileTest, ReadOnlyFilesAreRefused) {
    const fs::path file = dir_ / "r.srt";
    Write(file, "keep");
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(ReplaceFileContents(file, "new"), kErrAccessDenied);
    EXPECT_EQ(Read(file), "keep");
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Entries(), 1u);
}
#else
TEST_F(AtomicFileTest, KeepsPermissionsAndLinks) {
    const fs::path file = dir_ / "m.srt";
    Write(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(ReplaceFileContents(file, "new"), 0);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    fs::create_symlink("m.srt", dir_ / "link.srt");
    ASSERT_EQ(ReplaceFileContents(dir_ / "link.srt", "through the link"), 0);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.srt"));
    EXPECT_EQ(Read(file), "through the link");
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(AtomicFileTest, DevicesAreWrittenDirectly) {
    EXPECT_EQ(ReplaceFileContents("/dev/null", "gone"), 0);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(ReplaceFileContents("/dev/full", "x"), kErrDiskFull);
    }
}

TEST_F(AtomicFileTest, AFolderThatCannotTakeANewFileLeavesTheTarget) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes anywhere";
    const fs::path file = dir_ / "locked.srt";
    Write(file, "keep");
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(ReplaceFileContents(file, "new"), kErrAccessDenied);
    EXPECT_EQ(Read(file), "keep");
}
#endif

}  // namespace
}  // namespace srt

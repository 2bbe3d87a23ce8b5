#include "core/ioerror.h"

#include <gtest/gtest.h>

namespace srt {
namespace {

TEST(IOErrorText, KnownCodesAndTheRest) {
    EXPECT_EQ(IOErrorText(2), "File not found");
    EXPECT_EQ(IOErrorText(3), "Invalid filename");
    EXPECT_EQ(IOErrorText(4), "Too many open files");
    EXPECT_EQ(IOErrorText(5), "File access denied");
    EXPECT_EQ(IOErrorText(100), "Read beyond end of file");
    EXPECT_EQ(IOErrorText(101), "Disk full");
    EXPECT_EQ(IOErrorText(106), "Invalid numeric input");
    EXPECT_EQ(IOErrorText(32), "I/O error 32");
    EXPECT_EQ(IOErrorText(0), "I/O error 0");
}

}  // namespace
}  // namespace srt

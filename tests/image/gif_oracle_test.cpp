// giflib as an independent decoder of the real GIF files in the corpus: the
// colour indices must match frame by frame, as far as giflib can decode.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "image/gif.h"
#include "tests/image/giflib_memory.h"

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

struct OracleFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<GifColorType> localMap;
    Bytes pixels;
    std::vector<bool> rowDone;  // by picture row
    bool complete = false;
};

struct Oracle {
    std::vector<OracleFrame> frames;
    int error = 0;  // giflib's error code when it stopped early
};

// Decodes record by record and line by line, so that a damaged file still
// yields the rows giflib got out of it.
Oracle DecodeWithGiflib(const Bytes& bytes) {
    Oracle oracle;
    GiflibMemoryReader reader{&bytes, 0};
    int err = 0;
    GifFileType* gif = DGifOpen(&reader, GiflibReadMemory, &err);
    if (!gif) {
        oracle.error = err;
        return oracle;
    }
    for (bool done = false; !done;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) break;
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: {
            if (DGifGetImageDesc(gif) == GIF_ERROR) {
                done = true;
                break;
            }
            OracleFrame f;
            f.left = gif->Image.Left;
            f.top = gif->Image.Top;
            f.width = gif->Image.Width;
            f.height = gif->Image.Height;
            f.interlaced = gif->Image.Interlace;
            if (gif->Image.ColorMap)
                f.localMap.assign(gif->Image.ColorMap->Colors,
                                  gif->Image.ColorMap->Colors + gif->Image.ColorMap->ColorCount);
            f.pixels.assign(static_cast<std::size_t>(f.width) * f.height, 0);
            f.rowDone.assign(static_cast<std::size_t>(f.height), false);
            std::vector<int> order;
            if (f.interlaced) {
                const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
                for (int p = 0; p < 4; ++p)
                    for (int y = start[p]; y < f.height; y += step[p]) order.push_back(y);
            } else {
                for (int y = 0; y < f.height; ++y) order.push_back(y);
            }
            bool ok = true;
            for (int y : order) {
                if (f.width > 0 &&
                    DGifGetLine(gif, f.pixels.data() + static_cast<std::size_t>(y) * f.width, f.width) == GIF_ERROR) {
                    ok = false;
                    break;
                }
                f.rowDone[static_cast<std::size_t>(y)] = true;
            }
            f.complete = ok;
            oracle.frames.push_back(std::move(f));
            if (!ok) done = true;
            break;
        }
        case EXTENSION_RECORD_TYPE: {
            int code;
            GifByteType* ext;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) {
                done = true;
                break;
            }
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) {
                    done = true;
                    break;
                }
            }
            break;
        }
        case TERMINATE_RECORD_TYPE:
            DGifCloseFile(gif, &err);
            return oracle;
        default:
            done = true;
            break;
        }
    }
    oracle.error = gif->Error;
    DGifCloseFile(gif, &err);
    return oracle;
}

// The corpus beside the repository, or beside the folder of its worktrees.
fs::path GifCorpus() {
    const fs::path dir = fs::path(SRT_CORPUS_DIR) / "gif";
    if (fs::is_directory(dir)) return dir;
    return fs::path(SRT_SOURCE_DIR) / ".." / ".." / "shared" / "corpus" / "gif";
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// What we expect of the files that giflib cannot read to the end.
struct Damaged {
    const char* error;                  // our error, or "" when the load completes
    std::vector<std::string> warnings;  // our warnings, in order
};

const std::map<std::string, Damaged>& DamagedFiles() {
    static const std::map<std::string, Damaged> files = {
        // Cut inside the LZW data: the rows before the cut agree, the rest
        // keeps the start value.
        {"derived_porsche_truncated4000.gif",
         {"", {"Premature end of data", "Decoder bit buffer under-run"}}},
        // Fuzzer-made, LZW minimum code size 0. giflib stops inside the
        // data; the rows it decodes agree. Our decoder meets an end code,
        // then finds bytes that are no block.
        {"imagers_issue-117-out-of-range.gif", {"", {"Unknown GIF block type", "Invalid Image trailer"}}},
        // A 0 x 0 frame: we give it the screen size (185 x 0), so it
        // still holds no pixels; giflib then trips over the bytes that
        // follow, which we read as a frame without image.
        {"imagers_issue-96-small-codesize.gif", {"", {"Image exceeds Logical Screen size"}}},
        // A 0 x 0 frame on a 6727 x 65351 screen: taking the screen size
        // would need 440 M pixels, so the frame is refused.
        {"imagers_issue-101-infinite-empty-loop.gif",
         {"Image exceeds maximum size", {"Image exceeds Logical Screen size"}}},
    };
    return files;
}

class GifOracle : public testing::TestWithParam<std::string> {};

TEST_P(GifOracle, IndicesMatchGiflib) {
    const fs::path path = GifCorpus() / GetParam();
    const Bytes bytes = ReadFile(path);
    ASSERT_FALSE(bytes.empty());

    TGIFImage ours;
    std::vector<std::string> warnings;
    ours.OnWarning = [&](const TGIFItem&, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    std::string error;
    try {
        ours.LoadFromBytes(bytes);
    } catch (const EInvalidGraphic& e) {
        error = e.what();
    }
    const Oracle oracle = DecodeWithGiflib(bytes);

    const auto damaged = DamagedFiles().find(GetParam());
    const bool giflibComplete =
        oracle.error == 0 && std::all_of(oracle.frames.begin(), oracle.frames.end(),
                                         [](const OracleFrame& f) { return f.complete; });
    if (damaged == DamagedFiles().end()) {
        ASSERT_TRUE(giflibComplete) << "giflib error " << oracle.error;
        EXPECT_EQ(error, "");
        EXPECT_EQ(warnings, std::vector<std::string>{});
    } else {
        EXPECT_FALSE(giflibComplete) << "listed as damaged, but giflib reads it";
        EXPECT_EQ(error, damaged->second.error);
        EXPECT_EQ(warnings, damaged->second.warnings);
    }

    std::vector<const TGIFFrame*> frames;
    for (const auto& f : ours.Frames)
        if (f->HasImage) frames.push_back(f.get());
    if (giflibComplete) {
        ASSERT_EQ(frames.size(), oracle.frames.size());
    }

    std::size_t comparedRows = 0;
    for (std::size_t i = 0; i < std::min(frames.size(), oracle.frames.size()); ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        const TGIFFrame& a = *frames[i];
        const OracleFrame& b = oracle.frames[i];
        if (b.width == 0 || b.height == 0) continue;  // ours took the screen size
        ASSERT_EQ(a.Width(), b.width);
        ASSERT_EQ(a.Height(), b.height);
        EXPECT_EQ(a.Descriptor.Left, b.left);
        EXPECT_EQ(a.Descriptor.Top, b.top);
        EXPECT_EQ(a.Interlaced(), b.interlaced);
        ASSERT_EQ(a.ColorMap.size(), b.localMap.size());
        for (std::size_t c = 0; c < a.ColorMap.size(); ++c) {
            EXPECT_EQ(a.ColorMap[c].Red, b.localMap[c].Red);
            EXPECT_EQ(a.ColorMap[c].Green, b.localMap[c].Green);
            EXPECT_EQ(a.ColorMap[c].Blue, b.localMap[c].Blue);
        }
        const std::size_t w = static_cast<std::size_t>(b.width);
        for (std::size_t y = 0; y < static_cast<std::size_t>(b.height); ++y) {
            if (!b.rowDone[y]) continue;
            ++comparedRows;
            ASSERT_TRUE(std::equal(a.Pixels.begin() + static_cast<std::ptrdiff_t>(y * w),
                                   a.Pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * w),
                                   b.pixels.begin() + static_cast<std::ptrdiff_t>(y * w)))
                << "row " << y;
        }
    }
    if (giflibComplete) {
        EXPECT_GT(comparedRows, 0u);
    }
    RecordProperty("rows", static_cast<int>(comparedRows));
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    std::error_code missing;
    if (!fs::is_directory(GifCorpus(), missing)) return names;  // GifCorpus.IsPresent fails
    for (const auto& e : fs::directory_iterator(GifCorpus()))
        if (e.path().extension() == ".gif") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Corpus, GifOracle, testing::ValuesIn(CorpusFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GifOracle);

TEST(GifCorpus, IsPresent) {
    EXPECT_TRUE(fs::is_directory(GifCorpus())) << "no GIF corpus at " << GifCorpus();
    EXPECT_FALSE(CorpusFiles().empty());
}

// The interlaced twin decodes to the same indices.
TEST(GifCorpus, InterlacedTwinMatches) {
    const fs::path dir = GifCorpus();
    TGIFImage a, b;
    a.LoadFromBytes(ReadFile(dir / "giflib_treescap.gif"));
    b.LoadFromBytes(ReadFile(dir / "giflib_treescap-interlaced.gif"));
    ASSERT_EQ(a.Frames.size(), 1u);
    ASSERT_EQ(b.Frames.size(), 1u);
    EXPECT_FALSE(a.Frames[0]->Interlaced());
    EXPECT_TRUE(b.Frames[0]->Interlaced());
    EXPECT_EQ(a.Frames[0]->Pixels, b.Frames[0]->Pixels);
}

// Every corpus file we read completely survives our writer unchanged.
TEST(GifCorpus, WriterRoundTrip) {
    const fs::path dir = GifCorpus();
    for (const std::string& name : CorpusFiles()) {
        if (DamagedFiles().count(name)) continue;
        SCOPED_TRACE(name);
        TGIFImage a, b;
        a.LoadFromBytes(ReadFile(dir / name));
        const Bytes written = a.SaveToBytes();
        b.LoadFromBytes(written);
        ASSERT_EQ(a.Frames.size(), b.Frames.size());
        for (std::size_t i = 0; i < a.Frames.size(); ++i) {
            EXPECT_EQ(a.Frames[i]->Pixels, b.Frames[i]->Pixels);
            EXPECT_EQ(a.Frames[i]->Extensions.size(), b.Frames[i]->Extensions.size());
            EXPECT_EQ(a.Frames[i]->Transparent(), b.Frames[i]->Transparent());
        }
    }
}

}  // namespace
}  // namespace srt

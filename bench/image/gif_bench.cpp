// Decoding speed of our GIF reader against giflib on the same files, in one
// run: best of several rounds, megapixels per second for each.
//   gif_bench [FILE.gif...]    (default: every file of the GIF corpus)
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/gif.h"
#include "tests/image/giflib_memory.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

namespace {

// Pixels decoded, or -1 when the file does not decode completely.
long long Giflib(const Bytes& bytes) {
    GiflibMemoryReader reader{&bytes, 0};
    int err = 0;
    GifFileType* gif = DGifOpen(&reader, GiflibReadMemory, &err);
    if (!gif) return -1;
    long long pixels = -1;
    if (DGifSlurp(gif) == GIF_OK) {
        pixels = 0;
        for (int i = 0; i < gif->ImageCount; ++i)
            pixels += static_cast<long long>(gif->SavedImages[i].ImageDesc.Width) * gif->SavedImages[i].ImageDesc.Height;
    }
    DGifCloseFile(gif, &err);
    return pixels;
}

long long Ours(const Bytes& bytes) {
    srt::TGIFImage image;
    try {
        image.LoadFromBytes(bytes);
    } catch (const srt::EInvalidGraphic&) {
        return -1;
    }
    long long pixels = 0;
    for (const auto& f : image.Frames) pixels += static_cast<long long>(f->Pixels.size());
    return pixels;
}

// Best time of one decode, in seconds.
template <class F>
double Best(F decode, const Bytes& bytes) {
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        int n = 0;
        const auto start = Clock::now();
        double elapsed = 0;
        do {
            decode(bytes);
            ++n;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < 0.04);
        best = std::min(best, elapsed / n);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) files.emplace_back(argv[i]);
    if (files.empty()) {
        fs::path dir = fs::path(SRT_CORPUS_DIR) / "gif";
        if (!fs::is_directory(dir)) dir = fs::path(SRT_SOURCE_DIR) / ".." / ".." / "shared" / "corpus" / "gif";
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().extension() == ".gif") files.push_back(e.path());
        std::sort(files.begin(), files.end());
    }

    std::printf("%-58s %9s %10s %10s %7s\n", "file", "Mpixels", "ours Mpx/s", "giflib", "ratio");
    double oursTotal = 0, giflibTotal = 0, pixelsTotal = 0;
    for (const fs::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), {}};
        const long long pixels = Giflib(bytes);
        if (pixels <= 0 || Ours(bytes) != pixels) {
            std::printf("%-58s   (skipped: not decoded completely by both)\n", path.filename().c_str());
            continue;
        }
        const double ours = Best(Ours, bytes);
        const double theirs = Best(Giflib, bytes);
        oursTotal += ours;
        giflibTotal += theirs;
        pixelsTotal += static_cast<double>(pixels);
        std::printf("%-58s %9.3f %10.1f %10.1f %6.2fx\n", path.filename().c_str(), pixels / 1e6,
                    pixels / 1e6 / ours, pixels / 1e6 / theirs, theirs / ours);
    }
    std::printf("%-58s %9.3f %10.1f %10.1f %6.2fx\n", "all files (total time)", pixelsTotal / 1e6,
                pixelsTotal / 1e6 / oursTotal, pixelsTotal / 1e6 / giflibTotal, giflibTotal / oursTotal);
    std::printf("one pass over the files: ours %.2f ms, giflib %.2f ms\n", oursTotal * 1e3, giflibTotal * 1e3);
    return 0;
}

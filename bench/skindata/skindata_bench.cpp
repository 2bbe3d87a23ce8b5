// Figures for the skin data library: LZHUF ratio and speed, and the time to
// load a whole skin (unpack, read the definition, decode its bitmaps).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "bench/skindata/bestof.h"
#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/lzh.h"
#include "skin/data/skinreader.h"

using namespace srt;

namespace {

// Skin-like art: shaded bevels and gradients on a fuchsia key background,
// with the noise of anti-aliasing and dither that real skin art carries.
TBitmap Art(int w, int h, unsigned seed) {
    std::mt19937 gen(seed);
    TBitmap b(w, h);
    const int base = static_cast<int>(gen() % 160);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            const bool key = (x + y) % 97 < 3 && !edge;
            const int shade = base + (y * 60) / h + (x * 20) / w + static_cast<int>(gen() % 5);
            const std::uint32_t px = key ? 0xFF00FF : edge ? 0x202020 : (shade << 16 | (shade + 20) << 8 | (shade + 40));
            b.ScanLine(y)[x] = px & 0xFFFFFF;
        }
    return b;
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<TSkinEntry> SkinEntries() {
    std::string ini =
        "[TitlebarSkin]\r\nSkinName=Bench\r\n[Personality]\r\nLeft=left.bmp\r\nRight=right.bmp\r\n"
        "Top=top.bmp\r\nBottom=bottom.bmp\r\nTopTopHeight=30\r\nTopBotHeight=30\r\nmenuBar=menubar.bmp\r\n"
        "[Colours]\r\nButtonFace=212 208 200\r\nButtonText=0 0 0\r\n[Buttons]\r\nBitmap=button.bmp\r\n"
        "CheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n[Button0]\r\nAction=0\r\nButtonImage=close.bmp\r\n"
        "[Button1]\r\nAction=1\r\nButtonImage=max.bmp\r\n[Button2]\r\nAction=2\r\nButtonImage=min.bmp\r\n"
        "[MDICONTROLS]\r\nImage=mdi.bmp\r\n[Scrollbar]\r\nImage=scroll.bmp\r\n[ComboButton]\r\nImage=combo.bmp\r\n"
        "[Tabs]\r\nImage=tabs.bmp\r\n[Progress]\r\nBitmap=progress.bmp\r\n";
    std::vector<TSkinEntry> e = {{"skin.ini", Bytes(ini)}};
    const struct { const char* name; int w, h; } art[] = {
        {"left.bmp", 8, 120}, {"right.bmp", 8, 120}, {"top.bmp", 300, 30}, {"bottom.bmp", 300, 8},
        {"menubar.bmp", 60, 20}, {"button.bmp", 150, 23}, {"check.bmp", 104, 13}, {"radio.bmp", 104, 13},
        {"close.bmp", 63, 21}, {"max.bmp", 63, 21}, {"min.bmp", 63, 21}, {"mdi.bmp", 192, 16},
        {"scroll.bmp", 391, 17}, {"combo.bmp", 68, 20}, {"tabs.bmp", 150, 22}, {"progress.bmp", 40, 16}};
    unsigned seed = 1;
    for (const auto& a : art) e.push_back({a.name, WriteBmp24(Art(a.w, a.h, seed++))});
    return e;
}

template <class F>
double SecondsPerRun(F&& f, int minRuns = 20, double minSeconds = 0.5) {
    return bench::SecondsPerRun(f, minRuns, minSeconds);
}

void Ratio(const char* what, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> stream;
    const double enc = SecondsPerRun([&] { stream = TLZH().Encode(data); }, 1, 0.2);
    const double dec = SecondsPerRun([&] { TLZH().Decode(stream, static_cast<std::uint32_t>(data.size())); }, 1, 0.2);
    std::printf("%-28s %9zu -> %9zu bytes  %5.1f%%  encode %6.1f MB/s  decode %6.1f MB/s\n", what, data.size(),
                stream.size(), 100.0 * stream.size() / data.size(), data.size() / enc / 1e6,
                data.size() / dec / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::uint8_t> unpacked = BuildSkinPackage(SkinEntries());
    const std::vector<std::uint8_t> packed = PackSkin(unpacked);
    std::printf("skin package: %zu bytes unpacked, %zu packed (%.1f%%)\n", unpacked.size(), packed.size(),
                100.0 * packed.size() / unpacked.size());

    const double unpack = SecondsPerRun([&] {
        TLZH().Decode(std::span(packed).subspan(4), static_cast<std::uint32_t>(unpacked.size()));
    });
    std::printf("unpack:      %8.3f ms  %6.1f MB/s of unpacked bytes\n", unpack * 1e3, unpacked.size() / unpack / 1e6);

    const double load = SecondsPerRun([&] {
        TSkinReader reader;
        TSkinElements skin;
        if (!reader.LoadFromStream(packed) || !LoadSkinDefinition(skin, reader)) std::abort();
    });
    std::printf("whole skin:  %8.3f ms  (unpack, definition, %zu bitmaps; target < 5 ms)\n", load * 1e3,
                SkinEntries().size() - 1);

    std::string text;
    for (int i = 0; text.size() < (1 << 20); ++i)
        text += "Line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog\r\n";
    std::mt19937 gen(3);
    std::vector<std::uint8_t> random(1 << 20);
    for (auto& b : random) b = static_cast<std::uint8_t>(gen());
    Ratio("1 MB numbered text lines", Bytes(text));
    Ratio("1 MB random bytes", random);
    Ratio("skin package", unpacked);
    for (int i = 1; i < argc; ++i) {  // any files given: their ratios too
        std::FILE* f = std::fopen(argv[i], "rb");
        if (!f) continue;
        std::vector<std::uint8_t> bytes;
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(f);
        if (!bytes.empty()) Ratio(argv[i], bytes);
    }
    return 0;
}

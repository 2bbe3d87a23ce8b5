// Loading the program's skins into the skin data component, which leaves the
// images drawn for other scales packed until a DPI asks for them, against
// the eager load measured in the same run (every entry unpacked and kept
// with the records, as the component loaded before). For each skin: the
// time to load and the bytes held at 96 DPI, then the same with the first
// set of records at 192 DPI made.
// Usage: bench_skinload [SKIN.skn...]   (default: the program's three skins)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "bench/skindata/bestof.h"
#include "skin/data/definition.h"
#include "skin/data/scaled.h"
#include "skin/data/skindata.h"
#include "skin/data/skinreader.h"

using namespace srt;

namespace {

std::size_t Bytes(const TBitmap& b) { return static_cast<std::size_t>(b.Width()) * b.Height() * 4; }

// The pixels a set of records holds.
std::size_t ImageBytes(const TSkinElements& e) {
    std::size_t n = Bytes(e.Buttons->CheckButton) + Bytes(e.Buttons->RadioButton);
    for (const std::string_view slot : TSkinElements::SlotNames()) {
        const TDataSkinObject* r = e.Slot(slot);
        if (!r) continue;
        n += Bytes(r->Image);
        if (const auto* border = dynamic_cast<const TDataSkinBorder*>(r)) n += Bytes(border->Image2);
    }
    for (const auto& b : e.SysButtons) n += Bytes(b->Image);
    return n;
}

template <class F>
double SecondsPerRun(F&& f, int minRuns = 20, double minSeconds = 1.0) {
    return bench::SecondsPerRun(f, minRuns, minSeconds);
}

// The component as it loaded before: the whole package unpacked and kept.
struct Eager {
    TSkinReader package;
    TSkinElements records;
    std::unique_ptr<TSkinElements> at192;

    explicit Eager(const std::vector<std::uint8_t>& bytes) {
        if (!package.LoadFromStream(bytes) || !LoadSkinDefinition(records, package)) std::abort();
    }
    std::size_t Held() const {
        return package.HeldBytes() + ImageBytes(records) + (at192 ? ImageBytes(*at192) : 0);
    }
};

std::size_t Held(const TSkinData& data, bool with192) {
    return data.Package()->HeldBytes() + ImageBytes(data) + (with192 ? ImageBytes(data.ElementsAt(192)) : 0);
}

void Line(const char* what, double eagerMs, double lazyMs, std::size_t eagerBytes, std::size_t lazyBytes) {
    std::printf("  %-22s %7.2f ms -> %7.2f ms (x%5.2f)   %9zu -> %9zu bytes held (x%5.3f)\n", what, eagerMs,
                lazyMs, lazyMs / eagerMs, eagerBytes, lazyBytes,
                static_cast<double>(lazyBytes) / static_cast<double>(eagerBytes));
}

void Bench(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TSkinReader listing;
    if (!listing.LoadFromStream(bytes)) {
        std::printf("%s: not a skin package\n", path.c_str());
        return;
    }
    std::size_t scaled = 0;
    for (int i = 0; i < listing.Count(); ++i)
        if (!EntryScaleSuffix(listing.Names()[i]).empty()) scaled += listing.Size(i);
    std::printf("%s: %zu bytes packed, %zu unpacked, %zu of them images drawn per scale\n", path.c_str(),
                bytes.size(), listing.HeldBytes(), scaled);

    // Both hold the packed bytes too (the component keeps them for its
    // stored description): left out of both figures.
    std::unique_ptr<Eager> eager;
    std::unique_ptr<TSkinData> lazy;
    const double eager96 = SecondsPerRun([&] { eager = std::make_unique<Eager>(bytes); });
    const double lazy96 = SecondsPerRun([&] {
        lazy = std::make_unique<TSkinData>(nullptr);
        if (!lazy->LoadFromBytes(bytes)) std::abort();
    });
    Line("load, 96 DPI", eager96 * 1e3, lazy96 * 1e3, eager->Held(), Held(*lazy, false));

    const double eager192 = SecondsPerRun([&] {
        eager = std::make_unique<Eager>(bytes);
        eager->at192 = ScaleSkinElements(eager->records, 192, &eager->package);
    });
    const double lazy192 = SecondsPerRun([&] {
        lazy = std::make_unique<TSkinData>(nullptr);
        if (!lazy->LoadFromBytes(bytes)) std::abort();
        lazy->ElementsAt(192);
    });
    Line("load and 192 DPI set", eager192 * 1e3, lazy192 * 1e3, eager->Held(), Held(*lazy, true));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> paths(argv + 1, argv + argc);
    if (paths.empty())
        for (const char* name : {"default", "dusk", "contrast"})
            paths.push_back(std::string(SRT_SKIN_DIR) + "/" + name + ".skn");
    std::printf("eager (every entry unpacked and kept) -> per-scale images left packed\n");
    for (const std::string& path : paths) Bench(path);
    return 0;
}

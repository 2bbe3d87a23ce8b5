#include "tools/skingen/skingen.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/records.h"
#include "skin/data/skinreader.h"
#include "tools/skingen/art.h"
#include "tools/skingen/sheet.h"

namespace srt::art {
namespace fs = std::filesystem;
namespace {

constexpr const char* kUsage =
    "usage: skingen write ROOT              write every shipped skin into ROOT/<name>/\n"
    "       skingen check ROOT              compare ROOT/<name>/ with what write would make\n"
    "       skingen sheet PACKAGE OUT.png   contact sheet of every image of a packed skin\n"
    "       skingen mockup PACKAGE OUT.png  skinned windows composed from a packed skin\n";

bool ReadFile(const fs::path& p, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int Write(const fs::path& root, std::ostream& out, std::ostream& err) {
    for (const TPalette& p : ShippedPalettes()) {
        const fs::path dir = root / p.folder;
        std::error_code ec;
        fs::create_directories(dir, ec);
        for (const TSkinEntry& f : GenerateSkin(p))
            if (!WriteFile(dir / f.name, f.bytes)) {
                err << "skingen: cannot write " << (dir / f.name).string() << "\n";
                return 1;
            }
        out << "wrote " << dir.string() << "\n";
    }
    return 0;
}

int Check(const fs::path& root, std::ostream& out, std::ostream& err) {
    int differences = 0;
    for (const TPalette& p : ShippedPalettes())
        for (const TSkinEntry& f : GenerateSkin(p)) {
            const fs::path file = root / p.folder / f.name;
            std::vector<std::uint8_t> bytes;
            if (!ReadFile(file, bytes)) {
                err << "skingen: missing " << file.string() << "\n";
                ++differences;
            } else if (bytes != f.bytes) {
                err << "skingen: differs " << file.string() << "\n";
                ++differences;
            }
        }
    if (differences) {
        err << "skingen: " << differences << " file(s) differ; run skingen write " << root.string() << "\n";
        return 1;
    }
    out << "skins in " << root.string() << " are up to date\n";
    return 0;
}

int Picture(const std::string& mode, const fs::path& package, const fs::path& png, std::ostream& out,
            std::ostream& err) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(package, bytes)) {
        err << "skingen: cannot read " << package.string() << "\n";
        return 1;
    }
    TSkinReader reader;
    if (!reader.LoadFromStream(bytes)) {
        err << "skingen: " << package.string() << " is not a skin package\n";
        return 1;
    }
    TSkinElements skin;
    try {
        if (!LoadSkinDefinition(skin, reader)) {
            err << "skingen: " << package.string() << " holds no definition\n";
            return 1;
        }
    } catch (const EInvalidBitmap& e) {
        err << "skingen: " << package.string() << ": " << e.what() << "\n";
        return 1;
    }
    const TBitmap image = mode == "sheet" ? ContactSheet(skin) : Mockup(skin);
    if (!WriteFile(png, png::EncodePng(ImageOf(image)))) {
        err << "skingen: cannot write " << png.string() << "\n";
        return 1;
    }
    out << "wrote " << png.string() << " (" << image.Width() << "x" << image.Height() << ")\n";
    return 0;
}

}  // namespace

int RunSkingen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "write") return Write(args[1], out, err);
    if (args.size() == 2 && args[0] == "check") return Check(args[1], out, err);
    if (args.size() == 3 && (args[0] == "sheet" || args[0] == "mockup")) return Picture(args[0], args[1], args[2], out, err);
    err << kUsage;
    return 2;
}

}  // namespace srt::art

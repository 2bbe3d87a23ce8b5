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
    "       skingen sheet PACKAGE OUT.png   contact sheet of every image of a packed skin, and\n"
    "                                       OUT-125.png ... of the images it carries per scale\n"
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

// The skin of a package as the definition reader loads it.
bool LoadSkin(const std::vector<std::uint8_t>& package, TSkinReader& reader, TSkinElements& skin,
              const std::string& what, std::ostream& err) {
    if (!reader.LoadFromStream(package)) {
        err << "skingen: " << what << " is not a skin package\n";
        return false;
    }
    try {
        if (!LoadSkinDefinition(skin, reader)) {
            err << "skingen: " << what << " holds no definition\n";
            return false;
        }
    } catch (const EInvalidBitmap& e) {
        err << "skingen: " << what << ": " << e.what() << "\n";
        return false;
    }
    return true;
}

// The package's entries with every image replaced by the one it carries
// for `scale`; empty when it carries none.
std::vector<std::uint8_t> ScaledPackage(const TSkinReader& reader, const TScale& scale) {
    std::vector<TSkinEntry> entries;
    bool any = false;
    for (const std::string& name : reader.Names()) {
        if (name.find('@') != std::string::npos) continue;
        std::vector<std::uint8_t> bytes = reader.GetFile(ScaledName(name, scale));
        if (bytes.empty() || !name.ends_with(".bmp")) bytes = reader.GetFile(name);
        else any = true;
        entries.push_back({name, std::move(bytes)});
    }
    return any ? PackSkin(BuildSkinPackage(entries)) : std::vector<std::uint8_t>();
}

bool WritePicture(const TBitmap& image, const fs::path& png, std::ostream& out, std::ostream& err) {
    if (!WriteFile(png, png::EncodePng(ImageOf(image)))) {
        err << "skingen: cannot write " << png.string() << "\n";
        return false;
    }
    out << "wrote " << png.string() << " (" << image.Width() << "x" << image.Height() << ")\n";
    return true;
}

int Picture(const std::string& mode, const fs::path& package, const fs::path& png, std::ostream& out,
            std::ostream& err) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(package, bytes)) {
        err << "skingen: cannot read " << package.string() << "\n";
        return 1;
    }
    TSkinReader reader;
    TSkinElements skin;
    if (!LoadSkin(bytes, reader, skin, package.string(), err)) return 1;
    if (mode == "mockup") return WritePicture(Mockup(skin), png, out, err) ? 0 : 1;
    if (!WritePicture(ContactSheet(skin), png, out, err)) return 1;
    // One sheet per scale the package carries, at the same magnification.
    for (const TScale& scale : kScales) {
        const std::vector<std::uint8_t> scaled = ScaledPackage(reader, scale);
        if (scaled.empty()) continue;
        TSkinReader scaledReader;
        TSkinElements scaledSkin;
        const std::string what = package.string() + " at " + (scale.suffix + 1) + " %";
        if (!LoadSkin(scaled, scaledReader, scaledSkin, what, err)) return 1;
        fs::path sheet = png;
        sheet.replace_filename(png.stem().string() + "-" + (scale.suffix + 1) + png.extension().string());
        if (!WritePicture(ContactSheet(scaledSkin, 2, std::string(scale.suffix + 1) + " %"), sheet, out, err)) return 1;
    }
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

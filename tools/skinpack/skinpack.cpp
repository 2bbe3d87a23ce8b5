#include "tools/skinpack/skinpack.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <set>
#include <system_error>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/skinreader.h"

namespace srt {
namespace fs = std::filesystem;
namespace {

constexpr const char* kUsage =
    "usage: skinpack pack FOLDER OUT            pack a definition (.ini) and its bitmaps\n"
    "       skinpack list PACKAGE               list the entries of a package\n"
    "       skinpack extract [--force] PACKAGE FOLDER\n"
    "                                           write every entry into FOLDER\n"
    "                                           (--force replaces existing files)\n";

// A failure with the message for the user.
struct Failure {
    std::string message;
};

std::string Quoted(const fs::path& p) { return "'" + p.string() + "'"; }

std::vector<std::uint8_t> ReadFile(const fs::path& path, std::uintmax_t limit) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) throw Failure{"cannot read " + Quoted(path) + ": " + ec.message()};
    if (size > limit) throw Failure{Quoted(path) + " is too large (" + std::to_string(size) + " bytes)"};
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        throw Failure{"cannot read " + Quoted(path)};
    return bytes;
}

// Writes through a temporary file and a rename, so a failure leaves any
// earlier file of that name as it was.
void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw Failure{"cannot write " + Quoted(temp)};
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw Failure{"cannot write " + Quoted(temp)};
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw Failure{"cannot write " + Quoted(path) + ": " + ec.message()};
    }
}

bool IsDefinition(const std::string& name) { return name.find(".ini") != std::string::npos; }

TSkinReader LoadPackage(const fs::path& path, std::ostream& err) {
    const std::vector<std::uint8_t> bytes = ReadFile(path, std::uintmax_t{1} << 31);
    TSkinReader reader;
    std::string message;
    reader.OnMessage = [&](const std::string& m) { message = m; };
    if (!reader.LoadFromStream(bytes)) {
        if (!message.empty()) {
            std::replace(message.begin(), message.end(), '\r', ' ');
            err << "skinpack: " << Quoted(path) << ": " << message << "\n";
        }
        throw Failure{Quoted(path) + " is not a skin package, or it is damaged"};
    }
    return reader;
}

int Pack(const fs::path& folder, const fs::path& outPath, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw Failure{Quoted(folder) + " is not a folder"};

    std::vector<TSkinEntry> entries;
    std::set<std::string> seen;
    std::uint64_t total = 0;
    for (const fs::directory_entry& d : fs::directory_iterator(folder)) {
        const std::string fileName = d.path().filename().string();
        if (d.is_directory()) {
            err << "skinpack: skipping folder " << Quoted(d.path()) << ": a package holds no folders\n";
            continue;
        }
        if (!d.is_regular_file()) continue;
        if (fileName.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            throw Failure{"file name " + Quoted(d.path()) + " holds a line break"};
        const std::string name = SkinLowerCase(fileName);
        if (!seen.insert(name).second)
            throw Failure{"two files are named " + Quoted(name) + " apart from case"};
        TSkinEntry e{name, ReadFile(d.path(), kSkinMaxUnpackedSize)};
        total += e.bytes.size();
        if (name.size() > 4 && name.ends_with(".bmp")) {
            try {
                ReadBmp(e.bytes);
            } catch (const EInvalidBitmap& x) {
                throw Failure{Quoted(d.path()) + ": " + x.what()};
            }
        }
        entries.push_back(std::move(e));
    }
    if (entries.size() > static_cast<std::size_t>(kSkinMaxEntries))
        throw Failure{Quoted(folder) + " holds " + std::to_string(entries.size()) +
                      " files; a package holds at most 1001"};
    // The definition first, then the rest by name.
    std::sort(entries.begin(), entries.end(), [](const TSkinEntry& a, const TSkinEntry& b) {
        const bool ai = IsDefinition(a.name), bi = IsDefinition(b.name);
        return ai != bi ? ai : a.name < b.name;
    });
    if (entries.empty() || !IsDefinition(entries.front().name))
        throw Failure{"no skin definition (a file named *.ini) in " + Quoted(folder)};
    if (entries.size() > 1 && IsDefinition(entries[1].name))
        err << "skinpack: more than one definition; the engine reads " << Quoted(entries.front().name) << "\n";

    const std::vector<std::uint8_t> unpacked = BuildSkinPackage(entries);
    if (unpacked.size() > kSkinMaxUnpackedSize || total > kSkinMaxUnpackedSize)
        throw Failure{"the package would unpack to more than 64 MB"};
    const std::vector<std::uint8_t> packed = PackSkin(unpacked);

    // Read it back the way the engine does before writing anything.
    TSkinReader check;
    if (!check.LoadFromStream(packed) || check.Count() != static_cast<int>(entries.size()))
        throw Failure{"internal error: the package does not read back"};
    TSkinElements skin;
    try {
        LoadSkinDefinition(skin, check);
    } catch (const EInvalidBitmap& x) {
        throw Failure{std::string("the definition names a bitmap that cannot be read: ") + x.what()};
    }
    WriteFile(outPath, packed);
    out << "packed " << entries.size() << " entries, " << unpacked.size() << " bytes into "
        << packed.size() << " bytes (" << std::fixed << std::setprecision(1)
        << 100.0 * static_cast<double>(packed.size()) / static_cast<double>(unpacked.size())
        << "%) in " << outPath.string() << "\n";
    return kSkinpackOk;
}

int List(const fs::path& path, std::ostream& out, std::ostream& err) {
    const TSkinReader reader = LoadPackage(path, err);
    std::uint64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        out << std::setw(10) << reader.Size(i) << "  " << reader.Names()[i] << "\n";
        total += reader.Size(i);
    }
    out << std::setw(10) << total << "  " << reader.Count() << " entries\n";
    return kSkinpackOk;
}

bool SafeEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\:\0", 4)) == std::string::npos;
}

int Extract(const fs::path& path, const fs::path& folder, bool force, std::ostream& out, std::ostream& err) {
    const TSkinReader reader = LoadPackage(path, err);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) throw Failure{"cannot make the folder " + Quoted(folder)};

    int result = kSkinpackOk, written = 0;
    std::set<std::string> done;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string& name = reader.Names()[i];
        if (!SafeEntryName(name)) {
            err << "skinpack: skipping entry " << i << " " << Quoted(name) << ": not a plain file name\n";
            result = kSkinpackFailed;
            continue;
        }
        if (!done.insert(name).second) {
            err << "skinpack: skipping a second entry named " << Quoted(name) << " (the first one is used)\n";
            continue;
        }
        const fs::path target = folder / name;
        if (!force && fs::exists(target, ec)) {
            err << "skinpack: " << Quoted(target) << " exists; use --force to replace it\n";
            result = kSkinpackFailed;
            continue;
        }
        const auto bytes = reader.Entry(i);
        WriteFile(target, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        ++written;
    }
    out << "extracted " << written << " of " << reader.Count() << " entries into " << folder.string() << "\n";
    return result;
}

}  // namespace

int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return kSkinpackOk;
    }
    try {
        const std::string command = args.empty() ? "" : args[0];
        if (command == "pack" && args.size() == 3) return Pack(args[1], args[2], out, err);
        if (command == "list" && args.size() == 2) return List(args[1], out, err);
        if (command == "extract" && args.size() == 3) return Extract(args[1], args[2], false, out, err);
        if (command == "extract" && args.size() == 4 && args[1] == "--force")
            return Extract(args[2], args[3], true, out, err);
    } catch (const Failure& f) {
        err << "skinpack: " << f.message << "\n";
        return kSkinpackFailed;
    } catch (const fs::filesystem_error& e) {
        err << "skinpack: " << e.what() << "\n";
        return kSkinpackFailed;
    } catch (const std::exception& e) {
        err << "skinpack: " << e.what() << "\n";
        return kSkinpackFailed;
    }
    err << kUsage;
    return kSkinpackUsage;
}

}  // namespace srt

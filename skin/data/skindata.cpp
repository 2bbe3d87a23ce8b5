#include "skin/data/skindata.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

#include "component/dpi.h"
#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/scaled.h"
#include "skin/data/skinreader.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

ISkinManagerLink* g_manager = nullptr;  // not owned: the manager links itself
std::function<void(const std::string&)> g_messageHandler;

constexpr int kActionInterval = 250;
// Larger files are refused unread; the package reader caps what it unpacks.
constexpr long long kMaxSkinFileSize = 64ll << 20;

#ifdef _WIN32
std::wstring WideText(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}
#endif

void ShowSkinMessage(const std::string& text) {
    if (g_messageHandler) {
        g_messageHandler(text);
        return;
    }
#ifdef _WIN32
    // The program's file name without its folder (which may have any name).
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring title = path;
    title = title.substr(title.find_last_of(L"\\/") + 1);
    title = title.substr(0, title.rfind(L'.'));
    MessageBoxW(GetActiveWindow(), WideText(text).c_str(), title.c_str(), MB_OK);
#endif
}

// The 64 x 16 glyph strip from the program's bitmap resource "VARNELOMENU".
TBitmap LoadMenuGlyphStrip() {
#ifdef _WIN32
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, "VARNELOMENU", MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const auto* dib = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    const DWORD size = info ? SizeofResource(module, info) : 0;
    if (!dib || size < sizeof(BITMAPINFOHEADER)) return {};
    // A bitmap resource is a BMP file without its 14-byte file header.
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof header);
    DWORD colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
    const DWORD bitsOffset = 14 + header.biSize + colours * 4;
    std::vector<std::uint8_t> file(14 + size);
    const DWORD fileSize = static_cast<DWORD>(file.size());
    file[0] = 'B';
    file[1] = 'M';
    std::memcpy(&file[2], &fileSize, 4);
    std::memcpy(&file[10], &bitsOffset, 4);
    std::memcpy(&file[14], dib, size);
    try {
        return srt::ReadBmp(file);
    } catch (const srt::EInvalidBitmap&) {
        return {};
    }
#else
    return {};
#endif
}

// Reads a whole skin file, its UTF-8 name opened through the wide file
// functions; an error text, empty on success.
std::string ReadSkinFileBytes(const std::string& name, std::vector<std::uint8_t>& bytes) {
    const std::string quoted = "\"" + name + "\"";
#ifdef _WIN32
    HANDLE file = CreateFileW(WideText(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME)
            return "Skin file " + quoted + " not found";
        return "Cannot read skin file " + quoted;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxSkinFileSize;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                               got == bytes.size());
    }
    CloseHandle(file);
    if (!ok) return "Cannot read skin file " + quoted;
#else
    std::ifstream in(name, std::ios::binary);
    if (!in) return "Skin file " + quoted + " not found";
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() > static_cast<std::size_t>(kMaxSkinFileSize))
        return "Cannot read skin file " + quoted;
#endif
    return {};
}

// A load leaves the images drawn for other scales packed, and packs the
// 96-DPI ones again once they are in the records.
bool IsScaledImage(std::string_view name) { return !srt::EntryScaleSuffix(name).empty(); }
bool IsImage(std::string_view name) { return name.ends_with(".bmp"); }

// Reads `bytes` as a skin into scratch records, so that nothing of the
// current skin is touched; an error text, empty when the skin loads.
std::string CheckSkinPackage(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string message;
    srt::TSkinReader reader;
    reader.OnMessage = [&message](const std::string& text) { message = text; };
    if (!reader.LoadLeavingPacked(bytes, IsScaledImage)) {
        // The package reader's own notice (wrong version) says it best.
        return message.empty() ? "\"" + name + "\" is not a skin file" : message;
    }
    srt::TSkinElements scratch;
    try {
        if (!srt::LoadSkinDefinition(scratch, reader)) return "Skin file \"" + name + "\" holds no skin definition";
    } catch (const std::exception& e) {
        return "Skin file \"" + name + "\": " + e.what();
    }
    return {};
}

}  // namespace

ISkinManagerLink* SkinManager() { return g_manager; }
void SetSkinManager(ISkinManagerLink* manager) { g_manager = manager; }

void TSkinData::SetMessageHandler(std::function<void(const std::string&)> handler) {
    g_messageHandler = std::move(handler);
}

const std::vector<std::string>& DefaultSkin3rd() {
    static const std::vector<std::string> lines = {
        "TTBDock=Panel", "TTBToolbar=Panel",
        "TImageEnMView=scrollbar", "TImageEnView=scrollbar",
        "TRzButton=button",
        "TRzCheckGroup=CheckGroup",
        "TRzRadioGroup=Radiogroup",
        "TRzRadioButton=Radiobutton",
        "TRzCheckBox=Checkbox",
        "TRzButtonEdit=Edit",
        "TRzDBRadioGroup=Radiogroup",
        "TRzDBRadioButton=Radiobutton",
        "TRzDBCheckBox=Checkbox", "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox",
        "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox",
        "TLMDRadiobutton=Radiobutton",
        "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel", "TLMDButtonPanel=Panel",
        "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel", "TLMDTechnicalLine=Panel", "TLMDLMDClock=Panel",
        "TLMDTrackbar=trackbar",
        "TLMDListCombobox=combobox", "TLMDCheckListCombobox=combobox", "TLMDHeaderListCombobox=combobox",
        "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox",
        "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox", "TLMDPrinterCombobox=combobox",
        "TLMDDriveCombobox=combobox", "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox",
        "TLMDCalendarComboBox=combobox",
        "TLMDRADIOGROUP=Radiogroup",
        "TLMDCheckGroup=CheckGroup",
        "TLMDDBRADIOGROUP=Radiogroup",
        "TLMDDBCheckGroup=CheckGroup",
        "TLMDEDIT=Edit", "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit",
        "TLMDCALENDAREDIT=Edit", "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit",
        "TLMDDBEDIT=Edit", "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit",
        "TLMDDBEDITDBLookup=Edit", "TLMDEDITDBLookup=Edit",
        "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox",
        "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox", "TWWTempKeyCombo=Combobox",
        "TWWDBDateTimePicker=Combobox",
        "TWWRADIOGROUP=Radiogroup",
        "TDXDBPICKEDIT=Combobox", "TDXDBCALCEDIT=Combobox", "TDXDBIMAGEEDIT=Combobox",
        "TDXDBPOPUPEDIT=Combobox", "TDXDBEXTLOOKUPEDIT=Combobox", "TDXDBLOOKUPEDIT=Combobox",
        "TDXDBDATEEDIT=Combobox", "TDXDATEEDIT=Combobox", "TDXPICKEDIT=Combobox", "TDXPOPUPEDIT=Combobox",
        "TDXDBCURRENCYEDIT=Edit", "TDXDBEDIT=Edit", "TDXDBMASKEDIT=Edit", "TDXDBHYPERLINKEDIT=Edit",
        "TDXEDIT=Edit", "TDXMASKEDIT=Edit", "TWWDBEDIT=Edit", "TDXBUTTONEDIT=Edit", "TDXCURRENCYEDIT=Edit",
        "TDXHYPERLINKEDIT=Edit", "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit",
        "TOVCDBSLIDEREDIT=Edit", "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit",
        "TOVCNUMERICFIELD=Edit", "TOVCDBNUMERICFIELD=Edit",
    };
    return lines;
}

bool TMenuImages::Load(const TBitmap& strip) {
    images_.clear();
    if (strip.Width() != kSize * Count || strip.Height() != kSize) return false;
    for (int i = 0; i < Count; ++i) {
        TBitmap& glyph = images_.emplace_back(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) glyph.ScanLine(y)[x] = strip.ScanLine(y)[i * kSize + x];
    }
    return true;
}

SRT_DEFINE_CLASS(TSkinData, TComponent, {
    b.Boolean("Active", &TSkinData::Active, &TSkinData::SetActive);
    b.Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag);
    b.Set("SkinControls", "TSkinControls",
          {"xcMainMenu", "xcPopupMenu", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox", "xcRadioButton",
           "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcPanel",
           "xcGroupBox", "xcStatusBar", "xcTab", "xcSystemMenu", "xcFastReport"},
          &TSkinData::SkinControls, &TSkinData::SetSkinControls);
    b.Object("Skin3rd", &TSkinData::Skin3rd);
    b.String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
    b.String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
    b.Enum("SkinFormtype", "TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog"},
           &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype);
    b.Boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate);
    b.Event("OnFormSkin", &TSkinData::OnFormSkin);
    b.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
    b.Event("OnSkinControl", &TSkinData::OnSkinControl);
})

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), skin3rd_(DefaultSkin3rd()) {
    MenuImages.Load(LoadMenuGlyphStrip());
}

TSkinData::~TSkinData() {
    Destroying();
    // Before any member goes: the form skins using this component let go.
    if (ISkinManagerLink* manager = SkinManager()) manager->SkinDataGone(this);
}

void TSkinData::DefineProperties(std::vector<TBlockProperty>& blocks) {
    TComponent::DefineProperties(blocks);
    blocks.push_back({"SkinStream", [this](std::span<const std::uint8_t> b) { ReadData(b); },
                      [this] { return WriteData(); }, true});
}

void TSkinData::ReadData(std::span<const std::uint8_t> block) {
    if (block.size() < 4) return;
    const std::int32_t n = static_cast<std::int32_t>(block[0] | block[1] << 8 | block[2] << 16 |
                                                     static_cast<std::uint32_t>(block[3]) << 24);
    if (n <= 0) return;
    // A block shorter than its length word holds what it holds.
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), block.size() - 4);
    SetStream({block.begin() + 4, block.begin() + 4 + static_cast<std::ptrdiff_t>(take)});
    if (!InState(csDesigning)) LoadSkin();
}

std::vector<std::uint8_t> TSkinData::WriteData() const {
    const auto n = static_cast<std::uint32_t>(stream_.size());
    // Sized once: growing a 4-byte vector by insert trips GCC 12's bounds warning.
    std::vector<std::uint8_t> out(4 + stream_.size());
    for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    std::copy(stream_.begin(), stream_.end(), out.begin() + 4);
    return out;
}

void TSkinData::SetStream(std::vector<std::uint8_t> bytes) {
    scaled_.clear();
    package_.reset();
    stream_ = std::move(bytes);
}

bool TSkinData::LoadSkin() {
    if (InState(csDesigning)) return false;
    empty_ = true;
    // Nothing of an earlier load is kept, whatever this one gives.
    scaled_.clear();
    package_.reset();
    auto reader = std::make_unique<srt::TSkinReader>();
    reader->OnMessage = ShowSkinMessage;
    if (!reader->LoadLeavingPacked(stream_, IsScaledImage)) return false;
    // A package without a definition leaves the previous records as they are.
    if (!srt::LoadSkinDefinition(*this, *reader)) return false;
    reader->OnMessage = nullptr;
    // The 96-DPI images are in the records now.
    reader->Repack(IsImage);
    package_ = std::move(reader);
    MakeBrushes();
    empty_ = false;
    return true;
}

void TSkinData::MakeBrushes() {
#ifdef _WIN32
    auto brush = [](srt::TColour c) {
        return srt::HasColour(c) ? CreateSolidBrush(ColorToRGB(static_cast<TColor>(c))) : nullptr;
    };
    buttonFace_.Reset(brush(Colours.ButtonFace));
    client_.Reset(brush(Colours.Client));
    edit_.Reset(brush(Colours.Edit));
    editHilight_.Reset(brush(Colours.EditHilight));
#endif
}

bool TSkinData::LoadFromBytes(std::vector<std::uint8_t> packed) {
    if (InState(csDesigning)) return false;
    SetStream(std::move(packed));
    const bool loaded = LoadSkin();
    Refresh();
    return loaded;
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    ISkinManagerLink* manager = SkinManager();
    if (InState(csDesigning) || InState(csReading) || InState(csLoading) || !manager) return;
    switch (formType_) {
    case sfMainform:
        if (value && empty_) return;
        manager->RequestAction(value ? maActivate : maDeactivate, this, kActionInterval);
        break;
    case sfOnlyThisForm:
        if (!value)
            manager->RequestAction(maDeactivate, this, kActionInterval);
        else if (!empty_)
            manager->RequestAction(maActivate, this, kActionInterval);
        break;
    case sfDialog: break;
    }
}

void TSkinData::SetSkinFile(const std::string& name) {
    skinFile_ = name;
    skinFileError_.clear();
    if (InState(csDesigning)) {
        empty_ = true;
        if (!name.empty()) SetStream({});
        return;
    }
    if (name.empty()) {
        empty_ = true;
        return;
    }
    // The current skin stays until the new one has been read completely: a
    // missing or bad file changes nothing and says why in SkinFileError.
    std::vector<std::uint8_t> bytes;
    skinFileError_ = ReadSkinFileBytes(name, bytes);
    if (skinFileError_.empty()) skinFileError_ = CheckSkinPackage(name, bytes);
    if (!skinFileError_.empty()) return;
    SetStream(std::move(bytes));
    LoadSkin();
    Refresh();
}

std::string TSkinData::SkinStore() const {
    return InState(csDesigning) && !stream_.empty() ? "(Good)" : "(none)";
}

void TSkinData::Refresh() {
    if (InState(csDesigning) || InState(csReading) || InState(csLoading)) return;
    ISkinManagerLink* manager = SkinManager();
    if (!manager) return;
    manager->FreeFormCaches();
    manager->RequestAction(maRefresh, this, kActionInterval);
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (InState(csDesigning)) return;
    ISkinManagerLink* manager = SkinManager();
    if (manager) manager->AddSkinData(this);
    if (formType_ == sfMainform) {
        if (manager) manager->InstallHook();
        if (active_) {
            if (empty_)
                active_ = false;
            else if (manager) {
                manager->RequestAction(maActivate, this, kActionInterval);
            }
        }
    } else if (manager) {
        manager->StartSkinning();
        if (Owner() && Owner()->InheritsFrom("TCustomForm")) manager->SkinWindow(Owner());
    }
}

const srt::TSkinElements& TSkinData::ElementsAt(int dpi) const {
    if (dpi == srt::kDesignDpi || dpi <= 0 || empty_) return *this;
    std::unique_ptr<srt::TSkinElements>& set = scaled_[dpi];
    if (!set) set = srt::ScaleSkinElements(*this, dpi, package_.get());
    return *set;
}

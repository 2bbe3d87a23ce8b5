#include "settings.h"

#include <windows.h>

#include <shlobj.h>

#include <cwctype>

#include "component/wstr.h"
#include "core/atomicfile.h"
#include "core/platformfile.h"

namespace srt::app {
namespace {

constexpr std::string_view kSection = "[SrtRetime]";
constexpr std::wstring_view kFileName = L"SrtRetime.ini";
// Larger is no settings file of ours.
constexpr std::size_t kMaxFileSize = 64 * 1024;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A value as text, none when it is no valid UTF-8 or holds a control character.
std::optional<std::wstring> TextValue(std::string_view value) {
    std::wstring text = Widen(value);
    if (Narrow(text) != value) return std::nullopt;
    for (wchar_t c : text)
        if (c < 0x20 || c == 0xFFFD) return std::nullopt;
    return text;
}

bool SameFolderPrefix(const std::wstring& path, const std::wstring& folder) {
    if (folder.empty() || path.size() <= folder.size()) return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        wchar_t a = std::towlower(path[i]), b = std::towlower(folder[i]);
        if (a == L'/') a = L'\\';
        if (b == L'/') b = L'\\';
        if (a != b) return false;
    }
    return true;
}

bool IsAbsolute(const std::wstring& path) {
    return (path.size() >= 2 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

// A file can be created in `folder`.
bool FolderWritable(const std::wstring& folder) {
    PlatformFile probe;
    NativePath created;
    if (probe.CreateBeside(folder + std::wstring(kFileName), created) != 0) return false;
    probe.Close();
    DeleteFileW(created.c_str());
    return true;
}

}  // namespace

TSettings ParseSettings(std::string_view text) {
    TSettings settings;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        const std::string_view line = Trim(text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            inSection = line == kSection;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        const std::optional<std::wstring> value = TextValue(Trim(line.substr(eq + 1)));
        if (!value) continue;
        if (key == "Skin") {
            settings.skin = *value;
        } else if (key == "Language") {
            if (*value == L"en") settings.language = TLanguage::English;
            if (*value == L"zh") settings.language = TLanguage::Chinese;
        } else if (key == "TimingMode") {
            settings.timingMode = *value;
        } else if (key == "TimingRateFrom") {
            settings.timingRateFrom = *value;
        } else if (key == "TimingRateTo") {
            settings.timingRateTo = *value;
        }
    }
    return settings;
}

std::string FormatSettings(const TSettings& settings) {
    std::string text = std::string(kSection) + "\r\n";
    if (settings.skin) text += "Skin=" + Narrow(*settings.skin) + "\r\n";
    text += std::string("Language=") + (settings.language == TLanguage::English ? "en" : "zh") + "\r\n";
    if (!settings.timingMode.empty()) text += "TimingMode=" + Narrow(settings.timingMode) + "\r\n";
    if (!settings.timingRateFrom.empty()) text += "TimingRateFrom=" + Narrow(settings.timingRateFrom) + "\r\n";
    if (!settings.timingRateTo.empty()) text += "TimingRateTo=" + Narrow(settings.timingRateTo) + "\r\n";
    return text;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderPrefix(path);
}

std::wstring ChooseSettingsPath(const std::wstring& programFolder) {
    wchar_t named[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"SRTRETIME_INI", named, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return named;
    if (FolderWritable(programFolder)) return programFolder + std::wstring(kFileName);
    wchar_t appData[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData) != S_OK)
        return programFolder + std::wstring(kFileName);
    const std::wstring folder = std::wstring(appData) + L"\\SrtRetime";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + std::wstring(kFileName);
}

std::wstring RememberedSkinPath(const std::wstring& file, const std::wstring& programFolder) {
    return SameFolderPrefix(file, programFolder) ? file.substr(programFolder.size()) : file;
}

std::wstring ResolvedSkinPath(const std::wstring& remembered, const std::wstring& programFolder) {
    return IsAbsolute(remembered) ? remembered : programFolder + remembered;
}

TSettingsStore::TSettingsStore(std::wstring path, std::wstring programFolder)
    : path_(std::move(path)), folder_(std::move(programFolder)) {
    std::string bytes;
    if (ReadWholeFile(path_, bytes) == 0 && bytes.size() <= kMaxFileSize) values_ = ParseSettings(bytes);
}

int TSettingsStore::RememberSkin(const std::wstring& file) {
    values_.skin = file.empty() ? std::wstring() : RememberedSkinPath(file, folder_);
    return Write();
}

int TSettingsStore::RememberLanguage(TLanguage language) {
    values_.language = language;
    return Write();
}

int TSettingsStore::RememberTiming(const std::wstring& mode, const std::wstring& rateFrom,
                                   const std::wstring& rateTo) {
    if (values_.timingMode == mode && values_.timingRateFrom == rateFrom && values_.timingRateTo == rateTo) return 0;
    values_.timingMode = mode;
    values_.timingRateFrom = rateFrom;
    values_.timingRateTo = rateTo;
    return Write();
}

std::optional<std::wstring> TSettingsStore::SkinToLoad() const {
    if (!values_.skin || values_.skin->empty()) return std::nullopt;
    return ResolvedSkinPath(*values_.skin, folder_);
}

int TSettingsStore::Write() {
    if (path_.empty()) return 0;
    return ReplaceFileContents(path_, FormatSettings(values_));
}

}  // namespace srt::app

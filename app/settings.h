// What the program remembers between runs: the skin the user chose, the
// language, the timing window's last mode and rate. Kept in SrtRetime.ini
// beside the program when that folder is writable (a portable unpacked
// zip), otherwise in the user's application-data folder. A missing or
// damaged file means defaults; nothing here ever stops the program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lang.h"

namespace srt::app {

struct TSettings {
    // Unset while the user never chose a skin; empty for the stored skin;
    // else a .skn file, relative to the program's folder when inside it.
    std::optional<std::wstring> skin;
    TLanguage language = TLanguage::Chinese;
    // The timing window's last mode ("offset", "sync", "fps", "reference")
    // and frame rates, as typed; empty until it stored them.
    std::wstring timingMode;
    std::wstring timingRateFrom, timingRateTo;

    bool operator==(const TSettings&) const = default;
};

// The file's text: UTF-8, "[SrtRetime]" and "Key=Value" lines. Reading
// takes what it understands and ignores the rest.
TSettings ParseSettings(std::string_view text);
std::string FormatSettings(const TSettings& settings);

// The settings file of a run: the environment's SRTRETIME_INI when set
// (tests, shared setups), else SrtRetime.ini in `programFolder` when a file
// can be created there, else in the application-data folder's "SrtRetime".
std::wstring ChooseSettingsPath(const std::wstring& programFolder);

// The folder of the running program, with its separator.
std::wstring ProgramFolder();

// A skin file as remembered (relative inside the program's folder) and back.
std::wstring RememberedSkinPath(const std::wstring& file, const std::wstring& programFolder);
std::wstring ResolvedSkinPath(const std::wstring& remembered, const std::wstring& programFolder);

// The settings of one run and the file they live in.
class TSettingsStore {
public:
    // Reads `path`; defaults when it is missing, unreadable or damaged.
    explicit TSettingsStore(std::wstring path, std::wstring programFolder = ProgramFolder());

    const TSettings& Values() const { return values_; }
    const std::wstring& Path() const { return path_; }
    const std::wstring& Folder() const { return folder_; }

    // Each change is written at once through the atomic writer; a file
    // error code (0 when written), which callers may ignore.
    int RememberSkin(const std::wstring& file);  // empty: the stored skin
    int RememberLanguage(TLanguage language);
    int RememberTiming(const std::wstring& mode, const std::wstring& rateFrom, const std::wstring& rateTo);

    // The remembered skin as a path to load, none for the stored skin or
    // when the user never chose one.
    std::optional<std::wstring> SkinToLoad() const;

private:
    int Write();

    std::wstring path_, folder_;
    TSettings values_;
};

}  // namespace srt::app

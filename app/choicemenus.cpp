// The user's lasting choices in the main window: the language and the skin,
// from the system menu's submenus, and the timing window's last mode and
// rates, all kept in the settings.
#include <windows.h>

#include <array>
#include <utility>

#include "component/wstr.h"
#include "mainform.h"
#include "skin/data/skindata.h"
#include "skin/data/skinfolder.h"
#include "texts.h"

namespace {

using srt::TimingMode;

// The timing modes by their names in the settings file.
constexpr std::array<std::pair<TimingMode, const wchar_t*>, 4> kModeNames{{{TimingMode::Offset, L"offset"},
                                                                           {TimingMode::TwoPoints, L"sync"},
                                                                           {TimingMode::FrameRate, L"fps"},
                                                                           {TimingMode::Reference, L"reference"}}};

bool SameFile(const std::wstring& a, const std::wstring& b) {
    wchar_t fullA[MAX_PATH], fullB[MAX_PATH];
    if (!GetFullPathNameW(a.c_str(), MAX_PATH, fullA, nullptr) || !GetFullPathNameW(b.c_str(), MAX_PATH, fullB, nullptr))
        return false;
    return lstrcmpiW(fullA, fullB) == 0;
}

}  // namespace

void TForm1::UseSettings(srt::app::TSettingsStore* settings) {
    Settings = settings;
    if (!settings) return;
    const srt::app::TSettings& values = settings->Values();
    SetLanguage(values.language);
    for (const auto& [mode, name] : kModeNames)
        if (values.timingMode == name) TimingMemory.mode = mode;
    if (!values.timingRateFrom.empty()) TimingMemory.rateFrom = Narrow(values.timingRateFrom);
    if (!values.timingRateTo.empty()) TimingMemory.rateTo = Narrow(values.timingRateTo);
    // A remembered skin that is gone leaves the stored one, without a word.
    if (std::optional<std::wstring> skin = settings->SkinToLoad()) LoadSkinFile(*skin);
}

void TForm1::ChooseLanguage(srt::app::TLanguage language) {
    SetLanguage(language);
    if (Settings) Settings->RememberLanguage(language);
}

void TForm1::RememberTimingMemory() {
    if (!Settings) return;
    std::wstring mode;
    for (const auto& [m, name] : kModeNames)
        if (m == TimingMemory.mode) mode = name;
    Settings->RememberTiming(mode, Widen(TimingMemory.rateFrom), Widen(TimingMemory.rateTo));
}

void TForm1::AddChoiceCommands() {
    using namespace srt::app;
    using srt::app::TLanguage;
    auto language = [this](TLanguage l, const TText& text) {
        return TCommand{0, text, scNone, [this, l] { ChooseLanguage(l); }, {}, [this, l] { return Language() == l; },
                        {}};
    };
    commands_->Add({cmLanguage, texts::kLanguageMenu, scNone, {}, {}, {}, [language] {
                        return std::vector<TCommand>{language(TLanguage::Chinese, texts::kChinese),
                                                     language(TLanguage::English, texts::kEnglish)};
                    }});
    commands_->Add({cmSkin, texts::kSkinMenu, scNone, {}, {}, {}, [this] {
                        auto skin = [this](const std::wstring& file, const TText& text) {
                            return TCommand{0,
                                            text,
                                            scNone,
                                            [this, file] {
                                                const std::string error = ChooseSkin(file);
                                                if (!error.empty()) Application->ShowException(error);
                                            },
                                            {},
                                            [this, file] {
                                                return file.empty() ? skinFile_.empty()
                                                                    : !skinFile_.empty() && SameFile(file, skinFile_);
                                            },
                                            {}};
                        };
                        // The menu holds the texts while it is open.
                        skinTitles_.clear();
                        const std::vector<std::wstring> files = srt::ShippedSkinFiles(srt::app::ProgramFolder());
                        for (const std::wstring& file : files) skinTitles_.push_back(srt::SkinFileTitle(file));
                        std::vector<TCommand> items{skin(L"", texts::kStoredSkin)};
                        for (std::size_t i = 0; i < files.size(); ++i)
                            items.push_back(skin(files[i], TText{skinTitles_[i].c_str(), skinTitles_[i].c_str()}));
                        return items;
                    }});
}

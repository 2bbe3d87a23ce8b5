// The languages of the window's texts. Every text the program shows is a
// pair: Chinese (the default) and English.
#pragma once

#include <optional>
#include <string_view>

namespace srt::app {

enum class TLanguage { Chinese, English };

struct TText {
    const wchar_t* zh;
    const wchar_t* en;
    constexpr const wchar_t* In(TLanguage language) const {
        return language == TLanguage::English ? en : zh;
    }
};

// The language of a command-line name, "en" or "zh".
inline std::optional<TLanguage> LanguageNamed(std::wstring_view name) {
    if (name == L"en") return TLanguage::English;
    if (name == L"zh") return TLanguage::Chinese;
    return std::nullopt;
}

}  // namespace srt::app

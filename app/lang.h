// The languages of the window's texts. Every text the program shows is a
// pair: Chinese (the default) and English.
#pragma once

namespace srt::app {

enum class TLanguage { Chinese, English };

struct TText {
    const wchar_t* zh;
    const wchar_t* en;
    constexpr const wchar_t* In(TLanguage language) const {
        return language == TLanguage::English ? en : zh;
    }
};

}  // namespace srt::app

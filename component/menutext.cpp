#include "component/menutext.h"

#include <array>

#include "component/asciicase.h"

namespace {

struct TKeyName {
    std::uint8_t key;
    const char* name;
};

// Virtual-key codes with names of their own.
constexpr std::array<TKeyName, 22> kKeyNames{{
    {0x08, "BkSp"}, {0x09, "Tab"},  {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"}, {0x21, "PgUp"},
    {0x22, "PgDn"}, {0x23, "End"},  {0x24, "Home"},  {0x25, "Left"}, {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"}, {0x2D, "Ins"},  {0x2E, "Del"},   {0xBA, ";"},    {0xBB, "="},     {0xBC, ","},
    {0xBD, "-"},    {0xBE, "."},    {0xBF, "/"},     {0xC0, "`"},
}};

std::string KeyName(std::uint8_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x87) {
        std::string name = "F";  // appended, not "F" + ...: GCC 12 sees an overlapping copy there
        return name += std::to_string(key - 0x6F);
    }
    for (const TKeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

}  // namespace

char AcceleratorOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return UpperChar(caption[i + 1]);
    }
    return 0;
}

bool IsAccelerator(std::string_view caption, unsigned key) {
    const char a = AcceleratorOf(caption);
    return a != 0 && key < 0x80 && a == UpperChar(static_cast<char>(key));
}

std::string StripHotkey(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const bool mark = caption[i] == '&' && i + 1 < caption.size();
        if (mark && caption[i + 1] == '&') ++i;  // "&&": one literal "&"
        else if (mark) continue;
        out += caption[i];
    }
    return out;
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string key = KeyName(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (key.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + key;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut mods = 0;
    for (;;) {
        const auto plus = text.find('+', 1);
        if (plus == std::string_view::npos) break;
        const std::string_view mod = text.substr(0, plus);
        if (SameText(mod, "Shift")) mods |= scShift;
        else if (SameText(mod, "Ctrl")) mods |= scCtrl;
        else if (SameText(mod, "Alt")) mods |= scAlt;
        else return scNone;
        text.remove_prefix(plus + 1);
    }
    for (unsigned key = 1; key < 0x100; ++key) {
        const std::string name = KeyName(static_cast<std::uint8_t>(key));
        if (!name.empty() && SameText(name, text)) return static_cast<TShortCut>(mods | key);
    }
    return scNone;
}

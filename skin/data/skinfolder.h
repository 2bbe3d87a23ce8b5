// The packed skins shipped beside a program, as its skin menus list them.
// Windows only (built into the skin data component there).
#pragma once

#include <string>
#include <vector>

namespace srt {

// The .skn files in <programFolder>skins\, or where that holds none in the
// build tree's skins folder one level up (<programFolder>..\skins\); sorted
// by name. `programFolder` ends with its separator.
std::vector<std::wstring> ShippedSkinFiles(const std::wstring& programFolder);

// A skin's title: its file name without the folder and the extension
// ("dusk" of "...\skins\dusk.skn").
std::wstring SkinFileTitle(const std::wstring& file);

}  // namespace srt

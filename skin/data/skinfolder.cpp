#include "skin/data/skinfolder.h"

#include <windows.h>

#include <algorithm>

namespace srt {

std::vector<std::wstring> ShippedSkinFiles(const std::wstring& programFolder) {
    for (const std::wstring& dir : {programFolder + L"skins\\", programFolder + L"..\\skins\\"}) {
        std::vector<std::wstring> files;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((dir + L"*.skn").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(dir + found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
        std::sort(files.begin(), files.end());
        if (!files.empty()) return files;
    }
    return {};
}

std::wstring SkinFileTitle(const std::wstring& file) {
    const std::size_t slash = file.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

}  // namespace srt

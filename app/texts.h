// Every text the main window shows, as Chinese and English pairs. The
// Chinese texts of the window and its two notices are the original ones;
// error texts end without a full stop, which the error box adds.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "lang.h"

namespace srt::app::texts {

// `text` with each "{name}" replaced by its value.
inline std::wstring Fill(std::wstring_view text,
                         std::initializer_list<std::pair<std::wstring_view, std::wstring>> values) {
    std::wstring out(text);
    for (const auto& [name, value] : values) {
        const std::wstring key = L"{" + std::wstring(name) + L"}";
        for (std::size_t at = out.find(key); at != std::wstring::npos; at = out.find(key, at + value.size()))
            out.replace(at, key.size(), value);
    }
    return out;
}

// The window and its controls.
inline constexpr TText kCaption{L"Srt字幕时间轴调整工具          Power By Lumaren",
                                L"SRT Subtitle Retimer          Power By Lumaren"};
inline constexpr TText kOpen{L"打开字幕", L"Open"};
inline constexpr TText kAdjust{L"调整字幕", L"Adjust"};
inline constexpr TText kSave{L"保存字幕", L"Save"};
inline constexpr TText kOffsetLabel{L"修正时间（单位毫秒，正数延迟，负数提前）：", L"Offset in ms (+ delays, - advances):"};
inline constexpr TText kOffsetHint{L"正数代表延迟，负数代表提前", L"Positive delays, negative advances"};
inline constexpr TText kOpenFilter{L"srt|*.srt", L"srt|*.srt"};
inline constexpr TText kSaveFilter{L"Srt字幕文件|*.srt", L"SRT subtitle file|*.srt"};

// Notices of the adjust command.
inline constexpr TText kOpenFirst{L"请打开一个Srt格式字幕文件！", L"Please open a subtitle file in SRT format!"};
inline constexpr TText kEnterOffset{L"请输入修正时间！（单位：毫秒）", L"Please enter the offset! (in milliseconds)"};

// Files refused on opening; {line} and {length} are filled in.
inline constexpr TText kLineTooLong{L"第 {line} 行长达 {length} 个字符，远超任何字幕的行：这不是字幕文件，没有打开",
                                    L"Line {line} is {length} characters long, far beyond any subtitle's: this is "
                                    L"no subtitle file and it was not opened"};
inline constexpr TText kNoTimeLine{L"这个文件没有一行时间（“-->”）：这不是 Srt 字幕文件，没有打开",
                                   L"This file has no time line (\"-->\"): it is no SRT subtitle file and it was "
                                   L"not opened"};
// An adjust error: the line's number, then the rule's own message.
inline constexpr TText kAtLine{L"第 {line} 行：", L"Line {line}: "};

// Long work, shown in the caption while it runs, with how far it got.
inline constexpr TText kOpening{L"正在打开……", L"Opening..."};
inline constexpr TText kAdjusting{L"正在调整……", L"Adjusting..."};

// The system menu's items; the language item names itself in both.
inline constexpr TText kLanguageMenu{L"语言 / &Language", L"语言 / &Language"};
inline constexpr TText kChinese{L"中文", L"中文"};
inline constexpr TText kEnglish{L"English", L"English"};
inline constexpr TText kSkinMenu{L"皮肤(&S)", L"&Skin"};
inline constexpr TText kStoredSkin{L"内置皮肤", L"Stored skin"};

}  // namespace srt::app::texts

// The texts of the timing window and of the commands that reach it.
#pragma once

#include "lang.h"

namespace srt::app::timing {

inline constexpr TText kTimingCommand{L"时间轴调整(&R)...", L"&Re-timing..."};
inline constexpr TText kUndoCommand{L"撤消调整(&Z)", L"Undo re-timing"};
inline constexpr TText kRedoCommand{L"重做调整(&Y)", L"Redo re-timing"};

inline constexpr TText kCaption{L"时间轴调整", L"Re-timing"};
inline constexpr TText kMode{L"方式(&M)：", L"&Mode:"};
inline constexpr TText kModes[] = {
    {L"整体偏移", L"Offset"},
    {L"两点同步", L"Two points"},
    {L"帧率转换", L"Frame rate"},
    {L"按参照字幕", L"From a reference subtitle"},
};
inline constexpr TText kOffset{L"偏移毫秒(&O)：", L"&Offset (ms):"};
inline constexpr TText kCueA{L"字幕(&A)：", L"Cue &A:"};
inline constexpr TText kTimeB{L"改为(&B)：", L"becomes &B:"};
inline constexpr TText kCueC{L"字幕(&C)：", L"Cue &C:"};
inline constexpr TText kTimeD{L"改为(&D)：", L"becomes &D:"};
inline constexpr TText kRateFrom{L"原帧率(&F)：", L"&From fps:"};
inline constexpr TText kRateTo{L"新帧率(&E)：", L"To fps (&E):"};
inline constexpr TText kReference{L"参照字幕(&R)...", L"&Reference..."};
inline constexpr TText kRange{L"范围(&N)：", L"Ra&nge:"};
inline constexpr TText kRanges[] = {
    {L"全部字幕", L"All cues"},
    {L"从第 N 条起", L"From cue N"},
    {L"第 N 至 M 条", L"Cues N to M"},
    {L"起始时间在两时间之间", L"Cues starting between two times"},
};
inline constexpr TText kFirst{L"起(&S)：", L"Fir&st:"};
inline constexpr TText kLast{L"止(&L)：", L"&Last:"};
inline constexpr TText kPreview{L"预览(&V)：", L"Pre&view:"};
inline constexpr TText kOk{L"确定", L"OK"};
inline constexpr TText kApply{L"应用(&P)", L"A&pply"};
inline constexpr TText kClose{L"关闭", L"Close"};

// The document line: encoding, line ends, cue count.
inline constexpr TText kEncoding{L"编码：", L"Encoding: "};
inline constexpr TText kWithMark{L"（带字节顺序标记）", L" with byte-order mark"};
inline constexpr TText kAscii{L"ASCII", L"ASCII"};
inline constexpr TText kLineEnds{L"　行尾：", L"   Line ends: "};
inline constexpr TText kMixedEnds{L"CR LF 与 LF", L"CR LF and LF"};
inline constexpr TText kSavedCrLf{L"（保存为 CR LF）", L" (saved as CR LF)"};
inline constexpr TText kNoEnds{L"无", L"none"};
inline constexpr TText kCues{L"　字幕：%1 条", L"   Cues: %1"};

// The preview's heading and the faults of the fields.
inline constexpr TText kChanges{L"预览(&V)：%1 条字幕将改变", L"Pre&view: %1 cues change"};
inline constexpr TText kNoDocument{L"请先打开一个字幕文件", L"Open a subtitle file first"};
inline constexpr TText kRefused{L"第 %1 行：%2", L"Line %1: %2"};
inline constexpr TText kFaults[] = {
    {L"", L""},
    {L"偏移须为整数毫秒", L"The offset must be a whole number of milliseconds"},
    {L"字幕 A 须为存在的字幕序号", L"Cue A must be the number of a cue"},
    {L"时间 B 须为 hh:mm:ss,mmm", L"Time B must be hh:mm:ss,mmm"},
    {L"字幕 C 须为存在的字幕序号", L"Cue C must be the number of a cue"},
    {L"时间 D 须为 hh:mm:ss,mmm", L"Time D must be hh:mm:ss,mmm"},
    {L"两条字幕的开始时间须不同", L"The two cues must start at different times"},
    {L"原帧率须为如 25 或 23.976 的帧率", L"The from rate must be a frame rate such as 25 or 23.976"},
    {L"新帧率须为如 25 或 23.976 的帧率", L"The to rate must be a frame rate such as 25 or 23.976"},
    {L"请先打开参照字幕", L"Open a reference subtitle first"},
    {L"起点须为字幕序号或 hh:mm:ss,mmm", L"The first bound must be a cue number or hh:mm:ss,mmm"},
    {L"终点须为字幕序号或 hh:mm:ss,mmm", L"The last bound must be a cue number or hh:mm:ss,mmm"},
    {L"起点在终点之后", L"The first bound lies after the last"},
};
inline constexpr TText kOverlap{L"%1 / %2 条字幕重叠，偏移 %3 毫秒", L"%1 of %2 cues overlap, offset %3 ms"};
inline constexpr TText kNoOverlap{L"参照字幕与本字幕没有重叠的字幕", L"No cue overlaps a cue of the reference"};
inline constexpr TText kNoReferenceCues{L"参照文件中没有字幕时间行", L"The reference file holds no time line"};

}  // namespace srt::app::timing

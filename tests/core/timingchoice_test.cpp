// The timing window's fields as a map and a range, and the undo history.
#include "core/timingchoice.h"

#include <gtest/gtest.h>

#include <string>

#include "core/history.h"

namespace {

using srt::ChooseTiming;
using srt::RangeKind;
using srt::TimingFault;
using srt::TimingFields;
using srt::TimingMode;

const std::vector<std::optional<std::int64_t>> kStarts{1000, 10000, std::nullopt, 60000, 60000};

TimingFault FaultOf(const TimingFields& f) { return ChooseTiming(f, kStarts).fault; }

TEST(TimingChoice, EachModeGivesTheToolsMap) {
    TimingFields f;
    f.offset = " -$10";
    EXPECT_EQ(ChooseTiming(f, kStarts).map.Apply(1000), 984);
    f.mode = TimingMode::TwoPoints;
    f.cueA = "1";
    f.timeB = "00:00:02,000";
    f.cueC = " 4 ";
    f.timeD = "00:01:03.000";
    const auto sync = ChooseTiming(f, kStarts);
    ASSERT_EQ(sync.fault, TimingFault::None);
    EXPECT_EQ(sync.map.Apply(1000), 2000);
    EXPECT_EQ(sync.map.Apply(60000), 63000);
    f.mode = TimingMode::FrameRate;
    f.rateFrom = "25";
    f.rateTo = "23.976";
    EXPECT_EQ(ChooseTiming(f, kStarts).map.Apply(60000), 62563);  // 60000 * 25 * 1001 / 24000, half up
    f.mode = TimingMode::Reference;
    f.referenceOffset = -250;
    EXPECT_EQ(ChooseTiming(f, kStarts).map.Apply(1000), 750);
}

TEST(TimingChoice, FaultsNameTheField) {
    TimingFields f;
    f.offset = "1.5";
    EXPECT_EQ(FaultOf(f), TimingFault::Offset);
    f.offset = "2147483648";
    EXPECT_EQ(FaultOf(f), TimingFault::Offset);
    f.mode = TimingMode::TwoPoints;
    f.cueA = "3";  // a time line the rule cannot read
    EXPECT_EQ(FaultOf(f), TimingFault::CueA);
    f.cueA = "0";
    EXPECT_EQ(FaultOf(f), TimingFault::CueA);
    f.cueA = "4";
    f.timeB = "1:00";
    EXPECT_EQ(FaultOf(f), TimingFault::TimeB);
    f.timeB = "00:01:00,000";
    f.cueC = "6";
    EXPECT_EQ(FaultOf(f), TimingFault::CueC);
    f.cueC = "5";
    f.timeD = "00:02:00,000";
    EXPECT_EQ(FaultOf(f), TimingFault::SamePoints);  // cues 4 and 5 start together
    f.mode = TimingMode::FrameRate;
    f.rateFrom = "0";
    EXPECT_EQ(FaultOf(f), TimingFault::RateFrom);
    f.rateFrom = "25";
    f.rateTo = "fast";
    EXPECT_EQ(FaultOf(f), TimingFault::RateTo);
    f.mode = TimingMode::Reference;
    EXPECT_EQ(FaultOf(f), TimingFault::NoReference);
}

TEST(TimingChoice, Ranges) {
    TimingFields f;
    f.offset = "1";
    f.range = RangeKind::FromCue;
    f.first = "2";
    auto c = ChooseTiming(f, kStarts);
    EXPECT_EQ(c.range.fromIndex, 2u);
    EXPECT_FALSE(c.range.toIndex);
    f.range = RangeKind::CueSpan;
    f.last = "1";
    EXPECT_EQ(FaultOf(f), TimingFault::Reversed);
    f.last = "9";
    EXPECT_EQ(FaultOf(f), TimingFault::Last);
    f.range = RangeKind::TimeSpan;
    f.first = "00:00:05,000";
    f.last = "00:01:00,000";
    c = ChooseTiming(f, kStarts);
    EXPECT_EQ(c.range.from, 5000);
    EXPECT_EQ(c.range.to, 60000);
    f.first = "2";
    EXPECT_EQ(FaultOf(f), TimingFault::First);
    // A range fault comes first: matching a reference needs the range.
    f.mode = TimingMode::Reference;
    EXPECT_EQ(FaultOf(f), TimingFault::First);
}

TEST(History, UndoAndRedoOverSeveralLevels) {
    srt::History<std::string> h(2);
    EXPECT_FALSE(h.Undo("x"));
    h.Changed("a");  // a -> b
    h.Changed("b");  // b -> c
    h.Changed("c");  // c -> d; "a" is dropped
    auto s = h.Undo("d");
    EXPECT_EQ(s, "c");
    s = h.Undo(*s);
    EXPECT_EQ(s, "b");
    EXPECT_FALSE(h.CanUndo());
    s = h.Redo(*s);
    EXPECT_EQ(s, "c");
    h.Changed("c");  // a new change forgets the redo
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(h.Undo("e"), "c");
}

TEST(History, FewerLevelsDropTheOldestAndTheBudgetKeepsOneAtLeast) {
    srt::History<int> h(5);
    for (int i = 0; i < 5; ++i) h.Changed(i);
    h.SetLevels(2);
    EXPECT_EQ(h.Undo(9), 4);
    EXPECT_EQ(h.Undo(4), 3);
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(srt::LevelsWithin(256, 100, 32), 2u);
    EXPECT_EQ(srt::LevelsWithin(256, 1000, 32), 1u);
    EXPECT_EQ(srt::LevelsWithin(256, 1, 32), 32u);
    EXPECT_EQ(srt::LevelsWithin(256, 0, 32), 32u);
}

}  // namespace

#include "skin/manager/skinmanager.h"

#include <gtest/gtest.h>

namespace srt {

class TSkinData {};  // only its address matters to the manager

namespace {

TEST(SkinManage, RegistrationKeepsOrderAndRemovesTheFirstOccurrence) {
    TSkinManage m;
    TSkinData a, b;
    m.AddSkinData(&a);
    m.AddSkinData(&b);
    m.AddSkinData(&a);
    m.RemoveSkinData(&a);
    ASSERT_EQ(m.SkinDatas().size(), 2u);
    EXPECT_EQ(m.SkinDatas()[0], &b);
    EXPECT_EQ(m.SkinDatas()[1], &a);
    TSkinData absent;
    m.RemoveSkinData(&absent);
    EXPECT_EQ(m.SkinDatas().size(), 2u);
}

TEST(SkinManage, RequestsBeforeTheFirstActivationOnlySetTheSwitch) {
    TSkinManage m;
    TSkinData d;
    m.SetActionSource(&d);
    m.RequestAction(maActivate, 250);
    EXPECT_TRUE(m.Active());
    EXPECT_FALSE(m.TimerEnabled());
    m.RequestAction(maDeactivate, 250);
    EXPECT_FALSE(m.Active());
    m.RequestAction(maRefresh, 250);
    EXPECT_FALSE(m.Active());
}

TEST(SkinManage, RequestsAfterActivationRunFromTheTimer) {
    TSkinManage m;
    TSkinData d;
    std::vector<std::pair<TManagerAction, TSkinData*>> ran;
    std::vector<TSkinData*> changed;
    m.SetActionRunner([&](TManagerAction a, TSkinData* s) { ran.emplace_back(a, s); });
    m.SetSkinChanged([&](TSkinData* s) { changed.push_back(s); });
    m.RequestAction(maActivate, 250);
    m.NoteActivation();
    m.NoteActivation();
    EXPECT_EQ(m.Started(), 1);
    m.RequestAction(maDeactivate, 300);
    EXPECT_TRUE(m.Active());  // not yet: the timer decides
    EXPECT_TRUE(m.TimerEnabled());
    EXPECT_EQ(m.TimerInterval(), 300u);
    EXPECT_FALSE(m.TimerTick());  // no source named: keep waiting
    EXPECT_TRUE(m.TimerEnabled());
    m.SetActionSource(&d);
    EXPECT_TRUE(m.TimerTick());
    EXPECT_FALSE(m.TimerEnabled());
    EXPECT_FALSE(m.Active());
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0].first, maDeactivate);
    EXPECT_EQ(ran[0].second, &d);
    EXPECT_EQ(changed, std::vector<TSkinData*>{&d});
    EXPECT_EQ(m.ActionSource(), nullptr);
}

TEST(SkinManage, RemovedSourceNeverRuns) {
    TSkinManage m;
    m.NoteActivation();
    auto* d = new TSkinData;
    m.AddSkinData(d);
    m.SetActionSource(d);
    m.RequestAction(maRefresh, 250);
    m.RemoveSkinData(d);
    delete d;
    int runs = 0;
    m.SetActionRunner([&](TManagerAction, TSkinData*) { ++runs; });
    EXPECT_FALSE(m.TimerTick());
    EXPECT_EQ(runs, 0);
}

TEST(SkinManage, OtherSkinDataStartsSkinningAtOnce) {
    TSkinManage m;
    m.StartSkinning();
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(m.Started(), 1);
    m.RequestAction(maDeactivate, 250);
    EXPECT_TRUE(m.TimerEnabled());
}

TEST(SkinManage, OneGlobalManager) {
    SkinManager.reset();
    TSkinManage& m = EnsureSkinManager();
    EXPECT_EQ(&EnsureSkinManager(), &m);
    EXPECT_EQ(SkinManager.get(), &m);
    SkinManager.reset();
}

}  // namespace
}  // namespace srt

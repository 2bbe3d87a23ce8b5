#include "skin/manager/skinmanager.h"

#include <gtest/gtest.h>

namespace srt {

using ::TSkinData;

namespace {

TEST(SkinManage, RegistrationKeepsOrderAndRemovesTheFirstOccurrence) {
    TSkinManage m;
    TSkinData a(nullptr), b(nullptr);
    m.AddSkinData(&a);
    m.AddSkinData(&b);
    m.AddSkinData(&a);
    m.RemoveSkinData(&a);
    ASSERT_EQ(m.SkinDatas().size(), 2u);
    EXPECT_EQ(m.SkinDatas()[0], &b);
    EXPECT_EQ(m.SkinDatas()[1], &a);
    TSkinData absent(nullptr);
    m.RemoveSkinData(&absent);
    EXPECT_EQ(m.SkinDatas().size(), 2u);
}

TEST(SkinManage, RequestsBeforeTheFirstActivationOnlySetTheSwitch) {
    TSkinManage m;
    TSkinData d(nullptr);
    m.RequestAction(maActivate, &d, 250);
    EXPECT_TRUE(m.Active());
    EXPECT_FALSE(m.TimerEnabled());
    m.RequestAction(maDeactivate, &d, 250);
    EXPECT_FALSE(m.Active());
    m.RequestAction(maRefresh, &d, 250);
    EXPECT_FALSE(m.Active());
}

TEST(SkinManage, RequestsAfterActivationRunFromTheTimer) {
    TSkinManage m;
    TSkinData d(nullptr);
    std::vector<std::pair<TManagerAction, TSkinData*>> ran;
    std::vector<TSkinData*> changed;
    m.SetActionRunner([&](TManagerAction a, TSkinData* s) { ran.emplace_back(a, s); });
    d.OnSkinChanged.Code = [&](TObject* s) { changed.push_back(static_cast<TSkinData*>(s)); };
    m.RequestAction(maActivate, &d, 250);
    m.NoteActivation();
    m.NoteActivation();
    EXPECT_EQ(m.Started(), 1);
    m.RequestAction(maDeactivate, &d, 300);
    EXPECT_TRUE(m.Active());  // not yet: the timer decides
    EXPECT_TRUE(m.TimerEnabled());
    EXPECT_EQ(m.TimerInterval(), 300u);
    m.EnterDispatch();
    EXPECT_FALSE(m.TimerTick());  // a skin procedure runs: keep waiting
    EXPECT_TRUE(m.TimerEnabled());
    m.LeaveDispatch();
    EXPECT_TRUE(m.TimerTick());
    EXPECT_FALSE(m.TimerEnabled());
    EXPECT_FALSE(m.Active());
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0].first, maDeactivate);
    EXPECT_EQ(ran[0].second, &d);
    EXPECT_EQ(changed, std::vector<TSkinData*>{&d});
    EXPECT_EQ(m.PendingAction(), maNone);
}

TEST(SkinManage, OnlyAPurgeIsQueuedWithoutASource) {
    TSkinManage m;
    m.NoteActivation();
    std::vector<TManagerAction> ran;
    m.SetActionRunner([&](TManagerAction a, TSkinData*) { ran.push_back(a); });
    m.RequestAction(maRefresh, nullptr, 250);
    m.RequestAction(maDeactivate, nullptr, 250);
    EXPECT_EQ(m.PendingAction(), maNone);
    EXPECT_FALSE(m.TimerTick());
    m.RequestAction(maPurge, nullptr, 250);
    EXPECT_TRUE(m.TimerTick());
    EXPECT_EQ(ran, std::vector<TManagerAction>{maPurge});
}

TEST(SkinManage, RemovedSourceNeverRuns) {
    TSkinManage m;
    m.NoteActivation();
    auto* d = new TSkinData(nullptr);
    m.AddSkinData(d);
    m.RequestAction(maRefresh, d, 250);
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
    TSkinData d(nullptr);
    m.RequestAction(maDeactivate, &d, 250);
    EXPECT_TRUE(m.TimerEnabled());
}

TEST(SkinManage, TheOneManagerLinksItselfToTheSkinDataUntilReleased) {
    ASSERT_EQ(TheSkinManager(), nullptr);
    TSkinData d(nullptr);
    d.Loaded();  // no manager yet: the data makes none
    EXPECT_EQ(TheSkinManager(), nullptr);
    EXPECT_EQ(::SkinManager(), nullptr);
    TSkinManage& m = SkinManagerInstance();
    EXPECT_EQ(&SkinManagerInstance(), &m);
    EXPECT_EQ(TheSkinManager(), &m);
    EXPECT_EQ(::SkinManager(), &m);
    d.Loaded();
    {
        TSkinData e(nullptr);
        e.Loaded();
        EXPECT_EQ(m.SkinDatas(), (std::vector<TSkinData*>{&d, &e}));
    }
    EXPECT_EQ(m.SkinDatas(), std::vector<TSkinData*>{&d});  // a freed component unregisters
    // A manager of a test's own is not the linked one.
    { TSkinManage local; }
    EXPECT_EQ(::SkinManager(), &m);
    ReleaseSkinManager();
    EXPECT_EQ(TheSkinManager(), nullptr);
    EXPECT_EQ(::SkinManager(), nullptr);
    ReleaseSkinManager();
}

TEST(SkinManage, PurgeWaitsWhileASkinProcedureRuns) {
    TSkinManage m;
    TSkinData d(nullptr);
    int runs = 0;
    m.SetActionRunner([&](TManagerAction, TSkinData*) { ++runs; });
    m.NoteActivation();
    m.RequestAction(maPurge, &d, 250);
    m.EnterDispatch();
    EXPECT_FALSE(m.TimerTick());
    EXPECT_EQ(runs, 0);
    m.LeaveDispatch();
    EXPECT_TRUE(m.TimerTick());
    EXPECT_EQ(runs, 1);
}

// Pending work is never lost: a purge stays pending whatever is requested
// after it, and requests of different sources all run.
class PendingWork : public ::testing::Test {
protected:
    void SetUp() override {
        m.NoteActivation();
        m.SetActionRunner([this](TManagerAction a, TSkinData* s) { ran.emplace_back(a, s); });
    }
    void Request(TManagerAction action, TSkinData* source) {
        m.RequestAction(action, source, 250);
    }
    using Ran = std::vector<std::pair<TManagerAction, TSkinData*>>;
    TSkinManage m;
    TSkinData d{nullptr}, e{nullptr};
    Ran ran;
};

TEST_F(PendingWork, ALaterRequestNeverReplacesAPendingPurge) {
    Request(maPurge, &d);
    Request(maRefresh, &d);
    Request(maActivate, &e);
    EXPECT_TRUE(m.TimerTick());
    // The purge first: no action reaches a dead form skin.
    EXPECT_EQ(ran, (Ran{{maPurge, &d}, {maRefresh, &d}, {maActivate, &e}}));
    EXPECT_FALSE(m.TimerEnabled());
    EXPECT_FALSE(m.TimerTick());
}

TEST_F(PendingWork, APurgeRunsWhenItsSourceHasGone) {
    m.AddSkinData(&d);
    Request(maPurge, &d);
    m.RemoveSkinData(&d);
    EXPECT_TRUE(m.TimerTick());
    EXPECT_EQ(ran, (Ran{{maPurge, nullptr}}));
}

TEST_F(PendingWork, APurgeStaysPendingUntilItHasRun) {
    Request(maPurge, &d);
    m.EnterDispatch();
    EXPECT_FALSE(m.TimerTick());
    Request(maDeactivate, &d);
    m.LeaveDispatch();
    EXPECT_TRUE(m.TimerTick());
    EXPECT_EQ(ran, (Ran{{maPurge, &d}, {maDeactivate, &d}}));
}

TEST_F(PendingWork, ASwitchReplacesOnlyTheSameSourcesEarlierSwitch) {
    Request(maRefresh, &d);
    Request(maActivate, &d);
    Request(maDeactivate, &e);
    Request(maDeactivate, &d);  // the last word on d's switch
    Request(maRefresh, &d);     // already pending
    EXPECT_TRUE(m.TimerTick());
    EXPECT_EQ(ran, (Ran{{maRefresh, &d}, {maDeactivate, &e}, {maDeactivate, &d}}));
}

TEST_F(PendingWork, WorkRequestedWhileATickRunsWaitsForTheNextTick) {
    m.SetActionRunner([this](TManagerAction a, TSkinData* s) {
        ran.emplace_back(a, s);
        if (a == maDeactivate) Request(maPurge, s);  // a window closed during the action
    });
    Request(maDeactivate, &d);
    EXPECT_TRUE(m.TimerTick());
    EXPECT_TRUE(m.TimerEnabled());
    EXPECT_TRUE(m.TimerTick());
    EXPECT_EQ(ran, (Ran{{maDeactivate, &d}, {maPurge, &d}}));
}

TEST_F(PendingWork, APurgeRequestedBeforeTheFirstActivationIsKept) {
    TSkinManage fresh;
    Ran early;
    fresh.SetActionRunner([&](TManagerAction a, TSkinData* s) { early.emplace_back(a, s); });
    fresh.RequestAction(maPurge, &d, 250);
    EXPECT_FALSE(fresh.TimerEnabled());
    fresh.NoteActivation();
    EXPECT_TRUE(fresh.TimerEnabled());
    EXPECT_TRUE(fresh.TimerTick());
    EXPECT_EQ(early, (Ran{{maPurge, &d}}));
}

}  // namespace
}  // namespace srt

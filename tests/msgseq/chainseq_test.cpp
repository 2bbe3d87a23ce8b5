// Window-procedure chains with our skins in them: a skin removed while a
// foreign subclass sits on top keeps that subclass's chain whole and is
// never called again; WM_NCDESTROY reaches every procedure once; a
// subclass may take itself out while a message runs through it. The page
// heap makes any touch of a freed skin or thunk fault.
#include "skin/controls/skincontrol.h"
#include "skin/thunk/wndthunk.h"
#include "tests/msgseq/above.h"
#include "tests/msgseq/recordedform.h"
#include "tests/support/msgrecorder.h"

namespace srt {
namespace {

using namespace formtest;
using namespace msgseq;

// A control skin that logs "ours" and can let go while handling a message.
class TLoggedSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    UINT freeOn = 0;
    bool BeforeProc(TMessage& m) override {
        TRecorder::Log("ours", Handle(), m.Msg, m.WParam, m.LParam);
        if (m.Msg == freeOn) Free();
        return true;
    }
};

constexpr UINT kPing = WM_USER + 1;

// `msg` as each of `wheres` sees it, in order: one sent message.
std::vector<TExpect> Through(UINT msg, std::initializer_list<const char*> wheres) {
    std::vector<TExpect> out{{kSent, msg}};
    for (const char* w : wheres) out.push_back({w, msg});
    return out;
}

class ChainSeq : public RecordedForms {
protected:
    void SetUp() override {
        RecordedForms::SetUp();
        recorder.Name(kPing, "kPing");
    }
    HWND MakeChild(HWND parent) {
        HWND c = CreateWindowExW(0, RecordedClass(), L"child", WS_CHILD | WS_VISIBLE, 10, 10, 100, 30, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        recorder.Watch(c);
        return c;
    }
    TLoggedSkin* SkinControl(HWND c) {
        auto* skin = new TLoggedSkin(nullptr);
        skin->InitWindow(c, &data);
        return skin;
    }
    // Destroys `w` and expects WM_DESTROY and WM_NCDESTROY once at each of `wheres`.
    void DestroyOnceThrough(HWND w, std::initializer_list<const char*> wheres) {
        recorder.Start();
        DestroyWindow(w);
        recorder.Stop();
        for (UINT msg : {WM_DESTROY, WM_NCDESTROY}) {
            std::vector<TSeen> seen;
            for (const TSeen& s : recorder.Of(w))
                if (s.msg == msg) seen.push_back(s);
            EXPECT_TRUE(recorder.Matches(seen, Through(msg, wheres)));
        }
    }
};

// ---- the form skin's thunk

TEST_F(ChainSeq, FormSkinRemovedUnderAForeignSubclassOnlyPassesOn) {
    HWND w = MakeRecorded();
    ASSERT_NE(Skinned(w), nullptr);
    TAbove above(w);
    Tick(maDeactivate);  // the skin is freed; its thunk stays under `above`
    ASSERT_TRUE(manager.Forms().empty());
    EXPECT_EQ(ProcOf(w), &TAbove::Proc);
    recorder.Start();
    SendMessageW(w, kPing, 1, 2);
    EXPECT_EQ(SendMessageW(w, kWmSkinQuery, 0, 0), 0);  // a skin would answer 1
    recorder.Stop();
    std::vector<TExpect> expected = Through(kPing, {"above", "proc"});
    for (const TExpect& e : Through(kWmSkinQuery, {"above", "proc"})) expected.push_back(e);
    EXPECT_TRUE(recorder.Matches(recorder.Log(), expected));
    DestroyOnceThrough(w, {"above", "proc"});
}

TEST_F(ChainSeq, FormSkinUnderAForeignSubclassSeesTheDestroyOnce) {
    HWND w = MakeRecorded();
    ASSERT_NE(Skinned(w), nullptr);
    TAbove above(w);
    recorder.Start();
    EXPECT_EQ(SendMessageW(w, kWmSkinQuery, 0, 0), 1);  // answered by the skin, not passed on
    recorder.Stop();
    EXPECT_TRUE(recorder.Matches(recorder.Log(), Through(kWmSkinQuery, {"above"})));
    DestroyOnceThrough(w, {"above", "proc"});
    EXPECT_EQ(manager.Forms()[0]->LifeState(), fsDead);
}

// ---- the control skins' thunk

TEST_F(ChainSeq, ControlSkinRemovedUnderAForeignSubclassIsNeverCalledAgain) {
    HWND parent = MakeRecorded();
    HWND c = MakeChild(parent);
    TLoggedSkin* skin = SkinControl(c);
    TAbove above(c);
    recorder.Start();
    SendMessageW(c, kPing, 1, 2);
    skin->Free();
    SendMessageW(c, kPing, 3, 4);
    recorder.Stop();
    std::vector<TExpect> expected = Through(kPing, {"above", "ours", "proc"});
    for (const TExpect& e : Through(kPing, {"above", "proc"})) expected.push_back(e);
    EXPECT_TRUE(recorder.Matches(recorder.Of(c), expected));
    EXPECT_EQ(ProcOf(c), &TAbove::Proc);
    DestroyOnceThrough(c, {"above", "proc"});
}

TEST_F(ChainSeq, ControlSkinUnderAForeignSubclassSeesTheDestroyOnce) {
    HWND parent = MakeRecorded();
    HWND c = MakeChild(parent);
    TLoggedSkin* skin = SkinControl(c);
    TAbove above(c);
    DestroyOnceThrough(c, {"above", "ours", "proc"});
    skin->Free();
}

// The message being handled still reaches the window's own procedure.
TEST_F(ChainSeq, ControlSkinFreedWhileHandlingAMessage) {
    HWND parent = MakeRecorded();
    HWND c = MakeChild(parent);
    const WNDPROC original = ProcOf(c);
    TLoggedSkin* skin = SkinControl(c);
    skin->freeOn = kPing;
    recorder.Start();
    SendMessageW(c, kPing, 1, 2);  // frees the skin on the way: the message still reaches the window
    SendMessageW(c, kPing, 3, 4);
    recorder.Stop();
    std::vector<TExpect> expected = Through(kPing, {"ours", "proc"});
    for (const TExpect& e : Through(kPing, {"proc"})) expected.push_back(e);
    EXPECT_TRUE(recorder.Matches(recorder.Of(c), expected));
    EXPECT_EQ(ProcOf(c), original);
    DestroyOnceThrough(c, {"proc"});
}

TEST_F(ChainSeq, ForeignSubclassLeavingMidDispatchKeepsOursInPlace) {
    HWND parent = MakeRecorded();
    HWND c = MakeChild(parent);
    TLoggedSkin* skin = SkinControl(c);
    const WNDPROC ours = ProcOf(c);
    TAbove above(c);
    above.leaveOn = kPing;
    recorder.Start();
    SendMessageW(c, kPing, 1, 2);
    SendMessageW(c, kPing, 3, 4);
    recorder.Stop();
    std::vector<TExpect> expected = Through(kPing, {"above", "ours", "proc"});
    for (const TExpect& e : Through(kPing, {"ours", "proc"})) expected.push_back(e);
    EXPECT_TRUE(recorder.Matches(recorder.Of(c), expected));
    EXPECT_EQ(ProcOf(c), ours);
    DestroyOnceThrough(c, {"ours", "proc"});
    skin->Free();
}

// ---- one pool of thunks

// Every skin kind's thunk comes from one pool: the slot a control skin gives
// back is the next one a form skin takes.
TEST_F(ChainSeq, SkinKindsShareOnePoolOfThunks) {
    HWND parent = MakeRecorded();
    HWND c = MakeChild(parent);
    TLoggedSkin* skin = SkinControl(c);
    const WNDPROC controlThunk = ProcOf(c);
    EXPECT_TRUE(ThunkPoolOwns(reinterpret_cast<const void*>(controlThunk)));
    const TThunkPoolStats before = ThunkPoolStats();
    skin->Free();  // ours is current: the procedure goes back, the slot is free
    EXPECT_EQ(ThunkPoolStats().used, before.used - 1);
    HWND w = MakeRecorded();
    ASSERT_NE(Skinned(w), nullptr);
    EXPECT_EQ(ProcOf(w), controlThunk);
    EXPECT_EQ(ThunkPoolStats().pages, before.pages);
}

// A thunk left under a foreign subclass keeps its slot until the window's
// WM_NCDESTROY has gone through it.
TEST_F(ChainSeq, AThunkLeftInAChainIsFreedWhenTheWindowGoes) {
    HWND parent = MakeRecorded();
    HWND c = MakeChild(parent);
    const std::size_t used = ThunkPoolStats().used;
    TLoggedSkin* skin = SkinControl(c);
    TAbove above(c);
    skin->Free();
    EXPECT_EQ(ThunkPoolStats().used, used + 1);
    DestroyOnceThrough(c, {"above", "proc"});
    EXPECT_EQ(ThunkPoolStats().used, used);
}

}  // namespace
}  // namespace srt

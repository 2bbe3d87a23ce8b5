// The UI state a skinned window keeps: what each action does to the
// hide-focus flag.
#include <gtest/gtest.h>

#include "skin/form/uistate.h"

namespace srt {
namespace {

TEST(UiState, ActionsOnTheHideFocusFlag) {
    TUiState s;
    EXPECT_EQ(s.Flags(), uis::HideFocus);
    EXPECT_FALSE(s.Apply(uis::Clear, uis::HideAccel)) << "another flag leaves focus alone";
    EXPECT_TRUE(s.Apply(uis::Clear, uis::HideFocus | uis::HideAccel));
    EXPECT_EQ(s.Flags(), 0);
    EXPECT_FALSE(s.Apply(uis::Clear, uis::HideFocus));
    EXPECT_TRUE(s.Apply(uis::Initialize, 0));
    EXPECT_TRUE(s.Apply(uis::Clear, uis::HideFocus));
    EXPECT_TRUE(s.Apply(uis::Set, uis::HideFocus));
    EXPECT_FALSE(s.Apply(7, uis::HideFocus)) << "an unknown action";
}

}  // namespace
}  // namespace srt

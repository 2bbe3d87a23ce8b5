// A form skin's messages at start and at stop, as the window's own
// procedure ("proc") and the hooks ("sent", "posted") see them.
#include "tests/msgseq/recordedform.h"

namespace srt {
namespace {

using namespace formtest;
using namespace msgseq;

using FormSeq = RecordedForms;

constexpr auto kStyle = static_cast<WPARAM>(GWL_STYLE);
constexpr const char* kProc = "proc";

// Attaching sends the query (answered by the window itself), reads the
// caption and strips the caption-button styles; the posted start message
// then widens the frame around the client area and activates the window.
// The skin keeps WM_NCACTIVATE, WM_NCPAINT and, with no form object,
// WM_ERASEBKGND to itself. Under Wine the region cut at the start may
// bring one more frame paint.
TEST_F(FormSeq, StartQueriesAttachesAndHandlesThePrivateStartMessage) {
    HWND w = MakeRecorded();
    recorder.Start();
    ASSERT_NE(Skinned(w), nullptr);
    recorder.Stop();
    const std::vector<TExpect> expected = {
        {kSent, kWmSkinQuery}, {kProc, kWmSkinQuery},
        {kSent, WM_GETTEXT}, {kProc, WM_GETTEXT},
        {kSent, WM_STYLECHANGING, kWParam, kStyle}, {kProc, WM_STYLECHANGING, kWParam, kStyle},
        {kSent, WM_STYLECHANGED, kWParam, kStyle}, {kProc, WM_STYLECHANGED, kWParam, kStyle},
        // The caption buttons' tooltip asks for each tool (close, maximise, minimise).
        {kSent, WM_NOTIFYFORMAT}, {kProc, WM_NOTIFYFORMAT},
        {kSent, WM_NOTIFYFORMAT}, {kProc, WM_NOTIFYFORMAT},
        {kSent, WM_NOTIFYFORMAT}, {kProc, WM_NOTIFYFORMAT},
        {kPosted, kWmSkinStart, kWParam | kLParam, 0, kSkinStartLParam},
        {kSent, WM_WINDOWPOSCHANGING}, {kProc, WM_WINDOWPOSCHANGING},
        {kSent, WM_GETMINMAXINFO}, {kProc, WM_GETMINMAXINFO},
        {kSent, WM_STYLECHANGING, kWParam, kStyle}, {kProc, WM_STYLECHANGING, kWParam, kStyle},
        {kSent, WM_STYLECHANGED, kWParam, kStyle}, {kProc, WM_STYLECHANGED, kWParam, kStyle},
        {kSent, WM_NCCALCSIZE, kWParam, TRUE}, {kProc, WM_NCCALCSIZE, kWParam, TRUE},
        // Activation: the application may be active already.
        {kSent, WM_QUERYNEWPALETTE, kOptional}, {kProc, WM_QUERYNEWPALETTE, kOptional},
        {kSent, WM_ACTIVATEAPP, kOptional | kWParam, TRUE}, {kProc, WM_ACTIVATEAPP, kOptional | kWParam, TRUE},
        {kSent, WM_NCACTIVATE, kWParam, TRUE},
        {kSent, WM_ACTIVATE, kWParam, WA_ACTIVE}, {kProc, WM_ACTIVATE, kWParam, WA_ACTIVE},
        {kSent, WM_SETFOCUS}, {kProc, WM_SETFOCUS},
        {kSent, WM_NCPAINT},
        {kSent, WM_ERASEBKGND},
        {kSent, WM_WINDOWPOSCHANGED}, {kProc, WM_WINDOWPOSCHANGED},
        {kSent, WM_MOVE}, {kProc, WM_MOVE},
        // The region.
        {kSent, WM_WINDOWPOSCHANGING}, {kProc, WM_WINDOWPOSCHANGING},
        {kSent, WM_NCCALCSIZE, kWParam, TRUE}, {kProc, WM_NCCALCSIZE, kWParam, TRUE},
        {kSent, WM_NCPAINT}, {kSent, WM_GETTEXT}, {kProc, WM_GETTEXT},
        {kSent, WM_ERASEBKGND},
        {kSent, WM_WINDOWPOSCHANGED}, {kProc, WM_WINDOWPOSCHANGED},
        {kPosted, WM_PAINT}, {kProc, WM_PAINT},
        {kSent, WM_NCPAINT, kOptional}, {kSent, WM_GETTEXT, kOptional}, {kProc, WM_GETTEXT, kOptional},
    };
    EXPECT_TRUE(recorder.Matches(recorder.Log(), expected));
}

// Stopping gives the window its procedure back first: everything the stop
// does afterwards (styles back, the frame narrowed, the region dropped,
// the repaint) and every later message reaches the window's procedure.
TEST_F(FormSeq, StopGivesTheProcedureBackBeforeRestoringTheFrame) {
    HWND w = MakeRecorded();
    ASSERT_NE(Skinned(w), nullptr);
    recorder.Start();
    Tick(maDeactivate);
    SendMessageW(w, WM_USER, 1, 2);
    EXPECT_NE(SendMessageW(w, kWmSkinQuery, 0, 0), 1);
    recorder.Stop();
    const std::vector<TExpect> expected = {
        {kSent, WM_STYLECHANGING, kWParam, kStyle}, {kProc, WM_STYLECHANGING, kWParam, kStyle},
        {kSent, WM_STYLECHANGED, kWParam, kStyle}, {kProc, WM_STYLECHANGED, kWParam, kStyle},
        {kSent, WM_WINDOWPOSCHANGING}, {kProc, WM_WINDOWPOSCHANGING},
        {kSent, WM_GETMINMAXINFO}, {kProc, WM_GETMINMAXINFO},
        {kSent, WM_NCCALCSIZE, kWParam, TRUE}, {kProc, WM_NCCALCSIZE, kWParam, TRUE},
        {kSent, WM_NCPAINT}, {kProc, WM_NCPAINT},
        {kSent, WM_GETTEXT}, {kProc, WM_GETTEXT},
        {kSent, WM_WINDOWPOSCHANGED}, {kProc, WM_WINDOWPOSCHANGED},
        {kSent, WM_MOVE}, {kProc, WM_MOVE},
        // The region dropped.
        {kSent, WM_WINDOWPOSCHANGING}, {kProc, WM_WINDOWPOSCHANGING},
        {kSent, WM_NCCALCSIZE, kWParam, TRUE}, {kProc, WM_NCCALCSIZE, kWParam, TRUE},
        {kSent, WM_NCPAINT}, {kProc, WM_NCPAINT},
        {kSent, WM_GETTEXT}, {kProc, WM_GETTEXT},
        {kSent, WM_WINDOWPOSCHANGED}, {kProc, WM_WINDOWPOSCHANGED},
        {kSent, WM_PAINT}, {kProc, WM_PAINT},
        {kSent, WM_ERASEBKGND}, {kProc, WM_ERASEBKGND},
        {kSent, WM_USER, kWParam | kLParam, 1, 2}, {kProc, WM_USER, kWParam | kLParam, 1, 2},
        {kSent, kWmSkinQuery}, {kProc, kWmSkinQuery},
    };
    EXPECT_TRUE(recorder.Matches(recorder.Log(), expected));
}

}  // namespace
}  // namespace srt

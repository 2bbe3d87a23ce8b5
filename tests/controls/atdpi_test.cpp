// Control skins painted at the screen's DPI: run
// in the main prefix (96) and in the copies at 120, 144 and 192 DPI. The
// process declares itself DPI-aware as the programs' manifest does.
#include "fixture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

#include "component/comctrls.h"
#include "component/dpi.h"
#include "skin/controls/edits.h"
#include "skin/controls/indicators.h"
#include "skin/controls/trackgeom.h"

using namespace ctltest;
using namespace srt;

namespace {

int ExpectedDpi() {
    const char* text = std::getenv("SRT_TEST_DPI");
    return text && *text ? std::atoi(text) : kDesignDpi;
}

class AtTheScreensDpi : public Fixture {
protected:
    void SetUp() override {
        // Before the first window: the process then sees the screen's DPI.
        SetProcessDPIAware();
        Fixture::SetUp();
    }
    const int dpi = ExpectedDpi();
};

TIntRect ToInt(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// The ticks and the channel are the platform's at 96 DPI and drawn at their
// scaled sizes at any other: no one-pixel dots or hairline channel at 192.
TEST_F(AtTheScreensDpi, TrackBarTicksAndChannelHaveTheirScaledSizes) {
    ASSERT_EQ(WindowDpi(form->Handle()), dpi);
    auto* track = new TTrackBar(form);
    track->SetBounds(ScaleToDpi(10, dpi), ScaleToDpi(10, dpi), ScaleToDpi(250, dpi), ScaleToDpi(45, dpi));
    track->SetRange(0, 10);
    track->SetParent(form);
    track->HandleNeeded();
    track->SetPosition(2);
    auto* skin = new TSkinTrackBar(skins.get());
    skin->InitControl(track, data.get(), false);
    const HWND h = track->Handle();
    RECT client;
    GetClientRect(h, &client);
    TBitmap b(client.right, client.bottom);
    // The platform paints and asks the skin, through the form, for each part.
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(b.Canvas()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();

    TTrackLayout t;
    RECT channel, thumb;
    SendMessageW(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    t.Channel = ToInt(channel);
    t.Thumb = ToInt(thumb);
    t.Min = 0;
    t.Max = 10;
    std::vector<std::int32_t> values;
    const int count = static_cast<int>(SendMessageW(h, TBM_GETNUMTICS, 0, 0)) - 2;
    for (int i = 0; i < count; ++i) values.push_back(static_cast<std::int32_t>(SendMessageW(h, TBM_GETTIC, i, 0)));
    ASSERT_EQ(values.size(), 9u);
    const std::vector<TIntRect> ticks = TrackTicks(t, values, dpi);
    const COLORREF tick = At(b, ticks[0].left, ticks[0].top);
    const COLORREF back = At(b, client.right - 1, client.bottom - 1);
    ASSERT_NE(tick, back);
    // Every tick whole in one colour, and nothing else of it below the thumb.
    int area = 0;
    for (const TIntRect& r : ticks) {
        area += (r.right - r.left) * (r.bottom - r.top);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) ASSERT_EQ(At(b, x, y), tick) << x << "," << y;
    }
    int painted = 0;
    for (int y = thumb.bottom; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) painted += At(b, x, y) == tick ? 1 : 0;
    EXPECT_EQ(painted, area);
    EXPECT_EQ(ticks[0].right - ticks[0].left, ScaleToDpi(1, dpi));

    // The channel's edge is as thick as one pixel at 96 DPI, scaled, across a
    // channel four pixels thick scaled; clear of the thumb.
    const TIntRect c = TrackChannel(t.Channel, false, dpi);
    const int x = thumb.right + ScaleToDpi(20, dpi);
    EXPECT_EQ(At(b, x, c.top - 1), back);
    EXPECT_EQ(At(b, x, c.bottom), back);
    const COLORREF edge = At(b, x, c.top);
    for (int y = c.top; y < c.top + ScaleToDpi(1, dpi); ++y) EXPECT_EQ(At(b, x, y), edge) << y;
    EXPECT_NE(At(b, x, c.top + ScaleToDpi(1, dpi)), edge);
    EXPECT_EQ(At(b, x, c.bottom - 1), edge);
}

// The size grip of a status bar is the DPI's grip image, in the bottom-right
// corner one scaled pixel in: its dots as large as the scale makes them.
TEST_F(AtTheScreensDpi, StatusBarSizeGripIsTheScaledImage) {
    ASSERT_EQ(WindowDpi(form->Handle()), dpi);
    auto* bar = new TStatusBar(form);
    bar->SetBounds(0, ScaleToDpi(200, dpi), ScaleToDpi(300, dpi), ScaleToDpi(22, dpi));
    bar->SetParent(form);
    bar->HandleNeeded();
    bar->SetSimplePanel(true);
    ASSERT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    auto* skin = new TSkinStatusBar(skins.get());
    skin->InitControl(bar, data.get(), false);
    TBitmap b = Paint(*skin);
    const TDataSkinObject& base = *data->ExtraImages;
    TDataSkinObject& extra = *data->ElementsAt(dpi).ExtraImages;
    const int cw = extra.Image.Width() / extra.FrameCount, ch = extra.Image.Height();
    EXPECT_EQ(cw, ScaleToDpi(base.Image.Width() / base.FrameCount, dpi));
    EXPECT_EQ(ch, ScaleToDpi(base.Image.Height(), dpi));
    const int left = b.Width() - ScaleToDpi(1, dpi) - cw, top = b.Height() - ScaleToDpi(1, dpi) - ch;
    int dots = 0;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const COLORREF p = extra.Image.Pixel(4 * cw + x, y);
            if (p == RGB(255, 0, 255)) continue;
            ++dots;
            ASSERT_EQ(At(b, left + x, top + y), p) << x << "," << y;
        }
    EXPECT_GT(dots, 0);
}

// The drop-down button is painted where the combo box takes its clicks: the
// platform's button at the DPI, neither narrower nor reaching into the text;
// in the edge look and in the flat one (always on the right).
TEST_F(AtTheScreensDpi, ComboButtonCoversThePlatformsButton) {
    ASSERT_EQ(WindowDpi(form->Handle()), dpi);
    const COLORREF fill = RGB(1, 2, 3);
    for (const auto& [flat, left] : {std::pair{false, false}, {false, true}, {true, false}}) {
        SCOPED_TRACE(flat ? "flat" : left ? "left" : "right");
        data->ElementsAt(dpi).ComboButton->Style = flat ? 1 : 0;
        HWND combo = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, 10, 10, ScaleToDpi(150, dpi), 200,
                         left ? WS_EX_LEFTSCROLLBAR : 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        const RECT& platform = info.rcButton;
        EXPECT_EQ(platform.right - platform.left, SystemMetricForDpi(SM_CXVSCROLL, dpi));
        auto* skin = AttachRaw<TSkinComBox>(combo);
        TBitmap b = Paint(*skin, fill);
        RECT window, client;
        GetWindowRect(combo, &window);
        GetClientRect(combo, &client);
        ASSERT_EQ(window.right - window.left, client.right) << "no non-client edge";
        // Where the platform keeps the button on the right, the skin's on the
        // left is its mirror image.
        RECT button = platform;
        if (left && platform.left > b.Width() / 2) button = {b.Width() - platform.right, platform.top,
                                                             b.Width() - platform.left, platform.bottom};
        const int e = SystemMetricForDpi(SM_CXEDGE, dpi);
        const int mid = (button.top + button.bottom) / 2;
        for (int x = button.left; x < button.right; ++x) EXPECT_NE(At(b, x, mid), fill) << x;
        // The text area beside the button is the control's own.
        const int text = left ? button.right + e : button.left - e - 1;
        EXPECT_EQ(At(b, text, mid), fill);
    }
}

// Away from the design DPI an up-down's boxes keep the edges drawn for the
// scale on every side, however much wider or taller than their frame they
// are (a stretched frame thickens them: at 192 DPI three or four pixels
// against two).
TEST_F(AtTheScreensDpi, UpDownBoxesKeepTheEdgesOfTheirScale) {
    if (dpi == kDesignDpi) GTEST_SKIP() << "the design DPI stretches the frame whole";
    SetCursorPos(0, 0);
    for (bool horizontal : {true, false}) {
        HWND updown = Raw(UPDOWN_CLASSW, horizontal ? UDS_HORZ : 0, 150, 90, ScaleToDpi(horizontal ? 40 : 18, dpi),
                          ScaleToDpi(horizontal ? 18 : 40, dpi));
        auto* skin = AttachRaw<TSkinUpDown>(updown);
        TBitmap b = Paint(*skin);
        const int w = b.Width(), h = b.Height();  // the platform keeps a vertical one's own width
        const auto& upDown = data->ElementsAt(dpi).UpDown;
        TDataSkinBorder& element = *(horizontal ? upDown.Horz : upDown.Vert);
        const int fw = element.Image.Width() / 8, fh = element.Image.Height();
        // Runs of the edge colour from one end of a line of pixels.
        auto run = [](auto pixel, int from, int step, COLORREF colour) {
            int n = 0;
            while (n < 64 && pixel(from + n * step) == colour) ++n;
            return n;
        };
        if (horizontal) {
            auto art = [&](int x) { return element.Image.Pixel(x, fh / 2); };
            const COLORREF edge = art(0);
            const int lead = run(art, 0, 1, edge), trail = run(art, fw - 1, -1, edge);
            ASSERT_GT(lead, 0);
            auto shown = [&](int x) { return At(b, x, h / 2); };
            for (int box : {0, 1}) {
                const int x0 = box * (w / 2), x1 = box ? w : w / 2;
                EXPECT_EQ(run(shown, x0, 1, edge), lead) << "box " << box;
                EXPECT_EQ(run(shown, x1 - 1, -1, edge), trail) << "box " << box;
            }
        } else {
            auto art = [&](int y) { return element.Image.Pixel(fw / 2, y); };
            const COLORREF edge = art(0);
            const int lead = run(art, 0, 1, edge), trail = run(art, fh - 1, -1, edge);
            ASSERT_GT(lead, 0);
            auto shown = [&](int y) { return At(b, w / 2, y); };
            for (int box : {0, 1}) {
                const int y0 = box * (h / 2), y1 = box ? h : h / 2;
                EXPECT_EQ(run(shown, y0, 1, edge), lead) << "box " << box;
                EXPECT_EQ(run(shown, y1 - 1, -1, edge), trail) << "box " << box;
            }
        }
    }
}

// Without the skin's up-down elements the boxes are outlined as thick as a
// pixel scaled, and the arrows keep their 96-DPI shape at the scaled size.
TEST_F(AtTheScreensDpi, PlainUpDownOutlineAndArrowsScale) {
    // Before the records at the DPI are made from the 96-DPI ones.
    data->UpDown.Horz.reset();
    ASSERT_FALSE(data->ElementsAt(dpi).UpDown.Horz);
    SetCursorPos(0, 0);
    HWND updown = Raw(UPDOWN_CLASSW, UDS_HORZ, 150, 90, ScaleToDpi(40, dpi), ScaleToDpi(18, dpi));
    auto* skin = AttachRaw<TSkinUpDown>(updown);
    TBitmap b = Paint(*skin);
    const COLORREF ink = Gdi(data->Colours.ButtonDkShadow), face = Gdi(data->Colours.ButtonFace);
    const int line = ScaleToDpi(1, dpi), half = b.Width() / 2, h = b.Height();
    // The left box: its outline on each side, then its face.
    for (const auto& [x, y, dx, dy] : {std::array{half / 4, 0, 0, 1}, {half / 4, h - 1, 0, -1}, {0, h / 4, 1, 0},
                                       {half - 1, h / 4, -1, 0}}) {
        for (int i = 0; i < line; ++i) EXPECT_EQ(At(b, x + i * dx, y + i * dy), ink) << x << "," << y << " +" << i;
        EXPECT_EQ(At(b, x + line * dx, y + line * dy), face) << x << "," << y;
    }
    // The left arrow's tallest column: 5 pixels at 96 DPI, scaled (within a pixel).
    int tallest = 0;
    for (int x = line; x < half - line; ++x) {
        int n = 0;
        for (int y = line; y < h - line; ++y) n += At(b, x, y) == ink;
        tallest = std::max(tallest, n);
    }
    EXPECT_NEAR(tallest, ScaleToDpi(5, dpi), 1);
}

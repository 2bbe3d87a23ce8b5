// A transparent label repainted gives the same pixels every time, whatever
// brought the paint: an invalidation with or without erasing, the skin's
// frame redraw, another window covering it and going. Smoothed text blends
// with what lies beneath, so text drawn over itself shows as heavier edges.
// Run at the screen's DPI (SRT_TEST_DPI; 96 without).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "component/dpi.h"
#include "component/groups.h"
#include "mainform.h"

namespace {

using srt::app::TLanguage;

int ScreenDpi() {
    const char* dpi = std::getenv("SRT_TEST_DPI");
    return dpi ? std::atoi(dpi) : srt::kDesignDpi;
}

void Settle() {
    for (int i = 0; i < 10; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

// The pixels of `r` (client coordinates of `window`) as shown.
std::vector<std::uint32_t> Capture(HWND window, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    return pixels;
}

// How many pixels differ.
int Changed(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

// A window of another program's kind over `r` (client coordinates of
// `window`), shown and then gone.
void CoverAndUncover(HWND window, RECT r) {
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_BORDER, r.left - 4,
                                 r.top - 4, r.right - r.left + 8, r.bottom - r.top + 8, nullptr, nullptr, nullptr,
                                 nullptr);
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
    Settle();
    DestroyWindow(cover);
    Settle();
    UpdateWindow(window);
}

// Every way a repaint reaches the label, each three times; what differs
// from the first picture, named.
std::string RepaintDifferences(HWND window, const RECT& r) {
    const std::vector<std::uint32_t> first = Capture(window, r);
    std::string out;
    auto check = [&](const char* what, int round) {
        if (int n = Changed(first, Capture(window, r)))
            out += std::string(what) + " #" + std::to_string(round) + ": " + std::to_string(n) + " pixels\n";
    };
    for (int round = 1; round <= 3; ++round) {
        InvalidateRect(window, &r, TRUE);
        UpdateWindow(window);
        check("erased", round);
        InvalidateRect(window, &r, FALSE);
        UpdateWindow(window);
        check("not erased", round);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        check("frame redraw", round);
        CoverAndUncover(window, r);
        check("covered", round);
    }
    return out;
}

class MainWindowLabel : public ::testing::TestWithParam<TLanguage> {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
        form = Application->CreateForm<TForm1>();
        form->SetLanguage(GetParam());
        form->Show();
        Settle();
    }
    void TearDown() override { app_.reset(); }

    std::unique_ptr<TApplication> app_;
    TForm1* form = nullptr;
};

TEST_P(MainWindowLabel, RepaintsToTheSamePixels) {
    ASSERT_TRUE(form->Label1->Transparent());
    EXPECT_EQ(RepaintDifferences(form->Handle(), form->Label1->BoundsRect()), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowLabel, ::testing::Values(TLanguage::Chinese, TLanguage::English),
                         [](const auto& info) { return info.param == TLanguage::English ? "English" : "Chinese"; });

// A transparent label over another graphic control and over a panel's
// face: what shows through it is painted again with it, in large smoothed
// text whatever the DPI.
TEST(TransparentLabel, KeepsWhatLiesBeneathIt) {
    auto app = std::make_unique<TApplication>();
    const int dpi = ScreenDpi();
    auto* form = new TForm(Application);
    form->SetBounds(40, 40, srt::ScaleToDpi(420, dpi), srt::ScaleToDpi(260, dpi));
    form->SetColor(static_cast<TColor>(0xE0E0E0));
    auto label = [&](TWinControl* parent, int x, int y, int w, bool transparent, TColor colour, const char* text) {
        auto* l = new TLabel(form);
        l->SetParent(parent);
        l->SetBounds(srt::ScaleToDpi(x, dpi), srt::ScaleToDpi(y, dpi), srt::ScaleToDpi(w, dpi),
                     srt::ScaleToDpi(40, dpi));
        l->SetParentFont(false);
        l->Font()->SetName("宋体");
        l->Font()->SetCharset(134);
        l->Font()->SetHeight(srt::ScaleToDpi(-28, dpi));
        l->Font()->SetColor(static_cast<TColor>(0x802000));
        if (!transparent) {
            l->SetParentColor(false);
            l->SetColor(colour);
        }
        l->SetTransparent(transparent);
        l->SetCaption(text);
        return l;
    };
    // Beneath: an opaque label in yellow; over its right part and beyond,
    // a transparent one whose text runs on over the form.
    label(form, 10, 10, 80, false, static_cast<TColor>(0x00FFFF), "");
    TLabel* over = label(form, 40, 20, 300, true, clNone, "Offset in ms");
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(srt::ScaleToDpi(10, dpi), srt::ScaleToDpi(90, dpi), srt::ScaleToDpi(380, dpi),
                     srt::ScaleToDpi(120, dpi));
    panel->SetParentColor(false);
    panel->SetColor(static_cast<TColor>(0xC0F0C0));
    TLabel* onPanel = label(panel, 10, 20, 300, true, clNone, "Offset in ms");
    form->Show();
    Settle();

    const RECT r = over->BoundsRect();
    const std::vector<std::uint32_t> first = Capture(form->Handle(), r);
    int yellow = 0;
    for (std::uint32_t p : first) yellow += p == 0xFFFF00;  // 0xRRGGBB as captured
    EXPECT_GT(yellow, 0) << "the label beneath shows through";
    EXPECT_EQ(RepaintDifferences(form->Handle(), r), "");
    EXPECT_EQ(RepaintDifferences(panel->Handle(), onPanel->BoundsRect()), "");
}

}  // namespace

// Timers and the image control.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "component/forms.h"

namespace {

// Runs the thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        else
            Sleep(1);
    }
}

TEST(Timer, OnlyAnEnabledTimerWithAnIntervalTicks) {
    int ticks = 0;
    auto timer = std::make_unique<TTimer>(nullptr);
    timer->OnTimer.Code = [&](TObject*) { ++ticks; };
    timer->SetEnabled(false);
    timer->SetInterval(5);
    PumpFor(80);
    EXPECT_EQ(ticks, 0);
    timer->SetInterval(0);
    timer->SetEnabled(true);
    PumpFor(80);
    EXPECT_EQ(ticks, 0);
    timer->SetInterval(5);
    PumpFor(150);
    EXPECT_GE(ticks, 1);
    // A timer freed with a tick due never calls back.
    const int seen = ticks;
    Sleep(30);
    timer.reset();
    PumpFor(50);
    EXPECT_EQ(ticks, seen);
}

TEST(Timer, AHandlerMayFreeItsOwnTimer) {
    int ticks = 0;
    auto* timer = new TTimer(nullptr);
    timer->OnTimer.Code = [&](TObject* sender) {
        ++ticks;
        delete static_cast<TTimer*>(sender);
    };
    timer->SetInterval(5);
    PumpFor(120);
    EXPECT_EQ(ticks, 1);
}

// A picture whose stream is its width and height bytes.
class TBox : public TGraphic {
public:
    bool LoadFromBytes(std::span<const std::uint8_t> bytes) override {
        if (bytes.size() != 2) return false;
        w = bytes[0];
        h = bytes[1];
        return true;
    }
    int Width() const override { return w; }
    int Height() const override { return h; }
    void Draw(HDC dc, int x, int y) override {
        RECT r{x, y, x + w, y + h};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    int w = 0, h = 0;
};

std::vector<std::uint8_t> BoxData(int w, int h) {
    const std::uint8_t stream[] = {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h)};
    return TPicture::StoredData("TBox", stream);
}

class Images : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        TGraphicFormat f;
        f.ClassName = "TBox";
        f.Extension = "box";
        f.Factory = [] { return std::make_unique<TBox>(); };
        app->GraphicFormats().Register(f);
        form = app->CreateForm<TForm>();
        form->SetClientWidth(100);
        form->SetClientHeight(80);
    }
    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
};

TEST_F(Images, AnImageDecodesWithTheApplicationsFormatsOnly) {
    EXPECT_EQ(TGraphicFormats::Current(), &app->GraphicFormats());
    auto* image = new TImage(form);
    image->Picture()->SetData(BoxData(4, 5));
    ASSERT_NE(image->Picture()->Graphic(), nullptr);
    EXPECT_EQ(image->Picture()->Graphic()->Width(), 4);
    app.reset();
    EXPECT_EQ(TGraphicFormats::Current(), nullptr);
    // Without an application the data is kept, undecoded.
    TImage orphan(nullptr);
    orphan.Picture()->SetData(BoxData(4, 5));
    EXPECT_EQ(orphan.Picture()->Graphic(), nullptr);
    EXPECT_EQ(orphan.Picture()->GraphicClassName(), "TBox");
}

TEST_F(Images, AutoSizeTakesThePicturesSizeAndCenterPaintsInTheMiddle) {
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 40, 30);
    image->Picture()->SetData(BoxData(6, 4));
    EXPECT_EQ(image->Width(), 40);  // not AutoSize: the size stays
    image->SetCenter(true);
    form->Show();
    UpdateWindow(form->Handle());
    HDC dc = GetDC(form->Handle());
    // Centred: (40-6)/2 = 17, (30-4)/2 = 13 inside the image.
    EXPECT_EQ(GetPixel(dc, 10 + 17, 10 + 13), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(dc, 10 + 16, 10 + 13), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(dc, 10, 10), RGB(0, 0, 0));
    ReleaseDC(form->Handle(), dc);
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 6);
    EXPECT_EQ(image->Height(), 4);
    image->Picture()->SetData(BoxData(9, 7));
    EXPECT_EQ(image->Width(), 9);
    EXPECT_EQ(image->Height(), 7);
}

TEST_F(Images, AtAnotherDpiAPictureThatGivesTheSizeOnlyMoves) {
    auto* sized = new TImage(form);
    sized->SetParent(form);
    sized->SetAutoSize(true);
    sized->Picture()->SetData(BoxData(6, 4));
    sized->SetBounds(10, 15, 6, 4);
    auto* empty = new TImage(form);
    empty->SetParent(form);
    empty->SetAutoSize(true);
    empty->SetBounds(10, 15, 40, 30);
    form->ChangeScale(144, 96);
    const RECT moved{15, 23, 15 + 6, 23 + 4};   // 22.5 rounds away from zero
    const RECT scaled{15, 23, 15 + 60, 23 + 45};
    const RECT sizedNow = sized->BoundsRect(), emptyNow = empty->BoundsRect();
    EXPECT_TRUE(EqualRect(&moved, &sizedNow));
    EXPECT_TRUE(EqualRect(&scaled, &emptyNow));
}

}  // namespace

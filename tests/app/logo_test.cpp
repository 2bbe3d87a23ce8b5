// The logo on the main window: Image1 shows the stored GIF with its
// transparent colour see-through, on the form's real painting.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "image/gif.h"
#include "mainform.h"

namespace {

class SilentPrompts : public TPrompts {
public:
    void Message(const std::string&, const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
};

}  // namespace

TEST(MainFormLogo, ShowsTheLogoWithTheFormColourThroughItsTransparentPixels) {
    SilentPrompts prompts;
    auto app = std::make_unique<TApplication>();
    Application->SetPrompts(&prompts);
    RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
    TForm1* form = Application->CreateForm<TForm1>();

    TImage* image = form->Image1;
    EXPECT_EQ(image->Picture()->GraphicClassName(), "TGIFImage");
    ASSERT_NE(image->Picture()->Graphic(), nullptr);
    EXPECT_EQ(image->Width(), 78);
    EXPECT_EQ(image->Height(), 79);

    std::ifstream in(std::string(SRT_SOURCE_DIR) + "/resources/logo/logo.gif", std::ios::binary);
    const std::vector<std::uint8_t> gif{std::istreambuf_iterator<char>(in), {}};
    srt::TGIFImage logo;
    logo.LoadFromBytes(gif);
    ASSERT_EQ(logo.Frames.size(), 1u);
    const std::vector<std::uint32_t> bgra = srt::FrameToBGRA(logo, *logo.Frames[0]);

    form->Show();
    UpdateWindow(form->Handle());
    const COLORREF background = ColorToRGB(form->Color());
    HDC dc = GetDC(form->Handle());
    int see = 0, opaque = 0, wrong = 0;
    for (int y = 0; y < 79; ++y)
        for (int x = 0; x < 78; ++x) {
            const std::uint32_t p = bgra[static_cast<std::size_t>(y) * 78 + x];
            const COLORREF want = p >> 24 ? RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) : background;
            (p >> 24 ? opaque : see)++;
            const COLORREF got = GetPixel(dc, image->Left() + x, image->Top() + y);
            if (got != want && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of " << want;
        }
    ReleaseDC(form->Handle(), dc);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(see, 0);
    EXPECT_GT(opaque, 0);
}

// At another DPI the window shows the logo drawn for the nearest scale, and
// the stored one again at 96.
TEST(MainFormLogo, ShowsTheLogoDrawnForTheNearestScale) {
    SilentPrompts prompts;
    auto app = std::make_unique<TApplication>();
    Application->SetPrompts(&prompts);
    RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
    TForm1* form = Application->CreateForm<TForm1>();
    TImage* image = form->Image1;
    const std::vector<std::uint8_t> stored = image->Picture()->Data();
    const struct {
        int dpi, width, height;
    } cases[] = {{120, 98, 99}, {144, 117, 119}, {192, 156, 158}, {168, 117, 119}, {96, 78, 79}, {100, 78, 79}};
    for (const auto& c : cases) {
        form->ShowLogoAtDpi(c.dpi);
        ASSERT_NE(image->Picture()->Graphic(), nullptr) << c.dpi;
        EXPECT_EQ(image->Width(), c.width) << c.dpi;
        EXPECT_EQ(image->Height(), c.height) << c.dpi;
    }
    EXPECT_EQ(image->Picture()->Data(), stored);
}

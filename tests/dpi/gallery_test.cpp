// Every gallery page at the screen's DPI (the prefix's LogPixels; SRT_TEST_DPI
// names it): each control lies where its 96-DPI layout puts it scaled once,
// the layout follows WM_DPICHANGED to another DPI and comes back to the
// same pixels. The 96-DPI layout is the page built on a DPI-unaware thread.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "component/dpi.h"
#include "gallery.h"
#include "launcher.h"
#include "skin/form/winskinform.h"
#include "skin/manager/skinmanager.h"
#include "tests/dpi/placement.h"

namespace {

using namespace srt::dpitest;

// The gallery as its program starts it: the launcher (main form, with the
// skin the pages take) in form skins.
class GalleryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        srt::InstallFormSkins();
        app_ = std::make_unique<TApplication>();
        RegisterGalleryClasses(Application->Classes());
        Application->CreateForm<TGalleryForm>()->Show();
    }
    void TearDown() override {
        app_.reset();
        srt::ReleaseSkinManager();
    }

private:
    std::unique_ptr<TApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GalleryEnvironment);

// The forms a page opens (pages of the platform's own windows open none).
std::vector<TCustomForm*> OpenPage(const gallery::TGalleryPage& page) {
    std::vector<TCustomForm*> before;
    for (int i = 0; i < Screen->FormCount(); ++i) before.push_back(Screen->Forms(i));
    page.show();
    std::vector<TCustomForm*> opened;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (std::find(before.begin(), before.end(), Screen->Forms(i)) == before.end()) opened.push_back(Screen->Forms(i));
    return opened;
}

void Close(const std::vector<TCustomForm*>& forms) {
    for (TCustomForm* form : forms) delete form;
}

class Page : public ::testing::TestWithParam<int> {
protected:
    const gallery::TGalleryPage& page = gallery::Pages()[static_cast<std::size_t>(GetParam())];
    const int dpi = ScreenDpi();
};

TEST_P(Page, EveryControlScalesOnceFromItsDesignAndRoundTripsThroughDpiChanged) {
    if (!TUnawareThread::Available()) GTEST_SKIP() << "no thread DPI contexts on this platform";
    if (std::string(page.name).starts_with("Message") || std::string(page.name).starts_with("MDI"))
        GTEST_SKIP() << "the platform's own windows";
    std::vector<std::vector<TPlacement>> design;
    {
        TUnawareThread unaware;
        const auto forms = OpenPage(page);
        for (TCustomForm* form : forms) design.push_back(PlacementsOf(*form));
        Close(forms);
    }
    ASSERT_FALSE(design.empty());

    const auto forms = OpenPage(page);
    ASSERT_EQ(forms.size(), design.size());
    // Another DPI, away from the screen's.
    const int other = dpi == 144 ? 192 : 144;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        TCustomForm& form = *forms[i];
        ASSERT_EQ(form.PixelsPerInch(), dpi);
        const auto shown = PlacementsOf(form);
        EXPECT_EQ(Misplaced(design[i], srt::kDesignDpi, shown, dpi), "") << form.Caption() << " at " << dpi;

        MoveToDpi(form, dpi, other);
        EXPECT_EQ(Misplaced(design[i], srt::kDesignDpi, PlacementsOf(form), other), "") << form.Caption() << " at " << other;
        MoveToDpi(form, other, dpi);
        EXPECT_EQ(Moved(shown, PlacementsOf(form)), "") << form.Caption() << " back at " << dpi;
    }
    Close(forms);
}

INSTANTIATE_TEST_SUITE_P(Gallery, Page, ::testing::Range(0, static_cast<int>(gallery::Pages().size())),
                         [](const auto& info) { return "Page" + std::to_string(info.param + 1); });

}  // namespace

#include "app/about_box.h"
#include "app/depth_picture.h"
#include "app/intro_form.h"
#include "app/main_form.h"
#include "form_fixture.h"

#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"
#include "widgets/palette.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WindowsTest : public ::testing::Test {
protected:
    TempProgramDir dir;
    void SetUp() override { plat::SetScreenOverride({1024, 768, 24}); }
    void TearDown() override {
        DestroyIntro();
        DestroyAboutBox();
        plat::ClearScreenOverride();
    }
    static void Release(QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent e(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(w, &e);
    }
};

} // namespace

TEST_F(WindowsTest, IntroCarriesTheLoadingGaugeUntilTheMainWindowShows) {
    EXPECT_FALSE(IntroProgress()); // no intro, no progress bar
    ShowIntro();
    ShowIntro();
    ASSERT_TRUE(IntroExists());
    TIntroForm* intro = IntroForm();
    EXPECT_EQ(intro->size(), QSize(282, 282));
    EXPECT_EQ(intro->pos(), QPoint(371, 243)); // centred on the screen
    EXPECT_EQ(intro->Text->text(), "Een ogenblik geduld, bezig met laden...");
    EXPECT_EQ(intro->Gauge->Progress(), 0);
    EXPECT_EQ(intro->Gauge->geometry(), QRect(5, 270, 270, 4));

    TMainForm form;
    form.LoadGauge = IntroProgress();
    ASSERT_TRUE(form.LoadGauge);
    form.LoadGauge(40);
    EXPECT_EQ(intro->Gauge->Progress(), 40);
    ASSERT_TRUE(form.FormCreate());
    const auto progress = IntroProgress();
    form.show();
    EXPECT_FALSE(IntroExists());
    progress(90); // a late report after the window went does no harm
}

TEST_F(WindowsTest, AboutBoxExistsOnceAndClosesOnKeysWithoutModifiers) {
    ShowAboutBox();
    TAboutBox* box = AboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->size(), QSize(329, 329));
    EXPECT_EQ(box->OstrelSBtn->geometry(), QRect(211, 207, 78, 95));
    EXPECT_EQ(box->KorvaneSBtn->geometry(), QRect(40, 267, 130, 40));
    EXPECT_EQ(box->OstrelSBtn->toolTip(), "Ga naar de website van uitgeverij Ostrel");
    EXPECT_FALSE(box->OstrelSBtn->FaceVisible());
    ShowAboutBox();
    EXPECT_EQ(AboutBox(), box);
    EXPECT_TRUE(box->isVisible());

    Release(box, Qt::Key_Escape, Qt::ShiftModifier);
    Release(box, Qt::Key_Return, Qt::ControlModifier);
    Release(box, Qt::Key_Escape, Qt::AltModifier);
    Release(box, Qt::Key_A, Qt::NoModifier);
    EXPECT_TRUE(box->isVisible());
    Release(box, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(box->isVisible());
    ShowAboutBox();
    EXPECT_EQ(AboutBox(), box); // hidden, not destroyed
    Release(box, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(WindowsTest, AboutBoxClosesWhenItLosesTheFocus) {
    QWidget other;
    other.show();
    ShowAboutBox();
    TAboutBox* box = AboutBox();
    QApplication::setActiveWindow(box);
    ASSERT_TRUE(box->isActiveWindow());
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(WindowsTest, HotSpotsOpenTheirSitesCloseAndMinimize) {
    plat::SetRegistryBackend(std::make_unique<FakeBrowserRegistry>());
    std::vector<std::string> opened;
    plat::SetShellLauncher([&](const plat::ShellRequest& r) {
        opened.push_back(r.parameters);
        return 42;
    });
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    form.show();
    QTest::mouseClick(Control<TBaseBtn>(form, "InfoBtn"), Qt::LeftButton);
    ASSERT_TRUE(AboutBoxExists());
    QTest::mouseClick(AboutBox()->KorvaneSBtn, Qt::LeftButton);
    EXPECT_FALSE(AboutBox()->isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    form.showNormal();
    ShowAboutBox();
    QTest::mouseClick(AboutBox()->OstrelSBtn, Qt::LeftButton);
    plat::SetRegistryBackend(nullptr);
    plat::SetShellLauncher({});
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_NE(opened[0], opened[1]);
    EXPECT_EQ(opened[0].rfind("http", 0), 0u);
}

TEST_F(WindowsTest, ShutdownShowsTheAboutBoxForTwoSeconds) {
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    form.show();
    int waited = 0;
    bool shownWhileWaiting = false;
    form.WaitMs = [&](int ms) {
        waited += ms;
        shownWhileWaiting = AboutBoxExists() && AboutBox()->isVisible() && !form.isVisible();
    };
    form.close();
    EXPECT_EQ(waited, 2000);
    EXPECT_TRUE(shownWhileWaiting);
    ASSERT_TRUE(AboutBoxExists());
    EXPECT_FALSE(AboutBox()->isVisible());
}

TEST_F(WindowsTest, PicturesFollowTheDisplayDepth) {
    QImage designed(40, 20, QImage::Format_RGB32);
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 20; ++y)
            designed.setPixel(x, y, qRgb(x * 6, 100 + y * 3, 200 - x * 2));
    EXPECT_EQ(PictureForDisplayDepth(designed, 24), designed);
    EXPECT_EQ(PictureForDisplayDepth(designed, 32), designed);
    const auto onlyFrom = [](const QImage& image, const QList<QRgb>& palette) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (!palette.contains(image.pixel(x, y) | 0xff000000u))
                    return false;
        return true;
    };
    const QImage at8 = PictureForDisplayDepth(designed, 8);
    EXPECT_TRUE(onlyFrom(at8, Pal256()));
    EXPECT_FALSE(onlyFrom(at8, Pal16()));
    EXPECT_TRUE(onlyFrom(PictureForDisplayDepth(designed, 16), Pal16()));
    EXPECT_TRUE(onlyFrom(PictureForDisplayDepth(designed, 4), Pal16()));
    EXPECT_TRUE(PictureForDisplayDepth(QImage(), 8).isNull());
}

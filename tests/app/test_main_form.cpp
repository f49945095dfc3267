#include "app/main_form.h"
#include "app/temp_dir.h"

#include "platform/screen.h"
#include "tests/common/temp_program_dir.h"

#include "markup/parser_control.h"
#include "tests/app/form_controls.h"
#include "widgets/base_btn.h"
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MainFormTest : public ::testing::Test {
protected:
    TempProgramDir dir;
    void TearDown() override { plat::ClearScreenOverride(); }
};

} // namespace

TEST_F(MainFormTest, PanelIsScaledAndCentredOnTheScreen) {
    plat::SetScreenOverride({1280, 1024, 32});
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    EXPECT_EQ(form.LayoutSize, 2);
    EXPECT_EQ(form.geometry(), QRect(0, 0, 1280, 1024));
    EXPECT_EQ(Control<QFrame>(form, "MainFormPanel")->geometry(), QRect(128, 128, 1024, 768));
    EXPECT_EQ(Control<QFrame>(form, "HeaderPnl")->geometry(), QRect(0, 0, 1024, 72));
    EXPECT_EQ(Control<TBaseBtn>(form, "QuitBtn")->geometry(), QRect(952, 0, 72, 72));
    EXPECT_EQ(Control<QFrame>(form, "MainPnl")->geometry(), QRect(242, 72, 782, 696));
    EXPECT_EQ(Control<QLabel>(form, "CaptionLbl")->font().pixelSize(), 20);
    EXPECT_EQ(Control<TBaseBtn>(form, "InfoBtn")->font().pixelSize(), 25); // designed at 16 pixels
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(MainFormTest, StartsOnTheLogOnPageWithItsStartState) {
    plat::SetScreenOverride({800, 600, 24});
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    EXPECT_EQ(form.LayoutSize, 0);
    EXPECT_EQ(Control<QFrame>(form, "MainFormPanel")->geometry(), QRect(80, 60, 640, 480));
    EXPECT_EQ(form.windowTitle(), "Zernox 2 ~ 1.0 release 1");
    EXPECT_EQ(Control<QLabel>(form, "CaptionLbl")->text(), "Zernox 2 ~ 1.0 release 1");
    EXPECT_EQ(form.ActivePageName(), "LogOnOff");
    EXPECT_EQ(form.StatusFlags(), 0);
    EXPECT_TRUE(Control<TBaseBtn>(form, "SoundBtn")->ButtonIsDown());
    EXPECT_EQ(form.UserProfile.TimeLimQt, 10);
    EXPECT_EQ(form.UserProfile.TimeLimTt, 10);
    EXPECT_FALSE(Control<QTimer>(form, "TestTimer")->isActive());
    EXPECT_EQ(Control<QTimer>(form, "TestTimer")->interval(), 1000);
    for (const char* page : {"Test", "Config", "Internet", "BkInfo", "Intro", "Help", "LogOnOff"})
        EXPECT_TRUE(form.ShowPage(page)) << page;
    EXPECT_FALSE(form.ShowPage("Nowhere"));
    EXPECT_EQ(form.ActivePageName(), "LogOnOff");
    EXPECT_TRUE(QDir(dir.Path() + "User").exists());
    EXPECT_EQ(QDir::currentPath() + '/', QDir(dir.Path()).canonicalPath() + '/');
}

TEST_F(MainFormTest, MarkupViewsTakeTheWindowsFontAtTenPoints) {
    plat::SetScreenOverride({800, 600, 24});
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    for (const GParserControl* view :
         {Control<GParserControl>(form, "TestView"), Control<GParserControl>(form, "BkInfoView"),
          Control<GParserControl>(form, "HelpView")}) {
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->font().family(), "Arial") << view->objectName().toStdString();
        EXPECT_EQ(view->font().pointSize(), 10) << view->objectName().toStdString();
        EXPECT_TRUE(view->HyperLinkFont().underline());
        EXPECT_EQ(view->HyperLinkFont().family(), "Arial");
    }
}

TEST_F(MainFormTest, TooSmallScreenRefusesToCreate) {
    plat::SetScreenOverride({630, 480, 24});
    TMainForm form;
    EXPECT_FALSE(form.FormCreate());
}

TEST_F(MainFormTest, DestructionEmptiesAndRemovesTheTempDirectory) {
    plat::SetScreenOverride({800, 600, 24});
    dir.Write("T/pic1.gif", "x");
    dir.Write("T/pic2", "y");
    {
        TMainForm form;
        ASSERT_TRUE(form.FormCreate());
    }
    EXPECT_FALSE(dir.Exists("T"));
}

TEST(TempDir, ASubdirectoryKeepsTheDirectoryButFilesGo) {
    TempProgramDir dir;
    dir.Write("T/a.bmp", "1");
    dir.Write("T/.hidden", "2");
    dir.Write("T/sub/inner", "3");
    CleanTempDir(dir.Path() + "T");
    EXPECT_TRUE(dir.Exists("T"));
    EXPECT_FALSE(dir.Exists("T/a.bmp"));
    EXPECT_FALSE(dir.Exists("T/.hidden"));
    EXPECT_TRUE(dir.Exists("T/sub/inner"));
    CleanTempDir(dir.Path() + "missing"); // nothing there: nothing happens
}

TEST(FormControls, AMissingMistypedOrDoubledNameFailsTheTestInsteadOfCrashing) {
    QWidget form;
    auto* label = new QLabel(&form);
    label->setObjectName(QStringLiteral("Caption"));
    auto* panel = new QFrame(&form);
    auto* nested = new QLabel(panel);
    nested->setObjectName(QStringLiteral("Nested"));
    EXPECT_EQ(Control<QLabel>(form, "Caption"), label);
    EXPECT_EQ(Control<QLabel>(form, "Nested"), nested); // found below other controls
    EXPECT_THROW(Control<QLabel>(form, "Missing"), std::runtime_error);
    EXPECT_THROW(Control<QLineEdit>(form, "Caption"), std::runtime_error);
    nested->setObjectName(QStringLiteral("Caption"));
    EXPECT_THROW(Control<QLabel>(form, "Caption"), std::runtime_error);
}

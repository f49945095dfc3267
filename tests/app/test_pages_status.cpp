#include "app/main_form.h"
#include "app/status_flags.h"
#include "form_fixture.h"

#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

class PagesTest : public ::testing::Test {
protected:
    TempProgramDir dir;
    void SetUp() override { plat::SetScreenOverride({800, 600, 24}); }
    void TearDown() override { plat::ClearScreenOverride(); }

    // A logged-on user with an age, on the log-on page.
    static void LogOn(CountingForm& form, const char* age = "30") {
        form.StatusFlags = sfLoggedOn;
        Control<QLineEdit>(form, "ConfigAgeEdit")->setText(QString::fromLatin1(age));
        form.UpdateStatus();
    }
};

} // namespace

TEST_F(PagesTest, EveryNamedControlExistsOnItsPage) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    const std::map<QString, QStringList> pages = {
        {"LogOnOff",
         {"LogOnOffBk", "LogOnOffHeaderLbl", "LogOnOffUserLstLbl", "LogOnOffUsersLst",
          "LogOnOffPWLbl", "LogOnOffPWEdit", "LogOnOffCPWLbl", "LogOnOffCPWEdit", "LogOnOffGoBtn",
          "LogOnOffAddBtn", "LogOnOffPWDelBtn"}},
        {"Config",
         {"ConfigBk", "ConfigHeaderLbl", "ConfigNameLbl", "ConfigName", "ConfigMaleChkBx",
          "ConfigFemaleChkBx", "ConfigAgeLbl", "ConfigAgeEdit", "ConfigAgeEditLbl", "ConfigHairLst",
          "ConfigEyesLst", "ConfigShoeSizeEdit", "ConfigDirectFBChkBx", "ConfigTimeLimitQChkBx",
          "ConfigTimeLimitQChkBxSpnnr", "ConfigTimeLimitTChkBx", "ConfigTimeLimitTChkBxSpnnr"}},
        {"Test",
         {"TestBk", "TestHeaderLbl", "RemarkLbl", "TestTextCtrl", "QuestionAnswerLbl",
          "QuestionTime", "TotalUserTime", "TimeLimitQGauge", "TimeLimitTGauge", "DeleteAnswerBtn",
          "PreviousQuestionBtn", "NextQuestionBtn"}},
        {"Internet", {"InternetBk", "InternetTextLbl", "InternetDownloadBtn", "InternetUpLoadBtn"}},
        {"BkInfo",
         {"BkInfoBk", "BkInfoHeaderLbl", "BkInfoIndexLstHeaderLbl", "BkInfoIndexLst",
          "BkInfoTextCtrl"}},
        {"Help", {"HelpBk", "HelpTextCtrl"}},
    };
    for (const auto& [page, names] : pages) {
        auto* p = Control<QStackedWidget>(form, "MainPages")
                      ->findChild<QWidget*>(page, Qt::FindDirectChildrenOnly);
        ASSERT_NE(p, nullptr) << page.toStdString();
        for (const QString& name : names)
            EXPECT_NE(p->findChild<QWidget*>(name), nullptr)
                << page.toStdString() << " " << name.toStdString();
    }
    // The page buttons at their places, scaled 1:1 in this layout.
    const std::pair<TBaseBtn*, int> nav[] = {{Control<TBaseBtn>(form, "LogOnOffBtn"), 5},
                                             {Control<TBaseBtn>(form, "ConfigBtn"), 52},
                                             {Control<TBaseBtn>(form, "InternetBtn"), 99},
                                             {Control<TBaseBtn>(form, "SelectTestBtn"), 163},
                                             {Control<TBaseBtn>(form, "PauseTestBtn"), 210},
                                             {Control<TBaseBtn>(form, "BkInfoBtn"), 273},
                                             {Control<TBaseBtn>(form, "HelpBtn"), 319}};
    for (const auto& [button, top] : nav) {
        EXPECT_EQ(button->parentWidget(), Control<QFrame>(form, "NavPnl"));
        EXPECT_EQ(button->geometry(), QRect(3, top, 145, 45)) << button->objectName().toStdString();
    }
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->property("ItemHeight").toInt(), 16);
}

TEST_F(PagesTest, FirstShowingAppliesTheRules) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    form.show();
    EXPECT_TRUE(Control<TBaseBtn>(form, "LogOnOffBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "HelpBtn")->isEnabled());
    for (TBaseBtn* b :
         {Control<TBaseBtn>(form, "ConfigBtn"), Control<TBaseBtn>(form, "InternetBtn"),
          Control<TBaseBtn>(form, "SelectTestBtn"), Control<TBaseBtn>(form, "PauseTestBtn"),
          Control<TBaseBtn>(form, "BkInfoBtn")})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(Control<TBaseBtn>(form, "LogOnOffBtn")->Caption(), "Aanmelden...");
    EXPECT_FALSE(Control<TBaseBtn>(form, "LogOnOffGoBtn")->isVisibleTo(&form));
}

TEST_F(PagesTest, AgeFieldUnlocksTestsAndInternet) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form, "");
    EXPECT_FALSE(Control<TBaseBtn>(form, "SelectTestBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(form, "InternetBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "ConfigBtn")->isEnabled());
    Control<QLineEdit>(form, "ConfigAgeEdit")->setText("0");
    form.UpdateStatus();
    EXPECT_FALSE(Control<TBaseBtn>(form, "SelectTestBtn")->isEnabled());
    Control<QLineEdit>(form, "ConfigAgeEdit")->setText("41");
    form.UpdateStatus();
    EXPECT_TRUE(Control<TBaseBtn>(form, "SelectTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "InternetBtn")->isEnabled());
    EXPECT_EQ(Control<TBaseBtn>(form, "LogOnOffBtn")->Caption(), "Afmelden...");
}

TEST_F(PagesTest, SettingsPageIsSavedOnceWhenLeftByAnyPageButton) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    form.ConfigBtnClick();
    EXPECT_EQ(form.ActivePageName(), "Config");
    EXPECT_TRUE(form.StatusFlags & sfConfigVisited);
    form.UpdateStatus();
    EXPECT_EQ(form.saves, 0); // still on the page
    form.InternetBtnClick();
    EXPECT_EQ(form.saves, 1);
    EXPECT_FALSE(form.StatusFlags & sfConfigVisited);
    form.UpdateStatus();
    form.BkInfoBtnClick();
    EXPECT_EQ(form.saves, 1); // not visited again, nothing to save

    const std::function<void()> leave[] = {
        [&] { form.LogOnOffBtnClick(); }, [&] { form.SelectTestBtnClick(); },
        [&] { form.BkInfoBtnClick(); }, [&] { form.InternetBtnClick(); }};
    int expected = 1;
    for (const auto& click : leave) {
        form.ConfigBtnClick();
        click();
        form.UpdateStatus();
        EXPECT_EQ(form.saves, ++expected);
    }
    // A real click on the button goes the same way.
    QTest::mouseClick(Control<TBaseBtn>(form, "ConfigBtn"), Qt::LeftButton);
    EXPECT_EQ(form.ActivePageName(), "Config");
    QTest::mouseClick(Control<TBaseBtn>(form, "LogOnOffBtn"), Qt::LeftButton);
    EXPECT_EQ(form.saves, expected + 1);
}

TEST_F(PagesTest, VisitMarksGoWhenTheirPageIsLeft) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    form.InternetBtnClick();
    EXPECT_TRUE(form.StatusFlags & sfInternetVisited);
    form.BkInfoBtnClick();
    EXPECT_FALSE(form.StatusFlags & sfInternetVisited);
    EXPECT_TRUE(form.StatusFlags & sfBkInfoVisited);
    EXPECT_EQ(form.topics, 1);
    form.SelectTestBtnClick();
    EXPECT_FALSE(form.StatusFlags & sfBkInfoVisited);
    EXPECT_TRUE(form.StatusFlags & sfTestPage);
    EXPECT_EQ(form.catalogues, 1);
    EXPECT_EQ(Control<QLabel>(form, "TestHeaderLbl")->text(), "Tests");
    form.LogOnOffBtnClick();
    EXPECT_FALSE(form.StatusFlags & sfTestPage);
}

TEST_F(PagesTest, BkInfoSelectsTheFirstTopicOnlyWhenNoneIsChosen) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    Control<QComboBox>(form, "BkInfoIndexLst")->clear();
    form.BkInfoBtnClick();
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), -1);
    Control<QComboBox>(form, "BkInfoIndexLst")->addItems({"3|Intelligentie", "9|Testen"});
    Control<QComboBox>(form, "BkInfoIndexLst")->setCurrentIndex(-1);
    form.BkInfoBtnClick();
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), 0);
    Control<QComboBox>(form, "BkInfoIndexLst")->setCurrentIndex(1);
    form.BkInfoBtnClick();
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), 1);
}

TEST_F(PagesTest, RunningTestLocksThePagesUntilAnAnswerOrAPause) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    form.UserProfile.TimeLimT = true;
    form.SelectTestBtnClick();
    form.StatusFlags |= sfTestRunning;
    form.QuestionNo = 1;
    form.TestQuestionCount = 3;
    form.ShownQuestionRec = 4;
    Control<QLabel>(form, "RemarkLbl")->setText("Vraag 1 van 3");
    form.UpdateStatus();
    for (TBaseBtn* b :
         {Control<TBaseBtn>(form, "LogOnOffBtn"), Control<TBaseBtn>(form, "ConfigBtn"),
          Control<TBaseBtn>(form, "InternetBtn"), Control<TBaseBtn>(form, "SelectTestBtn"),
          Control<TBaseBtn>(form, "PauseTestBtn"), Control<TBaseBtn>(form, "BkInfoBtn"),
          Control<TBaseBtn>(form, "HelpBtn")})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_FALSE(Control<TGauge>(form, "TimeLimitQGauge")->isVisibleTo(&form));
    EXPECT_TRUE(Control<TGauge>(form, "TimeLimitTGauge")->isVisibleTo(&form));
    EXPECT_EQ(Control<QLabel>(form, "RemarkLbl")->text(), "Vraag 1 van 3");

    Control<QLabel>(form, "QuestionAnswerLbl")->setText("Keuze: c");
    form.UpdateStatus();
    EXPECT_TRUE(Control<TBaseBtn>(form, "PauseTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "NextQuestionBtn")->isVisibleTo(&form));
    EXPECT_TRUE(Control<TBaseBtn>(form, "DeleteAnswerBtn")->isVisibleTo(&form));

    form.PauseTestBtnClick();
    EXPECT_TRUE(form.StatusFlags & sfTestPaused);
    EXPECT_TRUE(Control<TBaseBtn>(form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(form, "PauseTestBtn")->Caption(), "Test vervolgen");
    EXPECT_EQ(form.pausedRecords, 1);
    EXPECT_EQ(form.pausedTexts, 1);
    EXPECT_TRUE(Control<TBaseBtn>(form, "SelectTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "HelpBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(form, "ConfigBtn")->isEnabled());

    form.PauseTestBtnClick();
    EXPECT_FALSE(form.StatusFlags & sfTestPaused);
    EXPECT_FALSE(Control<TBaseBtn>(form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(form, "PauseTestBtn")->Caption(), "Test pauzeren");
    EXPECT_EQ(form.continues, 1);

    // The catalogue button clears every run flag and the remark.
    form.StatusFlags |= sfTestPaused;
    form.SelectTestBtnClick();
    EXPECT_FALSE(form.StatusFlags & (sfTestRunning | sfTestPaused | sfReviewing));
    EXPECT_TRUE(Control<QLabel>(form, "RemarkLbl")->text().isEmpty());
}

TEST_F(PagesTest, PausingOnTheLastQuestionEndsTheRun) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    form.SelectTestBtnClick();
    form.StatusFlags |= sfTestRunning;
    form.QuestionNo = 3;
    form.TestQuestionCount = 3;
    form.CatalogueText = "cached";
    Control<QLabel>(form, "QuestionAnswerLbl")->setText("Keuze: a");
    form.UpdateStatus();
    form.PauseTestBtnClick();
    EXPECT_EQ(form.pausedRecords, 1);
    EXPECT_EQ(form.catalogues, 2); // the catalogue is shown again
    EXPECT_FALSE(form.StatusFlags & (sfTestRunning | sfTestPaused));
    EXPECT_TRUE(form.StatusFlags & sfTestPage);
    EXPECT_FALSE(Control<TBaseBtn>(form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(form, "PauseTestBtn")->Caption(), "Test pauzeren");
    EXPECT_TRUE(form.CatalogueText.empty());
    EXPECT_EQ(form.ActivePageName(), "Test");
}

TEST_F(PagesTest, LogOnPageFollowsTheTypedName) {
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    Control<QComboBox>(form, "LogOnOffUsersLst")->setEditText("   ");
    form.UpdateStatus();
    EXPECT_FALSE(Control<QLineEdit>(form, "LogOnOffPWEdit")->isVisibleTo(&form));
    EXPECT_FALSE(Control<TBaseBtn>(form, "LogOnOffAddBtn")->isVisibleTo(&form));
    Control<QComboBox>(form, "LogOnOffUsersLst")->setEditText("Bert");
    form.UpdateStatus();
    EXPECT_TRUE(Control<QLineEdit>(form, "LogOnOffPWEdit")->isVisibleTo(&form));
    EXPECT_TRUE(Control<QLineEdit>(form, "LogOnOffCPWEdit")->isVisibleTo(&form));
    EXPECT_TRUE(Control<TBaseBtn>(form, "LogOnOffAddBtn")->isVisibleTo(&form));
    Control<QLineEdit>(form, "LogOnOffPWEdit")->setText("a");
    form.UpdateStatus();
    EXPECT_FALSE(Control<TBaseBtn>(form, "LogOnOffAddBtn")->isVisibleTo(&form));
}

TEST_F(PagesTest, HelpOpensTheOnlineHelpAndMinimizes) {
    plat::SetRegistryBackend(std::make_unique<FakeBrowserRegistry>());
    std::string opened;
    plat::SetShellLauncher([&](const plat::ShellRequest& r) {
        opened = r.parameters;
        return 42;
    });
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    form.show();
    form.HelpBtnClick();
    plat::SetRegistryBackend(nullptr);
    plat::SetShellLauncher({});
    const std::string query =
        "?lngid=31&programlabel=zernox2&programversionnumber=1011&show=onlinehelp";
    ASSERT_GE(opened.size(), query.size());
    EXPECT_EQ(opened.substr(opened.size() - query.size()), query);
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(form.ActivePageName(), "LogOnOff");
}

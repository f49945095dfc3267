#include "app/main_form.h"
#include "app/status_flags.h"
#include "form_fixture.h"

#include "markup/parser_control.h"
#include "platform/profile_file.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "tests/common/temp_program_dir.h"
#include "tests/recdb/db_bytes.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"

#include <QComboBox>
#include <QDir>
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
    void SetUp() override {
        plat::SetScreenOverride({800, 600, 24});
        plat::ClearProfileCache();
    }
    void TearDown() override {
        plat::ClearProfileCache();
        plat::ClearScreenOverride();
    }

    // A logged-on user with an age, on the log-on page.
    static void LogOn(CountingForm& form, const char* age = "30") {
        form.UserProfile.Name = "Piet";
        form.TestRun().SetLoggedOn();
        Control<QLineEdit>(form, "ConfigAgeEdit")->setText(QString::fromLatin1(age));
        form.UpdateStatus();
    }

    // One test of three one-click questions, read by FormCreate.
    void WriteTest() {
        dir.Write("D/IDbRecs.dat",
                  dbtest::File({
                      {"Test|getl00000000000", "Getallen"},
                      {"Test|getl00100000000", "Reeksen\r\n<a href=\"starttest\">Begin</a>"},
                      {"Test|getl00100101001a", "Vraag een <a href=\"a\">a</a>"},
                      {"Test|getl00100201001b", "Vraag twee <a href=\"b\">b</a>"},
                      {"Test|getl00100301001c", "Vraag drie <a href=\"c\">c</a>"},
                  }));
    }
    static void StartTest(CountingForm& form) {
        form.SelectTestBtnClick();
        form.TestTextHyperLinkClick("SELECTTEST#GETL001");
        form.TestTextHyperLinkClick("STARTTEST");
    }
    static std::string ViewText(const CountingForm& form) {
        return Control<GParserControl>(form, "TestView")->MarkupText().value_or("");
    }
    std::string Stored(const char* key) const {
        return plat::ReadProfileString(dir.Path() + "User/users.dat", "Piet.Answers", key);
    }
    void Store(const char* key, const char* value) const {
        QDir(dir.Path()).mkpath(QStringLiteral("User"));
        plat::WriteProfileString(dir.Path() + "User/users.dat", "Piet.Answers", key, value);
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
    EXPECT_TRUE(form.StatusFlags() & sfConfigVisited);
    form.UpdateStatus();
    EXPECT_EQ(form.saves, 0); // still on the page
    form.InternetBtnClick();
    EXPECT_EQ(form.saves, 1);
    EXPECT_FALSE(form.StatusFlags() & sfConfigVisited);
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
    EXPECT_TRUE(form.StatusFlags() & sfInternetVisited);
    form.BkInfoBtnClick();
    EXPECT_FALSE(form.StatusFlags() & sfInternetVisited);
    EXPECT_TRUE(form.StatusFlags() & sfBkInfoVisited);
    EXPECT_EQ(form.topics, 1);
    form.SelectTestBtnClick();
    EXPECT_FALSE(form.StatusFlags() & sfBkInfoVisited);
    EXPECT_TRUE(form.StatusFlags() & sfTestPage);
    EXPECT_EQ(ViewText(form).rfind("Kies een test", 0), 0u); // the catalogue
    EXPECT_EQ(Control<QLabel>(form, "TestHeaderLbl")->text(), "Tests");
    form.LogOnOffBtnClick();
    EXPECT_FALSE(form.StatusFlags() & sfTestPage);
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
    WriteTest();
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    form.UserProfile.TimeLimT = true;
    StartTest(form);
    ASSERT_TRUE(form.StatusFlags() & sfTestRunning);
    for (TBaseBtn* b :
         {Control<TBaseBtn>(form, "LogOnOffBtn"), Control<TBaseBtn>(form, "ConfigBtn"),
          Control<TBaseBtn>(form, "InternetBtn"), Control<TBaseBtn>(form, "SelectTestBtn"),
          Control<TBaseBtn>(form, "PauseTestBtn"), Control<TBaseBtn>(form, "BkInfoBtn"),
          Control<TBaseBtn>(form, "HelpBtn")})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_FALSE(Control<TGauge>(form, "TimeLimitQGauge")->isVisibleTo(&form));
    EXPECT_TRUE(Control<TGauge>(form, "TimeLimitTGauge")->isVisibleTo(&form));
    EXPECT_EQ(Control<QLabel>(form, "RemarkLbl")->text().left(13), "Vraag 1 van 3");

    form.TestTextHyperLinkClick("A");
    EXPECT_EQ(Control<QLabel>(form, "QuestionAnswerLbl")->text(), "Keuze: a");
    EXPECT_TRUE(Control<TBaseBtn>(form, "PauseTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "NextQuestionBtn")->isVisibleTo(&form));
    EXPECT_TRUE(Control<TBaseBtn>(form, "DeleteAnswerBtn")->isVisibleTo(&form));

    form.PauseTestBtnClick();
    EXPECT_TRUE(form.StatusFlags() & sfTestPaused);
    EXPECT_TRUE(Control<TBaseBtn>(form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(form, "PauseTestBtn")->Caption(), "Test vervolgen");
    EXPECT_EQ(Stored("getl001001").substr(0, 2), "a<"); // recorded at the pause
    EXPECT_EQ(ViewText(form), "Test is gepauzeerd");
    EXPECT_TRUE(Control<TBaseBtn>(form, "SelectTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(form, "HelpBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(form, "ConfigBtn")->isEnabled());

    form.PauseTestBtnClick();
    EXPECT_FALSE(form.StatusFlags() & sfTestPaused);
    EXPECT_FALSE(Control<TBaseBtn>(form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(form, "PauseTestBtn")->Caption(), "Test pauzeren");
    EXPECT_EQ(Control<QLabel>(form, "RemarkLbl")->text().left(13), "Vraag 2 van 3"); // went on

    // The catalogue button clears every run flag and the remark.
    form.TestTextHyperLinkClick("B");
    form.PauseTestBtnClick();
    ASSERT_TRUE(form.StatusFlags() & sfTestPaused);
    form.SelectTestBtnClick();
    EXPECT_FALSE(form.StatusFlags() & (sfTestRunning | sfTestPaused | sfReviewing));
    EXPECT_TRUE(Control<QLabel>(form, "RemarkLbl")->text().isEmpty());
    EXPECT_FALSE(Control<TBaseBtn>(form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(form, "PauseTestBtn")->Caption(), "Test pauzeren");
}

TEST_F(PagesTest, PausingOnTheLastQuestionEndsTheRun) {
    WriteTest();
    Store("getl001001", "a<38870,500><1000>");
    Store("getl001002", "b<38870,500><1000>");
    CountingForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    StartTest(form);
    ASSERT_EQ(form.TestRun().State().QuestionNo, 3);
    form.TestTextHyperLinkClick("C");
    form.CatalogueText = "cached";
    form.PauseTestBtnClick();
    EXPECT_EQ(Stored("getl001003").substr(0, 2), "c<");
    // The catalogue is shown again, built afresh with the new answer.
    EXPECT_NE(ViewText(form).find("[3 vragen, 3 beantwoord]"), std::string::npos);
    EXPECT_FALSE(form.StatusFlags() & (sfTestRunning | sfTestPaused));
    EXPECT_TRUE(form.StatusFlags() & sfTestPage);
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

// The Test page driven through the main window: whole stories from the
// catalogue through a run to the review, with the run's clock in the test's
// hand, checked on the controls and on the answers in users.dat.
#include "app/main_form.h"
#include "app/status_flags.h"
#include "form_fixture.h"
#include "test_page_fixture.h"

#include "markup/parser_control.h"
#include "platform/datetime.h"
#include "platform/profile_file.h"
#include "platform/screen.h"
#include "tests/common/temp_program_dir.h"
#include "tests/exam/test_engine_fixture.h"
#include "tests/recdb/db_bytes.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

TEST_F(TestPageTest, CatalogueSelectStartAndAnswerWithoutFeedback) {
    Start();
    Click(Control<TBaseBtn>(*form, "SelectTestBtn"));
    EXPECT_EQ(form->ActivePageName(), "Test");
    EXPECT_TRUE(InCatalogue());
    EXPECT_EQ(Control<QLabel>(*form, "TestHeaderLbl")->text(), "Tests");
    EXPECT_NE(ViewText().find("   <a href=\"selecttest#getl001\">Reeksen</a>\r\n"
                              "    <i> [3 vragen, 0 beantwoord] IQ=n.b.</i>\r\n\r\n"),
              std::string::npos);
    // Test 002's first question has an empty correct answer: unanswered, it
    // is right, and the group's IQ comes from the summed points.
    EXPECT_NE(ViewText().find("[2 vragen, 0 beantwoord] IQ=1100</i>"), std::string::npos);
    EXPECT_NE(ViewText().find("<i>Gemiddeld IQ=1040</i>"), std::string::npos);
    // The gauge that showed the build's progress is a hidden needle again.
    EXPECT_FALSE(Shown(Control<TGauge>(*form, "TimeLimitQGauge")));
    EXPECT_EQ(Control<TGauge>(*form, "TimeLimitQGauge")->Kind(), gkNeedle);
    EXPECT_TRUE(player->calls.contains("open 3.wav"));

    ASSERT_TRUE(ClickLink("SELECTTEST#GETL001"));
    EXPECT_EQ(Control<QLabel>(*form, "TestHeaderLbl")->text(), "Getallen - Reeksen");
    EXPECT_EQ(ViewText(), kRecords[1].second);
    EXPECT_FALSE(Running());

    ASSERT_TRUE(ClickLink("STARTTEST"));
    EXPECT_TRUE(Running());
    EXPECT_TRUE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_EQ(ViewText(), kRecords[2].second);
    EXPECT_EQ(Remark(), "Vraag 1 van 3 [Reeksen] IQ=n.b.");
    EXPECT_EQ(Answer(), "Keuze: ");
    EXPECT_TRUE(Shown(Control<QLabel>(*form, "QuestionAnswerLbl")));
    EXPECT_TRUE(Shown(Control<QLabel>(*form, "QuestionTime")) &&
                Shown(Control<QLabel>(*form, "TotalUserTime")));
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")) ||
                 Shown(Control<TBaseBtn>(*form, "DeleteAnswerBtn")));
    for (TBaseBtn* b :
         {Control<TBaseBtn>(*form, "LogOnOffBtn"), Control<TBaseBtn>(*form, "ConfigBtn"),
          Control<TBaseBtn>(*form, "InternetBtn"), Control<TBaseBtn>(*form, "SelectTestBtn"),
          Control<TBaseBtn>(*form, "PauseTestBtn"), Control<TBaseBtn>(*form, "BkInfoBtn"),
          Control<TBaseBtn>(*form, "HelpBtn")})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

    // Answer length 2: a and c make the answer, a third click starts anew.
    Choose({"A", "C"});
    EXPECT_EQ(Answer(), "Keuze: ac");
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")) &&
                Shown(Control<TBaseBtn>(*form, "DeleteAnswerBtn")));
    EXPECT_TRUE(Control<TBaseBtn>(*form, "PauseTestBtn")->isEnabled());
    Choose({"B"});
    EXPECT_EQ(Answer(), "Keuze: b");
    Click(Control<TBaseBtn>(*form, "DeleteAnswerBtn"));
    EXPECT_EQ(Answer(), "Keuze: ");
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    Choose({"A", "C"});

    Ticks(12);
    EXPECT_EQ(Control<QLabel>(*form, "QuestionTime")->text(), "Tijd deze vraag: 00:12");
    EXPECT_EQ(Control<QLabel>(*form, "TotalUserTime")->text(), "Totale tijd: 00:00:12");
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_EQ(Stored("getl001001"), Value("ac", 12000));
    EXPECT_EQ(ViewText(), kRecords[4].second);
    // 10 of 30 points: raw 66, looked up for 45 years.
    EXPECT_EQ(Remark(), "Vraag 2 van 3 [Reeksen] IQ=1066");
    EXPECT_EQ(Answer(), "Keuze: ");

    Choose({"B"});
    Ticks(3);
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_EQ(Stored("getl001002"), Value("b", 3000));
    Choose({"B"}); // wrong: c is right
    Ticks(4);
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_EQ(Stored("getl001003"), Value("b", 4000));

    // After the last question the run ends in a fresh catalogue.
    EXPECT_FALSE(Running());
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_TRUE(InCatalogue());
    EXPECT_NE(ViewText().find("[3 vragen, 3 beantwoord] IQ=1133</i>"), std::string::npos);
    EXPECT_NE(ViewText().find("Gemiddeld IQ=1120</i>"), std::string::npos); // 30 of 50 points
    EXPECT_TRUE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());
    EXPECT_TRUE(Remark().empty());
    EXPECT_TRUE(writeErrors.empty());
}

TEST_F(TestPageTest, TimerTicksReachTheRun) {
    Start();
    OpenTest();
    now += 7 * kSecond;
    // A zero interval fires at the next pass of the event loop: no waiting.
    Control<QTimer>(*form, "TestTimer")->setInterval(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(Control<QLabel>(*form, "QuestionTime")->text(), "Tijd deze vraag: 00:07");
}

TEST_F(TestPageTest, DirectFeedbackStoresAtTheFeedbackClick) {
    dir.Write("User/iusers.dat", "[Women.Answers]\r\ngetl001001=73\r\n[Age >30.Answers]\r\n"
                                 "getl001001=41\r\n");
    Start(true);
    OpenTest();
    EXPECT_EQ(Control<TBaseBtn>(*form, "NextQuestionBtn")->Caption(), "Feedback");
    Choose({"A", "C"});
    Ticks(5);
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    const std::string stored = Value("ac", 5000);
    EXPECT_EQ(Stored("getl001001"), stored);
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    const std::string text = ViewText();
    EXPECT_EQ(text.rfind(kRecords[2].second + "\r\n\r\nU gaf het goede antwoord ac\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nUitleg:\r\n\r\nSteeds maal twee: 16 en daarna 32."),
              std::string::npos);
    EXPECT_NE(text.find("Vrouwen 73%\r\nMannen \r\n"), std::string::npos);
    EXPECT_NE(text.find(">30 jaar 41%\r\n"), std::string::npos);
    EXPECT_EQ(Answer(), "Keuze: ac");
    EXPECT_EQ(Remark(), "Vraag 1 van 3 [Reeksen] IQ=1066");
    EXPECT_EQ(Control<TBaseBtn>(*form, "NextQuestionBtn")->Caption(), "Volgende vraag");
    // The feedback takes no choices.
    EXPECT_FALSE(Control<GParserControl>(*form, "TestView")->InputsEnabled());
    now += 30 * kSecond;
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_EQ(Stored("getl001001"), stored); // not stored again
    EXPECT_EQ(ViewText(), kRecords[4].second);
    EXPECT_TRUE(Control<GParserControl>(*form, "TestView")->InputsEnabled());
    EXPECT_EQ(Control<TBaseBtn>(*form, "NextQuestionBtn")->Caption(), "Feedback");
    EXPECT_TRUE(Control<QTimer>(*form, "TestTimer")->isActive());

    // A wrong answer names the right one; the last record has no explanation.
    Choose({"A"});
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_NE(ViewText().find("Uw antwoord a was fout, het juiste antwoord is b\r\n"),
              std::string::npos);
    EXPECT_EQ(ViewText().find("Uitleg:"), std::string::npos);
}

TEST_F(TestPageTest, QuestionTimeOutMovesOnWithWhatWasChosen) {
    Start();
    form->UserProfile.TimeLimQ = true;
    form->UserProfile.TimeLimQt = 10;
    OpenTest();
    EXPECT_TRUE(Shown(Control<TGauge>(*form, "TimeLimitQGauge")));
    EXPECT_FALSE(Shown(Control<TGauge>(*form, "TimeLimitTGauge")));
    Choose({"A"}); // half an answer
    Ticks(5);
    EXPECT_EQ(Control<TGauge>(*form, "TimeLimitQGauge")->Progress(), 50);
    Ticks(5); // 10 seconds is not more than the limit
    EXPECT_EQ(form->TestRun().State().QuestionNo, 1);
    EXPECT_EQ(Control<TGauge>(*form, "TimeLimitQGauge")->Progress(), 100);
    Ticks(1);
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    EXPECT_EQ(Stored("getl001001"), Value("a", 11000));
    EXPECT_EQ(ViewText(), kRecords[4].second);
    // Without any choice the empty answer is stored.
    Ticks(11);
    EXPECT_EQ(Stored("getl001002"), Value("", 11000));
    EXPECT_EQ(form->TestRun().State().QuestionNo, 3);
    EXPECT_TRUE(Control<QTimer>(*form, "TestTimer")->isActive());
}

TEST_F(TestPageTest, QuestionTimeOutWithFeedbackLeavesTheNextButton) {
    Start(true);
    form->UserProfile.TimeLimQ = true;
    form->UserProfile.TimeLimQt = 10;
    OpenTest();
    Ticks(11);
    EXPECT_EQ(Stored("getl001001"), Value("", 11000));
    EXPECT_NE(ViewText().find("U heeft deze vraag niet beantwoord, het juiste antwoord is ac"),
              std::string::npos);
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_EQ(Answer(), "Keuze: ");
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    // It stays when the status is refreshed again.
    form->UpdateStatus();
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    EXPECT_EQ(Control<TBaseBtn>(*form, "NextQuestionBtn")->Caption(), "Volgende vraag");
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    EXPECT_EQ(ViewText(), kRecords[4].second);
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    EXPECT_EQ(Control<TBaseBtn>(*form, "NextQuestionBtn")->Caption(), "Feedback");
}

TEST_F(TestPageTest, AnswerLengthZeroNeverShowsTheNextButton) {
    Start();
    form->UserProfile.TimeLimQ = true;
    form->UserProfile.TimeLimQt = 10;
    OpenTest("SELECTTEST#GETL002");
    EXPECT_EQ(Remark(), "Vraag 1 van 2 [Blind] IQ=1100");
    Choose({"X"});
    EXPECT_EQ(Answer(), "Keuze: ");
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    Ticks(11);
    // An empty correct answer left unanswered is right.
    EXPECT_EQ(Stored("getl002001"), Value("", 11000));
    EXPECT_EQ(Remark(), "Vraag 2 van 2 [Blind] IQ=1100");
}

TEST_F(TestPageTest, PauseStoresAndResumeGoesOnToTheNextQuestion) {
    Start();
    OpenTest();
    Choose({"A", "C"});
    Ticks(5);
    Click(Control<TBaseBtn>(*form, "PauseTestBtn"));
    EXPECT_EQ(Stored("getl001001"), Value("ac", 5000));
    const std::string stored = Stored("getl001001");
    EXPECT_EQ(ViewText(), "Test is gepauzeerd");
    EXPECT_TRUE(Control<TBaseBtn>(*form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(*form, "PauseTestBtn")->Caption(), "Test vervolgen");
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_TRUE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled() &&
                Control<TBaseBtn>(*form, "BkInfoBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(*form, "ConfigBtn")->isEnabled());
    EXPECT_NEAR(form->TestRun().State().UsedTime, 5 * kSecond, 1e-9);

    // The pause itself does not count.
    now += 600 * kSecond;
    Click(Control<TBaseBtn>(*form, "PauseTestBtn"));
    EXPECT_FALSE(Control<TBaseBtn>(*form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(*form, "PauseTestBtn")->Caption(), "Test pauzeren");
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    EXPECT_EQ(ViewText(), kRecords[4].second); // the paused question is not shown again
    EXPECT_EQ(Stored("getl001001"), stored);
    EXPECT_TRUE(Control<QTimer>(*form, "TestTimer")->isActive());
    Ticks(2);
    EXPECT_EQ(Control<QLabel>(*form, "TotalUserTime")->text(), "Totale tijd: 00:00:07");

    // The next-question button resumes a pause as well.
    Choose({"B"});
    Click(Control<TBaseBtn>(*form, "PauseTestBtn"));
    EXPECT_EQ(Stored("getl001002"), Value("b", 2000));
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_FALSE(HasFlag(form->StatusFlags(), sfTestPaused));
    EXPECT_FALSE(Control<TBaseBtn>(*form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(form->TestRun().State().QuestionNo, 3);
    EXPECT_EQ(ViewText(), kRecords[5].second);
}

TEST_F(TestPageTest, PauseOnTheLastQuestionEndsInTheCatalogue) {
    Start();
    OpenTest();
    for (const char* choice : {"A", "B"}) {
        Choose({choice});
        if (std::string(choice) == "A")
            Choose({"C"});
        Ticks(1);
        Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    }
    ASSERT_EQ(form->TestRun().State().QuestionNo, 3);
    Choose({"C"});
    Ticks(2);
    Click(Control<TBaseBtn>(*form, "PauseTestBtn"));
    EXPECT_EQ(Stored("getl001003"), Value("c", 2000));
    EXPECT_FALSE(HasFlag(form->StatusFlags(), sfTestRunning | sfTestPaused));
    EXPECT_FALSE(Control<TBaseBtn>(*form, "PauseTestBtn")->ButtonIsDown());
    EXPECT_EQ(Control<TBaseBtn>(*form, "PauseTestBtn")->Caption(), "Test pauzeren");
    EXPECT_TRUE(InCatalogue());
    // Every answer right: raw 200, above the table.
    EXPECT_NE(ViewText().find("[3 vragen, 3 beantwoord] IQ=>155</i>"), std::string::npos);
    EXPECT_TRUE(form->CatalogueText.empty()); // built again next time
}

TEST_F(TestPageTest, UsedUpTestLimitFillsTheRestAtTheFirstTick) {
    Store("getl001001", "ac<38000,0><660000>"); // eleven minutes in an earlier run
    Start();
    form->UserProfile.TimeLimT = true;
    form->UserProfile.TimeLimTt = 10;
    Click(Control<TBaseBtn>(*form, "SelectTestBtn"));
    ASSERT_TRUE(ClickLink("SELECTTEST#GETL001"));
    EXPECT_EQ(Control<QLabel>(*form, "TestHeaderLbl")->text(), "Getallen - Reeksen voortzetten");
    ASSERT_TRUE(ClickLink("STARTTEST"));
    // Continued from the first unanswered question with the time restored.
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    EXPECT_NEAR(form->TestRun().State().UsedTime, 660 * kSecond, 1e-9);
    EXPECT_TRUE(Shown(Control<TGauge>(*form, "TimeLimitTGauge")));
    Ticks(1);
    EXPECT_EQ(Stored("getl001001"), "ac<38000,0><660000>");
    EXPECT_EQ(Stored("getl001002"), Value("", 0));
    EXPECT_EQ(Stored("getl001003"), Value("", 0));
    EXPECT_FALSE(Running());
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_TRUE(InCatalogue());
    EXPECT_NE(ViewText().find("[3 vragen, 3 beantwoord] IQ=1066</i>"), std::string::npos)
        << ViewText();
}

TEST_F(TestPageTest, ContinuingWithinTheLimitCountsTheEarlierTime) {
    Store("getl001001", "a<38000,0><65000>");
    Start();
    form->UserProfile.TimeLimT = true;
    form->UserProfile.TimeLimTt = 10;
    OpenTest();
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    Ticks(10);
    EXPECT_EQ(Control<QLabel>(*form, "TotalUserTime")->text(), "Totale tijd: 00:01:15");
    EXPECT_EQ(Control<TGauge>(*form, "TimeLimitTGauge")->Progress(), 12); // 75 of 600 seconds
    EXPECT_TRUE(Running());
}

TEST_F(TestPageTest, ReviewWalksTheFeedbackWithinBounds) {
    Store("getl001001", "ac<38000,0><1000>");
    Store("getl001002", "a<38000,0><1000>");
    Store("getl001003", "<38000,0><0>");
    Start();
    Click(Control<TBaseBtn>(*form, "SelectTestBtn"));
    ASSERT_TRUE(ClickLink("SELECTTEST#GETL001"));
    EXPECT_EQ(Control<QLabel>(*form, "TestHeaderLbl")->text(), "Getallen - Reeksen nalopen");
    ASSERT_TRUE(ClickLink("STARTTEST"));
    EXPECT_TRUE(HasFlag(form->StatusFlags(), sfReviewing));
    EXPECT_FALSE(Running());
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_NE(ViewText().find("U gaf het goede antwoord ac"), std::string::npos);
    EXPECT_EQ(Remark(), "Vraag 1 van 3 [Reeksen] IQ=1066");
    EXPECT_FALSE(Shown(Control<QLabel>(*form, "QuestionAnswerLbl")));
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "PreviousQuestionBtn")) &&
                Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    EXPECT_FALSE(Control<TBaseBtn>(*form, "PreviousQuestionBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(*form, "NextQuestionBtn")->isEnabled());
    EXPECT_EQ(Control<TBaseBtn>(*form, "NextQuestionBtn")->Caption(), "Volgende vraag");
    // Review takes no choices: the view reports no link.
    ASSERT_TRUE(ClickLink("A"));
    EXPECT_NE(ViewText().find("U gaf het goede antwoord ac"), std::string::npos);
    EXPECT_EQ(form->TestRun().State().QuestionNo, 1);
    EXPECT_TRUE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());

    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_NE(ViewText().find("Uw antwoord a was fout, het juiste antwoord is b"),
              std::string::npos);
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    EXPECT_EQ(form->TestRun().State().QuestionNo, 3);
    EXPECT_NE(ViewText().find("U heeft deze vraag niet beantwoord, het juiste antwoord is c"),
              std::string::npos);
    EXPECT_FALSE(Control<TBaseBtn>(*form, "NextQuestionBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(*form, "PreviousQuestionBtn")->isEnabled());
    Click(Control<TBaseBtn>(*form, "PreviousQuestionBtn"));
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    EXPECT_EQ(Remark(), "Vraag 2 van 3 [Reeksen] IQ=1066");

    // The catalogue ends the review; stored answers stay as they were.
    Click(Control<TBaseBtn>(*form, "SelectTestBtn"));
    EXPECT_FALSE(HasFlag(form->StatusFlags(), sfReviewing));
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "PreviousQuestionBtn")) ||
                 Shown(Control<TBaseBtn>(*form, "NextQuestionBtn")));
    EXPECT_EQ(Stored("getl001002"), "a<38000,0><1000>");
}

TEST_F(TestPageTest, UnwritableUserFileIsReported) {
    Start();
    OpenTest();
    Choose({"A", "C"});
    // A directory where the file should be: nothing can be written.
    QDir(dir.Path()).mkpath("User/users.dat");
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    ASSERT_EQ(writeErrors.size(), 1u);
    EXPECT_TRUE(writeErrors.front().endsWith("User/users.dat"));
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2); // the run goes on
}

TEST_F(TestPageTest, QuestionPagePaintsTextAnswerAndTimes) {
    Start();
    form->UserProfile.TimeLimQ = true;
    form->UserProfile.TimeLimT = true;
    OpenTest();
    Choose({"A", "C"});
    Ticks(4);
    form->resize(800, 600);
    form->show();
    QCoreApplication::processEvents();
    const QImage page = Control<QFrame>(*form, "MainFormPanel")->grab().toImage();
    // Ink: pixels clearly darker than the light page, inside a control's box.
    const auto inked = [&](const QWidget* w) {
        const QRect r(w->mapTo(Control<QFrame>(*form, "MainFormPanel"), QPoint(0, 0)), w->size());
        int dark = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                dark += qGray(page.pixel(x, y)) < 110;
        return dark;
    };
    const bool ok = inked(Control<QScrollArea>(*form, "TestTextCtrl")) > 200 &&
                    inked(Control<QLabel>(*form, "QuestionAnswerLbl")) > 20 &&
                    inked(Control<QLabel>(*form, "RemarkLbl")) > 20 &&
                    inked(Control<QLabel>(*form, "QuestionTime")) > 20 &&
                    inked(Control<TGauge>(*form, "TimeLimitQGauge")) > 5;
    const QString saveTo = qEnvironmentVariable("ZENX_TEST_IMAGES");
    if (!ok || !saveTo.isEmpty())
        page.save((saveTo.isEmpty() ? QDir::currentPath() : saveTo) + "/test_page_question.png");
    EXPECT_TRUE(ok) << inked(Control<QScrollArea>(*form, "TestTextCtrl")) << " "
                    << inked(Control<QLabel>(*form, "QuestionAnswerLbl")) << " "
                    << inked(Control<QLabel>(*form, "RemarkLbl")) << " "
                    << inked(Control<QLabel>(*form, "QuestionTime")) << " "
                    << inked(Control<TGauge>(*form, "TimeLimitQGauge"));

    // The choices are underlined: an unbroken inked row under each link's
    // word, below the baseline, and nowhere beside it.
    THyperLinkList& links = Control<GParserControl>(*form, "TestView")->HyperLinks();
    ASSERT_EQ(links.Count(), 3);
    const int ascent =
        QFontMetrics(Control<GParserControl>(*form, "TestView")->HyperLinkFont()).ascent();
    for (int32_t i = 1; i <= links.Count(); ++i) {
        const THyperLinkRec* link = links.At(i);
        const QPoint at =
            Control<GParserControl>(*form, "TestView")
                ->mapTo(Control<QFrame>(*form, "MainFormPanel"), QPoint(link->Left, link->Top));
        const int width = link->Right - link->Left;
        const auto inkedRun = [&](int left, int right) {
            int best = 0;
            for (int y = at.y() + ascent + 1; y < at.y() + link->Bottom - link->Top; ++y) {
                int run = 0;
                for (int x = left; x < right; ++x) {
                    run = qGray(page.pixel(x, y)) < 110 ? run + 1 : 0;
                    best = std::max(best, run);
                }
            }
            return best;
        };
        EXPECT_GE(inkedRun(at.x(), at.x() + width), width - 1) << link->HRef;
        EXPECT_EQ(inkedRun(at.x() - 6, at.x()), 0) << link->HRef;
    }
}

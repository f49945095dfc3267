#include "exam/run.h"
#include "exam/run_timing.h"
#include "exam/stored_answers.h"
#include "platform/datetime.h"
#include "tests/exam/fake_test_page.h"
#include "tests/exam/test_engine_fixture.h"

#include <gtest/gtest.h>

using enginetest::Engine;
using enginetest::Records;
using S = TTestRunState;

namespace {

const double kSecond = 1.0 / 86400;

const Records kRun = {
    {"Test|getl00000000000", "Getallen"},                                   // 1
    {"Test|getl00100000000", "Reeksen\r\n<a href=\"starttest\">Begin</a>"}, // 2
    {"Test|getl00100101002ac", "Vraag een"},                                // 3
    {"Test|getl00100101002ac|uitleg", "Omdat a en c."},                     // 4
    {"Test|getl00200000000", "Blind"},                                      // 5
    {"Test|getl00200101000a", "Vraag zonder keuze"},                        // 6
    {"Test|getl00100201001b", "Vraag twee"},                                // 7
    {"Test|getl00100301001c", "Vraag drie"},                                // 8, the last record
};

// The main window's side of a run: cache, user, page and a clock that only
// moves when the test says so. The run owns its state; `s` reads it.
struct RunFixture {
    Engine e{kRun};
    std::string cache;
    TUserProfile user;
    FakeTestPage page;
    double now = plat::EncodeDateTime({2006, 6, 2, 12, 0, 0, 0});
    plat::ScopedClock clock{[this] { return now; }};
    TTestRun run{cache, e.db, e.index, user, page};
    const TTestRunState& s = run.State();

    RunFixture() {
        user.Name = "Piet";
        user.Age = 45;
        run.SetLoggedOn();
    }
    void Start(const char* test = "getl001") {
        run.ChooseTestBtnClick();
        run.TestTextHyperLinkClick(std::string("SELECTTEST#") + test);
        run.TestTextHyperLinkClick("STARTTEST");
    }
    // Lets `seconds` timer ticks happen, one a second.
    void Ticks(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            now += kSecond;
            if (page.timerRunning)
                run.TestTimerTimer();
        }
    }
    void Choose(std::initializer_list<const char*> targets) {
        for (const char* t : targets)
            run.TestTextHyperLinkClick(t);
    }
    std::string Stored(const char* key) const { return e.Stored("Piet", key); }
    std::string Time(int ms) const { return "<38870,500><" + std::to_string(ms) + ">"; }
    bool InCatalogue() const { return page.text.rfind("Kies een test", 0) == 0; }
};

} // namespace

TEST(TestRun, CatalogueThenSelectThenStart) {
    RunFixture r;
    r.run.ChooseTestBtnClick();
    EXPECT_TRUE(r.InCatalogue());
    EXPECT_EQ(r.page.header, "Tests");
    EXPECT_EQ(r.page.shown.front(), "Bezig met overzicht samen te stellen...");
    EXPECT_EQ(r.page.sounds, std::vector<std::string>{"a\\3.wav"});
    EXPECT_EQ(r.page.progress, (std::vector<int>{50, 100}));
    EXPECT_FALSE(r.page.progressShown);
    EXPECT_TRUE(r.s.Has(S::sfTestPage));

    r.run.TestTextHyperLinkClick("SELECTTEST#GETL001");
    EXPECT_EQ(r.s.CurrentTest, "getl001");
    EXPECT_EQ(r.page.header, "Getallen - Reeksen");
    EXPECT_EQ(r.page.text, "Reeksen\r\n<a href=\"starttest\">Begin</a>");
    EXPECT_EQ(r.s.ShownQuestionRec, 2);
    EXPECT_FALSE(r.s.Has(S::sfTestRunning));

    r.run.TestTextHyperLinkClick("STARTTEST");
    EXPECT_TRUE(r.s.Has(S::sfTestRunning));
    EXPECT_EQ(r.s.QuestionNo, 1);
    EXPECT_EQ(r.page.text, "Vraag een");
    EXPECT_EQ(r.s.ShownQuestionRec, 3);
    EXPECT_EQ(r.s.AnswerLength, 2);
    EXPECT_EQ(r.page.remark, "Vraag 1 van 3 [Reeksen] IQ=n.b.");
    EXPECT_EQ(r.page.nextCaption, "Volgende vraag");
    EXPECT_FALSE(r.s.FeedbackPending);
    EXPECT_TRUE(r.page.timerRunning);
    EXPECT_EQ(r.s.QuestionStart, r.now);
}

TEST(TestRun, ChoicesFollowTheAnswerLength) {
    RunFixture r;
    r.Start();
    EXPECT_FALSE(r.run.Status().NextVisible);
    EXPECT_FALSE(r.run.Status().PauseEnabled);
    r.Choose({"A"});
    EXPECT_EQ(r.page.answerCaption, "Keuze: a");
    r.Choose({"C"});
    EXPECT_EQ(r.page.answerCaption, "Keuze: ac");
    TTestPageStatus st = r.run.Status();
    EXPECT_TRUE(st.NextVisible && st.DeleteVisible && st.PauseEnabled && st.AnswerVisible);
    r.Choose({"b"}); // a complete answer: the next click starts a new one
    EXPECT_EQ(r.page.answerCaption, "Keuze: b");
    r.Choose({""}); // an empty choice empties the answer
    EXPECT_EQ(r.page.answerCaption, "Keuze: ");
    r.Choose({"a"});
    r.run.DeleteAnswerBtnClick();
    EXPECT_EQ(r.page.answerCaption, "Keuze: ");
    EXPECT_EQ(r.s.ChoiceCount, 0);
    EXPECT_FALSE(r.run.Status().NextVisible);
}

TEST(TestRun, AnswerLengthZeroNeverCollectsAnAnswer) {
    RunFixture r;
    r.Start("getl002");
    EXPECT_EQ(r.s.AnswerLength, 0);
    for (const char* t : {"a", "b", "a"}) {
        r.Choose({t});
        EXPECT_EQ(r.page.answerCaption, "Keuze: ");
        EXPECT_FALSE(r.run.Status().NextVisible);
    }
}

TEST(TestRun, WithoutFeedbackAnswersAreStoredOnMovingOn) {
    RunFixture r;
    r.Start();
    r.Choose({"a", "c"});
    r.Ticks(12);
    EXPECT_EQ(r.page.questionTime, "Tijd deze vraag: 00:12");
    r.cache = "oud";
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(12000));
    EXPECT_TRUE(r.cache.empty());
    EXPECT_EQ(r.s.QuestionNo, 2);
    EXPECT_EQ(r.page.text, "Vraag twee");
    EXPECT_EQ(r.page.answerCaption, "Keuze: ");
    EXPECT_EQ(r.page.remark, "Vraag 2 van 3 [Reeksen] IQ=1066"); // 10 of 30 points
    EXPECT_NEAR(r.s.UsedTime, 12 * kSecond, 1e-9);
    EXPECT_EQ(r.s.QuestionStart, r.now);

    r.Choose({"b"});
    r.Ticks(3);
    EXPECT_EQ(r.page.totalTime, "Totale tijd: 00:00:15");
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    r.Choose({"x"});
    r.Ticks(1);
    r.run.NextQuestionBtnClick(TRunSender::NextButton); // the last question ends the run
    EXPECT_FALSE(r.s.Has(S::sfTestRunning));
    EXPECT_TRUE(r.InCatalogue());
    EXPECT_FALSE(r.page.timerRunning);
    EXPECT_TRUE(r.s.CurrentTest.empty());
    EXPECT_EQ(r.Stored("getl001002"), "b" + r.Time(3000));
    EXPECT_EQ(r.Stored("getl001003"), "x" + r.Time(1000));
    EXPECT_NE(r.page.text.find("[3 vragen, 3 beantwoord] IQ=1133"), std::string::npos);
}

TEST(TestRun, WithFeedbackTheAnswerIsStoredAtTheFeedbackClick) {
    RunFixture r;
    r.user.DirectFB = true;
    r.Start();
    EXPECT_EQ(r.page.nextCaption, "Feedback");
    EXPECT_TRUE(r.s.FeedbackPending);
    r.Choose({"a", "c"});
    r.Ticks(4);
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(4000));
    EXPECT_FALSE(r.page.timerRunning);
    EXPECT_FALSE(r.page.inputsEnabled);
    EXPECT_EQ(
        r.page.text.rfind("Vraag een\r\n\r\nU gaf het goede antwoord ac\r\n\r\nUitleg:\r\n\r\n"
                          "Omdat a en c.\r\n",
                          0),
        0u);
    EXPECT_EQ(r.page.answerCaption, "Keuze: ac");
    EXPECT_EQ(r.page.nextCaption, "Volgende vraag");
    EXPECT_EQ(r.page.remark, "Vraag 1 van 3 [Reeksen] IQ=1066");
    EXPECT_EQ(r.s.ShownQuestionRec, 0);

    r.Ticks(5); // the timer is off: nothing moves
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(4000)); // not stored again
    EXPECT_EQ(r.s.QuestionNo, 2);
    EXPECT_EQ(r.page.text, "Vraag twee");
    EXPECT_TRUE(r.page.inputsEnabled);
    EXPECT_EQ(r.page.nextCaption, "Feedback");
    EXPECT_NEAR(r.s.UsedTime, 4 * kSecond, 1e-9);
}

TEST(TestRun, QuestionTimeOutWithoutFeedbackMovesOn) {
    RunFixture r;
    r.user.TimeLimQ = true;
    r.Start();
    r.Choose({"a"}); // half an answer
    r.Ticks(5);
    EXPECT_EQ(r.page.questionGauge, 50);
    r.Ticks(5);
    EXPECT_EQ(r.s.QuestionNo, 1); // 10 s is not more than 10 s
    EXPECT_EQ(r.page.questionGauge, 100);
    r.Ticks(1);
    EXPECT_EQ(r.s.QuestionNo, 2);
    EXPECT_EQ(r.Stored("getl001001"), "a" + r.Time(11000));
    EXPECT_TRUE(r.page.timerRunning);
    r.Ticks(11); // no choice at all
    EXPECT_EQ(r.Stored("getl001002"), r.Time(11000));
    r.Ticks(11); // the last question times out: back to the catalogue
    EXPECT_TRUE(r.InCatalogue());
    EXPECT_FALSE(r.s.Has(S::sfTestRunning));
}

TEST(TestRun, QuestionTimeOutWithFeedbackShowsIt) {
    RunFixture r;
    r.user.TimeLimQ = true;
    r.user.DirectFB = true;
    r.Start();
    r.Ticks(11);
    EXPECT_EQ(r.Stored("getl001001"), r.Time(11000));
    EXPECT_NE(r.page.text.find("U heeft deze vraag niet beantwoord, het juiste antwoord is ac"),
              std::string::npos);
    EXPECT_EQ(r.page.nextForced, 1);
    EXPECT_FALSE(r.page.timerRunning);
    // Without a choice the next-question button still stays reachable.
    EXPECT_TRUE(r.run.Status().NextVisible);
    EXPECT_TRUE(r.run.Status().NextEnabled);
    r.Choose({"a"}); // nothing is chosen under the feedback
    EXPECT_EQ(r.page.answerCaption, "Keuze: ");
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_EQ(r.s.QuestionNo, 2);
    EXPECT_FALSE(r.run.Status().NextVisible);
    EXPECT_EQ(r.Stored("getl001001"), r.Time(11000));
}

// The catalogue button is the other way out of a pause: the run is left
// where it was stored and everything of it is forgotten.
TEST(TestRun, CatalogueFromAPauseForgetsTheRun) {
    RunFixture r;
    r.Start();
    r.Choose({"a", "c"});
    r.Ticks(3);
    r.run.PauseTestBtnClick();
    ASSERT_TRUE(r.s.Has(S::sfTestPaused));
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(3000));
    EXPECT_EQ(r.s.QuestionNo, 1);
    r.page.sounds.clear();

    r.run.ChooseTestBtnClick();
    EXPECT_TRUE(r.InCatalogue());
    EXPECT_NE(r.page.text.find("[3 vragen, 1 beantwoord]"), std::string::npos);
    EXPECT_EQ(r.page.sounds, std::vector<std::string>{"a\\3.wav"});
    EXPECT_EQ(r.page.header, "Tests");
    EXPECT_FALSE(r.page.pausePressed);
    EXPECT_FALSE(r.page.timerRunning);
    EXPECT_FALSE(r.s.Has(S::sfTestPaused) || r.s.Has(S::sfTestRunning));
    EXPECT_TRUE(r.s.Has(S::sfTestPage) && r.s.Has(S::sfLoggedOn));
    EXPECT_TRUE(r.s.CurrentTest.empty());
    EXPECT_EQ(r.s.QuestionNo, 0);
    EXPECT_EQ(r.s.ShownQuestionRec, 0);
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(3000)); // not stored again
}

TEST(TestRun, PauseStoresAndResumeGoesOn) {
    RunFixture r;
    r.Start();
    r.Choose({"a", "c"});
    r.Ticks(5);
    r.cache = "oud";
    r.run.PauseTestBtnClick();
    EXPECT_TRUE(r.s.Has(S::sfTestPaused));
    EXPECT_TRUE(r.page.pausePressed);
    EXPECT_EQ(r.page.text, "Test is gepauzeerd");
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(5000));
    EXPECT_NEAR(r.s.UsedTime, 5 * kSecond, 1e-9);
    EXPECT_FALSE(r.page.timerRunning);
    EXPECT_TRUE(r.cache.empty());
    EXPECT_TRUE(r.run.Status().PauseEnabled); // to resume

    r.Ticks(60); // paused: no tick counts
    r.run.PauseTestBtnClick();
    EXPECT_FALSE(r.s.Has(S::sfTestPaused));
    EXPECT_FALSE(r.page.pausePressed);
    EXPECT_EQ(r.s.QuestionNo, 2); // the paused question is not shown again
    EXPECT_EQ(r.page.text, "Vraag twee");
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(5000));
    EXPECT_NEAR(r.s.UsedTime, 5 * kSecond, 1e-9);

    // The next-question button resumes as well.
    r.Choose({"b"});
    r.run.PauseTestBtnClick();
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_FALSE(r.s.Has(S::sfTestPaused));
    EXPECT_EQ(r.s.QuestionNo, 3);
    EXPECT_EQ(r.Stored("getl001002"), "b" + r.Time(0));
}

TEST(TestRun, ResumeWithFeedbackPendingKeepsTheStoredTime) {
    RunFixture r;
    r.user.DirectFB = true;
    r.Start();
    r.Choose({"a", "b"});
    r.Ticks(7);
    r.run.PauseTestBtnClick();
    r.run.PauseTestBtnClick();
    EXPECT_NE(r.page.text.find("Uw antwoord ab was fout, het juiste antwoord is ac"),
              std::string::npos);
    EXPECT_EQ(r.Stored("getl001001"), "ab" + r.Time(7000));
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_EQ(r.s.QuestionNo, 2);
    EXPECT_NEAR(r.s.UsedTime, 7 * kSecond, 1e-9);
}

TEST(TestRun, PauseOnTheLastQuestionEndsTheRun) {
    RunFixture r;
    r.e.Store("Piet", "getl001001", "ac" + r.Time(1000));
    r.e.Store("Piet", "getl001002", "b" + r.Time(1000));
    r.Start();
    EXPECT_EQ(r.s.QuestionNo, 3);
    r.Choose({"c"});
    r.Ticks(2);
    r.run.PauseTestBtnClick();
    EXPECT_EQ(r.Stored("getl001003"), "c" + r.Time(2000));
    EXPECT_TRUE(r.InCatalogue());
    EXPECT_FALSE(r.s.Has(S::sfTestRunning));
    EXPECT_FALSE(r.s.Has(S::sfTestPaused));
    EXPECT_FALSE(r.page.pausePressed);
    EXPECT_TRUE(r.cache.empty());
}

TEST(TestRun, UsedUpTestLimitFillsTheRestAtTheFirstTick) {
    RunFixture r;
    r.user.TimeLimT = true;
    r.user.TimeLimTt = 10;
    r.e.Store("Piet", "getl001001", "ac" + r.Time(601000)); // 10 min 1 s
    r.Start();
    EXPECT_EQ(r.page.header, "Getallen - Reeksen voortzetten");
    EXPECT_EQ(r.s.QuestionNo, 2);
    r.Choose({"b"});
    r.Ticks(1);
    EXPECT_TRUE(r.InCatalogue());
    EXPECT_FALSE(r.page.timerRunning);
    EXPECT_EQ(r.Stored("getl001001"), "ac" + r.Time(601000));
    EXPECT_EQ(r.Stored("getl001002"), r.Time(0));
    EXPECT_EQ(r.Stored("getl001003"), r.Time(0));
    // The catalogue it ends in counts the filled answers, not a cached build.
    EXPECT_NE(r.page.text.find("[3 vragen, 3 beantwoord]"), std::string::npos);
}

TEST(TestRun, TestLimitCountsOnlyFinishedQuestions) {
    RunFixture r;
    r.user.TimeLimT = true;
    r.user.TimeLimTt = 1;
    r.Start();
    r.Choose({"a"});
    r.Ticks(61); // a minute on the question on display is not yet counted
    EXPECT_TRUE(r.s.Has(S::sfTestRunning));
    EXPECT_EQ(r.page.testGauge, 100);
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    r.Ticks(1);
    EXPECT_FALSE(r.s.Has(S::sfTestRunning));
    EXPECT_EQ(r.Stored("getl001001"), "a" + r.Time(61000));
    EXPECT_EQ(r.Stored("getl001002"), r.Time(0));
}

TEST(TestRun, ContinuingLaterStartsAtTheFirstUnanswered) {
    RunFixture r;
    r.e.Store("Piet", "getl001001", "ac" + r.Time(12000));
    r.run.ChooseTestBtnClick();
    r.run.TestTextHyperLinkClick("SELECTTEST#GETL001");
    EXPECT_EQ(r.page.header, "Getallen - Reeksen voortzetten");
    EXPECT_NEAR(r.s.UsedTime, 12 * kSecond, 1e-9);
    r.run.TestTextHyperLinkClick("STARTTEST");
    EXPECT_EQ(r.s.QuestionNo, 2);
    EXPECT_EQ(r.page.text, "Vraag twee");
    EXPECT_EQ(r.page.remark, "Vraag 2 van 3 [Reeksen] IQ=1066");
    r.Ticks(1);
    EXPECT_EQ(r.page.totalTime, "Totale tijd: 00:00:13");
    // A second start link is no start while running.
    r.run.TestTextHyperLinkClick("STARTTEST");
    EXPECT_EQ(r.s.QuestionNo, 2);
}

TEST(TestRun, ReviewWalksTheFeedbackWithinBounds) {
    RunFixture r;
    r.e.Store("Piet", "getl001001", "ab" + r.Time(1000));
    r.e.Store("Piet", "getl001002", r.Time(0));
    r.e.Store("Piet", "getl001003", "c" + r.Time(1000));
    r.e.dir.Write("User/iusers.dat", "[Women.Answers]\r\ngetl001003=73\r\n");
    r.user.DirectFB = true; // review reads "Volgende vraag" all the same
    r.run.ChooseTestBtnClick();
    r.run.TestTextHyperLinkClick("selecttest#getl001");
    EXPECT_EQ(r.page.header, "Getallen - Reeksen nalopen");
    r.run.TestTextHyperLinkClick("starttest");
    EXPECT_TRUE(r.s.Has(S::sfReviewing));
    EXPECT_FALSE(r.s.Has(S::sfTestRunning));
    EXPECT_FALSE(r.page.timerRunning);
    EXPECT_EQ(r.page.nextCaption, "Volgende vraag");
    EXPECT_FALSE(r.page.inputsEnabled);
    EXPECT_NE(r.page.text.find("Uw antwoord ab was fout, het juiste antwoord is ac"),
              std::string::npos);
    EXPECT_EQ(r.page.remark, "Vraag 1 van 3 [Reeksen] IQ=1066");
    TTestPageStatus st = r.run.Status();
    EXPECT_TRUE(st.PreviousVisible);
    EXPECT_FALSE(st.PreviousEnabled);
    EXPECT_TRUE(st.NextVisible && st.NextEnabled);
    EXPECT_FALSE(st.AnswerVisible);

    r.run.PreviousQuestionBtnClick(); // nothing before question 1
    EXPECT_EQ(r.s.QuestionNo, 1);
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_NE(r.page.text.find("U heeft deze vraag niet beantwoord, het juiste antwoord is b"),
              std::string::npos);
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    EXPECT_EQ(r.s.QuestionNo, 3);
    // The last record of the file has no explanation after it.
    EXPECT_EQ(r.page.text.find("Uitleg:"), std::string::npos);
    EXPECT_NE(r.page.text.find("\r\nVrouwen 73%\r\nMannen \r\n"), std::string::npos);
    st = r.run.Status();
    EXPECT_TRUE(st.PreviousEnabled);
    EXPECT_FALSE(st.NextEnabled);
    r.run.NextQuestionBtnClick(TRunSender::NextButton); // nothing after the last
    EXPECT_EQ(r.s.QuestionNo, 3);
    r.run.PreviousQuestionBtnClick();
    EXPECT_EQ(r.s.QuestionNo, 2);
    r.Choose({"a"}); // clicks in review choose nothing
    EXPECT_EQ(r.s.ChoiceCount, 0);
    // Nothing was stored by looking.
    EXPECT_EQ(r.Stored("getl001001"), "ab" + r.Time(1000));

    r.run.ChooseTestBtnClick();
    EXPECT_FALSE(r.s.Has(S::sfReviewing));
    EXPECT_TRUE(r.run.Status().ClearRemark);
}

TEST(TestRun, AFailedWriteIsReported) {
    RunFixture r;
    r.Start();
    r.e.dir.Write("User", "geen map"); // a file where the directory should be
    r.Choose({"a", "c"});
    r.run.NextQuestionBtnClick(TRunSender::NextButton);
    ASSERT_EQ(r.page.writeFailures.size(), 1u);
    EXPECT_EQ(r.s.QuestionNo, 2);
}

TEST(RunTiming, CaptionsWrapLikeAClock) {
    EXPECT_EQ(FormatMinSec(65 * kSecond), "01:05");
    EXPECT_EQ(FormatMinSec(3725 * kSecond), "02:05"); // hours drop out
    EXPECT_EQ(FormatHourMinSec(3725 * kSecond), "01:02:05");
    EXPECT_EQ(FormatHourMinSec(1 + 60 * kSecond), "00:01:00"); // days drop out
    EXPECT_EQ(FormatMinSec(-5 * kSecond), "00:00");
}

TEST(RunTiming, GaugesAndLimits) {
    EXPECT_EQ(QuestionGaugeValue(4999, 10), 49);
    EXPECT_EQ(QuestionGaugeValue(30000, 10), 100);
    EXPECT_EQ(QuestionGaugeValue(1, 0), 100); // a limit of 0 cannot divide
    EXPECT_EQ(TestGaugeValue(300000, 10), 50);
    EXPECT_EQ(TestGaugeValue(5, 0), 100);
    EXPECT_FALSE(QuestionTimeUp(10000, 10));
    EXPECT_TRUE(QuestionTimeUp(10001, 10));
    EXPECT_FALSE(TestTimeUp(10 * 60 * kSecond, 10));
    EXPECT_TRUE(TestTimeUp(601 * kSecond, 10));
}

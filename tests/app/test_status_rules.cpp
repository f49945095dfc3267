#include "app/status_flags.h"
#include "app/status_rules.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Enabled page buttons as letters: L(ogOnOff) C(onfig) I(nternet)
// S(electTest) P(auseTest) B(kInfo) H(elp).
std::string EnabledButtons(const TStatusView& v) {
    std::string s;
    if (v.LogOnOffBtnEnabled)
        s += 'L';
    if (v.ConfigBtnEnabled)
        s += 'C';
    if (v.InternetBtnEnabled)
        s += 'I';
    if (v.SelectTestBtnEnabled)
        s += 'S';
    if (v.PauseTestBtnEnabled)
        s += 'P';
    if (v.BkInfoBtnEnabled)
        s += 'B';
    if (v.HelpBtnEnabled)
        s += 'H';
    return s;
}

// Test-page controls shown: A(nswer label) D(elete) V (previous) N(ext), with
// lower case for a shown button that is disabled; T for the two time labels.
std::string TestPageShown(const TStatusView& v) {
    std::string s;
    if (v.QuestionAnswerLblVisible)
        s += 'A';
    if (v.DeleteAnswerBtnVisible)
        s += 'D';
    if (v.PreviousQuestionBtnVisible)
        s += v.PreviousQuestionBtnEnabled ? 'V' : 'v';
    if (v.NextQuestionBtnVisible)
        s += v.NextQuestionBtnEnabled ? 'N' : 'n';
    if (v.QuestionTimeVisible && v.TotalUserTimeVisible)
        s += 'T';
    return s;
}

struct Row {
    const char* state;
    uint16_t flags;
    const char* age;
    const char* answer;
    int questionNo;
    int questionCount;
    const char* buttons;
    const char* testPage;
    bool clearsRemark;
};

// A run state with the given flags and answer caption.
TTestRunState RunWith(uint16_t flags, const char* answer = "Keuze: ") {
    TTestRunState run;
    run.StatusFlags = flags;
    run.AnswerCaption = answer;
    return run;
}

TStatusView Compute(const TTestRunState& run, const TStatusInputs& in = {}) {
    return ComputeStatus(run, TPageVisits{}, in);
}

constexpr uint16_t On = sfLoggedOn;
constexpr uint16_t Running = sfLoggedOn | sfTestPage | sfTestRunning;

const Row kRows[] = {
    {"logged off", 0, "", "Keuze: ", 0, 0, "LH", "", true},
    {"logged off, age typed", 0, "30", "Keuze: ", 0, 0, "LH", "", true},
    {"logged on without age", On, "", "Keuze: ", 0, 0, "LCBH", "", true},
    {"logged on, age 0", On, "0", "Keuze: ", 0, 0, "LCBH", "", true},
    {"logged on, age letters", On, "abc", "Keuze: ", 0, 0, "LCBH", "", true},
    {"logged on, age 256 is stored as 0", On, "256", "Keuze: ", 0, 0, "LCBH", "", true},
    {"logged on", On, "30", "Keuze: ", 0, 0, "LCISBH", "", true},
    {"catalogue", On | sfTestPage, "30", "Keuze: ", 0, 0, "LCISBH", "", true},
    {"running, no choice", Running, "30", "Keuze: ", 2, 5, "", "AT", false},
    {"running, chosen", Running, "30", "Keuze: b", 2, 5, "P", "ADNT", false},
    {"paused", Running | sfTestPaused, "30", "Keuze: b", 2, 5, "LSPBH", "ADNT", false},
    {"paused without age", Running | sfTestPaused, "", "Keuze: b", 2, 5, "LPBH", "ADNT", false},
    {"reviewing, first", On | sfTestPage | sfReviewing, "30", "Keuze: ", 1, 3, "LCISBH", "vN",
     false},
    {"reviewing, middle", On | sfTestPage | sfReviewing, "30", "Keuze: ", 2, 3, "LCISBH", "VN",
     false},
    {"reviewing, last", On | sfTestPage | sfReviewing, "30", "Keuze: ", 3, 3, "LCISBH", "Vn",
     false},
    {"running flags without log-on", sfTestRunning, "30", "Keuze: b", 1, 3, "", "", false},
};

} // namespace

TEST(StatusRules, EnablingAndTestPageFollowTheState) {
    for (const Row& row : kRows) {
        TTestRunState run = RunWith(row.flags, row.answer);
        run.ShownQuestionRec = 12;
        run.QuestionNo = row.questionNo;
        run.TestQuestionCount = row.questionCount;
        TStatusInputs in;
        in.AgeText = row.age;
        const TStatusView v = Compute(run, in);
        EXPECT_EQ(EnabledButtons(v), row.buttons) << row.state;
        EXPECT_EQ(TestPageShown(v), row.testPage) << row.state;
        EXPECT_EQ(v.ClearRemark, row.clearsRemark) << row.state;
        EXPECT_STREQ(v.LogOnOffBtnCaption,
                     (row.flags & sfLoggedOn) ? "Afmelden..." : "Aanmelden...")
            << row.state;
    }
}

TEST(StatusRules, DeleteButtonNeedsAShownQuestion) {
    TTestRunState run = RunWith(Running, "Keuze: a");
    run.ShownQuestionRec = 0;
    EXPECT_FALSE(Compute(run).DeleteAnswerBtnVisible);
    run.ShownQuestionRec = 7;
    EXPECT_TRUE(Compute(run).DeleteAnswerBtnVisible);
    // "Keuze:" without its space is a chosen answer as far as the rules go.
    run.AnswerCaption = "Keuze:";
    EXPECT_TRUE(Compute(run).DeleteAnswerBtnVisible);
}

TEST(StatusRules, EachGaugeFollowsItsOwnLimit) {
    TStatusInputs in;
    in.TimeLimQ = true;
    TStatusView v = Compute(RunWith(Running), in);
    EXPECT_TRUE(v.TimeLimitQGaugeVisible);
    EXPECT_FALSE(v.TimeLimitTGaugeVisible);
    in.TimeLimQ = false;
    in.TimeLimT = true;
    v = Compute(RunWith(Running), in);
    EXPECT_FALSE(v.TimeLimitQGaugeVisible);
    EXPECT_TRUE(v.TimeLimitTGaugeVisible);
    // Not while reviewing or paused-and-ended: only a running test shows them.
    v = Compute(RunWith(On | sfReviewing), in);
    EXPECT_FALSE(v.TimeLimitTGaugeVisible);
    EXPECT_FALSE(v.QuestionTimeVisible);
}

TEST(StatusRules, LogOnPageFollowsNameAndPasswords) {
    TStatusInputs in;
    in.LogOn.NameText = "   ";
    TStatusView v = Compute(RunWith(0), in);
    EXPECT_FALSE(v.LogOn.PwVisible);
    EXPECT_FALSE(v.LogOn.AddBtnVisible);
    in.LogOn.NameText = "Anna";
    v = Compute(RunWith(0), in);
    EXPECT_TRUE(v.LogOn.PwVisible);
    EXPECT_TRUE(v.LogOn.CpwVisible);
    EXPECT_TRUE(v.LogOn.AddBtnVisible); // two empty edits are equal
    in.LogOn.SelectedIndex = 0;
    in.LogOn.StoredPw = "geheim";
    in.LogOn.PwText = "geheim";
    v = Compute(RunWith(0), in);
    EXPECT_FALSE(v.LogOn.CpwVisible);
    EXPECT_TRUE(v.LogOn.GoBtnVisible);
    EXPECT_FALSE(v.LogOn.PWDelBtnVisible);
    v = Compute(RunWith(On), in);
    EXPECT_STREQ(v.LogOn.GoBtnCaption, "Afmelden");
    EXPECT_TRUE(v.LogOn.PWDelBtnVisible);
    EXPECT_FALSE(v.LogOn.UsersLstEnabled);
    EXPECT_FALSE(v.LogOn.PwEnabled);
}

// A page's mark stays while its page is shown and goes once it is not; the
// settings page is then saved, once.
TEST(StatusRules, PageMarksGoWhenTheirPageIsLeft) {
    const TPageVisits all{true, true, true};
    struct Case {
        const char* page;
        TPageVisits kept;
        bool save;
        bool leaveTest;
    };
    const Case cases[] = {
        {"Config", {true, false, false}, false, true},
        {"Internet", {false, true, false}, true, true},
        {"BkInfo", {false, false, true}, true, true},
        {"Test", {false, false, false}, true, false},
        {"LogOnOff", {false, false, false}, true, true},
    };
    for (const Case& c : cases) {
        TStatusInputs in;
        in.ActivePage = c.page;
        const TStatusView v = ComputeStatus(RunWith(On | sfTestPage), all, in);
        EXPECT_EQ(v.Visits, c.kept) << c.page;
        EXPECT_EQ(v.SaveSettings, c.save) << c.page;
        EXPECT_EQ(v.LeaveTestPage, c.leaveTest) << c.page;
    }
    // Nothing visited: nothing to save or to leave, whatever is shown.
    TStatusInputs in;
    in.ActivePage = "LogOnOff";
    const TStatusView v = ComputeStatus(RunWith(On), TPageVisits{}, in);
    EXPECT_FALSE(v.SaveSettings || v.LeaveTestPage);
    EXPECT_EQ(v.Visits, TPageVisits{});
}

#include "app/status_rules.h"

#include "app/status_flags.h"

#include "exam/test_page_status.h"
#include "users/settings_values.h"

TStatusView ComputeStatus(const TStatusInputs& in) {
    const bool loggedOn = HasFlag(in.Flags, sfLoggedOn);
    const bool running = HasFlag(in.Flags, sfTestRunning);
    const bool paused = HasFlag(in.Flags, sfTestPaused);
    // The age as it would be saved: 256 is stored as 0 and unlocks nothing.
    const bool ageGiven = AgeIsGiven(in.AgeText);
    const bool busy = running && !paused; // a test runs and is not paused

    TStatusView v;
    v.LogOnOffBtnEnabled = !busy;
    v.LogOnOffBtnCaption = loggedOn ? "Afmelden..." : "Aanmelden...";
    v.ConfigBtnEnabled = loggedOn && !running;
    v.InternetBtnEnabled = loggedOn && !running && ageGiven;
    v.SelectTestBtnEnabled = loggedOn && !busy && ageGiven;
    v.BkInfoBtnEnabled = loggedOn && !busy;
    v.HelpBtnEnabled = !busy;

    TLogOnInputs logOn = in.LogOn;
    logOn.LoggedOn = loggedOn;
    v.LogOn = LogOnPageRules(logOn);

    // The test page follows the engine's rules, the same ones the run uses.
    TTestRunState run;
    run.StatusFlags = in.Flags;
    run.AnswerCaption = in.AnswerCaption;
    run.ShownQuestionRec = in.ShownQuestionRec;
    run.QuestionNo = in.QuestionNo;
    run.TestQuestionCount = in.TestQuestionCount;
    run.FeedbackShown = in.FeedbackShown;
    const TTestPageStatus page = TestPageStatus(run, in.TimeLimQ, in.TimeLimT);
    v.PauseTestBtnEnabled = page.PauseEnabled;
    v.QuestionAnswerLblVisible = page.AnswerVisible;
    v.DeleteAnswerBtnVisible = page.DeleteVisible;
    v.PreviousQuestionBtnVisible = page.PreviousVisible;
    v.PreviousQuestionBtnEnabled = page.PreviousEnabled;
    v.NextQuestionBtnVisible = page.NextVisible;
    v.NextQuestionBtnEnabled = page.NextEnabled;
    v.ClearRemark = page.ClearRemark;
    v.TimeLimitQGaugeVisible = page.QuestionGaugeVisible;
    v.QuestionTimeVisible = page.TimesVisible;
    v.TimeLimitTGaugeVisible = page.TestGaugeVisible;
    v.TotalUserTimeVisible = page.TimesVisible;
    return v;
}

#include "app/status_rules.h"

#include "exam/page_status.h"
#include "users/settings_values.h"

TStatusView ComputeStatus(const TTestRunState& run, const TPageVisits& visits,
                          const TStatusInputs& in) {
    const bool loggedOn = run.Has(sfLoggedOn);
    const bool running = run.Has(sfTestRunning);
    const bool paused = run.Has(sfTestPaused);
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

    // A mark stays only while its page is the one shown.
    v.LeaveTestPage = run.Has(sfTestPage) && in.ActivePage != "Test";
    v.SaveSettings = visits.Config && in.ActivePage != "Config";
    v.Visits.Config = visits.Config && !v.SaveSettings;
    v.Visits.Internet = visits.Internet && in.ActivePage == "Internet";
    v.Visits.BkInfo = visits.BkInfo && in.ActivePage == "BkInfo";

    // The test page follows the engine's rules, the same ones the run uses.
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

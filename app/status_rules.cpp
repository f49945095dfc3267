#include "app/status_rules.h"

#include "app/status_flags.h"

#include "users/settings_values.h"

TStatusView ComputeStatus(const TStatusInputs& in) {
    const bool loggedOn = HasFlag(in.Flags, sfLoggedOn);
    const bool running = HasFlag(in.Flags, sfTestRunning);
    const bool paused = HasFlag(in.Flags, sfTestPaused);
    const bool reviewing = HasFlag(in.Flags, sfReviewing);
    // The age as it would be saved: 256 is stored as 0 and unlocks nothing.
    const bool ageGiven = AgeIsGiven(in.AgeText);
    const bool answered = in.AnswerCaption != "Keuze: ";
    const bool busy = running && !paused; // a test runs and is not paused

    TStatusView v;
    v.LogOnOffBtnEnabled = !busy;
    v.LogOnOffBtnCaption = loggedOn ? "Afmelden..." : "Aanmelden...";
    v.ConfigBtnEnabled = loggedOn && !running;
    v.InternetBtnEnabled = loggedOn && !running && ageGiven;
    v.SelectTestBtnEnabled = loggedOn && !busy && ageGiven;
    v.PauseTestBtnEnabled = loggedOn && running && answered;
    v.BkInfoBtnEnabled = loggedOn && !busy;
    v.HelpBtnEnabled = !busy;

    TLogOnInputs logOn = in.LogOn;
    logOn.LoggedOn = loggedOn;
    v.LogOn = LogOnPageRules(logOn);

    v.QuestionAnswerLblVisible = loggedOn && running;
    v.DeleteAnswerBtnVisible = loggedOn && running && in.ShownQuestionRec != 0 && answered;
    v.PreviousQuestionBtnVisible = loggedOn && reviewing;
    v.PreviousQuestionBtnEnabled = in.QuestionNo > 1;
    v.NextQuestionBtnVisible = loggedOn && ((running && answered) || reviewing);
    v.NextQuestionBtnEnabled = running || (reviewing && in.QuestionNo < in.TestQuestionCount);
    v.ClearRemark = !running && !reviewing;
    v.TimeLimitQGaugeVisible = loggedOn && running && in.TimeLimQ;
    v.QuestionTimeVisible = loggedOn && running;
    v.TimeLimitTGaugeVisible = loggedOn && running && in.TimeLimT;
    v.TotalUserTimeVisible = loggedOn && running;
    return v;
}

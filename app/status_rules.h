#pragma once

#include "app/status_flags.h"
#include "exam/run_state.h"
#include "users/log_on_rules.h"

#include <string>

// What the status rules read besides the test run's state and the page
// visits: the few field contents that enable or caption controls.
struct TStatusInputs {
    std::string ActivePage; // object name of the page MainPages shows
    std::string AgeText;    // ConfigAgeEdit
    bool TimeLimQ = false;
    bool TimeLimT = false;
    TLogOnInputs LogOn; // its LoggedOn is taken from the run's flags
};

// What the rules decide: enabled, visible and captions of every control they
// name, and which page marks go because their page is no longer shown. The
// window does the acting (saving the settings page).
struct TStatusView {
    // Page buttons.
    bool LogOnOffBtnEnabled = true;
    const char* LogOnOffBtnCaption = "Aanmelden...";
    bool ConfigBtnEnabled = false;
    bool InternetBtnEnabled = false;
    bool SelectTestBtnEnabled = false;
    bool PauseTestBtnEnabled = false;
    bool BkInfoBtnEnabled = false;
    bool HelpBtnEnabled = true;
    // Log-on page.
    TLogOnView LogOn;
    // Page leaving: the catalogue's mark goes, the visits that remain, and
    // whether the settings page was left and must be saved.
    bool LeaveTestPage = false;
    TPageVisits Visits;
    bool SaveSettings = false;
    // Test page.
    bool QuestionAnswerLblVisible = false;
    bool DeleteAnswerBtnVisible = false;
    bool PreviousQuestionBtnVisible = false;
    bool PreviousQuestionBtnEnabled = false;
    bool NextQuestionBtnVisible = false;
    bool NextQuestionBtnEnabled = false;
    bool ClearRemark = true;
    bool TimeLimitQGaugeVisible = false;
    bool QuestionTimeVisible = false;
    bool TimeLimitTGaugeVisible = false;
    bool TotalUserTimeVisible = false;
};

TStatusView ComputeStatus(const TTestRunState& run, const TPageVisits& visits,
                          const TStatusInputs& in);

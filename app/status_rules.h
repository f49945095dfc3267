#pragma once

#include "users/log_on_rules.h"

#include <cstdint>
#include <string>

// Everything the status rules read besides the widgets they set: the flags
// and the few field contents that enable or caption controls.
struct TStatusInputs {
    uint16_t Flags = 0;
    std::string AgeText;                   // ConfigAgeEdit
    std::string AnswerCaption = "Keuze: "; // QuestionAnswerLbl
    int ShownQuestionRec = 0;
    int QuestionNo = 0;
    int TestQuestionCount = 0;
    bool TimeLimQ = false;
    bool TimeLimT = false;
    bool FeedbackShown = false; // a run shows the feedback of its question
    TLogOnInputs LogOn;         // its LoggedOn is taken from Flags
};

// What the rules decide: enabled, visible and captions of every control they
// name. Page leaving is not here; it acts (saves) and so lives in the window.
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

TStatusView ComputeStatus(const TStatusInputs& in);

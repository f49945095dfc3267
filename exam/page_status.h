#pragma once

#include "exam/run_state.h"
#include "users/user_profile.h"

// Which controls of the Test page are visible and enabled, applied by every
// status refresh of the main window.
struct TTestPageStatus {
    bool AnswerVisible = false;   // QuestionAnswerLbl
    bool DeleteVisible = false;   // DeleteAnswerBtn
    bool PreviousVisible = false; // PreviousQuestionBtn
    bool PreviousEnabled = false;
    bool NextVisible = false; // NextQuestionBtn
    bool NextEnabled = false;
    bool PauseEnabled = false;         // PauseTestBtn
    bool ClearRemark = false;          // RemarkLbl loses its text
    bool TimesVisible = false;         // QuestionTime and TotalUserTime
    bool QuestionGaugeVisible = false; // TimeLimitQGauge
    bool TestGaugeVisible = false;     // TimeLimitTGauge
};

// The time-limit gauges follow the user's settings TimeLimQ and TimeLimT.
TTestPageStatus TestPageStatus(const TTestRunState& state, bool timeLimQ, bool timeLimT);
TTestPageStatus TestPageStatus(const TTestRunState& state, const TUserProfile& user);

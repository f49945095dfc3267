#pragma once

#include "exam/content_model.h"
#include "exam/page_host.h"
#include "exam/page_status.h"
#include "exam/run_state.h"
#include "users/user_profile.h"

#include <string>
#include <string_view>

// Who raised a next-question or pause event: resuming passes the pause
// button, which keeps the answer stored at the pause from being stored again.
enum class TRunSender { NextButton, PauseButton, Timer };

// The Test page's logic: catalogue, selection, the run with its answers,
// time limits and pause, review and feedback. It owns the run's state; the
// main window's handlers call the methods of the same name and everything
// the engine shows or starts goes through the host. Time is plat::Now(), so
// a test that replaces the platform clock runs time limits without waiting.
class TTestRun {
public:
    TTestRun(std::string& catalogueText, TiDbRecFile& db, const TRecordIndex& index,
             const TUserProfile& user, TTestPageHost& host);

    const TTestRunState& State() const { return s_; }

    // The log-on pages set and clear the flags the run shares with them.
    void SetLoggedOn();
    void ClearFlags();
    // Another page became active: the catalogue's mark goes.
    void LeaveTestPage();
    // The current test with its counters and times is forgotten (start-up,
    // log-off, adding a user); the flags and the shown record stay.
    void ForgetTest();

    // Event handlers.
    void ChooseTestBtnClick();
    void TestTextHyperLinkClick(std::string_view target);
    void DeleteAnswerBtnClick();
    void NextQuestionBtnClick(TRunSender sender);
    void PreviousQuestionBtnClick();
    void PauseTestBtnClick();
    void TestTimerTimer();

    // Operations the handlers share.
    void ShowRecord(const TDbRec& record, int32_t recNoAsked);
    void ShowFeedback(const TDbRec& record, int32_t recNoAsked);
    void ShowQuestionForAnswering(int questionNo);
    void ShowFeedbackFor(int questionNo);
    void SetQuestionHeader();
    std::string QuestionHeader() const;
    // The answer in QuestionAnswerLbl: its caption after the first ":",
    // leading blanks removed.
    std::string CurrentAnswer() const;
    void StoreCurrentAnswer();

    TTestPageStatus Status() const { return TestPageStatus(s_, user_); }
    const TTestContent& Content() const { return content_; }

private:
    void ShowCatalogue();
    // Pausing a running question stores its answer and banks its time.
    void RecordPausedQuestion();
    // No record for the asked question: an empty text and no shown question.
    void ShowNoRecord();
    void SelectTest(std::string_view target);
    // The results page, a catalogue state: no run flags, no current test.
    void ShowResults();
    // "Opnieuw maken": a finished test's answers go to the history and the
    // test is selected as its catalogue link would select it.
    void RetakeTest(std::string_view target);
    void StartTest();
    void Choose(std::string_view target);
    void ApplyNextCaption();
    void SetAnswerCaption(std::string caption);
    void FillRemainingAnswers();
    void Store(std::string_view questionKey, const std::string& value);
    // QuestionKey of question n of the current test, empty when there is none.
    std::string KeyOfQuestion(int questionNo) const;
    // Record number of question n, 0 when there is none.
    int32_t RecNoOfQuestion(int questionNo) const;

    TTestRunState s_;
    std::string& catalogueText_;
    TiDbRecFile& db_;
    const TRecordIndex& index_;
    TTestContent content_;
    const TUserProfile& user_;
    TTestPageHost& host_;
};

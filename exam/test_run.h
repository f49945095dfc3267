#pragma once

#include "exam/test_content.h"
#include "exam/test_page_host.h"
#include "exam/test_page_status.h"
#include "exam/test_run_state.h"
#include "users/user_profile.h"

#include <functional>
#include <string>
#include <string_view>

// Who raised a next-question or pause event: resuming passes the pause
// button, which keeps the answer stored at the pause from being stored again.
enum class TRunSender { Other, NextButton, PauseButton, Timer };

// The Test page's logic: catalogue, selection, the run with its answers,
// time limits and pause, review and feedback. The main window's handlers
// call the methods of the same name; everything the engine shows or starts
// goes through the host. The clock is injectable so time limits can be
// tested without waiting.
class TTestRun {
public:
    using TClock = std::function<double()>;

    TTestRun(TTestRunState& state, std::string& catalogueText, TiDbRecFile& db,
             const TRecordIndex& index, const TUserProfile& user, TTestPageHost& host,
             TClock clock = {});

    // Event handlers.
    void ChooseTestBtnClick();
    void TestTextHyperLinkClick(std::string_view target);
    void DeleteAnswerBtnClick();
    void NextQuestionBtnClick(TRunSender sender);
    void PreviousQuestionBtnClick();
    void PauseTestBtnClick(TRunSender sender);
    void TestTimerTimer();

    // The parts of ChooseTestBtnClick and PauseTestBtnClick that a host
    // with page buttons of its own calls from its handlers: the catalogue
    // after the button's status part, and the pause of a running question.
    void ShowCatalogue();
    void ShowPausedText();
    void RecordPausedQuestion();

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
    // No record for the asked question: an empty text and no shown question.
    void ShowNoRecord();
    void SelectTest(std::string_view target);
    void StartTest();
    void Choose(std::string_view target);
    void ApplyNextCaption();
    void SetAnswerCaption(std::string caption);
    void StartTimer();
    void StopTimer();
    void FillRemainingAnswers();
    void Store(std::string_view questionKey, const std::string& value);
    // QuestionKey of question n of the current test, empty when there is none.
    std::string KeyOfQuestion(int questionNo) const;
    // Record number of question n, 0 when there is none.
    int32_t RecNoOfQuestion(int questionNo) const;

    TTestRunState& s_;
    std::string& catalogueText_;
    TiDbRecFile& db_;
    const TRecordIndex& index_;
    TTestContent content_;
    const TUserProfile& user_;
    TTestPageHost& host_;
    TClock clock_;
};

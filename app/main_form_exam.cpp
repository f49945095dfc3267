#include "app/main_form.h"

#include "app/run_page_adapter.h"
#include "exam/run.h"
#include "markup/parser_control.h"
#include "widgets/base_btn.h"

#include <QTimer>

// The test page: catalogue, test run, pause and feedback. The engine does
// the work and holds the run's state; the window hands it its controls
// through the host, and each handler here only passes the event on.

TTestRun& TMainForm::TestRun() {
    return *testRun_;
}

void TMainForm::WireTestPage() {
    connect(DeleteAnswerBtn, &TBaseBtn::OnClick, this, &TMainForm::DeleteAnswerBtnClick);
    connect(PreviousQuestionBtn, &TBaseBtn::OnClick, this, &TMainForm::PreviousQuestionBtnClick);
    connect(NextQuestionBtn, &TBaseBtn::OnClick, this, &TMainForm::NextQuestionBtnClick);
    connect(TestTimer, &QTimer::timeout, this, &TMainForm::TestTimerTimer);
}

void TMainForm::WireTestView() {
    if (TestView)
        TestView->OnHyperLinkClick = [this](QObject*, const std::string& target) {
            TestTextHyperLinkClick(target);
        };
}

void TMainForm::SelectTestBtnClick() {
    TestRun().ChooseTestBtnClick();
}

void TMainForm::PauseTestBtnClick() {
    TestRun().PauseTestBtnClick();
}

void TMainForm::TestTextHyperLinkClick(const std::string& target) {
    TestRun().TestTextHyperLinkClick(target);
}

void TMainForm::DeleteAnswerBtnClick() {
    TestRun().DeleteAnswerBtnClick();
}

void TMainForm::NextQuestionBtnClick() {
    TestRun().NextQuestionBtnClick(TRunSender::NextButton);
}

void TMainForm::PreviousQuestionBtnClick() {
    TestRun().PreviousQuestionBtnClick();
}

void TMainForm::TestTimerTimer() {
    TestRun().TestTimerTimer();
}

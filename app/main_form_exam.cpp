#include "app/main_form.h"

#include "app/status_flags.h"
#include "app/test_page_adapter.h"
#include "exam/test_run.h"
#include "markup/parser_control.h"
#include "platform/datetime.h"
#include "widgets/base_btn.h"

#include <QTimer>

// The test page: catalogue, test run, pause and feedback. The engine does
// the work; the window hands it its state, its controls through the host and
// the clock.

TTestRun& TMainForm::TestRun() {
    // The engine reads the database the window holds; it is made again when
    // the database is (start-up opens it once).
    if (!RecordDb)
        RecordDb = std::make_unique<TiDbRecFile>();
    if (!testRun_ || testRunDb_ != RecordDb.get()) {
        if (!testHost_)
            testHost_ = std::make_unique<TMainFormTestHost>(*this);
        testRun_ = std::make_unique<TTestRun>(
            *this, CatalogueText, *RecordDb, RecordIndex, UserProfile, *testHost_,
            [this] { return TestClock ? TestClock() : plat::Now(); });
        testRunDb_ = RecordDb.get();
    }
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

void TMainForm::TestTextHyperLinkClick(const std::string& target) {
    TestRun().TestTextHyperLinkClick(target);
}

void TMainForm::DeleteAnswerBtnClick() {
    TestRun().DeleteAnswerBtnClick();
}

void TMainForm::NextQuestionBtnClick() {
    // While paused the button resumes, exactly as the pause button does.
    if (HasFlag(StatusFlags, sfTestPaused)) {
        PauseTestBtnClick();
        return;
    }
    TestRun().NextQuestionBtnClick(TRunSender::NextButton);
}

void TMainForm::PreviousQuestionBtnClick() {
    TestRun().PreviousQuestionBtnClick();
}

void TMainForm::TestTimerTimer() {
    TestRun().TestTimerTimer();
}

void TMainForm::ShowCatalogue() {
    TestRun().ShowCatalogue();
}

void TMainForm::ContinueAfterPause() {
    TestRun().NextQuestionBtnClick(TRunSender::PauseButton);
}

void TMainForm::RecordPausedQuestion() {
    TestRun().RecordPausedQuestion();
}

void TMainForm::ShowPausedText() {
    TestRun().ShowPausedText();
}

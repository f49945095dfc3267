#include "exam/run.h"

#include "exam/catalogue.h"
#include "exam/run_timing.h"
#include "exam/stored_answers.h"
#include "platform/ansi.h"
#include "platform/datetime.h"

namespace {

using S = TTestRunState;
constexpr uint8_t kMaxChoices = 255;

} // namespace

TTestRun::TTestRun(std::string& catalogueText, TiDbRecFile& db, const TRecordIndex& index,
                   const TUserProfile& user, TTestPageHost& host)
    : catalogueText_(catalogueText), db_(db), index_(index), content_(db, index), user_(user),
      host_(host) {}

void TTestRun::SetLoggedOn() {
    s_.Set(S::sfLoggedOn);
}

void TTestRun::ClearFlags() {
    s_.StatusFlags = 0;
}

void TTestRun::LeaveTestPage() {
    s_.Clear(S::sfTestPage);
}

void TTestRun::ForgetTest() {
    s_.CurrentTest.clear();
    s_.QuestionNo = 0;
    s_.TestQuestionCount = 0;
    s_.UsedTime = 0;
    s_.QuestionStart = 0;
    s_.LastTick = 0;
    s_.AnswerLength = 0;
    s_.ChoiceCount = 0;
}

void TTestRun::ChooseTestBtnClick() {
    host_.ShowTestPage();
    s_.Set(S::sfTestPage);
    s_.Clear(S::sfTestRunning);
    s_.Clear(S::sfTestPaused);
    s_.Clear(S::sfReviewing);
    host_.SetPauseButton(false);
    host_.PlaySound(kCatalogueSound);
    host_.SetTestHeader(kCatalogueHeader);
    ShowCatalogue();
}

void TTestRun::ShowCatalogue() {
    s_.FeedbackPending = false;
    host_.ShowText(kCatalogueBusyText);
    host_.UpdateStatus();
    host_.ProcessEvents(); // the message stays visible during the build
    ResetRunForCatalogue(s_);
    host_.StopTimer();
    host_.BeginCatalogueProgress();
    const std::string text = EnsureCatalogue(
        catalogueText_, content_, user_, [this](int percent) { host_.CatalogueProgress(percent); });
    host_.ShowText(CatalogueWithResultsLink(text));
    host_.EnableInputs();
    host_.EndCatalogueProgress();
    host_.UpdateStatus();
}

void TTestRun::TestTextHyperLinkClick(std::string_view target) {
    if (IsSelectTestLink(target)) {
        SelectTest(target);
        return;
    }
    // A start link inside a running question would skip a question.
    if (IsStartTestLink(target) && !s_.CurrentTest.empty() && !s_.Has(S::sfTestRunning) &&
        !s_.Has(S::sfReviewing)) {
        StartTest();
        return;
    }
    if (s_.Has(S::sfTestRunning)) {
        Choose(target);
        return;
    }
    // The results page and its links exist only while no test runs.
    if (IsResultsLink(target)) {
        ShowResults();
        return;
    }
    if (IsRetakeLink(target)) {
        RetakeTest(target);
        return;
    }
    if (IsCatalogueLink(target)) {
        ChooseTestBtnClick();
        return;
    }
    host_.UpdateStatus();
}

void TTestRun::ShowResults() {
    host_.ShowTestPage();
    ResetRunForCatalogue(s_);
    host_.StopTimer();
    host_.SetPauseButton(false);
    host_.SetTestHeader(kResultsHeader);
    host_.ShowText(host_.ResultsPageText(content_, user_));
    host_.EnableInputs();
    host_.FocusText();
    host_.UpdateStatus();
}

void TTestRun::RetakeTest(std::string_view target) {
    const std::string key = RetakeTestKey(target);
    if (key.empty() || content_.QuestionCount(key) < 1) {
        host_.UpdateStatus();
        return;
    }
    // Only a finished test is taken again; the answers of one under way stay
    // where the run continues them.
    if (TestFinished(content_, key, TAnswerSnapshot::Load(user_.Name))) {
        if (ArchiveTestAnswers(user_.Name, key) < 0) {
            host_.WriteFailed(UsersFilePath().toStdString());
            host_.UpdateStatus();
            return;
        }
        InvalidateCatalogue(catalogueText_);
    }
    SelectTest("selecttest#" + key);
}

void TTestRun::SelectTest(std::string_view target) {
    ::SelectTest(s_, content_, TAnswerSnapshot::Load(user_.Name), target);
    const int32_t recNo = index_.FindRecordNo(s_.CurrentTest + "000");
    ShowRecord(db_.RecordAt(recNo), recNo);
    host_.SetTestHeader(TestHeaderCaption(content_, s_));
    host_.UpdateStatus();
}

void TTestRun::StartTest() {
    if (s_.QuestionNo == s_.TestQuestionCount) {
        s_.Set(S::sfReviewing);
        s_.QuestionNo = 1;
    } else {
        s_.Set(S::sfTestRunning);
        s_.QuestionNo += 1; // the first unanswered question, answers being stored in order
    }
    s_.AnswerLength = 0;
    s_.ChoiceCount = 0;
    if (s_.Has(S::sfTestRunning)) {
        ShowQuestionForAnswering(s_.QuestionNo);
        s_.QuestionStart = plat::Now();
        s_.LastTick = s_.QuestionStart;
        host_.StartTimer();
    } else {
        ShowFeedbackFor(s_.QuestionNo);
        host_.DisableInputs();
        SetQuestionHeader();
    }
    ApplyNextCaption();
    host_.UpdateStatus();
}

void TTestRun::Choose(std::string_view target) {
    // Nothing is chosen on the pause page or under the feedback.
    if (s_.Has(S::sfTestPaused) || s_.FeedbackShown) {
        host_.UpdateStatus();
        return;
    }
    const std::string choice = plat::AnsiLower(target);
    // A click after a complete answer starts a new one.
    if ((s_.ChoiceCount < kMaxChoices && s_.ChoiceCount + 1 > s_.AnswerLength) || choice.empty()) {
        s_.ChoiceCount = 0;
        SetAnswerCaption(kAnswerCaptionEmpty);
    }
    if (s_.ChoiceCount < kMaxChoices)
        ++s_.ChoiceCount;
    if (s_.ChoiceCount <= s_.AnswerLength)
        SetAnswerCaption(s_.AnswerCaption + choice);
    host_.UpdateStatus();
}

void TTestRun::DeleteAnswerBtnClick() {
    host_.ClearInputs();
    s_.ChoiceCount = 0;
    SetAnswerCaption(kAnswerCaptionEmpty);
    host_.UpdateStatus();
}

void TTestRun::NextQuestionBtnClick(TRunSender sender) {
    if (s_.Has(S::sfTestPaused)) {
        PauseTestBtnClick(); // resumes
        return;
    }
    if (s_.Has(S::sfTestRunning)) {
        InvalidateCatalogue(catalogueText_);
        if (s_.FeedbackPending) {
            host_.StopTimer();
            const std::string answer = CurrentAnswer();
            // Resuming after a pause: the answer was stored at the pause with
            // its time; storing it again would record 0 milliseconds.
            if (sender != TRunSender::PauseButton)
                StoreCurrentAnswer();
            s_.ShownQuestionRec = 0;
            ShowFeedbackFor(s_.QuestionNo);
            SetAnswerCaption(kAnswerCaptionEmpty + answer);
            host_.DisableInputs();
            SetQuestionHeader();
            host_.SetNextCaption(kNextCaption);
            s_.FeedbackPending = false;
            s_.FeedbackShown = true;
        } else {
            if (sender != TRunSender::PauseButton && !user_.DirectFB)
                StoreCurrentAnswer();
            if (s_.QuestionNo + 1 > s_.TestQuestionCount) {
                s_.Clear(S::sfTestRunning);
                ChooseTestBtnClick(); // the run ends in the catalogue
            } else {
                s_.QuestionNo += 1;
                s_.AnswerLength = 0;
                s_.ChoiceCount = 0;
                ShowQuestionForAnswering(s_.QuestionNo);
                s_.UsedTime += s_.LastTick - s_.QuestionStart;
                s_.QuestionStart = plat::Now();
                s_.LastTick = s_.QuestionStart;
                host_.StartTimer();
                ApplyNextCaption();
            }
        }
    } else if (s_.Has(S::sfReviewing) && s_.QuestionNo + 1 <= s_.TestQuestionCount) {
        s_.QuestionNo += 1;
        ShowFeedbackFor(s_.QuestionNo);
        host_.DisableInputs();
        SetQuestionHeader();
    }
    host_.UpdateStatus();
}

void TTestRun::PreviousQuestionBtnClick() {
    if (s_.Has(S::sfReviewing) && s_.QuestionNo >= 2) {
        s_.QuestionNo -= 1;
        ShowFeedbackFor(s_.QuestionNo);
        host_.DisableInputs();
        SetQuestionHeader();
    }
    host_.UpdateStatus();
}

void TTestRun::PauseTestBtnClick() {
    host_.ShowTestPage();
    if (s_.Has(S::sfTestPaused)) {
        s_.Clear(S::sfTestPaused);
        host_.SetPauseButton(false);
        NextQuestionBtnClick(TRunSender::PauseButton);
    } else {
        s_.Set(S::sfTestPaused);
        host_.SetPauseButton(true);
        host_.ShowText(kPausedText);
        if (s_.Has(S::sfTestRunning)) {
            RecordPausedQuestion();
            if (s_.QuestionNo == s_.TestQuestionCount) {
                // Pausing on the last question ends the run at once.
                s_.Clear(S::sfTestRunning);
                ChooseTestBtnClick();
                s_.Clear(S::sfTestPaused);
                host_.SetPauseButton(false);
            }
            InvalidateCatalogue(catalogueText_);
        }
    }
    host_.UpdateStatus();
}

void TTestRun::RecordPausedQuestion() {
    StoreCurrentAnswer();
    s_.UsedTime += s_.LastTick - s_.QuestionStart;
    s_.QuestionStart = plat::Now();
    s_.LastTick = s_.QuestionStart;
    host_.StopTimer();
}

void TTestRun::TestTimerTimer() {
    if (!s_.Has(S::sfTestRunning) || s_.Has(S::sfTestPaused))
        return;
    s_.LastTick = plat::Now();
    const double onQuestion = s_.LastTick - s_.QuestionStart;
    host_.SetTimeCaptions("Tijd deze vraag: " + FormatMinSec(onQuestion),
                          "Totale tijd: " + FormatHourMinSec(onQuestion + s_.UsedTime));
    if (user_.TimeLimQ) {
        const int64_t elapsed = ElapsedMs(s_.QuestionStart, s_.LastTick);
        host_.SetQuestionGauge(QuestionGaugeValue(elapsed, user_.TimeLimQt));
        if (QuestionTimeUp(elapsed, user_.TimeLimQt)) {
            if (user_.DirectFB) {
                s_.FeedbackPending = true;
                NextQuestionBtnClick(TRunSender::Timer); // stores and shows the feedback
                host_.ShowNextButton();
            } else {
                NextQuestionBtnClick(TRunSender::Timer); // stores what was built and moves on
            }
        }
    }
    // The time-out may have ended the run.
    if (!s_.Has(S::sfTestRunning) || !user_.TimeLimT)
        return;
    host_.SetTestGauge(TestGaugeValue(
        ElapsedMs(s_.QuestionStart, s_.LastTick) + ElapsedMs(0, s_.UsedTime), user_.TimeLimTt));
    // Only finished questions count, so the limit acts at the first tick
    // after a question is done.
    if (TestTimeUp(s_.UsedTime, user_.TimeLimTt)) {
        host_.StopTimer();
        FillRemainingAnswers();
        ChooseTestBtnClick();
    }
}

void TTestRun::FillRemainingAnswers() {
    const std::string value = AnswerValue("", plat::Now(), 0);
    for (int q = std::max(1, s_.QuestionNo); q <= s_.TestQuestionCount; ++q) {
        const std::string key = KeyOfQuestion(q);
        if (!key.empty())
            Store(key, value);
    }
}

// The status rules and the page buttons: which controls are enabled, visible
// and how they are captioned, derived after every change of state.
#include "app/main_form.h"

#include "app/about_box.h"
#include "app/app_window.h"
#include "app/skin_style.h"
#include "app/status_flags.h"
#include "app/status_rules.h"
#include "app/url_launch.h"
#include "app/web_addresses.h"
#include "platform/ansi.h"
#include "users/log_on_page.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

void SetCaption(TBaseBtn* button, const char* caption) {
    const QString text = QString::fromUtf8(caption);
    if (button->Caption() == text)
        return;
    button->SetCaption(text);
    skin::CentreCaption(button);
}

std::string Text(const QString& text) {
    return plat::ToAnsi(text);
}

} // namespace

void TMainForm::UpdateStatus() {
    TStatusInputs in;
    in.Flags = StatusFlags;
    in.AgeText = Text(ConfigAgeEdit->text());
    in.AnswerCaption = Text(QuestionAnswerLbl->text());
    in.ShownQuestionRec = ShownQuestionRec;
    in.QuestionNo = QuestionNo;
    in.TestQuestionCount = TestQuestionCount;
    in.TimeLimQ = UserProfile.TimeLimQ;
    in.TimeLimT = UserProfile.TimeLimT;
    in.FeedbackShown = FeedbackShown;
    const TUserPages userPages = UserPages();
    in.LogOn = LogOnInputsOf(userPages.LogOn, UserProfile, HasFlag(StatusFlags, sfLoggedOn));
    const TStatusView v = ComputeStatus(in);

    // 1. Page buttons.
    LogOnOffBtn->setEnabled(v.LogOnOffBtnEnabled);
    SetCaption(LogOnOffBtn, v.LogOnOffBtnCaption);
    ConfigBtn->setEnabled(v.ConfigBtnEnabled);
    InternetBtn->setEnabled(v.InternetBtnEnabled);
    SelectTestBtn->setEnabled(v.SelectTestBtnEnabled);
    PauseTestBtn->setEnabled(v.PauseTestBtnEnabled);
    BkInfoBtn->setEnabled(v.BkInfoBtnEnabled);
    HelpBtn->setEnabled(v.HelpBtnEnabled);

    // 2. Log-on page (the caption first, so that it is centred).
    SetCaption(LogOnOffGoBtn, v.LogOn.GoBtnCaption);
    ApplyLogOnView(userPages.LogOn, v.LogOn);

    // 3. Pages that were left.
    LeavePages();

    // 4. Test page.
    QuestionAnswerLbl->setVisible(v.QuestionAnswerLblVisible);
    DeleteAnswerBtn->setVisible(v.DeleteAnswerBtnVisible);
    PreviousQuestionBtn->setVisible(v.PreviousQuestionBtnVisible);
    PreviousQuestionBtn->setEnabled(v.PreviousQuestionBtnEnabled);
    NextQuestionBtn->setVisible(v.NextQuestionBtnVisible);
    NextQuestionBtn->setEnabled(v.NextQuestionBtnEnabled);
    if (v.ClearRemark)
        RemarkLbl->clear();
    TimeLimitQGauge->setVisible(v.TimeLimitQGaugeVisible);
    QuestionTime->setVisible(v.QuestionTimeVisible);
    TimeLimitTGauge->setVisible(v.TimeLimitTGaugeVisible);
    TotalUserTime->setVisible(v.TotalUserTimeVisible);
}

void TMainForm::LeavePages() {
    const QString page = ActivePageName();
    if (HasFlag(StatusFlags, sfTestPage) && page != QLatin1String("Test"))
        ClearFlag(StatusFlags, sfTestPage);
    if (HasFlag(StatusFlags, sfConfigVisited) && page != QLatin1String("Config")) {
        // Cleared first: saving may report a failure in a message box, whose
        // event loop may run this again, and the page is saved only once.
        ClearFlag(StatusFlags, sfConfigVisited);
        SaveUser();
    }
    if (HasFlag(StatusFlags, sfInternetVisited) && page != QLatin1String("Internet"))
        ClearFlag(StatusFlags, sfInternetVisited);
    if (HasFlag(StatusFlags, sfBkInfoVisited) && page != QLatin1String("BkInfo"))
        ClearFlag(StatusFlags, sfBkInfoVisited);
}

void TMainForm::LogOnOffBtnClick() {
    ShowPage(QStringLiteral("LogOnOff"));
    UpdateStatus();
}

void TMainForm::ConfigBtnClick() {
    ShowPage(QStringLiteral("Config"));
    SetFlag(StatusFlags, sfConfigVisited);
    PlaySound("a\\3.wav");
    UpdateStatus();
}

void TMainForm::InternetBtnClick() {
    ShowPage(QStringLiteral("Internet"));
    SetFlag(StatusFlags, sfInternetVisited);
    PlaySound("a\\3.wav");
    UpdateStatus();
}

void TMainForm::SelectTestBtnClick() {
    ShowPage(QStringLiteral("Test"));
    SetFlag(StatusFlags, sfTestPage);
    ClearFlag(StatusFlags, sfTestRunning);
    ClearFlag(StatusFlags, sfTestPaused);
    ClearFlag(StatusFlags, sfReviewing);
    PauseTestBtn->SetButtonIsDown(false);
    SetCaption(PauseTestBtn, "Test pauzeren");
    PlaySound("a\\3.wav");
    TestHeaderLbl->setText(QStringLiteral("Tests"));
    ShowCatalogue();
    UpdateStatus();
}

void TMainForm::PauseTestBtnClick() {
    ShowPage(QStringLiteral("Test"));
    if (HasFlag(StatusFlags, sfTestPaused)) {
        ClearFlag(StatusFlags, sfTestPaused);
        PauseTestBtn->SetButtonIsDown(false);
        SetCaption(PauseTestBtn, "Test pauzeren");
        ContinueAfterPause();
    } else {
        SetFlag(StatusFlags, sfTestPaused);
        PauseTestBtn->SetButtonIsDown(true);
        SetCaption(PauseTestBtn, "Test vervolgen");
        ShowPausedText();
        if (HasFlag(StatusFlags, sfTestRunning)) {
            RecordPausedQuestion();
            // Pausing on the last question ends the run at once.
            if (QuestionNo == TestQuestionCount) {
                ClearFlag(StatusFlags, sfTestRunning);
                SelectTestBtnClick();
                ClearFlag(StatusFlags, sfTestPaused);
                PauseTestBtn->SetButtonIsDown(false);
                SetCaption(PauseTestBtn, "Test pauzeren");
            }
            CatalogueText.clear();
        }
    }
    UpdateStatus();
}

void TMainForm::BkInfoBtnClick() {
    ShowPage(QStringLiteral("BkInfo"));
    SetFlag(StatusFlags, sfBkInfoVisited);
    PlaySound("a\\3.wav");
    if (BkInfoIndexLst->currentIndex() < 0 && BkInfoIndexLst->count() > 0)
        BkInfoIndexLst->setCurrentIndex(0);
    ShowSelectedBkInfoTopic();
    UpdateStatus();
}

void TMainForm::HelpBtnClick() {
    OpenUrlInBrowser(web::kOnlineHelp);
    MinimizeApplication();
}

void TMainForm::SoundBtnClick() {
    // Switching off does not by itself stop a sound that is playing.
    SoundBtn->SetButtonIsDown(!SoundBtn->ButtonIsDown());
}

void TMainForm::InfoBtnClick() {
    ShowAboutBox();
}

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
    in.ActivePage = Text(ActivePageName());
    in.AgeText = Text(ConfigAgeEdit->text());
    in.TimeLimQ = UserProfile.TimeLimQ;
    in.TimeLimT = UserProfile.TimeLimT;
    const TTestRunState& run = TestRun().State();
    const TUserPages userPages = UserPages();
    in.LogOn = LogOnInputsOf(userPages.LogOn, UserProfile, run.Has(sfLoggedOn));
    const TStatusView v = ComputeStatus(run, visits_, in);

    // Page buttons.
    LogOnOffBtn->setEnabled(v.LogOnOffBtnEnabled);
    SetCaption(LogOnOffBtn, v.LogOnOffBtnCaption);
    ConfigBtn->setEnabled(v.ConfigBtnEnabled);
    InternetBtn->setEnabled(v.InternetBtnEnabled);
    SelectTestBtn->setEnabled(v.SelectTestBtnEnabled);
    PauseTestBtn->setEnabled(v.PauseTestBtnEnabled);
    BkInfoBtn->setEnabled(v.BkInfoBtnEnabled);
    HelpBtn->setEnabled(v.HelpBtnEnabled);

    // Log-on page (the caption first, so that it is centred).
    SetCaption(LogOnOffGoBtn, v.LogOn.GoBtnCaption);
    ApplyLogOnView(userPages.LogOn, v.LogOn);

    // Pages that were left. The settings mark goes before saving: saving may
    // report a failure in a message box, whose event loop may run this
    // again, and the page is saved only once.
    if (v.LeaveTestPage)
        TestRun().LeaveTestPage();
    visits_ = v.Visits;
    if (v.SaveSettings)
        SaveUser();

    // Test page.
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

uint16_t TMainForm::StatusFlags() const {
    return uint16_t(testRun_->State().StatusFlags | visits_.Flags());
}

void TMainForm::ClearStatusFlags() {
    TestRun().ClearFlags();
    visits_ = {};
}

void TMainForm::SetPauseButton(bool pressed) {
    PauseTestBtn->SetButtonIsDown(pressed);
    SetCaption(PauseTestBtn, pressed ? kResumeCaption : kPauseCaption);
    PauseTestBtn->update();
}

void TMainForm::LogOnOffBtnClick() {
    ShowPage(QStringLiteral("LogOnOff"));
    UpdateStatus();
}

void TMainForm::ConfigBtnClick() {
    ShowPage(QStringLiteral("Config"));
    visits_.Config = true;
    PlaySound("a\\3.wav");
    UpdateStatus();
}

void TMainForm::InternetBtnClick() {
    ShowPage(QStringLiteral("Internet"));
    visits_.Internet = true;
    PlaySound("a\\3.wav");
    UpdateStatus();
}

void TMainForm::BkInfoBtnClick() {
    ShowPage(QStringLiteral("BkInfo"));
    visits_.BkInfo = true;
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

#include "app/run_page_adapter.h"

#include "app/main_form.h"
#include "app/skin_style.h"
#include "markup/parser_control.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "results/results_chart.h"
#include "results/results_text.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace {

void SetButtonCaption(TBaseBtn* button, const std::string& caption) {
    const QString text = plat::FromAnsi(caption);
    if (button->Caption() != text) {
        button->SetCaption(text);
        skin::CentreCaption(button);
    }
    button->update();
}

} // namespace

void TMainFormTestHost::ShowTestPage() {
    form_.ShowPage(QStringLiteral("Test"));
}

void TMainFormTestHost::PlaySound(std::string_view relativeFile) {
    form_.PlaySound(relativeFile);
}

void TMainFormTestHost::SetTestHeader(const std::string& caption) {
    form_.TestHeaderLbl->setText(plat::FromAnsi(caption));
}

void TMainFormTestHost::ShowText(const std::string& markup) {
    if (!form_.TestView)
        return;
    // No text first: pictures and fields of the old text go, and the new one
    // starts at the top.
    form_.TestView->SetMarkupText(std::nullopt);
    form_.TestTextCtrl->verticalScrollBar()->setValue(0);
    form_.TestView->SetMarkupText(markup);
}

void TMainFormTestHost::ClearText() {
    if (form_.TestView)
        form_.TestView->SetMarkupText(std::nullopt);
}

void TMainFormTestHost::EnableInputs() {
    if (form_.TestView)
        form_.TestView->EnableInputs();
}

void TMainFormTestHost::DisableInputs() {
    if (form_.TestView)
        form_.TestView->DisableInputs();
}

void TMainFormTestHost::ClearInputs() {
    if (form_.TestView)
        form_.TestView->ClearInputs();
}

void TMainFormTestHost::FocusText() {
    const bool had = form_.TestTextCtrl->hasFocus();
    form_.TestTextCtrl->setFocus(Qt::OtherFocusReason);
    // Focus that does not move raises no event, yet a screen reader should
    // read the new question or feedback as it reads a newly focused text.
    if (had && form_.TestView) {
        QAccessibleEvent event(form_.TestView, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void TMainFormTestHost::SetAnswerCaption(const std::string& caption) {
    form_.QuestionAnswerLbl->setText(plat::FromAnsi(caption));
}

void TMainFormTestHost::SetRemark(const std::string& text) {
    form_.RemarkLbl->setText(plat::FromAnsi(text));
}

void TMainFormTestHost::SetNextCaption(const std::string& caption) {
    SetButtonCaption(form_.NextQuestionBtn, caption);
}

void TMainFormTestHost::ShowNextButton() {
    form_.NextQuestionBtn->show();
}

void TMainFormTestHost::SetPauseButton(bool pressed) {
    form_.SetPauseButton(pressed);
}

void TMainFormTestHost::SetTimeCaptions(const std::string& question, const std::string& total) {
    form_.QuestionTime->setText(plat::FromAnsi(question));
    form_.TotalUserTime->setText(plat::FromAnsi(total));
}

void TMainFormTestHost::SetQuestionGauge(int value) {
    form_.TimeLimitQGauge->SetProgress(value);
}

void TMainFormTestHost::SetTestGauge(int value) {
    form_.TimeLimitTGauge->SetProgress(value);
}

void TMainFormTestHost::BeginCatalogueProgress() {
    TGauge* gauge = form_.TimeLimitQGauge;
    gauge->SetProgress(0);
    gauge->SetKind(gkPie);
    gauge->show();
}

void TMainFormTestHost::CatalogueProgress(int percent) {
    form_.TimeLimitQGauge->SetProgress(percent);
    QCoreApplication::processEvents();
}

void TMainFormTestHost::EndCatalogueProgress() {
    TGauge* gauge = form_.TimeLimitQGauge;
    gauge->SetKind(gkNeedle);
    gauge->SetProgress(0);
    gauge->hide();
}

void TMainFormTestHost::StartTimer() {
    form_.TestTimer->start();
}

void TMainFormTestHost::StopTimer() {
    form_.TestTimer->stop();
}

void TMainFormTestHost::UpdateStatus() {
    form_.UpdateStatus();
}

void TMainFormTestHost::ProcessEvents() {
    QCoreApplication::processEvents();
}

std::string TMainFormTestHost::ResultsPageText(const TTestContent& content,
                                               const TUserProfile& user) {
    const std::vector<TResultAttempt> attempts = LoadAttempts(content, user.Name, user.Age);
    if (attempts.empty())
        return ResultsPageMarkup(attempts, {});
    // As wide as the view leaves beside its scroll bar and the text's margin.
    // The scroll box's own width is used: its viewport has no size of its
    // own before the page was first shown.
    const QScrollArea* box = form_.TestTextCtrl;
    const int width = box->width() - box->verticalScrollBar()->sizeHint().width() - 12;
    const QString file = plat::ForceDirectories(kResultsChartFile);
    const bool written = !file.isEmpty() && WriteResultsChart(LayoutChart(attempts, width), file);
    // The picture is looked up by this name as a file of the program's T folder.
    return ResultsPageMarkup(attempts,
                             written ? plat::AnsiLower(kResultsChartFile) : std::string());
}

void TMainFormTestHost::WriteFailed(const std::string& fileName) {
    if (form_.ShowWriteErrorBox)
        form_.ShowWriteErrorBox(QString::fromStdString(fileName)); // a path, in UTF-8
}

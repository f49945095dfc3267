// The pages "Test", "BkInfo" and "Help" in their designed coordinates. The
// scroll boxes receive their markup views from the markup control; the test
// engine and the reference pages attach their handlers to these controls.
#include "app/main_form.h"

#include "app/skin_style.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"
#include "widgets/gauge.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

using skin::Make;
using skin::MakeLabel;

namespace {

QScrollArea* MakeScrollBox(QWidget* page, const char* name, int left, int top, int width,
                           int height) {
    auto* box = Make<QScrollArea>(page, name, left, top, width, height);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setFrameShape(QFrame::NoFrame);
    box->setWidgetResizable(true);
    box->viewport()->setAutoFillBackground(false);
    skin::StyleMarkupScrollBar(box->verticalScrollBar());
    return box;
}

TGauge* MakeNeedleGauge(QWidget* page, const char* name, int left) {
    auto* g = Make<TGauge>(page, name, left, 338, 64, 40);
    g->SetKind(gkNeedle);
    g->SetRange(0, 100);
    g->SetForeColor(skin::kHeading);
    g->SetBackColor(QColor(246, 248, 245));
    g->SetBorder(false);
    g->hide();
    return g;
}

} // namespace

void TMainForm::BuildTestPage() {
    QWidget* page = TestPage;
    TestBk = skin::MakePageBackground(page, "TestBk");
    TestHeaderLbl = skin::MakeHeading(page, "TestHeaderLbl", "Tests", skin::kTestHeadingWidth);
    RemarkLbl = MakeLabel(page, "RemarkLbl", "", 24, 36, 441, 16, 11, true);
    TestTextCtrl = MakeScrollBox(page, "TestTextCtrl", 10, 58, 469, 270);

    QuestionAnswerLbl = MakeLabel(page, "QuestionAnswerLbl", "Keuze: ", 16, 336, 300, 16, 12, true);
    QuestionTime = MakeLabel(page, "QuestionTime", "Tijd deze vraag: 00:00", 16, 354, 200, 14);
    TotalUserTime = MakeLabel(page, "TotalUserTime", "Totale tijd: 00:00:00", 16, 369, 200, 14);
    TimeLimitQGauge = MakeNeedleGauge(page, "TimeLimitQGauge", 335);
    TimeLimitTGauge = MakeNeedleGauge(page, "TimeLimitTGauge", 410);
    for (QWidget* w :
         std::initializer_list<QWidget*>{QuestionAnswerLbl, QuestionTime, TotalUserTime})
        w->hide();

    DeleteAnswerBtn = skin::MakeLargeButton(page, "DeleteAnswerBtn", "Wissen", 14, 386,
                                            "Gekozen antwoord wissen");
    PreviousQuestionBtn =
        skin::MakeLargeButton(page, "PreviousQuestionBtn", "Vorige vraag", 172, 386);
    NextQuestionBtn = skin::MakeLargeButton(page, "NextQuestionBtn", "Volgende vraag", 330, 386);
    for (TBaseBtn* b : {DeleteAnswerBtn, PreviousQuestionBtn, NextQuestionBtn})
        b->hide();
}

void TMainForm::BuildBkInfoPage() {
    QWidget* page = BkInfoPage;
    BkInfoBk = skin::MakePageBackground(page, "BkInfoBk");
    BkInfoHeaderLbl = skin::MakeHeading(page, "BkInfoHeaderLbl", "Achtergronden");
    BkInfoIndexLstHeaderLbl =
        MakeLabel(page, "BkInfoIndexLstHeaderLbl", "Onderwerpen", 24, 45, 100, 18, 12);
    BkInfoIndexLst = Make<QComboBox>(page, "BkInfoIndexLst", 120, 42, 345, 24);
    BkInfoIndexLst->setEditable(false);
    // The owner-drawn items are 16 pixels high at the designed size.
    BkInfoIndexLst->setProperty("ItemHeight", 16);
    BkInfoTextCtrl = MakeScrollBox(page, "BkInfoTextCtrl", 10, 76, 469, 350);
}

void TMainForm::BuildHelpPage() {
    QWidget* page = HelpPage;
    HelpBk = skin::MakePageBackground(page, "HelpBk");
    HelpHeaderLbl = skin::MakeHeading(page, "HelpHeaderLbl", "Help");
    HelpTextCtrl = MakeScrollBox(page, "HelpTextCtrl", 10, 44, 469, 382);
}

#include "app/keyboard_access.h"

#include "app/main_form_controls.h"
#include "markup/parser_control.h"
#include "users/spinner.h"
#include "widgets/base_btn.h"
#include "widgets/gauge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <initializer_list>

namespace {

// Tab visits the widgets in this order; the pages' controls follow each
// other, but only those of the shown page can take the focus (the other
// pages are hidden), and disabled or hidden controls are passed over.
void ChainFocus(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void NameAfterLabel(QWidget* control, const QLabel* label) {
    if (control && label)
        control->setAccessibleName(label->text());
}

// A markup view that takes the focus itself makes a second stop on its
// scroll box pointless.
void FocusViewNotBox(QScrollArea* box, QWidget* view) {
    if (!box || !view || !(view->focusPolicy() & Qt::TabFocus))
        return;
    // The box hands its policy on to its focus proxy, the view: give the
    // view its own back.
    const Qt::FocusPolicy own = view->focusPolicy();
    box->setFocusPolicy(Qt::NoFocus);
    view->setFocusPolicy(own);
}

} // namespace

void SetUpKeyboardAccess(const TMainFormControls& c) {
    FocusViewNotBox(c.TestTextCtrl, c.TestView);
    FocusViewNotBox(c.BkInfoTextCtrl, c.BkInfoView);
    FocusViewNotBox(c.HelpTextCtrl, c.HelpView);

    ChainFocus({// Page buttons, top to bottom.
                c.LogOnOffBtn, c.ConfigBtn, c.InternetBtn, c.SelectTestBtn, c.PauseTestBtn,
                c.BkInfoBtn, c.HelpBtn,
                // The pages, each in reading order.
                c.LogOnOffUsersLst, c.LogOnOffPWEdit, c.LogOnOffCPWEdit, c.LogOnOffGoBtn,
                c.LogOnOffAddBtn, c.LogOnOffPWDelBtn, c.LogOnOffNewPWBtn, c.ConfigMaleChkBx,
                c.ConfigFemaleChkBx, c.ConfigAgeEdit, c.ConfigHairLst, c.ConfigEyesLst,
                c.ConfigShoeSizeEdit, c.ConfigDirectFBChkBx, c.ConfigTimeLimitQChkBx,
                c.ConfigTimeLimitQChkBxSpnnr, c.ConfigTimeLimitTChkBx, c.ConfigTimeLimitTChkBxSpnnr,
                c.TestView, c.DeleteAnswerBtn, c.PreviousQuestionBtn, c.NextQuestionBtn,
                c.InternetDownloadBtn, c.InternetUpLoadBtn, c.BkInfoIndexLst, c.BkInfoView,
                c.HelpView,
                // The window's own buttons in the header, left to right.
                c.InfoBtn, c.SoundBtn, c.MinimizeBtn, c.QuitBtn});

    // The header buttons show a glyph; their captions are single letters.
    const std::initializer_list<std::pair<QWidget*, const char*>> names{
        {c.InfoBtn, "Info"},
        {c.SoundBtn, "Geluid"},
        {c.MinimizeBtn, "Minimaliseren"},
        {c.QuitBtn, "Afsluiten"},
        {c.TimeLimitQGauge, "Tijd deze vraag"},
        {c.TimeLimitTGauge, "Totale tijd"},
        {c.ConfigTimeLimitQChkBxSpnnr, "Seconden per vraag"},
        {c.ConfigTimeLimitTChkBxSpnnr, "Minuten per test"}};
    for (const auto& [control, name] : names)
        if (control)
            control->setAccessibleName(QString::fromUtf8(name));
    NameAfterLabel(c.LogOnOffUsersLst, c.LogOnOffUserLstLbl);
    NameAfterLabel(c.LogOnOffPWEdit, c.LogOnOffPWLbl);
    NameAfterLabel(c.LogOnOffCPWEdit, c.LogOnOffCPWLbl);
    NameAfterLabel(c.ConfigAgeEdit, c.ConfigAgeLbl);
    NameAfterLabel(c.ConfigHairLst, c.ConfigHairLbl);
    NameAfterLabel(c.ConfigEyesLst, c.ConfigEyesLbl);
    NameAfterLabel(c.ConfigShoeSizeEdit, c.ConfigShoeSizeLbl);
    NameAfterLabel(c.BkInfoIndexLst, c.BkInfoIndexLstHeaderLbl);

    // The window opens on the log-on page with the name list ready for
    // typing, as it did before the buttons took the focus.
    if (c.LogOnOffUsersLst)
        c.LogOnOffUsersLst->setFocus(Qt::OtherFocusReason);
}

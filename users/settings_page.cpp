#include "users/settings_page.h"

#include "platform/ansi.h"
#include "users/spinner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

void SetChecked(QCheckBox* box, bool checked) {
    if (box)
        box->setChecked(checked);
}

bool IsChecked(const QCheckBox* box, bool def) {
    return box ? box->isChecked() : def;
}

void SetText(QLineEdit* edit, const std::string& text) {
    if (edit)
        edit->setText(plat::FromAnsi(text));
}

void FillList(QComboBox* list, std::initializer_list<const char*> items) {
    if (!list)
        return;
    list->clear();
    for (const char* item : items)
        list->addItem(QString::fromLatin1(item));
    list->setCurrentIndex(-1);
}

void PrepareSpinner(TSpinner* spinner, int minValue, int maxValue) {
    if (!spinner)
        return;
    spinner->SetRange(minValue, maxValue);
    spinner->SetValue(10);
}

} // namespace

void PrepareSettingsPage(const TSettingsPageControls& page) {
    FillList(page.ConfigHairLst, {"Blond", "Bruin", "Rood", "Zwart"});
    FillList(page.ConfigEyesLst, {"Bruin", "Blauw", "Grijs", "Groen"});
    PrepareSpinner(page.ConfigTimeLimitQChkBxSpnnr, kQuestionSecondsMin, kQuestionSecondsMax);
    PrepareSpinner(page.ConfigTimeLimitTChkBxSpnnr, kTestMinutesMin, kTestMinutesMax);
    SetChecked(page.ConfigMaleChkBx, true);
    SetChecked(page.ConfigFemaleChkBx, false);
    for (QWidget* hidden :
         {static_cast<QWidget*>(page.ConfigHairLst), static_cast<QWidget*>(page.ConfigEyesLst),
          static_cast<QWidget*>(page.ConfigShoeSizeEdit)})
        if (hidden)
            hidden->hide();
}

void ShowUserOnPage(const TSettingsPageControls& page, const TUserProfile& user) {
    const TSettingsValues values = SettingsOfUser(user);
    if (page.ConfigName)
        page.ConfigName->setText(plat::FromAnsi(user.Name));
    SetChecked(page.ConfigMaleChkBx, values.Male);
    SetChecked(page.ConfigFemaleChkBx, !values.Male);
    SetText(page.ConfigAgeEdit, values.AgeText);
    // A colour beyond the list's items shows as no selection; taking the
    // page then keeps the stored value.
    if (page.ConfigHairLst)
        page.ConfigHairLst->setCurrentIndex(values.HairIndex);
    if (page.ConfigEyesLst)
        page.ConfigEyesLst->setCurrentIndex(values.EyeIndex);
    SetText(page.ConfigShoeSizeEdit, values.ShoeSizeText);
    SetChecked(page.ConfigDirectFBChkBx, values.DirectFB);
    SetChecked(page.ConfigTimeLimitQChkBx, values.TimeLimQ);
    SetChecked(page.ConfigTimeLimitTChkBx, values.TimeLimT);
    if (page.ConfigTimeLimitQChkBxSpnnr)
        page.ConfigTimeLimitQChkBxSpnnr->SetValue(values.TimeLimQt);
    if (page.ConfigTimeLimitTChkBxSpnnr)
        page.ConfigTimeLimitTChkBxSpnnr->SetValue(values.TimeLimTt);
}

TSettingsValues SettingsOfPage(const TSettingsPageControls& page) {
    TSettingsValues values;
    values.Male = IsChecked(page.ConfigMaleChkBx, true);
    if (page.ConfigAgeEdit)
        values.AgeText = plat::ToAnsi(page.ConfigAgeEdit->text());
    if (page.ConfigHairLst)
        values.HairIndex = page.ConfigHairLst->currentIndex();
    if (page.ConfigEyesLst)
        values.EyeIndex = page.ConfigEyesLst->currentIndex();
    if (page.ConfigShoeSizeEdit)
        values.ShoeSizeText = plat::ToAnsi(page.ConfigShoeSizeEdit->text());
    values.DirectFB = IsChecked(page.ConfigDirectFBChkBx, false);
    values.TimeLimQ = IsChecked(page.ConfigTimeLimitQChkBx, false);
    values.TimeLimT = IsChecked(page.ConfigTimeLimitTChkBx, false);
    if (page.ConfigTimeLimitQChkBxSpnnr)
        values.TimeLimQt = page.ConfigTimeLimitQChkBxSpnnr->Value();
    if (page.ConfigTimeLimitTChkBxSpnnr)
        values.TimeLimTt = page.ConfigTimeLimitTChkBxSpnnr->Value();
    return values;
}

void ConfigGenderChkBxClick(const TSettingsPageControls& page, const QCheckBox* clicked) {
    if (!page.ConfigMaleChkBx || !page.ConfigFemaleChkBx || !clicked)
        return;
    const TGenderPair pair = GenderPairAfterClick(
        clicked == page.ConfigMaleChkBx,
        {page.ConfigMaleChkBx->isChecked(), page.ConfigFemaleChkBx->isChecked()});
    const QSignalBlocker male(page.ConfigMaleChkBx);
    const QSignalBlocker female(page.ConfigFemaleChkBx);
    page.ConfigMaleChkBx->setChecked(pair.Male);
    page.ConfigFemaleChkBx->setChecked(pair.Female);
}

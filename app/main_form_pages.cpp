// The pages "LogOnOff", "Config" and "Internet" in their designed
// coordinates (each page is 489 x 435). Their handlers belong to the user
// store and the exchange; here they get their places, captions and hints.
#include "app/main_form.h"

#include "app/skin_style.h"
#include "users/settings_values.h"
#include "users/spinner.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using skin::Make;
using skin::MakeLabel;

void TMainForm::BuildLogOnOffPage() {
    QWidget* page = LogOnOffPage;
    LogOnOffBk = skin::MakePageBackground(page, "LogOnOffBk");
    LogOnOffHeaderLbl = skin::MakeHeading(page, "LogOnOffHeaderLbl", "Aanmelden / Afmelden");

    LogOnOffUserLstLbl = MakeLabel(page, "LogOnOffUserLstLbl", "Naam", 40, 72, 220, 16, 12);
    LogOnOffUsersLst = Make<QComboBox>(page, "LogOnOffUsersLst", 40, 90, 220, 24);
    LogOnOffUsersLst->setEditable(true);
    LogOnOffUsersLst->setInsertPolicy(QComboBox::NoInsert);
    LogOnOffUsersLst->setToolTip(
        QString::fromUtf8("Geef een (willekeurige) naam op of kies er één uit de lijst"));

    LogOnOffPWLbl = MakeLabel(page, "LogOnOffPWLbl", "Wachtwoord", 40, 128, 220, 16, 12);
    LogOnOffPWEdit = Make<QLineEdit>(page, "LogOnOffPWEdit", 40, 146, 220, 24);
    LogOnOffCPWLbl =
        MakeLabel(page, "LogOnOffCPWLbl", "Wachtwoord bevestigen", 40, 184, 220, 16, 12);
    LogOnOffCPWEdit = Make<QLineEdit>(page, "LogOnOffCPWEdit", 40, 202, 220, 24);
    for (QLineEdit* edit : {LogOnOffPWEdit, LogOnOffCPWEdit}) {
        edit->setEchoMode(QLineEdit::Password);
        edit->hide();
    }
    LogOnOffPWLbl->hide();
    LogOnOffCPWLbl->hide();
    for (QWidget* field :
         std::initializer_list<QWidget*>{LogOnOffUsersLst, LogOnOffPWEdit, LogOnOffCPWEdit})
        skin::StyleField(field);

    LogOnOffGoBtn = skin::MakeLargeButton(page, "LogOnOffGoBtn", "Aanmelden", 300, 84,
                                          "Aanmelden met opgegeven naam en wachtwoord");
    LogOnOffAddBtn =
        skin::MakeLargeButton(page, "LogOnOffAddBtn", "Toevoegen", 300, 140, "Gebruiker toevoegen");
    LogOnOffPWDelBtn = skin::MakeLargeButton(page, "LogOnOffPWDelBtn", "Verwijderen", 300, 196,
                                             "Gebruiker verwijderen");
    LogOnOffNewPWBtn =
        skin::MakeLargeButton(page, "LogOnOffNewPWBtn", "Nieuw wachtwoord", 300, 252);
    for (TBaseBtn* b : {LogOnOffGoBtn, LogOnOffAddBtn, LogOnOffPWDelBtn, LogOnOffNewPWBtn})
        b->hide();
}

void TMainForm::BuildConfigPage() {
    QWidget* page = ConfigPage;
    ConfigBk = skin::MakePageBackground(page, "ConfigBk");
    ConfigHeaderLbl = skin::MakeHeading(page, "ConfigHeaderLbl", "Instellingen");

    constexpr int kLeft = 40;
    constexpr int kField = 170;
    ConfigNameLbl = MakeLabel(page, "ConfigNameLbl", "Naam", kLeft, 70, 120, 18, 12);
    ConfigName = MakeLabel(page, "ConfigName", "", kField, 70, 280, 18, 12, true);

    ConfigMaleChkBx = Make<QCheckBox>(page, "ConfigMaleChkBx", kField, 100, 70, 20);
    ConfigMaleChkBx->setText(QStringLiteral("Man"));
    ConfigMaleChkBx->setChecked(true);
    ConfigFemaleChkBx = Make<QCheckBox>(page, "ConfigFemaleChkBx", kField + 80, 100, 80, 20);
    ConfigFemaleChkBx->setText(QStringLiteral("Vrouw"));
    MakeLabel(page, "ConfigGenderLbl", "Geslacht", kLeft, 101, 120, 18, 12);

    ConfigAgeLbl = MakeLabel(page, "ConfigAgeLbl", "Leeftijd", kLeft, 133, 120, 18, 12);
    ConfigAgeEdit = Make<QLineEdit>(page, "ConfigAgeEdit", kField, 130, 50, 24);
    ConfigAgeEditLbl =
        MakeLabel(page, "ConfigAgeEditLbl", "jaar (verplicht!)", kField + 58, 133, 160, 18, 12);

    // Carried with the profile but never shown.
    ConfigHairLbl = MakeLabel(page, "ConfigHairLbl", "Kleur haar", kLeft, 166, 120, 18, 12);
    ConfigHairLst = Make<QComboBox>(page, "ConfigHairLst", kField, 164, 120, 24);
    ConfigHairLst->addItems({"Blond", "Bruin", "Rood", "Zwart"});
    ConfigEyesLbl = MakeLabel(page, "ConfigEyesLbl", "Kleur ogen", kLeft, 196, 120, 18, 12);
    ConfigEyesLst = Make<QComboBox>(page, "ConfigEyesLst", kField, 194, 120, 24);
    ConfigEyesLst->addItems({"Bruin", "Blauw", "Grijs", "Groen"});
    ConfigShoeSizeLbl = MakeLabel(page, "ConfigShoeSizeLbl", "Schoenmaat", kLeft, 226, 120, 18, 12);
    ConfigShoeSizeEdit = Make<QLineEdit>(page, "ConfigShoeSizeEdit", kField, 224, 50, 24);
    for (QComboBox* list : {ConfigHairLst, ConfigEyesLst})
        list->setCurrentIndex(-1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{ConfigHairLbl, ConfigHairLst, ConfigEyesLbl, ConfigEyesLst,
                                         ConfigShoeSizeLbl, ConfigShoeSizeEdit})
        w->hide();

    ConfigDirectFBChkBx = Make<QCheckBox>(page, "ConfigDirectFBChkBx", kLeft, 178, 300, 20);
    ConfigDirectFBChkBx->setText(QStringLiteral("Bij elke vraag direkt feedback"));

    ConfigTimeLimitQChkBx = Make<QCheckBox>(page, "ConfigTimeLimitQChkBx", kLeft, 214, 170, 20);
    ConfigTimeLimitQChkBx->setText(QStringLiteral("Tijdslimiet per vraag"));
    ConfigTimeLimitQChkBxSpnnr =
        Make<TSpinner>(page, "ConfigTimeLimitQChkBxSpnnr", 220, 212, 60, 24);
    ConfigTimeLimitQChkBxSpnnr->SetRange(kQuestionSecondsMin, kQuestionSecondsMax);
    ConfigTimeLimitQChkBxSpnnr->SetValue(10);
    ConfigTimeLimitQLbl = MakeLabel(page, "ConfigTimeLimitQLbl", "Seconden", 290, 215, 100, 18, 12);

    ConfigTimeLimitTChkBx = Make<QCheckBox>(page, "ConfigTimeLimitTChkBx", kLeft, 248, 170, 20);
    ConfigTimeLimitTChkBx->setText(QStringLiteral("Tijdslimiet per test"));
    ConfigTimeLimitTChkBxSpnnr =
        Make<TSpinner>(page, "ConfigTimeLimitTChkBxSpnnr", 220, 246, 60, 24);
    ConfigTimeLimitTChkBxSpnnr->SetRange(kTestMinutesMin, kTestMinutesMax);
    ConfigTimeLimitTChkBxSpnnr->SetValue(10);
    ConfigTimeLimitTLbl = MakeLabel(page, "ConfigTimeLimitTLbl", "Minuten", 290, 249, 100, 18, 12);

    for (QCheckBox* box : {ConfigMaleChkBx, ConfigFemaleChkBx, ConfigDirectFBChkBx,
                           ConfigTimeLimitQChkBx, ConfigTimeLimitTChkBx}) {
        QFont f = box->font();
        f.setPixelSize(12);
        box->setFont(f);
    }
    for (TSpinner* spin : {ConfigTimeLimitQChkBxSpnnr, ConfigTimeLimitTChkBxSpnnr})
        spin->setAlignment(Qt::AlignRight);
    for (QWidget* field : std::initializer_list<QWidget*>{ConfigAgeEdit, ConfigHairLst,
                                                          ConfigEyesLst, ConfigShoeSizeEdit})
        skin::StyleField(field);
}

void TMainForm::BuildInternetPage() {
    QWidget* page = InternetPage;
    InternetBk = skin::MakePageBackground(page, "InternetBk");
    InternetHeaderLbl = skin::MakeHeading(page, "InternetHeaderLbl", "Internet");
    InternetTextLbl = MakeLabel(
        page, "InternetTextLbl",
        "Klik op downloaden om de uitslagen van alle internet deelnemers te downloaden. Klik op "
        "Uploaden als u eigen gegevens naar het internet wil uploaden.",
        40, 70, 409, 60, 12);
    InternetTextLbl->setWordWrap(true);
    InternetTextLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InternetDownloadBtn = skin::MakeLargeButton(page, "InternetDownloadBtn", "Downloaden", 40, 150,
                                                "Uitslagen van alle deelnemers ophalen");
    InternetUpLoadBtn = skin::MakeLargeButton(page, "InternetUpLoadBtn", "Uploaden", 200, 150,
                                              "Eigen gegevens naar het internet sturen");
}

// The control tree of the main window in its designed 640 x 480 coordinates:
// header, page buttons and the page set. The pages themselves are built in
// main_form_pages.cpp and main_form_test_pages.cpp.
#include "app/main_form.h"

#include "app/app_window.h"
#include "app/message_boxes.h"
#include "app/skin_style.h"
#include "exchange/internet_page.h"
#include "widgets/background.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>

using skin::Make;

namespace {

void FillWith(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

void TMainForm::BuildControls() {
    MainFormPanel = Make<QFrame>(this, "MainFormPanel", 0, 0, 640, 480);
    MainFormPanel->setPalette(skin::FieldPalette(MainFormPanel->palette()));
    BuildHeader();
    BuildNavigation();

    MainPnl = Make<QFrame>(MainFormPanel, "MainPnl", 151, 45, 489, 435);
    MainPages = Make<QStackedWidget>(MainPnl, "MainPages", 0, 0, 489, 435);
    LogOnOffPage = AddPage("LogOnOff");
    TestPage = AddPage("Test");
    ConfigPage = AddPage("Config");
    InternetPage = AddPage("Internet");
    BkInfoPage = AddPage("BkInfo");
    IntroPage = AddPage("Intro");
    HelpPage = AddPage("Help");
    BuildLogOnOffPage();
    BuildConfigPage();
    BuildTestPage();
    BuildInternetPage();
    AttachInternetPage(InternetPage, ShowInformationInFront);
    BuildBkInfoPage();
    BuildHelpPage();

    TestTimer = new QTimer(this);
    TestTimer->setObjectName(QStringLiteral("TestTimer"));
    TestTimer->setInterval(1000);

    ConnectButtons();
}

void TMainForm::BuildHeader() {
    HeaderPnl = Make<QFrame>(MainFormPanel, "HeaderPnl", 0, 0, 640, 45);
    // The two pixels below the header picture make a thin line.
    FillWith(HeaderPnl, skin::kAccent);
    InfoBtn =
        skin::MakeHeaderButton(HeaderPnl, "InfoBtn", "i", 0, "Geeft informatie over Zernox 2");
    SoundBtn = skin::MakeHeaderButton(HeaderPnl, "SoundBtn", "s", 45, "Geluid aan- of uitzetten");
    SoundBtn->SetButtonIsDown(true); // sound is on while the button is down
    HeaderBk = Make<TBkControl>(HeaderPnl, "HeaderBk", 90, 0, 460, 43);
    HeaderBk->Background().SetImageDrawStyle(idsCenter);
    HeaderBk->Background().SetBrush(QBrush(Qt::NoBrush));
    HeaderBk->Background().SetPen(QPen(Qt::NoPen));
    CaptionLbl = Make<QLabel>(HeaderPnl, "CaptionLbl", 90, 14, 460, 16);
    CaptionLbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    {
        QFont f = CaptionLbl->font();
        f.setBold(true);
        f.setPixelSize(13);
        CaptionLbl->setFont(f);
        QPalette p = CaptionLbl->palette();
        p.setColor(QPalette::WindowText, skin::kNavy);
        CaptionLbl->setPalette(p);
    }
    MinimizeBtn =
        skin::MakeHeaderButton(HeaderPnl, "MinimizeBtn", "-", 550, "Zernox 2 minimaliseren");
    QuitBtn = skin::MakeHeaderButton(HeaderPnl, "QuitBtn", "x", 595, "Zernox 2 afsluiten");
}

void TMainForm::BuildNavigation() {
    NavPnl = Make<QFrame>(MainFormPanel, "NavPnl", 0, 45, 151, 435);
    FillWith(NavPnl, skin::kNavPanel);
    LogOnOffBtn = skin::MakeLargeButton(NavPnl, "LogOnOffBtn", "Aanmelden...", 3, 5);
    ConfigBtn = skin::MakeLargeButton(NavPnl, "ConfigBtn", "Instellingen", 3, 52);
    InternetBtn = skin::MakeLargeButton(NavPnl, "InternetBtn", "Internet", 3, 99);
    SelectTestBtn = skin::MakeLargeButton(NavPnl, "SelectTestBtn", "Test selecteren", 3, 163);
    PauseTestBtn = skin::MakeLargeButton(NavPnl, "PauseTestBtn", kPauseCaption, 3, 210);
    BkInfoBtn = skin::MakeLargeButton(NavPnl, "BkInfoBtn", "Achtergronden", 3, 273);
    HelpBtn = skin::MakeLargeButton(NavPnl, "HelpBtn", "Help", 3, 319);
    CurrentUserLbl =
        skin::MakeLabel(NavPnl, "CurrentUserLbl", "Huidige gebruiker:", 8, 380, 137, 44);
    CurrentUserLbl->setWordWrap(true);
    CurrentUserLbl->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
}

QWidget* TMainForm::AddPage(const char* name) {
    auto* page = new QWidget(MainPages);
    page->setObjectName(QString::fromLatin1(name));
    MainPages->addWidget(page);
    return page;
}

void TMainForm::ConnectButtons() {
    const auto onClick = [this](TBaseBtn* button, void (TMainForm::*handler)()) {
        connect(button, &TBaseBtn::OnClick, this, handler);
    };
    onClick(InfoBtn, &TMainForm::InfoBtnClick);
    onClick(SoundBtn, &TMainForm::SoundBtnClick);
    onClick(LogOnOffBtn, &TMainForm::LogOnOffBtnClick);
    onClick(ConfigBtn, &TMainForm::ConfigBtnClick);
    onClick(InternetBtn, &TMainForm::InternetBtnClick);
    onClick(SelectTestBtn, &TMainForm::SelectTestBtnClick);
    onClick(PauseTestBtn, &TMainForm::PauseTestBtnClick);
    onClick(BkInfoBtn, &TMainForm::BkInfoBtnClick);
    onClick(HelpBtn, &TMainForm::HelpBtnClick);
    WireReferencePage();
    WireTestPage();
    connect(MinimizeBtn, &TBaseBtn::OnClick, this, [] { MinimizeApplication(); });
    connect(QuitBtn, &TBaseBtn::OnClick, this, &QWidget::close);
    WireUserPages();

    // Hover feedback is shared by every skinned button of the window.
    for (TBaseBtn* button : MainFormPanel->findChildren<TBaseBtn*>()) {
        connect(button, &TBaseBtn::OnMouseIn, this, &TMainForm::ButtonMouseIn);
        connect(button, &TBaseBtn::OnMouseOut, this, &TMainForm::ButtonMouseOut);
    }
}

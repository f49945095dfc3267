#pragma once

class GParserControl;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStackedWidget;
class QTimer;
class QWidget;
class TBaseBtn;
class TBkControl;
class TGauge;
class TImageLoader;
class TSpinner;
namespace plat {
class WavePlayer;
} // namespace plat

// The main window's controls, each named as its objectName. The window keeps
// them to itself: tests find them with findChild by that name, and the page
// adapters reach them as the window's friends.
struct TMainFormControls {
    QFrame* MainFormPanel = nullptr;
    QFrame* HeaderPnl = nullptr;
    TBaseBtn* InfoBtn = nullptr;
    TBaseBtn* SoundBtn = nullptr;
    TBkControl* HeaderBk = nullptr;
    QLabel* CaptionLbl = nullptr;
    TBaseBtn* MinimizeBtn = nullptr;
    TBaseBtn* QuitBtn = nullptr;
    QFrame* NavPnl = nullptr;
    QFrame* MainPnl = nullptr;
    QStackedWidget* MainPages = nullptr;
    QTimer* TestTimer = nullptr;
    TImageLoader* anImage = nullptr;
    plat::WavePlayer* MediaPlayer = nullptr;

    // Page buttons in NavPnl, and the current user's name below them.
    TBaseBtn* LogOnOffBtn = nullptr;
    TBaseBtn* ConfigBtn = nullptr;
    TBaseBtn* InternetBtn = nullptr;
    TBaseBtn* SelectTestBtn = nullptr;
    TBaseBtn* PauseTestBtn = nullptr;
    TBaseBtn* BkInfoBtn = nullptr;
    TBaseBtn* HelpBtn = nullptr;
    QLabel* CurrentUserLbl = nullptr;

    // The pages of MainPages (objectName "LogOnOff", "Test", ...).
    QWidget* LogOnOffPage = nullptr;
    QWidget* TestPage = nullptr;
    QWidget* ConfigPage = nullptr;
    QWidget* InternetPage = nullptr;
    QWidget* BkInfoPage = nullptr;
    QWidget* IntroPage = nullptr;
    QWidget* HelpPage = nullptr;

    // Page "LogOnOff".
    TBkControl* LogOnOffBk = nullptr;
    QLabel* LogOnOffHeaderLbl = nullptr;
    QLabel* LogOnOffUserLstLbl = nullptr;
    QComboBox* LogOnOffUsersLst = nullptr;
    QLabel* LogOnOffPWLbl = nullptr;
    QLineEdit* LogOnOffPWEdit = nullptr;
    QLabel* LogOnOffCPWLbl = nullptr;
    QLineEdit* LogOnOffCPWEdit = nullptr;
    TBaseBtn* LogOnOffGoBtn = nullptr;
    TBaseBtn* LogOnOffAddBtn = nullptr;
    TBaseBtn* LogOnOffPWDelBtn = nullptr;
    TBaseBtn* LogOnOffNewPWBtn = nullptr; // "Nieuw wachtwoord", always hidden

    // Page "Config".
    TBkControl* ConfigBk = nullptr;
    QLabel* ConfigHeaderLbl = nullptr;
    QLabel* ConfigNameLbl = nullptr;
    QLabel* ConfigName = nullptr;
    QCheckBox* ConfigMaleChkBx = nullptr;
    QCheckBox* ConfigFemaleChkBx = nullptr;
    QLabel* ConfigAgeLbl = nullptr;
    QLineEdit* ConfigAgeEdit = nullptr;
    QLabel* ConfigAgeEditLbl = nullptr;
    QLabel* ConfigHairLbl = nullptr;
    QComboBox* ConfigHairLst = nullptr;
    QLabel* ConfigEyesLbl = nullptr;
    QComboBox* ConfigEyesLst = nullptr;
    QLabel* ConfigShoeSizeLbl = nullptr;
    QLineEdit* ConfigShoeSizeEdit = nullptr;
    QCheckBox* ConfigDirectFBChkBx = nullptr;
    QCheckBox* ConfigTimeLimitQChkBx = nullptr;
    TSpinner* ConfigTimeLimitQChkBxSpnnr = nullptr;
    QLabel* ConfigTimeLimitQLbl = nullptr;
    QCheckBox* ConfigTimeLimitTChkBx = nullptr;
    TSpinner* ConfigTimeLimitTChkBxSpnnr = nullptr;
    QLabel* ConfigTimeLimitTLbl = nullptr;

    // Page "Test".
    TBkControl* TestBk = nullptr;
    QLabel* TestHeaderLbl = nullptr;
    QLabel* RemarkLbl = nullptr;
    QScrollArea* TestTextCtrl = nullptr;
    QLabel* QuestionAnswerLbl = nullptr;
    QLabel* QuestionTime = nullptr;
    QLabel* TotalUserTime = nullptr;
    TGauge* TimeLimitQGauge = nullptr;
    TGauge* TimeLimitTGauge = nullptr;
    TBaseBtn* DeleteAnswerBtn = nullptr;
    TBaseBtn* PreviousQuestionBtn = nullptr;
    TBaseBtn* NextQuestionBtn = nullptr;

    // Markup views in the scroll boxes of the pages "Test", "BkInfo" and "Help".
    GParserControl* TestView = nullptr;
    GParserControl* BkInfoView = nullptr;
    GParserControl* HelpView = nullptr;

    // Page "Internet".
    TBkControl* InternetBk = nullptr;
    QLabel* InternetHeaderLbl = nullptr;
    QLabel* InternetTextLbl = nullptr;
    TBaseBtn* InternetDownloadBtn = nullptr;
    TBaseBtn* InternetUpLoadBtn = nullptr;

    // Page "BkInfo".
    TBkControl* BkInfoBk = nullptr;
    QLabel* BkInfoHeaderLbl = nullptr;
    QLabel* BkInfoIndexLstHeaderLbl = nullptr;
    QComboBox* BkInfoIndexLst = nullptr;
    QScrollArea* BkInfoTextCtrl = nullptr;

    // Page "Help".
    TBkControl* HelpBk = nullptr;
    QLabel* HelpHeaderLbl = nullptr;
    QScrollArea* HelpTextCtrl = nullptr;
};

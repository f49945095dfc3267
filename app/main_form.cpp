#include "app/main_form.h"

#include "markup/markup_view_host.h"
#include "markup/parser_control.h"

#include "app/about_box.h"
#include "app/intro_form.h"
#include "app/keyboard_access.h"
#include "app/layout_selection.h"
#include "app/run_page_adapter.h"
#include "app/skin_style.h"
#include "app/temp_dir.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/wave_player.h"
#include "users/user_store.h"
#include "widgets/base_btn.h"
#include "widgets/hand_cursors.h"
#include "widgets/image_loader.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QToolTip>

namespace {

// Waits while letting window messages run, so that the about window paints.
void WaitWithEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("MainForm"));
    setAttribute(Qt::WA_QuitOnClose, true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    anImage = new TImageLoader();
    WaitMs = WaitWithEvents;
    SetWavePlayer(new plat::WavePlayer(this));
    BuildControls();
    StopSoundWhenButtonsGo(true);
    // The test run reads the one database object, which loading refills.
    RecordDb = std::make_unique<TiDbRecFile>();
    testHost_ = std::make_unique<TMainFormTestHost>(*this);
    testRun_ =
        std::make_unique<TTestRun>(CatalogueText, *RecordDb, RecordIndex, UserProfile, *testHost_);
    // The open hand over the window, its panels and pages; the buttons show
    // the pointing hand of their own.
    RegisterHandCursors();
    const QCursor& hand = CustomCursor(crHandNoFingersCursor);
    for (QWidget* w : std::initializer_list<QWidget*>{this, MainFormPanel, HeaderPnl, NavPnl,
                                                      MainPnl, MainPages})
        w->setCursor(hand);
    for (int i = 0; i < MainPages->count(); ++i)
        MainPages->widget(i)->setCursor(hand);
    ResetUserAndTestRun();
}

TMainForm::~TMainForm() {
    // The player goes before the buttons, so they must not reach it.
    StopSoundWhenButtonsGo(false);
    delete anImage;
    CleanTempDir(plat::ResolvePath("T\\"));
}

bool TMainForm::FormCreate() {
    // The caption first: a second start finds this instance by it.
    setWindowTitle(QString::fromLatin1(kCaption));
    CaptionLbl->setText(QString::fromLatin1(kCaption));
    // The application's name, not its display name: Qt appends a display
    // name to every window title, and the title is the caption alone.
    QApplication::setApplicationName(QString::fromLatin1(kClassName));
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, Qt::white);
    QToolTip::setPalette(tips);

    // Every data path is relative to the program directory, and users.dat
    // needs User\ before anything reads or writes it.
    QDir::setCurrent(plat::ProgramDir());
    PrepareUserStore();

    // Pictures are decoded for the screen's depth before anything loads
    // one; the markup views must exist before the layout scales their boxes,
    // and the hourglass covers the slow loading below.
    ConfigureImageLoader();
    PictureIndex.clear();
    CreateMarkupViews();
    SetUpKeyboardAccess(*this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GiveListsFlatLook();

    // The layout follows the screen; a screen too small for the smallest
    // one ends the program.
    const plat::ScreenInfo screen = plat::Screen();
    const auto layout = ChooseLayout(screen.width, screen.height);
    if (!layout) {
        QApplication::restoreOverrideCursor();
        return false;
    }
    LayoutSize = layout->layoutSize;
    ScaleControls(MainFormPanel, layout->multiplier, layout->divisor);
    BkInfoIndexLst->setProperty("ItemHeight", ScaleItemHeight(16, LayoutSize));
    // Fonts scale in whole pixels; centre the captions again for the new size.
    for (TBaseBtn* button : MainFormPanel->findChildren<TBaseBtn*>())
        skin::CentreCaption(button);
    SizeToScreen();
    CentrePanel();
    PlaceMarkupBackgrounds();

    // Start on the log-on page with no state, then the pictures for the
    // chosen layout.
    ShowPage(QStringLiteral("LogOnOff"));
    ClearStatusFlags();
    LoadWindowPictures();

    // Data of the other subsystems; each absorbs its own failures.
    ReadPictureArchiveIndex();
    OpenRecordDatabase();

    QApplication::restoreOverrideCursor();
    return true;
}

void TMainForm::ConfigureImageLoader() {
    const int depth = plat::Screen().depth;
    if (depth < 8) {
        anImage->SetReadDepth(TReadDepth::rdColor16);
        anImage->SetDither(true);
    } else if (depth < 16) {
        anImage->SetReadDepth(TReadDepth::rdColor256);
        anImage->SetDither(true);
    } else {
        anImage->SetReadDepth(TReadDepth::rdTrueColor);
        anImage->SetDither(false);
    }
}

void TMainForm::SizeToScreen() {
    const plat::ScreenInfo screen = plat::Screen();
    setGeometry(0, 0, screen.width, screen.height);
}

void TMainForm::CentrePanel() {
    MainFormPanel->move((width() - MainFormPanel->width()) / 2,
                        (height() - MainFormPanel->height()) / 2);
}

bool TMainForm::ShowPage(const QString& name) {
    for (int i = 0; i < MainPages->count(); ++i) {
        if (MainPages->widget(i)->objectName() == name) {
            MainPages->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QString TMainForm::ActivePageName() const {
    const QWidget* page = MainPages->currentWidget();
    return page ? page->objectName() : QString();
}

void TMainForm::ResetUserAndTestRun() {
    ClearUser(UserProfile);
    TestRun().ForgetTest();
}

void TMainForm::ActivateInstance() {
    if (isMinimized())
        showNormal();
    SizeToScreen();
    raise();
    activateWindow();
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        DestroyIntro();
        UpdateStatus();
    }
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Coming back from the task bar: full screen again and in front.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && isVisible()) {
        auto* e = static_cast<QWindowStateChangeEvent*>(event);
        if (e->oldState() & Qt::WindowMinimized) {
            SizeToScreen();
            raise();
            activateWindow();
        }
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    LogOff(); // saves and logs off whoever is logged on
    PictureIndex.clear();
    RecordIndex.Clear();
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    hide();
    QCoreApplication::processEvents();
    ShowAboutAtShutdown();
    event->accept();
}

void TMainForm::CreateMarkupViews() {
    TestView = CreateMarkupView(TestTextCtrl, QStringLiteral("TestView"), &PictureIndex);
    WireTestView();
    BkInfoView = CreateMarkupView(BkInfoTextCtrl, QStringLiteral("BkInfoView"), &PictureIndex);
    HelpView = CreateMarkupView(HelpTextCtrl, QStringLiteral("HelpView"), &PictureIndex);
    for (QScrollArea* box : {TestTextCtrl, BkInfoTextCtrl, HelpTextCtrl})
        skin::MakeScrollBoxTransparent(box);
}

// The four drop-down lists are drawn flat: a thin line instead of a sunken
// frame (the style sheet of the panel draws it).
void TMainForm::GiveListsFlatLook() {
    for (QComboBox* list : {LogOnOffUsersLst, ConfigHairLst, ConfigEyesLst, BkInfoIndexLst})
        list->setFrame(false);
}

// After scaling, each view's background lines up with its page's own.
void TMainForm::PlaceMarkupBackgrounds() {
    PlaceMarkupView(TestView, TestTextCtrl);
    PlaceMarkupView(BkInfoView, BkInfoTextCtrl);
    PlaceMarkupView(HelpView, HelpTextCtrl);
}

void TMainForm::ShowAboutAtShutdown() {
    ShowAboutBox();
    QCoreApplication::processEvents();
    if (WaitMs)
        WaitMs(2000);
    CloseAboutBox();
}

void TMainForm::DestroyIntro() {
    ::DestroyIntro();
    LoadGauge = {};
}

#include "app/main_form.h"

#include "app/layout_selection.h"
#include "app/temp_dir.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/wave_player.h"
#include "widgets/image_loader.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>
#include <QToolTip>

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
    MediaPlayer = new plat::WavePlayer(this);
    BuildControls();
    ResetUserAndTestRun();
}

TMainForm::~TMainForm() {
    delete anImage;
    CleanTempDir(plat::ResolvePath("T\\"));
}

bool TMainForm::FormCreate() {
    // 1. Caption, application title, hint colour.
    setWindowTitle(QString::fromLatin1(kCaption));
    CaptionLbl->setText(QString::fromLatin1(kCaption));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kClassName));
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, Qt::white);
    QToolTip::setPalette(tips);

    // 2. The program directory is the current one; User\ must exist.
    QDir::setCurrent(plat::ProgramDir());
    plat::ForceDirectories("User\\");

    // 3 - 7.
    ConfigureImageLoader();
    PictureIndex.clear();
    CreateMarkupViews();
    ShownQuestionRec = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GiveListsFlatLook();

    // 8 - 10. Layout, full screen, centred panel.
    const plat::ScreenInfo screen = plat::Screen();
    const auto layout = ChooseLayout(screen.width, screen.height);
    if (!layout) {
        QApplication::restoreOverrideCursor();
        return false;
    }
    LayoutSize = layout->layoutSize;
    ScaleControls(MainFormPanel, layout->multiplier, layout->divisor);
    SizeToScreen();
    CentrePanel();
    PlaceMarkupBackgrounds();

    // 11 - 14.
    ShowPage(QStringLiteral("LogOnOff"));
    StatusFlags = 0;
    LoadWindowPictures();

    // 15 - 16. Data of the other subsystems; each absorbs its own failures.
    ReadPictureArchiveIndex();
    OpenRecordDatabase();

    // 17.
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
    CurrentTest.clear();
    QuestionNo = 0;
    TestQuestionCount = 0;
    UsedTime = 0;
    QuestionStart = 0;
    LastTick = 0;
    AnswerLength = 0;
    ChoiceCount = 0;
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
    if (!UserProfile.Name.empty())
        LogOff();
    PictureIndex.clear();
    RecordIndex.clear();
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    hide();
    QCoreApplication::processEvents();
    ShowAboutAtShutdown();
    event->accept();
}

// FIXME: the markup control creates TestView, BkInfoView and HelpView in
// their scroll boxes here.
void TMainForm::CreateMarkupViews() {}

// FIXME: the user, hair, eye and topic lists get their flat look once the
// pages that hold them exist.
void TMainForm::GiveListsFlatLook() {}

// FIXME: the markup views' background offsets follow their scroll boxes.
void TMainForm::PlaceMarkupBackgrounds() {}

// FIXME: header, page backgrounds and button faces come from I\B\ for LayoutSize.
void TMainForm::LoadWindowPictures() {}

// FIXME: the about window shows for two seconds at shutdown.
void TMainForm::ShowAboutAtShutdown() {}

// FIXME: the intro window goes at the first showing.
void TMainForm::DestroyIntro() {}

// FIXME: the status rules enable and caption every control.
void TMainForm::UpdateStatus() {}

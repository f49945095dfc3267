#include "app/intro_form.h"

#include "app/depth_picture.h"
#include "platform/screen.h"
#include "widgets/background.h"
#include "widgets/bk_control.h"
#include "widgets/gauge.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>

namespace {

QPointer<TIntroForm>& Instance() {
    static QPointer<TIntroForm> intro;
    return intro;
}

void CentreOnScreen(QWidget* w) {
    const plat::ScreenInfo screen = plat::Screen();
    w->move((screen.width - w->width()) / 2, (screen.height - w->height()) / 2);
}

} // namespace

TIntroForm::TIntroForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("IntroForm"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    setFixedSize(282, 282);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    BackgroundPnl = new QFrame(this);
    BackgroundPnl->setObjectName(QStringLiteral("BackgroundPnl"));
    BackgroundPnl->setGeometry(0, 0, 282, 282);

    IntroFormImg = new TBkControl(BackgroundPnl);
    IntroFormImg->setObjectName(QStringLiteral("IntroFormImg"));
    IntroFormImg->setGeometry(0, 0, 282, 282);
    IntroFormImg->Background().SetImageDrawStyle(idsCenter);
    IntroFormImg->Background().SetBrush(QBrush(Qt::NoBrush));
    IntroFormImg->Background().SetPen(QPen(Qt::NoPen));
    IntroFormImg->Background().SetImage(
        PictureForDisplayDepth(LoadDesignedPicture("I\\B\\intro"), plat::Screen().depth));

    Text = new QLabel(BackgroundPnl);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setGeometry(5, 255, 270, 12);
    Text->setText(QStringLiteral("Een ogenblik geduld, bezig met laden..."));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    Text->setFont(f);
    QPalette tp = Text->palette();
    tp.setColor(QPalette::WindowText, Qt::white);
    Text->setPalette(tp);

    Gauge = new TGauge(BackgroundPnl);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setGeometry(5, 270, 270, 4);
    Gauge->SetKind(gkHorizontalBar);
    Gauge->SetBorder(false);
    Gauge->SetShowText(false);
    Gauge->SetBackColor(Qt::black);
    Gauge->SetForeColor(Qt::white);
    Gauge->SetRange(0, 100);
    Gauge->SetProgress(0);

    CentreOnScreen(this);
}

void ShowIntro() {
    if (TIntroForm* intro = Instance()) {
        intro->show();
        intro->raise();
        return;
    }
    Instance() = new TIntroForm();
    QCoreApplication::processEvents();
    Instance()->show();
}

void DestroyIntro() {
    delete Instance().data();
    Instance() = nullptr;
}

bool IntroExists() {
    return !Instance().isNull();
}

TIntroForm* IntroForm() {
    return Instance().data();
}

std::function<void(int percent)> IntroProgress() {
    if (!IntroExists())
        return {};
    return [](int percent) {
        // The window may be gone by the time the loader reports.
        if (TIntroForm* intro = Instance()) {
            intro->Gauge->SetProgress(percent);
            if (intro->isVisible())
                intro->Gauge->repaint();
        }
    };
}

#include "app/about_box.h"

#include "app/app_window.h"
#include "app/depth_picture.h"
#include "app/url_launch.h"
#include "app/web_addresses.h"
#include "platform/screen.h"
#include "widgets/background.h"
#include "widgets/base_btn.h"
#include "widgets/proportional_image.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPointer>

namespace {

QPointer<TAboutBox>& Instance() {
    static QPointer<TAboutBox> box;
    return box;
}

TBaseBtn* MakeHotSpot(QWidget* parent, const char* name, QRect place, const char* hint) {
    auto* b = new TBaseBtn(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(place);
    b->SetFaceVisible(false);
    b->SetShadowColor(QColor(128, 128, 128));
    b->setToolTip(QString::fromUtf8(hint));
    return b;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setFixedSize(329, 329);

    BkPanel = new QFrame(this);
    BkPanel->setObjectName(QStringLiteral("BkPanel"));
    BkPanel->setGeometry(0, 0, 329, 329);
    QPalette pal = BkPanel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    BkPanel->setPalette(pal);
    BkPanel->setAutoFillBackground(true);

    AboutBoxImage = new TProportionalImage(BkPanel);
    AboutBoxImage->setObjectName(QStringLiteral("AboutBoxImage"));
    AboutBoxImage->setGeometry(2, 2, 325, 325);
    AboutBoxImage->SetEffects(false);
    AboutBoxImage->Background().SetImageDrawStyle(idsAlongside);
    AboutBoxImage->Background().SetBrush(QBrush(QColor(140, 177, 156)));
    AboutBoxImage->Background().SetPen(QPen(Qt::NoPen));
    // The hot spots lie over the logos, so the picture fills the control.
    AboutBoxImage->SetSx(100);
    AboutBoxImage->SetSy(100);
    AboutBoxImage->SetImage(
        PictureForDisplayDepth(LoadDesignedPicture("I\\B\\about"), plat::Screen().depth));

    OstrelSBtn = MakeHotSpot(BkPanel, "OstrelSBtn", QRect(211, 207, 78, 95),
                             "Ga naar de website van uitgeverij Ostrel");
    KorvaneSBtn = MakeHotSpot(BkPanel, "KorvaneSBtn", QRect(40, 267, 130, 40),
                              "Ga naar de website van Korvane Software");
    connect(OstrelSBtn, &TBaseBtn::OnClick, this, &TAboutBox::OstrelSBtnClick);
    connect(KorvaneSBtn, &TBaseBtn::OnClick, this, &TAboutBox::KorvaneSBtnClick);

    const plat::ScreenInfo screen = plat::Screen();
    move((screen.width - width()) / 2, (screen.height - height()) / 2);
}

void TAboutBox::OstrelSBtnClick() {
    OpenSite(web::kPublisherSite);
}

void TAboutBox::KorvaneSBtnClick() {
    OpenSite(web::kMakerSite);
}

void TAboutBox::OpenSite(const char* url) {
    OpenUrlInBrowser(url);
    close();
    MinimizeApplication();
}

void TAboutBox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A click anywhere else takes the focus away, and that closes the window.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        close();
}

void TAboutBox::keyReleaseEvent(QKeyEvent* event) {
    const bool modified =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    if (!modified && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        close();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void ShowAboutBox() {
    if (!Instance())
        Instance() = new TAboutBox();
    TAboutBox* box = Instance();
    box->show();
    box->raise();
    box->activateWindow();
}

void CloseAboutBox() {
    if (TAboutBox* box = Instance())
        box->close();
}

bool AboutBoxExists() {
    return !Instance().isNull();
}

TAboutBox* AboutBox() {
    return Instance().data();
}

void DestroyAboutBox() {
    delete Instance().data();
    Instance() = nullptr;
}

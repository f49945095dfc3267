// The control tree of the main window in its designed 640 x 480 coordinates.
#include "app/main_form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace {

template <typename T>
T* Make(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

QPushButton* HeaderButton(QWidget* parent, const char* name, const char* caption, int left,
                          const char* hint) {
    auto* b = Make<QPushButton>(parent, name, left, 0, 45, 45);
    b->setText(QString::fromLatin1(caption));
    b->setToolTip(QString::fromUtf8(hint));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

void TMainForm::BuildControls() {
    MainFormPanel = Make<QFrame>(this, "MainFormPanel", 0, 0, 640, 480);

    HeaderPnl = Make<QFrame>(MainFormPanel, "HeaderPnl", 0, 0, 640, 45);
    InfoBtn = HeaderButton(HeaderPnl, "InfoBtn", "i", 0, "Geeft informatie over Zernox 2");
    SoundBtn = HeaderButton(HeaderPnl, "SoundBtn", "s", 45, "Geluid aan- of uitzetten");
    SoundBtn->setCheckable(true);
    SoundBtn->setChecked(true); // sound is on while the button is down
    HeaderBk = Make<QLabel>(HeaderPnl, "HeaderBk", 90, 0, 460, 43);
    HeaderBk->setAlignment(Qt::AlignCenter);
    CaptionLbl = Make<QLabel>(HeaderPnl, "CaptionLbl", 90, 14, 460, 16);
    CaptionLbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    {
        QFont f = CaptionLbl->font();
        f.setBold(true);
        f.setPixelSize(13);
        CaptionLbl->setFont(f);
        QPalette p = CaptionLbl->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 128)); // navy
        CaptionLbl->setPalette(p);
    }
    MinimizeBtn = HeaderButton(HeaderPnl, "MinimizeBtn", "-", 550, "Zernox 2 minimaliseren");
    QuitBtn = HeaderButton(HeaderPnl, "QuitBtn", "x", 595, "Zernox 2 afsluiten");

    NavPnl = Make<QFrame>(MainFormPanel, "NavPnl", 0, 45, 151, 435);
    MainPnl = Make<QFrame>(MainFormPanel, "MainPnl", 151, 45, 489, 435);
    MainPages = Make<QStackedWidget>(MainPnl, "MainPages", 0, 0, 489, 435);
    for (const char* page : {"LogOnOff", "Test", "Config", "Internet", "BkInfo", "Intro", "Help"})
        AddPage(page);

    TestTimer = new QTimer(this);
    TestTimer->setObjectName(QStringLiteral("TestTimer"));
    TestTimer->setInterval(1000);

    connect(MinimizeBtn, &QPushButton::clicked, this, [this] { showMinimized(); });
    connect(QuitBtn, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* TMainForm::AddPage(const char* name) {
    auto* page = new QWidget(MainPages);
    page->setObjectName(QString::fromLatin1(name));
    MainPages->addWidget(page);
    return page;
}

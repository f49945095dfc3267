#include "tests/markup/markup_fixture.h"
#include "tests/common/png_bytes.h"

#include <QMouseEvent>
#include <QPalette>
#include <QTest>

namespace markuptest {

QFont TextFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(10);
    return font;
}

QFont LinkFont() {
    QFont font = TextFont();
    font.setUnderline(true);
    return font;
}

Host::Host(int width, int height, const std::vector<std::string>* pictureIndex) {
    parent.resize(width, height);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    parent.setPalette(palette);
    view = new GParserControl(&parent, pictureIndex);
    view->setFont(TextFont());
    view->SetHyperLinkFont(LinkFont());
    view->SetHyperLinkColor(Qt::blue);
    view->resize(width, 0);
}

void Host::Listen() {
    view->OnHyperLinkClick = [this](QObject* sender, const std::string& href) {
        if (sender == view)
            reports.push_back(href);
    };
}

QImage Host::Paint() {
    QImage image(view->size(), QImage::Format_RGB32);
    image.fill(Qt::green);
    view->render(&image);
    return image;
}

void Host::Click(int x, int y) {
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(x, y));
}

void Host::Move(int x, int y) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view->mapToGlobal(QPointF(x, y)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
}

int Width(const std::string& text, bool bold) {
    QFont font = TextFont();
    font.setBold(bold);
    return QFontMetrics(font).horizontalAdvance(QString::fromLatin1(text));
}

int LinkWidth(const std::string& text) {
    return QFontMetrics(LinkFont()).horizontalAdvance(QString::fromLatin1(text));
}

int LineHeight() {
    return QFontMetrics(TextFont()).height();
}

QByteArray Png(int width, int height, QRgb colour) {
    return PngBytes(width, height, QColor(colour));
}

} // namespace markuptest

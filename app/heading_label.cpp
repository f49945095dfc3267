#include "app/heading_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

THeadingLabel::THeadingLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

QString THeadingLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool THeadingLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        // Only a shortened heading needs its whole text shown.
        const QString shown = ShownText();
        if (shown != text())
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

void THeadingLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(foregroundRole()));
    p.drawText(contentsRect(), int(alignment()), ShownText());
}

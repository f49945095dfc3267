#include "widgets/base_btn.h"

#include "widgets/hand_cursors.h"
#include "widgets/palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TBaseBtn::TBaseBtn(QWidget* parent) : GGraphicControl(parent) {
    resize(120, 40);
    RegisterHandCursors();
    setCursor(CustomCursor(crHandCursor));
}

TBaseBtn::~TBaseBtn() {
    if (OnDestroy)
        OnDestroy();
}

TBaseBtnStatus TBaseBtn::Status() const {
    return TBaseBtnStatus{isEnabled(), mousePressed_, font(), fontColor_};
}

void TBaseBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TBaseBtnStatus status = Status();
    PaintInScreenColours(painter, size(), GetPalette(),
                         [&](QPainter& p) { PaintBaseBtn(p, size(), face_, status); });
}

void TBaseBtn::mousePressEvent(QMouseEvent* event) {
    GGraphicControl::mousePressEvent(event);
    // Keep the event, so the release comes here even off the button.
    event->accept();
    if (event->button() == Qt::LeftButton)
        leftDown_ = true;
    mousePressed_ = true;
    Invalidate();
}

void TBaseBtn::mouseReleaseEvent(QMouseEvent* event) {
    GGraphicControl::mouseReleaseEvent(event);
    event->accept();
    const bool click = event->button() == Qt::LeftButton && leftDown_ &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        leftDown_ = false;
    if (click) {
        // A click handler may well destroy the button (closing its window).
        const QPointer<TBaseBtn> self(this);
        emit OnClick();
        if (!self)
            return;
    }
    mousePressed_ = false;
    Invalidate();
}

void TBaseBtn::mouseDoubleClickEvent(QMouseEvent* event) {
    GGraphicControl::mouseDoubleClickEvent(event);
    event->accept();
    if (event->button() == Qt::LeftButton) {
        const QPointer<TBaseBtn> self(this);
        emit OnDblClick();
        if (!self)
            return;
    }
    // The second press of a double click shows pressed but its release is
    // no second click.
    mousePressed_ = true;
    Invalidate();
}

void TBaseBtn::changeEvent(QEvent* event) {
    GGraphicControl::changeEvent(event);
    // The caption's underline on hover comes as a font change.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        Invalidate();
}

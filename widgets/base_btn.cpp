#include "widgets/base_btn.h"

#include "widgets/hand_cursors.h"
#include "widgets/palette.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TBaseBtn::TBaseBtn(QWidget* parent) : GGraphicControl(parent) {
    resize(120, 40);
    RegisterHandCursors();
    setCursor(CustomCursor(crHandCursor));
    // Tab reaches the button; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

TBaseBtn::~TBaseBtn() {
    if (OnDestroy)
        OnDestroy();
}

TBaseBtnStatus TBaseBtn::Status() const {
    return TBaseBtnStatus{isEnabled(), mousePressed_ || pressKey_ != 0, font(), fontColor_,
                          hasFocus()};
}

void TBaseBtn::SetButtonIsDown(bool value) {
    if (!AssignChanged(face_.ButtonIsDown, value))
        return;
    Invalidate();
    // Only while a screen reader listens: asking earlier would make and keep
    // an interface before the program's factories are in place.
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.pressed = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TBaseBtn::SetCaption(const QString& value) {
    if (!AssignChanged(face_.Caption, value))
        return;
    Invalidate();
    // A screen reader names the button by its caption.
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

bool TBaseBtn::Click() {
    if (!isEnabled() || !isVisible())
        return false;
    emit OnClick();
    return true;
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

namespace {

bool IsPressKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

// Space and Enter work as the left mouse button does: pressed look while
// down, the click on release. Held keys repeat; the repeats change nothing.
void TBaseBtn::keyPressEvent(QKeyEvent* event) {
    if (!IsPressKey(event->key()) || event->modifiers() & ~Qt::KeypadModifier) {
        GGraphicControl::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || pressKey_ != 0)
        return;
    pressKey_ = event->key();
    Invalidate();
}

void TBaseBtn::keyReleaseEvent(QKeyEvent* event) {
    if (pressKey_ == 0 || event->key() != pressKey_) {
        GGraphicControl::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat())
        return;
    pressKey_ = 0;
    // A click handler may well destroy the button (closing its window).
    const QPointer<TBaseBtn> self(this);
    Click();
    if (!self)
        return;
    Invalidate();
}

void TBaseBtn::focusInEvent(QFocusEvent* event) {
    GGraphicControl::focusInEvent(event);
    Invalidate();
}

void TBaseBtn::focusOutEvent(QFocusEvent* event) {
    GGraphicControl::focusOutEvent(event);
    // A key held while the focus leaves (or the button is hidden or
    // disabled) is a press taken back, as the mouse released elsewhere.
    pressKey_ = 0;
    Invalidate();
}

void TBaseBtn::changeEvent(QEvent* event) {
    GGraphicControl::changeEvent(event);
    // The caption's underline on hover comes as a font change.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        Invalidate();
}

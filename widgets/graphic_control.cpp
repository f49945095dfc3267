#include "widgets/graphic_control.h"

GGraphicControl::GGraphicControl(QWidget* parent) : QWidget(parent) {}

void GGraphicControl::MouseIn() {
    emit OnMouseIn(this);
}

void GGraphicControl::MouseOut() {
    emit OnMouseOut(this);
}

void GGraphicControl::Invalidate() {
    ++repaintRequests_;
    update();
}

void GGraphicControl::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    MouseIn();
}

void GGraphicControl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    MouseOut();
}

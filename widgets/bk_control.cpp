#include "widgets/bk_control.h"

#include "widgets/background.h"
#include "widgets/background_paint.h"
#include "widgets/palette.h"

#include <QPainter>

TBkControl::TBkControl(QWidget* parent) : QWidget(parent), background_(new TBackground(this)) {
    background_->setObjectName(QStringLiteral("Background"));
    resize(100, 100);
    connect(background_, &TBackground::Changed, this, &TBkControl::Invalidate);
}

void TBkControl::SetBackground(const TBackground& background) {
    background_->Assign(background);
}

void TBkControl::SetdX(int value) {
    if (value == dX_)
        return;
    dX_ = value;
    Invalidate();
}

void TBkControl::SetdY(int value) {
    if (value == dY_)
        return;
    dY_ = value;
    Invalidate();
}

void TBkControl::Invalidate() {
    ++repaintRequests_;
    update();
}

void TBkControl::paintEvent(QPaintEvent*) {
    // A paint handler further up may repaint us while we are painting.
    if (painting_)
        return;
    painting_ = true;
    QPainter painter(this);
    PaintInScreenColours(painter, size(), GetPalette(), [this](QPainter& p) {
        PaintBackground(p, size(), *background_, dX_, dY_);
    });
    painting_ = false;
}

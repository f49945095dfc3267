#include "widgets/gauge.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

double GaugeFraction(const TGaugeFace& face) {
    if (face.MaxValue <= face.MinValue)
        return 0;
    const double share =
        double(face.Progress - face.MinValue) / double(face.MaxValue - face.MinValue);
    return std::clamp(share, 0.0, 1.0);
}

namespace {

void PaintBar(QPainter& p, const QRect& area, const TGaugeFace& face, double share) {
    p.fillRect(area, face.BackColor);
    const int filled = int(std::lround(area.width() * share));
    if (filled > 0)
        p.fillRect(QRect(area.left(), area.top(), filled, area.height()), face.ForeColor);
}

void PaintPie(QPainter& p, const QRect& area, const TGaugeFace& face, double share) {
    const int side = std::min(area.width(), area.height()) - 1;
    if (side <= 0)
        return;
    const QRect circle(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    p.setPen(face.Border ? QPen(face.ForeColor) : Qt::NoPen);
    p.setBrush(face.BackColor);
    p.drawEllipse(circle);
    p.setBrush(face.ForeColor);
    // Qt counts sixteenths of a degree, counter-clockwise from three o'clock.
    p.drawPie(circle, 90 * 16, -int(std::lround(share * 360 * 16)));
}

void PaintNeedle(QPainter& p, const QRect& area, const TGaugeFace& face, double share) {
    p.fillRect(area, face.BackColor);
    // A half dial standing on the bottom edge.
    const int radius = std::max(1, std::min(area.width() / 2, area.height()) - 3);
    const QPointF centre(area.center().x() + 0.5, area.bottom() - 2);
    const QRectF dial(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius);
    QColor scale = face.ForeColor;
    scale.setAlpha(70);
    p.setPen(QPen(scale, std::max(1.0, radius / 8.0), Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(dial.adjusted(2, 2, -2, -2), 0, 180 * 16);
    const double angle = std::numbers::pi * (1.0 - share);
    const QPointF tip(centre.x() + std::cos(angle) * (radius - 2),
                      centre.y() - std::sin(angle) * (radius - 2));
    p.setPen(QPen(face.ForeColor, std::max(1.5, radius / 12.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, tip);
    p.setBrush(face.ForeColor);
    p.drawEllipse(centre, 2.0, 2.0);
}

} // namespace

void PaintGauge(QPainter& painter, QSize size, const TGaugeFace& face) {
    if (size.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, face.Kind != gkHorizontalBar);
    QRect area(QPoint(0, 0), size);
    const double share = GaugeFraction(face);
    if (face.Border && face.Kind != gkPie) {
        painter.fillRect(area, face.ForeColor);
        area.adjust(1, 1, -1, -1);
    }
    switch (face.Kind) {
    case gkHorizontalBar:
        PaintBar(painter, area, face, share);
        break;
    case gkPie:
        PaintPie(painter, area, face, share);
        break;
    case gkNeedle:
        PaintNeedle(painter, area, face, share);
        break;
    }
    if (face.ShowText && face.Kind != gkNeedle) {
        painter.setPen(face.Kind == gkPie ? face.BackColor : face.ForeColor);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter,
                         QStringLiteral("%1%").arg(int(std::lround(share * 100))));
    }
    painter.restore();
}

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
}

void TGauge::SetKind(TGaugeKind kind) {
    if (face_.Kind == kind)
        return;
    face_.Kind = kind;
    update();
}

void TGauge::SetRange(int minValue, int maxValue) {
    face_.MinValue = minValue;
    face_.MaxValue = std::max(minValue, maxValue);
    const int before = face_.Progress;
    face_.Progress = std::clamp(face_.Progress, face_.MinValue, face_.MaxValue);
    update();
    if (face_.Progress != before)
        ValueChanged();
}

void TGauge::SetProgress(int value) {
    value = std::clamp(value, face_.MinValue, face_.MaxValue);
    if (face_.Progress == value)
        return;
    face_.Progress = value;
    update();
    ValueChanged();
}

// A screen reader that follows the gauge hears the new value.
void TGauge::ValueChanged() {
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, face_.Progress);
    QAccessible::updateAccessibility(&event);
}

void TGauge::SetShowText(bool show) {
    face_.ShowText = show;
    update();
}

void TGauge::SetBorder(bool border) {
    face_.Border = border;
    update();
}

void TGauge::SetForeColor(const QColor& colour) {
    face_.ForeColor = colour;
    update();
}

void TGauge::SetBackColor(const QColor& colour) {
    face_.BackColor = colour;
    update();
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGauge(painter, size(), face_);
}

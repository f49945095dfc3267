#include "widgets/canvas_shapes.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Qt strokes a 1-pixel outline one pixel beyond the right and bottom edges of
// an integer rectangle, so the outline goes on a rectangle one pixel smaller.
void DrawShape(QPainter& painter, const QRect& rect, const QPen& pen, const QBrush& brush,
               qreal radiusX, qreal radiusY) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool rounded = radiusX > 0 && radiusY > 0;
    if (pen.style() == Qt::NoPen) {
        if (brush.style() != Qt::NoBrush) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(brush);
            if (rounded)
                painter.drawRoundedRect(rect, radiusX, radiusY);
            else
                painter.fillRect(rect, brush);
        }
    } else {
        painter.setPen(pen);
        painter.setBrush(brush);
        const QRect inner = rect.adjusted(0, 0, -1, -1);
        if (rounded)
            painter.drawRoundedRect(inner, radiusX, radiusY);
        else
            painter.drawRect(inner);
    }
    painter.restore();
}

} // namespace

void DrawCanvasRectangle(QPainter& painter, const QRect& rect, const QPen& pen,
                         const QBrush& brush) {
    DrawShape(painter, rect, pen, brush, 0, 0);
}

void DrawCanvasRoundRect(QPainter& painter, const QRect& rect, int ellipseWidth, int ellipseHeight,
                         const QPen& pen, const QBrush& brush) {
    DrawShape(painter, rect, pen, brush, ellipseWidth / 2.0, ellipseHeight / 2.0);
}

void DrawBorderFrame(QPainter& painter, QSize size, const QColor& topLeft,
                     const QColor& bottomRight) {
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0)
        return;
    painter.fillRect(QRect(1, 0, w - 1, 1), topLeft);         // top, right to left
    painter.fillRect(QRect(0, 0, 1, h - 1), topLeft);         // left, downwards
    painter.fillRect(QRect(0, h - 1, w - 1, 1), bottomRight); // bottom, to the right
    painter.fillRect(QRect(w - 1, 1, 1, h - 1), bottomRight); // right, upwards
}

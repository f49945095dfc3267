#pragma once

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QRect>

class QPainter;

// The classic canvas shapes, with the classic pixel coverage: a shape from
// (left, top) to (right, bottom) covers the pixels left .. right - 1 and
// top .. bottom - 1, outline included.

// Filled with `brush`, outlined with `pen` (Qt::NoPen / Qt::NoBrush leave that
// part out). Nothing when the rectangle is empty.
void DrawCanvasRectangle(QPainter& painter, const QRect& rect, const QPen& pen,
                         const QBrush& brush);

// The same with corners rounded by an ellipse of ellipseWidth x ellipseHeight;
// a plain rectangle when either is 0 or less.
void DrawCanvasRoundRect(QPainter& painter, const QRect& rect, int ellipseWidth, int ellipseHeight,
                         const QPen& pen, const QBrush& brush);

// A one-pixel frame on the border of a size.width() x size.height() area: the
// top and left edges in `topLeft`, the bottom and right edges in
// `bottomRight`. The top-right corner belongs to the top edge, the
// bottom-left corner to the bottom edge.
void DrawBorderFrame(QPainter& painter, QSize size, const QColor& topLeft,
                     const QColor& bottomRight);

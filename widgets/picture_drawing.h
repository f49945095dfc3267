#pragma once

#include <QRect>

class QImage;
class QPainter;

// Draws `picture` at its own size with its top-left corner at (x, y). Nothing
// without a painter or with an empty picture. Opaque pictures (all that the
// image loader gives) are copied pixel for pixel.
void DrawPicture(QPainter* painter, int x, int y, const QImage& picture);

// Draws `picture` stretched over `rect`. Rows and columns are dropped or
// repeated, never blended, so a shrunk picture keeps its hard edges and exact
// colours. Nothing without a painter, with an empty picture or an empty rect.
void StretchPicture(QPainter* painter, const QRect& rect, const QImage& picture);

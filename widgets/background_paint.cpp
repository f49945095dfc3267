#include "widgets/background_paint.h"

#include "widgets/background.h"
#include "widgets/canvas_shapes.h"
#include "widgets/picture_drawing.h"

#include <QPainter>

namespace {

void PaintPicture(QPainter& painter, QSize size, const TBackground& background, int dX, int dY) {
    const QImage& picture = background.Image();
    if (picture.isNull())
        return;
    const int w = size.width();
    const int h = size.height();
    const int pw = picture.width();
    const int ph = picture.height();
    switch (background.ImageDrawStyle()) {
    case idsAlongside:
        // A null picture never gets here, so the columns and rows advance.
        for (int x = 0; dX + x < w; x += pw)
            for (int y = 0; dY + y < h; y += ph)
                DrawPicture(&painter, dX + x, dY + y, picture);
        break;
    case idsCenter:
        // Integer division truncates toward zero, so a larger picture is
        // cropped on both sides.
        DrawPicture(&painter, (w - pw) / 2 + dX, (h - ph) / 2 + dY, picture);
        break;
    case idsHide:
        break;
    case idsStretch:
        // The corners (dX, dY) and (w + dX - 1, h + dY - 1) are both inside,
        // so the picture covers the whole control.
        StretchPicture(&painter, QRect(QPoint(dX, dY), QPoint(w + dX - 1, h + dY - 1)), picture);
        break;
    case idsTopLeft:
        DrawPicture(&painter, dX, dY, picture);
        break;
    }
}

} // namespace

void PaintBackground(QPainter& painter, QSize size, const TBackground& background, int dX, int dY) {
    if (size.isEmpty())
        return;
    PaintPicture(painter, size, background, dX, dY);
    DrawCanvasRectangle(painter, QRect(QPoint(0, 0), size), background.Pen(), background.Brush());
}

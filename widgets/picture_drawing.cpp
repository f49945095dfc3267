#include "widgets/picture_drawing.h"

#include <QImage>
#include <QPainter>

void DrawPicture(QPainter* painter, int x, int y, const QImage& picture) {
    if (!painter || picture.isNull())
        return;
    painter->drawImage(x, y, picture);
}

void StretchPicture(QPainter* painter, const QRect& rect, const QImage& picture) {
    if (!painter || picture.isNull() || rect.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(rect, picture);
    painter->restore();
}

#include "widgets/background.h"

TBackground::TBackground(QObject* parent) : QObject(parent) {}

void TBackground::SetBrush(const QBrush& brush) {
    if (brush == brush_)
        return;
    brush_ = brush;
    emit Changed();
}

void TBackground::SetImage(const QImage& image) {
    // Comparing shares the fast path for the same picture handed in twice.
    if (image == image_)
        return;
    image_ = image;
    emit Changed();
}

void TBackground::SetImageDrawStyle(TImageDrawStyle style) {
    if (style == imageDrawStyle_)
        return;
    imageDrawStyle_ = style;
    emit OnChange();
    emit Changed();
}

void TBackground::SetPen(const QPen& pen) {
    if (pen == pen_)
        return;
    pen_ = pen;
    emit Changed();
}

void TBackground::Assign(const TBackground& source) {
    if (&source == this)
        return;
    SetPen(source.Pen());
    SetBrush(source.Brush());
    SetImage(source.Image());
    SetImageDrawStyle(source.ImageDrawStyle());
}

#include "widgets/proportional_image_paint.h"

#include "widgets/background.h"
#include "widgets/background_paint.h"
#include "widgets/canvas_shapes.h"
#include "widgets/palette.h"
#include "widgets/picture_drawing.h"
#include "widgets/rounding.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

using wid::RoundHalfEven;

namespace {

// Far beyond any screen; keeps the centring arithmetic inside int.
constexpr int kMaxSide = 1 << 24;

int Clamped(int value) {
    return std::clamp(value, -kMaxSide, kMaxSide);
}

// The width-led size limited by a height percentage, as (w, h).
QSize FitSize(QSize area, QSize picture, int widthPercent, int heightPercent) {
    const double iw = picture.width();
    const double ih = picture.height();
    int w = RoundHalfEven(area.width() * double(widthPercent) / 100.0);
    int h = RoundHalfEven(ih / iw * w);
    const int maxH = RoundHalfEven(area.height() * double(heightPercent) / 100.0);
    if (h > maxH) {
        h = maxH;
        w = RoundHalfEven(iw / ih * h);
    }
    return QSize(Clamped(w), Clamped(h));
}

int LineHeight(const QFont& font, double dpiY) {
    if (font.pointSizeF() > 0)
        return RoundHalfEven(dpiY * std::fabs(font.pointSizeF()) / 72.0);
    return std::max(0, font.pixelSize());
}

void DrawLabel(QPainter& painter, QSize size, const QString& text, const QFont& font, double dpiY) {
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const TLabelBox label = LabelBoxFor(size, metrics.horizontalAdvance(text),
                                        LineHeight(font, dpiY), metrics.height());
    // The label is always black on white, whatever colour the font has.
    DrawCanvasRectangle(painter, label.Box, QPen(Qt::black), QBrush(Qt::white));
    painter.save();
    painter.setClipRect(label.Text);
    painter.setPen(Qt::black);
    painter.drawText(label.Text.left(), label.TextTop + metrics.ascent(), text);
    painter.restore();
}

} // namespace

QRect ProportionalImageRect(QSize area, QSize picture, const TProportionalSizing& sizing) {
    if (picture.width() <= 0 || picture.height() <= 0)
        return {};
    QSize drawn = FitSize(area, picture, sizing.Sx, sizing.Sy);
    if (sizing.SxIsStatic || sizing.SyIsStatic) {
        const QSize fixed = FitSize(area, picture, sizing.StaticSx, sizing.StaticSy);
        if (sizing.SxIsStatic)
            drawn.setWidth(fixed.width());
        else
            drawn.setHeight(fixed.height());
    }
    return QRect((area.width() - drawn.width()) / 2, (area.height() - drawn.height()) / 2,
                 drawn.width(), drawn.height());
}

TLabelBox LabelBoxFor(QSize area, int textWidth, int lineHeight, int textHeight) {
    const int w = area.width();
    const int h = area.height();
    const int left = (w - (textWidth + 4)) / 2;
    const int top = h - (lineHeight + 4);
    TLabelBox label;
    label.Box = QRect(QPoint(left, top), QPoint(w - left - 1, h - 1));
    label.Text = QRect(left + 2, top + 2, textWidth, lineHeight);
    label.TextTop = top + ((lineHeight + 4) - textHeight) / 2;
    return label;
}

QImage ComposeProportionalImage(QSize size, const TProportionalContent& content,
                                const QList<QRgb>& palette) {
    if (size.isEmpty())
        return {};
    QImage composed(size, QImage::Format_RGB32);
    if (composed.isNull()) // too large to allocate
        return {};
    composed.fill(Qt::white);
    // Let point sizes give the same pixels as on the screen.
    const int dotsPerMeter = RoundHalfEven(content.DpiY / 0.0254);
    composed.setDotsPerMeterX(dotsPerMeter);
    composed.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&composed);
        if (content.Background)
            PaintBackground(painter, size, *content.Background, 0, 0);
        const QRect target = ProportionalImageRect(size, content.Image.size(), content.Sizing);
        if (!target.isEmpty())
            StretchPicture(&painter, target, content.Image);
        if (!content.Text.isEmpty())
            DrawLabel(painter, size, content.Text, content.Font, content.DpiY);
    }
    MapToPalette(composed, palette);
    return composed;
}

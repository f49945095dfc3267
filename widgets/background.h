#pragma once

#include <QBrush>
#include <QImage>
#include <QObject>
#include <QPen>

class QPainter;

// How a background picture is placed: tiled, centred, not shown, stretched
// over the whole control, or at the top-left corner.
enum TImageDrawStyle { idsAlongside, idsCenter, idsHide, idsStretch, idsTopLeft };

// What a control paints behind its content: a picture placed by a draw style,
// then a rectangle with a pen and a brush. The defaults are the toolkit's
// (solid white brush, solid black pen); the program's own backgrounds set a
// clear brush and pen so that only the picture shows.
class TBackground : public QObject {
    Q_OBJECT
public:
    explicit TBackground(QObject* parent = nullptr);

    const QBrush& Brush() const { return brush_; }
    void SetBrush(const QBrush& brush);
    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);
    TImageDrawStyle ImageDrawStyle() const { return imageDrawStyle_; }
    void SetImageDrawStyle(TImageDrawStyle style);
    const QPen& Pen() const { return pen_; }
    void SetPen(const QPen& pen);

    // Copies pen, brush, picture and draw style, in that order.
    void Assign(const TBackground& source);

signals:
    // The draw style changed to a different value.
    void OnChange();
    // Anything that changes the painted result changed (brush, pen, picture
    // or draw style); owners repaint on it.
    void Changed();

private:
    QBrush brush_{Qt::white, Qt::SolidPattern};
    QImage image_;
    TImageDrawStyle imageDrawStyle_ = idsAlongside;
    QPen pen_{QBrush(Qt::black), 1.0, Qt::SolidLine};
};

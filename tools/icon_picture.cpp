#include "tools/icon_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>

namespace {

// Everything in units of a 256-unit square.
constexpr double kUnits = 256;
constexpr double kTileMargin = 16;
constexpr double kTileRadius = 40;
const QColor kTileTop(0x3a, 0x7b, 0xd5);
const QColor kTileBottom(0x1c, 0x3f, 0x8c);
const QColor kLetter(Qt::white);
const QColor kDot(0xff, 0xc8, 0x3d);

// The Z: top bar, diagonal and bottom bar as one outline.
constexpr std::array<QPointF, 10> kLetterOutline{{{64, 56},
                                                  {192, 56},
                                                  {192, 84},
                                                  {104, 172},
                                                  {192, 172},
                                                  {192, 200},
                                                  {64, 200},
                                                  {64, 172},
                                                  {152, 84},
                                                  {64, 84}}};

struct Dot {
    double x, y, r;
};
// Three choices along the bottom edge of the tile.
constexpr std::array<Dot, 3> kDots{{{92, 222, 9}, {128, 222, 9}, {164, 222, 9}}};

QString Hex(const QColor& c) {
    return c.name(QColor::HexRgb);
}

} // namespace

QByteArray IconSvg() {
    const double side = kUnits - 2 * kTileMargin;
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                          "viewBox=\"0 0 256 256\">\n"
                          "  <defs>\n"
                          "    <linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n");
    svg += QStringLiteral("      <stop offset=\"0\" stop-color=\"%1\"/>\n").arg(Hex(kTileTop));
    svg += QStringLiteral("      <stop offset=\"1\" stop-color=\"%1\"/>\n").arg(Hex(kTileBottom));
    svg += QStringLiteral("    </linearGradient>\n  </defs>\n");
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" "
                          "fill=\"url(#tile)\"/>\n")
               .arg(kTileMargin)
               .arg(side)
               .arg(kTileRadius);
    QString points;
    for (const QPointF& p : kLetterOutline)
        points += QStringLiteral("%1,%2 ").arg(p.x()).arg(p.y());
    svg += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\"/>\n")
               .arg(points.trimmed(), Hex(kLetter));
    for (const Dot& d : kDots)
        svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                   .arg(d.x)
                   .arg(d.y)
                   .arg(d.r)
                   .arg(Hex(kDot));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

QImage DrawIcon(int size) {
    if (size <= 0)
        return QImage();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kUnits, size / kUnits);
    p.setPen(Qt::NoPen);

    const double side = kUnits - 2 * kTileMargin;
    QLinearGradient gradient(0, kTileMargin, 0, kTileMargin + side);
    gradient.setColorAt(0, kTileTop);
    gradient.setColorAt(1, kTileBottom);
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(kTileMargin, kTileMargin, side, side), kTileRadius, kTileRadius);

    p.setBrush(kLetter);
    p.drawPolygon(QPolygonF(QList<QPointF>(kLetterOutline.begin(), kLetterOutline.end())));
    p.setBrush(kDot);
    for (const Dot& d : kDots)
        p.drawEllipse(QPointF(d.x, d.y), d.r, d.r);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

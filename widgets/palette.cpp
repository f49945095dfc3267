#include "widgets/palette.h"

#include "platform/screen.h"

#include <QHash>
#include <QImage>
#include <QPainter>

const QList<QRgb>& Pal16() {
    static const QList<QRgb> table = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
        qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return table;
}

namespace {

QList<QRgb> BuildPal256() {
    // The colours every 8-bit display reserves for the system.
    const QRgb first[10] = {qRgb(0, 0, 0),      qRgb(128, 0, 0),     qRgb(0, 128, 0),
                            qRgb(128, 128, 0),  qRgb(0, 0, 128),     qRgb(128, 0, 128),
                            qRgb(0, 128, 128),  qRgb(192, 192, 192), qRgb(192, 220, 192),
                            qRgb(166, 202, 240)};
    const QRgb last[10] = {qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128),
                           qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
                           qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),
                           qRgb(255, 255, 255)};
    QList<QRgb> table;
    table.reserve(256);
    table.append(QList<QRgb>(std::begin(first), std::end(first)));
    // A 6 x 6 x 6 colour cube without its eight corners, which the system
    // colours already hold.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const bool corner = (r % 5 == 0) && (g % 5 == 0) && (b % 5 == 0);
                if (!corner)
                    table.append(qRgb(r * 51, g * 51, b * 51));
            }
    // Greys between the cube's levels, so grey pictures keep some shading.
    for (int k = 1; k <= 28; ++k)
        table.append(qRgb(k * 255 / 29, k * 255 / 29, k * 255 / 29));
    table.append(QList<QRgb>(std::begin(last), std::end(last)));
    return table;
}

} // namespace

const QList<QRgb>& Pal256() {
    static const QList<QRgb> table = BuildPal256();
    return table;
}

const QList<QRgb>& PaletteForDepth(int bitsPerPixel) {
    static const QList<QRgb> none;
    if (bitsPerPixel < 8)
        return Pal16();
    if (bitsPerPixel == 8)
        return Pal256();
    return none;
}

const QList<QRgb>& GetPalette() {
    return PaletteForDepth(plat::Screen().depth);
}

QRgb NearestPaletteColor(QRgb colour, const QList<QRgb>& palette) {
    QRgb best = colour;
    int bestDistance = -1;
    for (const QRgb entry : palette) {
        const int dr = qRed(entry) - qRed(colour);
        const int dg = qGreen(entry) - qGreen(colour);
        const int db = qBlue(entry) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    }
    return qRgb(qRed(best), qGreen(best), qBlue(best));
}

void MapToPalette(QImage& image, const QList<QRgb>& palette) {
    if (palette.isEmpty() || image.isNull())
        return;
    image = image.convertToFormat(QImage::Format_ARGB32);
    // Pictures hold few distinct colours; remember each answer.
    QHash<QRgb, QRgb> known;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb opaque = line[x] | 0xff000000u;
            auto it = known.constFind(opaque);
            if (it == known.cend())
                it = known.insert(opaque, NearestPaletteColor(opaque, palette));
            line[x] = (line[x] & 0xff000000u) | (*it & 0x00ffffffu);
        }
    }
}

void PaintInScreenColours(QPainter& target, QSize size, const QList<QRgb>& palette,
                          const std::function<void(QPainter&)>& paint) {
    if (palette.isEmpty()) {
        paint(target);
        return;
    }
    if (size.isEmpty())
        return;
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(target.font());
        paint(painter);
    }
    // Mapping works on straight colours; half-transparent edges of text keep
    // their coverage and get a palette colour.
    MapToPalette(canvas, palette);
    target.drawImage(0, 0, canvas);
}

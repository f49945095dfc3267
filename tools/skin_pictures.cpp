#include "tools/skin_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

const QColor kPaper(246, 248, 245);
const QColor kBandTop(228, 238, 231);
const QColor kLine(201, 217, 207);
const QColor kAccent(127, 160, 141);
const QColor kMotif(127, 160, 141, 34);
const QColor kDeep(31, 74, 64);
const QColor kInk(31, 61, 54);

const char* const kSuffix[] = {"6x4", "8x6", "10x7"};

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QFont Font(double pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, int(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

// The header strip and the header buttons share this vertical gradient, so
// that the buttons continue the strip.
QLinearGradient HeaderGradient(double height) {
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(226, 236, 229));
    return g;
}

QImage DrawHeader(int w, int h, double s) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), HeaderGradient(h));
    // Faint rings at both ends; the caption in the middle stays clear.
    p.setPen(QPen(kMotif, 1.2 * s));
    for (int i = 0; i < 4; ++i) {
        const double r = (10 + 9 * i) * s;
        p.drawEllipse(QPointF(18 * s, h * 0.5), r, r);
        p.drawEllipse(QPointF(w - 18 * s, h * 0.5), r, r);
    }
    return image;
}

QImage DrawSmallButton(int side, int band, double s, int state) {
    // state 0: up, 1: down, 2: disabled. Below `band` (the header picture's
    // height) the header's line continues.
    QImage image(side, side, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, side, band), HeaderGradient(band));
    p.fillRect(QRect(0, band, side, side - band), kAccent);
    const QPointF centre(side / 2.0, side / 2.0 - 1 * s);
    const double r = side * 0.33;
    QLinearGradient fill(0, centre.y() - r, 0, centre.y() + r);
    QColor border;
    if (state == 0) {
        fill.setColorAt(0, QColor(255, 255, 255));
        fill.setColorAt(1, QColor(232, 240, 234));
        border = QColor(150, 178, 161);
    } else if (state == 1) {
        fill.setColorAt(0, QColor(196, 216, 203));
        fill.setColorAt(1, QColor(218, 232, 223));
        border = QColor(103, 140, 120);
    } else {
        fill.setColorAt(0, QColor(244, 246, 244));
        fill.setColorAt(1, QColor(244, 246, 244));
        border = QColor(212, 219, 214);
    }
    p.setPen(QPen(border, std::max(1.0, s)));
    p.setBrush(fill);
    p.drawEllipse(centre, r, r);
    return image;
}

QImage DrawLargeButton(int w, int h, double s, int state) {
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0.5, w - 1.0, h - 1.0);
    const double radius = 4 * s;
    QLinearGradient fill(0, 0, 0, h);
    QColor border;
    if (state == 0) {
        fill.setColorAt(0, QColor(255, 255, 255));
        fill.setColorAt(1, QColor(229, 238, 232));
        border = QColor(159, 184, 168);
    } else if (state == 1) {
        fill.setColorAt(0, QColor(203, 222, 210));
        fill.setColorAt(1, QColor(226, 237, 230));
        border = QColor(103, 140, 120);
    } else {
        fill.setColorAt(0, QColor(242, 244, 242));
        fill.setColorAt(1, QColor(236, 239, 237));
        border = QColor(210, 218, 212);
    }
    p.setPen(QPen(border, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, radius, radius);
    if (state == 0) {
        // A thin highlight under the top edge gives the face a little lift.
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
        p.drawLine(QPointF(radius, 1.5), QPointF(w - radius, 1.5));
    }
    // A small marker on the left, the same on every button.
    const QColor marker = state == 2 ? QColor(214, 221, 216) : QColor(127, 160, 141);
    p.setPen(Qt::NoPen);
    p.setBrush(marker);
    p.drawRoundedRect(QRectF(6 * s, h * 0.3, 3 * s, h * 0.4), 1.5 * s, 1.5 * s);
    return image;
}

void DrawMotif(QPainter& p, const QString& kind, int w, int h, double s) {
    const QPointF c(w - 95 * s, h - 90 * s);
    p.setPen(QPen(kMotif, 2.0 * s));
    p.setBrush(Qt::NoBrush);
    if (kind == "lbk") {
        // Two linked rings: a person and the program.
        p.drawEllipse(c + QPointF(-22 * s, 0), 48 * s, 48 * s);
        p.drawEllipse(c + QPointF(30 * s, 0), 48 * s, 48 * s);
    } else if (kind == "cbk") {
        // Slider lines with their knobs.
        for (int i = 0; i < 4; ++i) {
            const double y = c.y() - 45 * s + i * 30 * s;
            p.drawLine(QPointF(c.x() - 70 * s, y), QPointF(c.x() + 70 * s, y));
            p.setBrush(kMotif);
            p.drawEllipse(QPointF(c.x() - 50 * s + i * 33 * s, y), 7 * s, 7 * s);
            p.setBrush(Qt::NoBrush);
        }
    } else if (kind == "ibk") {
        // A globe.
        const double r = 62 * s;
        p.drawEllipse(c, r, r);
        p.drawEllipse(c, r * 0.45, r);
        p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
        p.drawLine(QPointF(c.x() - r * 0.85, c.y() - r * 0.5),
                   QPointF(c.x() + r * 0.85, c.y() - r * 0.5));
        p.drawLine(QPointF(c.x() - r * 0.85, c.y() + r * 0.5),
                   QPointF(c.x() + r * 0.85, c.y() + r * 0.5));
    } else if (kind == "tbk") {
        // A small figure series in the heading band; the questions, the
        // gauges and the buttons need the rest of the page.
        const double a = 8 * s;
        const QPointF m(w - 100 * s, 18 * s);
        p.setPen(QPen(QColor(127, 160, 141, 90), 1.5 * s));
        p.drawRect(QRectF(m.x() - a, m.y() - a, 2 * a, 2 * a));
        p.drawEllipse(QPointF(m.x() + 28 * s, m.y()), a, a);
        QPainterPath tri;
        tri.moveTo(m.x() + 56 * s, m.y() - a);
        tri.lineTo(m.x() + 56 * s + a, m.y() + a);
        tri.lineTo(m.x() + 56 * s - a, m.y() + a);
        tri.closeSubpath();
        p.drawPath(tri);
        p.setFont(Font(13 * s, true));
        p.drawText(QRectF(m.x() + 70 * s, m.y() - a - 2 * s, 16 * s, 2 * a + 4 * s),
                   Qt::AlignCenter, QStringLiteral("?"));
    } else if (kind == "bibk") {
        // An open book.
        const double bw = 60 * s, bh = 42 * s;
        QPainterPath left, right;
        left.moveTo(c.x(), c.y() - bh + 8 * s);
        left.quadTo(c.x() - bw * 0.5, c.y() - bh - 6 * s, c.x() - bw, c.y() - bh + 4 * s);
        left.lineTo(c.x() - bw, c.y() + bh);
        left.quadTo(c.x() - bw * 0.5, c.y() + bh - 10 * s, c.x(), c.y() + bh + 4 * s);
        left.closeSubpath();
        right = left;
        QTransform mirror;
        mirror.translate(2 * c.x(), 0);
        mirror.scale(-1, 1);
        p.drawPath(left);
        p.drawPath(mirror.map(right));
    } else if (kind == "hbk") {
        p.drawEllipse(c, 60 * s, 60 * s);
        p.setFont(Font(80 * s, true));
        p.setPen(kMotif);
        p.drawText(QRectF(c.x() - 60 * s, c.y() - 60 * s, 120 * s, 120 * s), Qt::AlignCenter,
                   QStringLiteral("?"));
    }
}

QImage DrawPage(const QString& kind, int w, int h, double s) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int band = int(std::lround(36 * s));
    QLinearGradient g(0, 0, 0, band);
    g.setColorAt(0, kBandTop);
    g.setColorAt(1, kPaper);
    p.fillRect(QRect(0, 0, w, band), g);
    p.setPen(QPen(kLine, 1.0));
    p.drawLine(QPointF(24 * s, band - 0.5), QPointF(w - 24 * s, band - 0.5));
    DrawMotif(p, kind, w, h, s);
    return image;
}

} // namespace

double SkinScale(int layoutSize) {
    return layoutSize == 2 ? 1.6 : layoutSize == 1 ? 1.25 : 1.0;
}

int SkinLength(int designed, int layoutSize) {
    // Rounded to the nearest pixel, halves up.
    if (layoutSize == 1)
        return (designed * 600 + 240) / 480;
    if (layoutSize == 2)
        return (designed * 768 + 240) / 480;
    return designed;
}

std::vector<TSkinPicture> DrawLayoutPictures(int layoutSize) {
    const double s = SkinScale(layoutSize);
    const QString suffix = QString::fromLatin1(kSuffix[layoutSize]);
    const auto L = [layoutSize](int designed) { return SkinLength(designed, layoutSize); };
    std::vector<TSkinPicture> out;
    // The header picture spans what the four header buttons leave of the
    // header's width; that takes up the pixel lost in rounding the buttons.
    out.push_back({"hdbk" + suffix, DrawHeader(L(640) - 4 * L(45), L(43), s)});
    for (const char* page : {"lbk", "cbk", "ibk", "tbk", "bibk", "hbk"})
        out.push_back({page + suffix, DrawPage(QString::fromLatin1(page), L(489), L(435), s)});
    const char* const small[] = {"sbo", "sbh", "sbd"};
    const char* const large[] = {"bo", "bh", "bd"};
    for (int state = 0; state < 3; ++state) {
        out.push_back({small[state] + suffix, DrawSmallButton(L(45), L(43), s, state)});
        out.push_back({large[state] + suffix, DrawLargeButton(L(145), L(45), s, state)});
    }
    return out;
}

QImage DrawIntroPicture() {
    QImage image(282, 282, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(141, 110), 200);
    g.setColorAt(0, QColor(52, 104, 90));
    g.setColorAt(1, QColor(16, 44, 38));
    p.fillRect(image.rect(), g);
    // Three overlapping rings: the emblem of the program.
    p.setPen(QPen(QColor(196, 222, 206, 210), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(121, 86), 30, 30);
    p.drawEllipse(QPointF(161, 86), 30, 30);
    p.drawEllipse(QPointF(141, 118), 30, 30);
    p.setPen(QColor(255, 255, 255));
    p.setFont(Font(34, true));
    p.drawText(QRect(0, 156, 282, 44), Qt::AlignCenter, QStringLiteral("Zernox 2"));
    p.setPen(QColor(184, 212, 195));
    p.setFont(Font(13, false));
    p.drawText(QRect(0, 198, 282, 20), Qt::AlignCenter,
               QStringLiteral("Oefenen voor intelligentietests"));
    // The bottom stays dark for the loading text and bar.
    p.fillRect(QRect(0, 248, 282, 34), QColor(12, 34, 30));
    return image;
}

QImage DrawAboutPicture() {
    QImage image(325, 325, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 325);
    g.setColorAt(0, QColor(236, 243, 238));
    g.setColorAt(1, QColor(140, 177, 156));
    p.fillRect(image.rect(), g);

    p.setPen(QPen(QColor(31, 74, 64, 180), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(52, 52), 18, 18);
    p.drawEllipse(QPointF(76, 52), 18, 18);
    p.drawEllipse(QPointF(64, 72), 18, 18);
    p.setPen(kDeep);
    p.setFont(Font(32, true));
    p.drawText(QRect(100, 30, 210, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Zernox 2"));
    p.setPen(kInk);
    p.setFont(Font(12, false));
    p.drawText(QRect(102, 70, 210, 18), Qt::AlignLeft, QStringLiteral("versie 1.0 release 1"));
    p.setFont(Font(13, false));
    p.drawText(QRect(30, 118, 265, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Oefenen voor intelligentietests: testen, uitslagen, "
                              "achtergronden en vergelijking met internet deelnemers."));

    // The publisher's logo, under the hot spot at (211, 207) 78 x 95.
    p.setPen(QPen(QColor(31, 74, 64), 1.5));
    p.setBrush(QColor(250, 252, 250));
    p.drawRoundedRect(QRectF(213.5, 209.5, 73, 90), 6, 6);
    p.setBrush(QColor(31, 74, 64));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(250, 236), 15, 15);
    p.setBrush(QColor(250, 252, 250));
    p.drawEllipse(QPointF(244, 233), 4, 4);
    p.drawEllipse(QPointF(256, 233), 4, 4);
    p.setPen(kDeep);
    p.setFont(Font(14, true));
    p.drawText(QRect(211, 256, 78, 20), Qt::AlignCenter, QStringLiteral("Ostrel"));
    p.setFont(Font(10, false));
    p.drawText(QRect(211, 275, 78, 16), Qt::AlignCenter, QStringLiteral("uitgeverij"));

    // The maker's logo, under the hot spot at (40, 267) 130 x 40.
    p.setPen(QPen(QColor(31, 74, 64), 1.5));
    p.setBrush(QColor(31, 74, 64));
    p.drawRoundedRect(QRectF(42.5, 269.5, 125, 35), 5, 5);
    p.setPen(QColor(236, 243, 238));
    p.setFont(Font(14, true));
    p.drawText(QRect(40, 268, 130, 22), Qt::AlignCenter, QStringLiteral("Korvane"));
    p.setFont(Font(10, false));
    p.drawText(QRect(40, 287, 130, 16), Qt::AlignCenter, QStringLiteral("software"));

    p.setPen(kInk);
    p.setFont(Font(10, false));
    p.drawText(QRect(40, 245, 160, 16), Qt::AlignLeft, QStringLiteral("Gemaakt door"));
    return image;
}

#include "tools/picture_puzzles.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

constexpr int kCell = 60;
constexpr int kGap = 10;
const QColor kGrey(150, 150, 150);

using DrawCell = std::function<void(QPainter&, const QRectF&, int)>;

struct Puzzle {
    const char* Id;
    std::vector<int> Series;  // the states shown, followed by an empty place
    int Next;                 // the state that belongs in the empty place
    std::vector<int> Choices; // a, b, c, d
    DrawCell Draw;
    int Columns = 0; // > 0: a matrix of that many columns instead of a row
};

QImage Blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void Frame(QPainter& p, const QRectF& r, bool empty = false) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(empty ? Qt::black : kGrey, empty ? 2 : 1, empty ? Qt::DashLine : Qt::SolidLine));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

QPolygonF Regular(const QPointF& centre, double radius, int sides, double startDeg = -90) {
    QPolygonF poly;
    for (int i = 0; i < sides; ++i) {
        const double a = qDegreesToRadians(startDeg + 360.0 * i / sides);
        poly << centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    return poly;
}

// A clock hand turned by state x 45 degrees.
void Hand(QPainter& p, const QRectF& r, int state) {
    const QPointF c = r.center();
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r.width() * 0.36, r.width() * 0.36);
    const double a = qDegreesToRadians(-90.0 + 45.0 * state);
    const QPointF tip = c + QPointF(std::cos(a), std::sin(a)) * r.width() * 0.32;
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, tip);
    p.setBrush(Qt::black);
    p.drawEllipse(tip, 4, 4);
}

// state dots on a row of three.
void Dots(QPainter& p, const QRectF& r, int state) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int i = 0; i < state; ++i) {
        const double x = r.left() + r.width() * (0.25 + 0.25 * (i % 3));
        const double y = r.top() + r.height() * (0.25 + 0.25 * (i / 3));
        p.drawEllipse(QPointF(x, y), 5, 5);
    }
}

// A 2 x 2 grid with one black square, 0 = top left, going clockwise.
void Corner(QPainter& p, const QRectF& r, int state) {
    const QRectF g = r.adjusted(10, 10, -10, -10);
    const double h = g.width() / 2;
    const QPointF at[4] = {g.topLeft(), g.topLeft() + QPointF(h, 0), g.topLeft() + QPointF(h, h),
                           g.topLeft() + QPointF(0, h)};
    p.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == state ? Qt::black : Qt::white);
        p.drawRect(QRectF(at[i], QSizeF(h, h)));
    }
}

// A circle of size state (1..5), black when the size is odd.
void Circle(QPainter& p, const QRectF& r, int state) {
    const int size = state % 10, colour = state / 10; // 10s: the other colour
    const bool black = (size % 2 == 1) != (colour == 1);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(black ? Qt::black : Qt::white);
    p.drawEllipse(r.center(), 4.0 + 4.6 * size, 4.0 + 4.6 * size);
}

// Shape (units: 0 circle, 1 square, 2 triangle) and fill (tens: 0 white,
// 1 grey, 2 black).
void ShapeFill(QPainter& p, const QRectF& r, int state) {
    const QColor fills[3] = {Qt::white, kGrey, Qt::black};
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(fills[(state / 10) % 3]);
    const QPointF c = r.center();
    const double s = r.width() * 0.3;
    switch (state % 10) {
    case 0:
        p.drawEllipse(c, s, s);
        break;
    case 1:
        p.drawRect(QRectF(c - QPointF(s, s), QSizeF(2 * s, 2 * s)));
        break;
    default:
        p.drawPolygon(Regular(c, s * 1.2, 3));
        break;
    }
}

// A regular polygon with state sides (0: a circle).
void Polygon(QPainter& p, const QRectF& r, int state) {
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(220, 220, 220));
    if (state == 0)
        p.drawEllipse(r.center(), r.width() * 0.32, r.width() * 0.32);
    else
        p.drawPolygon(Regular(r.center(), r.width() * 0.34, state));
}

const std::vector<Puzzle>& Puzzles() {
    static const std::vector<Puzzle> puzzles = {
        {"fig1", {0, 1, 2, 3}, 4, {5, 4, 2, 0}, Hand},
        {"fig2", {1, 2, 3, 4}, 5, {4, 6, 3, 5}, Dots},
        {"fig3", {0, 1, 2, 3}, 0, {0, 1, 2, 3}, Corner},
        {"fig4", {1, 2, 3, 4}, 5, {15, 4, 5, 1}, Circle},
        {"fig5", {0, 11, 22, 1, 12, 20, 2, 10}, 21, {22, 21, 1, 10}, ShapeFill, 3},
        {"fig6", {3, 4, 5, 6}, 7, {7, 8, 5, 0}, Polygon},
    };
    return puzzles;
}

QImage SeriesImage(const Puzzle& z) {
    const int places = int(z.Series.size()) + 1;
    const int columns = z.Columns > 0 ? z.Columns : places;
    const int rows = (places + columns - 1) / columns;
    QImage image = Blank(kGap + columns * (kCell + kGap), kGap + rows * (kCell + kGap));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < places; ++i) {
        const QRectF r(kGap + (i % columns) * (kCell + kGap), kGap + (i / columns) * (kCell + kGap),
                       kCell, kCell);
        const bool empty = i == places - 1;
        Frame(p, r, empty);
        if (!empty) {
            p.save();
            z.Draw(p, r, z.Series[size_t(i)]);
            p.restore();
        }
    }
    p.end();
    // Few colours: an 8-bit picture that deflates well in the archive.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

QImage ChoiceImage(const Puzzle& z, int state) {
    QImage image = Blank(kCell + 8, kCell + 8);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(4, 4, kCell, kCell);
    Frame(p, r);
    z.Draw(p, r, state);
    return image;
}

} // namespace

std::vector<TPuzzlePicture> DrawPuzzlePictures() {
    std::vector<TPuzzlePicture> pictures;
    for (const Puzzle& z : Puzzles()) {
        pictures.push_back({QString::fromLatin1(z.Id) + "_reeks.bmp", SeriesImage(z)});
        const char letters[] = "abcd";
        for (size_t i = 0; i < z.Choices.size(); ++i)
            pictures.push_back({QString::fromLatin1(z.Id) + "_" + QChar(letters[i]) + ".png",
                                ChoiceImage(z, z.Choices[i])});
    }
    return pictures;
}

std::vector<TPuzzleKey> PuzzleKeys() {
    std::vector<TPuzzleKey> keys;
    for (const Puzzle& z : Puzzles()) {
        TPuzzleKey key{QString::fromLatin1(z.Id) + "_reeks.bmp", {}, 0};
        for (size_t i = 0; i < z.Choices.size(); ++i)
            if (z.Choices[i] == z.Next) {
                key.Answer = QChar(char('a' + i));
                ++key.MatchingChoices;
            }
        keys.push_back(key);
    }
    return keys;
}

#include "tools/bank/figure_draw.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <map>

namespace figure {

namespace {

const QColor kFrameGrey(175, 175, 175);
const QColor kFillGrey(150, 150, 150);
constexpr double kLine = 2.0;
const double kCos30 = std::sqrt(3.0) / 2;

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Grey levels only: a small file that every reader can show.
QImage Finish(const QImage& image) {
    return image.convertToFormat(QImage::Format_Grayscale8);
}

QPen LinePen(double width = kLine) {
    return QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Frame(QPainter& p, const QRectF& r) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFrameGrey, 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

// ------------------------------------------------------------ cell figures

QPolygonF Regular(int sides, double startDeg) {
    QPolygonF poly;
    for (int i = 0; i < sides; ++i) {
        const double a = qDegreesToRadians(startDeg + 360.0 * i / sides);
        poly << QPointF(std::cos(a), std::sin(a));
    }
    return poly;
}

// The shape upright, about radius 1 around the origin, y down.
QPainterPath UnitShape(EShape shape) {
    QPainterPath path;
    switch (shape) {
    case EShape::Circle:
        path.addEllipse(QPointF(0, 0), 0.85, 0.85);
        break;
    case EShape::Square:
        path.addPolygon(Regular(4, -45) * QTransform::fromScale(0.9, 0.9));
        path.closeSubpath();
        break;
    case EShape::Octagon:
        path.addPolygon(Regular(8, -90 + 22.5));
        path.closeSubpath();
        break;
    case EShape::Arrow:
        path.addPolygon(QPolygonF({{-0.25, 1},
                                   {0.25, 1},
                                   {0.25, -0.1},
                                   {0.62, -0.1},
                                   {0, -1},
                                   {-0.62, -0.1},
                                   {-0.25, -0.1}}));
        path.closeSubpath();
        break;
    case EShape::Flag:
        // A pole with a pennant to its right; the mirror image points left.
        // The pennant is large, so that its fill shows even when small.
        path.addPolygon(QPolygonF({{-0.65, -1}, {0.75, -0.38}, {-0.65, 0.24}}));
        path.closeSubpath();
        path.moveTo(-0.65, -1);
        path.lineTo(-0.65, 1);
        break;
    case EShape::Hook:
        path.addPolygon(
            QPolygonF({{-0.6, -1}, {-0.1, -1}, {-0.1, 0.5}, {0.6, 0.5}, {0.6, 1}, {-0.6, 1}}));
        path.closeSubpath();
        break;
    default:
        path.addPolygon(Regular(Sides(shape), -90));
        path.closeSubpath();
        break;
    }
    return path;
}

struct TPlace {
    double X, Y;
};

// Where the copies go in a box of half-size 1, and how large they are.
std::vector<TPlace> CopyPlaces(int count, double& radius) {
    switch (count) {
    case 1:
        radius = 0.62;
        return {{0, 0}};
    case 2:
        radius = 0.36;
        return {{-0.46, 0}, {0.46, 0}};
    case 3:
        radius = 0.32;
        return {{0, -0.45}, {-0.46, 0.42}, {0.46, 0.42}};
    case 4:
        radius = 0.32;
        return {{-0.46, -0.46}, {0.46, -0.46}, {-0.46, 0.46}, {0.46, 0.46}};
    case 5:
        radius = 0.26;
        return {{-0.55, -0.55}, {0.55, -0.55}, {0, 0}, {-0.55, 0.55}, {0.55, 0.55}};
    default:
        radius = 0.25;
        return {{-0.58, -0.42}, {0, -0.42}, {0.58, -0.42}, {-0.58, 0.42}, {0, 0.42}, {0.58, 0.42}};
    }
}

void DrawFig(QPainter& p, const QPointF& centre, double half, const TFig& fig) {
    const QColor fills[kFillCount] = {Qt::white, kFillGrey, Qt::black};
    p.save();
    p.setPen(LinePen());
    p.setBrush(fills[int(fig.Fill)]);
    double radius = 1;
    const QPainterPath unit = UnitShape(fig.Shape);
    for (const TPlace& place : CopyPlaces(fig.Count, radius)) {
        const double r = radius * half;
        QTransform t;
        t.translate(centre.x() + place.X * half, centre.y() + place.Y * half);
        t.rotate(45.0 * fig.Rot);
        t.scale(fig.Mirrored ? -r : r, r);
        p.drawPath(t.map(unit));
    }
    p.restore();
}

// The place to fill in: a dashed frame with a question mark.
void EmptyPlace(QPainter& p, const QRectF& r) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2, Qt::DashLine));
    p.drawRect(r.adjusted(1, 1, -1, -1));
    const QPointF c = r.center();
    QPainterPath mark;
    mark.moveTo(c + QPointF(-8, -8));
    mark.arcTo(QRectF(c.x() - 8, c.y() - 18, 16, 16), 180, -270);
    mark.lineTo(c + QPointF(0, 5));
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(c + QPointF(0, 12), 2.2, 2.2);
    p.restore();
}

QImage CellGrid(const std::vector<TFig>& figs, int columns, int rows) {
    QImage image =
        Canvas(kGapPx + columns * (kCellPx + kGapPx), kGapPx + rows * (kCellPx + kGapPx));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < columns * rows; ++i) {
        const QRectF r(kGapPx + (i % columns) * (kCellPx + kGapPx),
                       kGapPx + (i / columns) * (kCellPx + kGapPx), kCellPx, kCellPx);
        if (i >= int(figs.size())) {
            EmptyPlace(p, r);
            continue;
        }
        Frame(p, r);
        DrawFig(p, r.center(), kCellPx / 2.0 - 4, figs[size_t(i)]);
    }
    p.end();
    return Finish(image);
}

// ------------------------------------------------------------ solids

QPointF Lattice(double a, double b, double edge) {
    return QPointF((b - a) * kCos30 * edge, (a + b) / 2 * edge);
}

std::array<std::pair<int, int>, 3> TriangleCorners(const TIsoPiece& t) {
    if (t.Upper)
        return {{{t.I, t.J}, {t.I, t.J + 1}, {t.I + 1, t.J + 1}}};
    return {{{t.I, t.J}, {t.I + 1, t.J}, {t.I + 1, t.J + 1}}};
}

QRectF SolidBounds(const std::vector<TIsoPiece>& pieces, double edge) {
    // By hand: QRectF::united skips empty rectangles, and points are empty.
    double left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const TIsoPiece& t : pieces)
        for (const auto& [a, b] : TriangleCorners(t)) {
            const QPointF pt = Lattice(a, b, edge);
            left = first ? pt.x() : std::min(left, pt.x());
            right = first ? pt.x() : std::max(right, pt.x());
            top = first ? pt.y() : std::min(top, pt.y());
            bottom = first ? pt.y() : std::max(bottom, pt.y());
            first = false;
        }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// ------------------------------------------------------------ cube symbols

// The symbol upright in the square [-0.5, 0.5]^2, y down.
void DrawSymbol(QPainter& p, ESymbol symbol) {
    p.save();
    QPen pen = LinePen(2.5);
    pen.setCosmetic(true); // faces are drawn slanted; the line keeps its width
    p.setPen(pen);
    p.setBrush(Qt::black);
    switch (symbol) {
    case ESymbol::Dot:
        p.drawEllipse(QPointF(0, 0), 0.2, 0.2);
        break;
    case ESymbol::Ring:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(0, 0), 0.28, 0.28);
        break;
    case ESymbol::Plus:
    case ESymbol::Cross: {
        QPainterPath plus;
        plus.addRect(-0.32, -0.07, 0.64, 0.14);
        plus.addRect(-0.07, -0.32, 0.14, 0.64);
        plus.setFillRule(Qt::WindingFill);
        if (symbol == ESymbol::Cross)
            plus = QTransform().rotate(45).map(plus);
        p.setPen(Qt::NoPen);
        p.drawPath(plus.simplified());
        break;
    }
    case ESymbol::Diamond:
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({{0, -0.32}, {0.32, 0}, {0, 0.32}, {-0.32, 0}}));
        break;
    case ESymbol::Bars:
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(-0.32, -0.22, 0.64, 0.13));
        p.drawRect(QRectF(-0.32, 0.09, 0.64, 0.13));
        break;
    case ESymbol::Arrow:
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({{-0.07, 0.34},
                                 {0.07, 0.34},
                                 {0.07, -0.04},
                                 {0.21, -0.04},
                                 {0, -0.34},
                                 {-0.21, -0.04},
                                 {-0.07, -0.04}}));
        break;
    case ESymbol::Half:
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(-0.38, -0.38, 0.76, 0.38));
        break;
    case ESymbol::Triangle:
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({{0, -0.3}, {0.29, 0.24}, {-0.29, 0.24}}));
        break;
    case ESymbol::Corner:
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(-0.38, -0.38, 0.3, 0.3));
        break;
    }
    p.restore();
}

// Symbol coordinates after `rot` quarter turns clockwise, then mapped by
// `place` onto the page.
void DrawTurnedSymbol(QPainter& p, ESymbol symbol, int rot, const QTransform& place) {
    p.save();
    p.setTransform(QTransform().rotate(90.0 * rot) * place);
    DrawSymbol(p, symbol);
    p.restore();
}

QPointF Project(double x, double y, double z, double s) {
    return QPointF((y - x) * kCos30 * s, ((x + y) / 2 - z) * s);
}

} // namespace

QImage SeriesPicture(const std::vector<TFig>& shown) {
    return CellGrid(shown, int(shown.size()) + 1, 1);
}

QImage MatrixPicture(const std::vector<TFig>& cells) {
    return CellGrid(cells, 3, 3);
}

QImage FigChoicePicture(const TFig& fig) {
    QImage image = Canvas(kChoicePx, kChoicePx);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Frame(p, QRectF(0, 0, kChoicePx, kChoicePx));
    // The same scale as in the cells, so that sizes can be compared.
    DrawFig(p, QPointF(kChoicePx / 2.0, kChoicePx / 2.0), kCellPx / 2.0 - 4, fig);
    p.end();
    return Finish(image);
}

QImage PolyPicture(const TPoly& poly, int cellPx, int side, bool framed) {
    QImage image = Canvas(side, side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (framed)
        Frame(p, QRectF(0, 0, side, side));
    const TPoly norm = Normalized(poly);
    const auto [w, h] = PolySize(norm);
    // Whole pixels plus a half, so that 2 px lines fall on pixel rows.
    const double left = std::floor((side - w * cellPx) / 2.0);
    const double top = std::floor((side - h * cellPx) / 2.0);
    p.setPen(LinePen());
    for (const TSquare& s : norm) {
        p.setBrush(s.Black ? QColor(Qt::black) : QColor(Qt::white));
        p.drawRect(QRectF(left + s.X * cellPx, top + s.Y * cellPx, cellPx, cellPx));
    }
    p.end();
    return Finish(image);
}

double SolidEdgeToFit(const std::vector<TSolid>& solids, int side) {
    double edge = side;
    for (const TSolid& s : solids) {
        const QRectF box = SolidBounds(IsoView(s), 1.0);
        const double room = side - 12.0; // margin for the frame and the lines
        edge = std::min(
            {edge, room / std::max(box.width(), 1e-9), room / std::max(box.height(), 1e-9)});
    }
    return std::floor(edge);
}

QImage SolidPicture(const TSolid& solid, double edgePx, int side, bool framed) {
    QImage image = Canvas(side, side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (framed)
        Frame(p, QRectF(0, 0, side, side));
    const std::vector<TIsoPiece> pieces = IsoView(solid);
    const QRectF box = SolidBounds(pieces, edgePx);
    const QPointF shift = QPointF(side / 2.0, side / 2.0) - box.center();
    // Light from above: top faces white, the two sides in two greys.
    const QColor faces[3] = {QColor(205, 205, 205), QColor(150, 150, 150), Qt::white};
    std::map<std::pair<std::pair<int, int>, std::pair<int, int>>, std::vector<std::array<int, 3>>>
        edges;
    p.setPen(Qt::NoPen);
    for (const TIsoPiece& t : pieces) {
        const auto corners = TriangleCorners(t);
        QPolygonF tri;
        for (const auto& [a, b] : corners)
            tri << Lattice(a, b, edgePx) + shift;
        p.setBrush(faces[t.Face]);
        // A hair wider than the triangle, so that no seam shows between two.
        p.setPen(QPen(faces[t.Face], 0.8));
        p.drawPolygon(tri);
        for (int k = 0; k < 3; ++k) {
            auto e = std::minmax(corners[size_t(k)], corners[size_t((k + 1) % 3)]);
            edges[{e.first, e.second}].push_back({t.BlockA, t.BlockB, t.Face});
        }
    }
    // The outlines: where the picture ends and where one face meets another.
    p.setPen(LinePen());
    for (const auto& [edge, sides] : edges)
        if (sides.size() == 1 || sides[0] != sides[1])
            p.drawLine(Lattice(edge.first.first, edge.first.second, edgePx) + shift,
                       Lattice(edge.second.first, edge.second.second, edgePx) + shift);
    p.end();
    return Finish(image);
}

QImage NetPicture(const TNet& net, int cellPx) {
    int minCol = net.empty() ? 0 : net[0].Col, minRow = net.empty() ? 0 : net[0].Row;
    int maxCol = minCol, maxRow = minRow;
    for (const TNetFace& f : net) {
        minCol = std::min(minCol, f.Col);
        minRow = std::min(minRow, f.Row);
        maxCol = std::max(maxCol, f.Col);
        maxRow = std::max(maxRow, f.Row);
    }
    constexpr int kMargin = 6;
    QImage image = Canvas(2 * kMargin + (maxCol - minCol + 1) * cellPx,
                          2 * kMargin + (maxRow - minRow + 1) * cellPx);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (const TNetFace& f : net) {
        const QRectF r(kMargin + (f.Col - minCol) * cellPx, kMargin + (f.Row - minRow) * cellPx,
                       cellPx, cellPx);
        p.setPen(LinePen());
        p.setBrush(Qt::white);
        p.drawRect(r);
        QTransform place;
        place.translate(r.center().x(), r.center().y());
        place.scale(cellPx, cellPx);
        DrawTurnedSymbol(p, f.Symbol, f.Rot, place);
    }
    p.end();
    return Finish(image);
}

QImage CubePicture(const TCubeView& view, int side) {
    QImage image = Canvas(side, side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Frame(p, QRectF(0, 0, side, side));
    const double s = std::floor((side - 14) / 2.0);
    // The cube [0,1]^3 projects to a hexagon around the corner (1, 1, 1).
    const QPointF shift = QPointF(side / 2.0, side / 2.0) - Project(0.5, 0.5, 0.5, s);
    const QColor shades[3] = {Qt::white, QColor(232, 232, 232), QColor(212, 212, 212)};
    for (size_t slot = 0; slot < 3; ++slot) {
        const TVec3& n = kViewNormals[slot];
        const TVec3& up = kViewFrameUp[slot];
        const TVec3& right = kViewFrameRight[slot];
        // Face centre and its corners: centre +- (right +- up) / 2.
        const double cx = 0.5 + 0.5 * n[0], cy = 0.5 + 0.5 * n[1], cz = 0.5 + 0.5 * n[2];
        QPolygonF face;
        for (const auto& [sr, su] : {std::pair{-1, 1}, {1, 1}, {1, -1}, {-1, -1}})
            face << Project(cx + 0.5 * (sr * right[0] + su * up[0]),
                            cy + 0.5 * (sr * right[1] + su * up[1]),
                            cz + 0.5 * (sr * right[2] + su * up[2]), s) +
                        shift;
        p.setPen(Qt::NoPen);
        p.setBrush(shades[slot]);
        p.drawPolygon(face);
        // Symbol x runs along `right`, symbol y (down) against `up`.
        const QPointF o = Project(cx, cy, cz, s) + shift;
        const QPointF r = Project(right[0], right[1], right[2], s) - Project(0, 0, 0, s);
        const QPointF d = Project(-up[0], -up[1], -up[2], s) - Project(0, 0, 0, s);
        const QTransform place(r.x(), r.y(), d.x(), d.y(), o.x(), o.y());
        DrawTurnedSymbol(p, view[slot].Symbol, view[slot].Rot, place);
        p.setPen(LinePen());
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(face);
    }
    p.end();
    return Finish(image);
}

} // namespace figure

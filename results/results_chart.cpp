#include "results/results_chart.h"

#include "platform/ansi.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

namespace {

QColor Colour(uint32_t rgb) {
    return QColor::fromRgb(QRgb(0xff000000u | rgb));
}

// The middle of a pixel: antialiased marks and lines centred there cover
// the pixel the layout names.
QPointF Middle(QPoint p) {
    return QPointF(p.x() + 0.5, p.y() + 0.5);
}

void PaintAxes(QPainter& painter, const TChartLayout& layout) {
    const QRect& plot = layout.Plot;
    const QFontMetrics metrics(painter.font());
    for (int value = layout.Low; value <= layout.High; value += layout.Step) {
        const int y = ChartY(layout, value);
        if (value > layout.Low) {
            painter.setPen(QPen(Colour(kChartGrid), 1));
            painter.drawLine(plot.left() + 1, y, plot.right(), y);
        }
        painter.setPen(Colour(kChartAxis));
        const QString label = QString::number(value);
        painter.drawText(plot.left() - 6 - metrics.horizontalAdvance(label),
                         y + metrics.ascent() / 2 - 1, label);
    }
    painter.setPen(QPen(Colour(kChartAxis), 1));
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
    painter.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
    painter.drawText(4, plot.top() + metrics.ascent() - 4, QStringLiteral("IQ"));

    // Attempt numbers under their places; with many attempts only some.
    const int n = int(layout.SlotX.size());
    const int every = std::max(1, (n * 24 + plot.width() - 1) / std::max(1, plot.width()));
    for (int i = 0; i < n; ++i) {
        const int x = layout.SlotX[std::size_t(i)];
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + 3);
        if (i % every != 0)
            continue;
        const QString label = QString::number(i + 1);
        painter.drawText(x - metrics.horizontalAdvance(label) / 2,
                         plot.bottom() + 4 + metrics.ascent(), label);
    }
    const QString title = QStringLiteral("Afgeronde tests, in de volgorde van afronden");
    painter.drawText(plot.left() + (plot.width() - metrics.horizontalAdvance(title)) / 2,
                     plot.bottom() + 18 + metrics.ascent(), title);
}

void PaintGroupLines(QPainter& painter, const TChartLayout& layout) {
    for (const TChartLegendEntry& group : layout.Legend) {
        QPainterPath path;
        for (const TChartMark& mark : layout.Marks) {
            if (mark.GroupNo != group.GroupNo)
                continue;
            if (path.elementCount() == 0)
                path.moveTo(Middle(mark.Centre));
            else
                path.lineTo(Middle(mark.Centre));
        }
        painter.setPen(QPen(Colour(group.Colour), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

void PaintMarks(QPainter& painter, const TChartLayout& layout) {
    for (const TChartMark& mark : layout.Marks) {
        const QColor colour = Colour(mark.Colour);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        const QPointF c = Middle(mark.Centre);
        painter.drawEllipse(c, kChartMarkRadius + 0.5, kChartMarkRadius + 0.5);
        if (mark.AboveNorms) {
            // Above the norm table: the real IQ lies higher than drawn.
            const QPointF arrow[] = {c + QPointF(0, -14), c + QPointF(-4.5, -7),
                                     c + QPointF(4.5, -7)};
            painter.drawPolygon(arrow, 3);
        }
    }
}

void PaintLegend(QPainter& painter, const TChartLayout& layout) {
    for (const TChartLegendEntry& entry : layout.Legend) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colour(entry.Colour));
        painter.drawRect(entry.Swatch);
        painter.setPen(Colour(kChartAxis));
        painter.drawText(entry.TextOrigin, plat::FromAnsi(entry.Title));
    }
}

} // namespace

void PaintResultsChart(QPainter& painter, const TChartLayout& layout) {
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), layout.Size), Colour(kChartGround));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintAxes(painter, layout);
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintGroupLines(painter, layout);
    PaintMarks(painter, layout);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintLegend(painter, layout);
    painter.restore();
}

QImage ResultsChartImage(const TChartLayout& layout) {
    QImage image(layout.Size, QImage::Format_RGB32);
    image.fill(Colour(kChartGround));
    QPainter painter(&image);
    PaintResultsChart(painter, layout);
    painter.end();
    return image;
}

bool WriteResultsChart(const TChartLayout& layout, const QString& path) {
    // Written whole beside and then renamed, so a page never shows half a chart.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!ResultsChartImage(layout).save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

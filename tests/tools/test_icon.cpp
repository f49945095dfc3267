// The desktop icon: the SVG is well-formed and describes the picture that
// the PNG sizes show.
#include "tools/icon_picture.h"

#include <QColor>
#include <QPolygonF>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

struct SvgShapes {
    QString viewBox;
    QPolygonF letter;
    std::vector<QPointF> dots;
};

SvgShapes ReadSvg(const QByteArray& svg) {
    SvgShapes shapes;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attr = xml.attributes();
        if (xml.name() == QLatin1String("svg"))
            shapes.viewBox = attr.value("viewBox").toString();
        else if (xml.name() == QLatin1String("polygon"))
            for (const QString& pair : attr.value("points").toString().split(' '))
                shapes.letter << QPointF(pair.section(',', 0, 0).toDouble(),
                                         pair.section(',', 1, 1).toDouble());
        else if (xml.name() == QLatin1String("circle"))
            shapes.dots.emplace_back(attr.value("cx").toDouble(), attr.value("cy").toDouble());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return shapes;
}

TEST(IconTest, EverySizeShowsTheShapesOfTheSvg) {
    const SvgShapes svg = ReadSvg(IconSvg());
    ASSERT_EQ(svg.viewBox.toStdString(), "0 0 256 256");
    ASSERT_EQ(svg.letter.size(), 10);
    ASSERT_EQ(svg.dots.size(), 3u);

    // Probes in SVG units: on the top bar of the letter, on the tile beside
    // the letter's diagonal, and outside the rounded tile.
    const QPointF onLetter(128, 70);
    const QPointF onTile(200, 128);
    ASSERT_TRUE(svg.letter.containsPoint(onLetter, Qt::OddEvenFill));
    ASSERT_FALSE(svg.letter.containsPoint(onTile, Qt::OddEvenFill));

    for (int size : {48, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon = DrawIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        auto at = [&](QPointF p) {
            return icon.pixelColor(int(p.x() * size / 256), int(p.y() * size / 256));
        };
        EXPECT_EQ(at({1, 1}).alpha(), 0);
        EXPECT_EQ(at({254, 254}).alpha(), 0);
        EXPECT_EQ(at(onLetter), QColor(Qt::white));
        const QColor tile = at(onTile);
        EXPECT_EQ(tile.alpha(), 255);
        EXPECT_GT(tile.blue(), tile.red() + 60);
        for (const QPointF& dot : svg.dots) {
            const QColor c = at(dot);
            EXPECT_GT(c.red(), 200);
            EXPECT_LT(c.blue(), 120);
        }
    }
    EXPECT_TRUE(DrawIcon(0).isNull());
}

} // namespace

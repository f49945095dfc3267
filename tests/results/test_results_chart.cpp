// The results chart: where its marks go and what is painted.
#include "results/results_chart.h"
#include "tests/common/paint_probe.h"
#include "tests/results/results_fixture.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using resultstest::Attempt;

namespace {

bool Ground(QRgb c) {
    return probe::SameColour(c, kChartGround) || probe::SameColour(c, kChartGrid);
}

} // namespace

TEST(ResultsChartLayout, IQTextsThatAreNumbersArePlotted) {
    bool above = true;
    EXPECT_EQ(PlottedIQ("112", &above), 112);
    EXPECT_FALSE(above);
    EXPECT_EQ(PlottedIQ(" 98 "), 98);
    EXPECT_EQ(PlottedIQ(">155", &above), 155);
    EXPECT_TRUE(above);
    for (const char* text : {"n.b.", "g.s.", "", ">", "12a", "1e9", "99999999999"})
        EXPECT_FALSE(PlottedIQ(text).has_value()) << text;
}

TEST(ResultsChartLayout, MarksTakeTheirAttemptsPlaceAndTheirIQsHeight) {
    const std::vector<TResultAttempt> attempts = {Attempt(1, "100"), Attempt(2, "n.b."),
                                                  Attempt(1, "120"), Attempt(2, ">155")};
    const TChartLayout layout = LayoutChart(attempts, 430);
    EXPECT_EQ(layout.Size.width(), 430);
    ASSERT_EQ(layout.SlotX.size(), 4u);
    for (std::size_t i = 1; i < layout.SlotX.size(); ++i)
        EXPECT_GT(layout.SlotX[i], layout.SlotX[i - 1]);
    EXPECT_GT(layout.SlotX.front(), layout.Plot.left());
    EXPECT_LT(layout.SlotX.back(), layout.Plot.right());
    // The scale holds every value with room around it.
    EXPECT_LE(layout.Low, 95);
    EXPECT_GE(layout.High, 160);

    ASSERT_EQ(layout.Marks.size(), 3u) << "n.b. gets a place but no mark";
    EXPECT_EQ(layout.Marks[0].Slot, 0);
    EXPECT_EQ(layout.Marks[1].Slot, 2);
    EXPECT_EQ(layout.Marks[2].Slot, 3);
    EXPECT_TRUE(layout.Marks[2].AboveNorms);
    EXPECT_EQ(layout.Marks[2].Value, 155);
    EXPECT_GT(layout.Marks[0].Centre.y(), layout.Marks[1].Centre.y()); // higher IQ, higher up
    EXPECT_GT(layout.Marks[1].Centre.y(), layout.Marks[2].Centre.y());
    for (const TChartMark& mark : layout.Marks) {
        EXPECT_EQ(mark.Centre.x(), layout.SlotX[std::size_t(mark.Slot)]);
        EXPECT_TRUE(layout.Plot.contains(mark.Centre));
    }
    ASSERT_EQ(layout.Legend.size(), 2u);
    // Colours go by legend place, not by the group's place in the catalogue.
    EXPECT_EQ(layout.Legend[1].Colour, ChartGroupColour(2));
    const TChartLayout far = LayoutChart({Attempt(9, "100"), Attempt(1, "100")}, 430);
    ASSERT_EQ(far.Marks.size(), 2u);
    EXPECT_EQ(far.Marks[0].Colour, ChartGroupColour(2));
    EXPECT_EQ(far.Marks[1].Colour, ChartGroupColour(1));
    EXPECT_EQ(layout.Legend[0].Title, "Getallen");
    EXPECT_EQ(layout.Legend[1].Title, "Figuren");
    EXPECT_NE(ChartGroupColour(1), ChartGroupColour(2));

    // A narrow view still gets a usable chart.
    EXPECT_EQ(LayoutChart(attempts, 50).Size.width(), kChartMinWidth);
}

TEST(ResultsChartPaint, AxesAndOneMarkPerPlottedAttemptAtItsPlace) {
    const std::vector<TResultAttempt> attempts = {Attempt(1, "90"), Attempt(2, "n.b."),
                                                  Attempt(2, "131"), Attempt(1, "90"),
                                                  Attempt(1, ">155")};
    const TChartLayout layout = LayoutChart(attempts, 430);
    const QImage image = ResultsChartImage(layout);
    probe::SaveOnFailure keep(image, QStringLiteral("results_chart"));
    ASSERT_EQ(image.size(), layout.Size);
    const QRect& plot = layout.Plot;

    // Both axes run their whole length in the axis colour.
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        ASSERT_TRUE(probe::SameColour(image.pixel(plot.left(), y), kChartAxis)) << y;
    for (int x = plot.left(); x <= plot.right(); ++x)
        ASSERT_TRUE(probe::SameColour(image.pixel(x, plot.bottom()), kChartAxis)) << x;
    // Labels beside the y axis and under the x axis.
    EXPECT_GT(probe::Count(image.copy(0, plot.top(), plot.left() - 2, plot.height()),
                           [](QRgb c) { return !Ground(c); }),
              20);
    EXPECT_GT(probe::Count(image.copy(plot.left(), plot.bottom() + 2, plot.width(), 30),
                           [](QRgb c) { return !Ground(c); }),
              20);

    ASSERT_EQ(layout.Marks.size(), 4u);
    for (const TChartMark& mark : layout.Marks) {
        const QRgb colour = mark.Colour;
        EXPECT_TRUE(probe::SameColour(image.pixel(mark.Centre), colour))
            << mark.Slot << " " << std::hex << image.pixel(mark.Centre);
        // A filled mark, not a point on a line: its edge is coloured too.
        EXPECT_TRUE(probe::SameColour(image.pixel(mark.Centre + QPoint(0, 3)), colour));
        EXPECT_TRUE(probe::SameColour(image.pixel(mark.Centre + QPoint(3, 0)), colour));
    }
    // The mark above the norms has its arrow over it.
    EXPECT_TRUE(probe::SameColour(image.pixel(layout.Marks[3].Centre + QPoint(0, -9)),
                                  ChartGroupColour(1)));

    // Nothing is painted in the plot at the place of the attempt without an
    // IQ, nor above the highest mark, nor in the empty half of the plot that
    // no group's line crosses.
    const int gapX = layout.SlotX[1];
    for (int y = plot.top(); y < plot.bottom() - 4; ++y)
        for (int x = gapX - 2; x <= gapX + 2; ++x) {
            // Getallen's line from slot 0 to slot 3 crosses at the height of 90.
            if (std::abs(y - ChartY(layout, 90)) <= 2)
                continue;
            ASSERT_TRUE(Ground(image.pixel(x, y))) << x << "," << y;
        }
    const int highest = layout.Marks[3].Centre.y() - 14;
    for (int y = plot.top() + 1; y < highest; ++y)
        for (int x = plot.left() + 1; x <= plot.right(); ++x)
            ASSERT_TRUE(Ground(image.pixel(x, y))) << x << "," << y;
    // Each group's colour appears only near its own marks and lines: count
    // the colour of Figuren, whose single mark has no line.
    const QRect figuren = QRect(layout.Marks[1].Centre - QPoint(5, 5), QSize(11, 11));
    int outside = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x)
            if (!figuren.contains(x, y) &&
                probe::SameColour(image.pixel(x, y), ChartGroupColour(2)))
                ++outside;
    EXPECT_EQ(outside, 0);
}

TEST(ResultsChartPaint, WrittenAsAPictureThatReplacesAnOldOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mijnresultaten.png"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stale, no picture");
    old.close();
    const TChartLayout layout = LayoutChart({Attempt(1, "100")}, 300);
    ASSERT_TRUE(WriteResultsChart(layout, path));
    const QImage read(path);
    ASSERT_EQ(read.size(), layout.Size);
    EXPECT_TRUE(probe::SameColour(read.pixel(layout.Marks[0].Centre), ChartGroupColour(1)));
    EXPECT_FALSE(WriteResultsChart(layout, dir.filePath(QStringLiteral("missing/dir/x.png"))));
}

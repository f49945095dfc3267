#include "widgets/gauge.h"

#include "tests/common/paint_probe.h"

#include <QPainter>
#include <gtest/gtest.h>

TEST(Gauge, FractionIsClampedAndSafeForEmptyRanges) {
    TGaugeFace face;
    face.Progress = 40;
    EXPECT_DOUBLE_EQ(GaugeFraction(face), 0.4);
    face.MinValue = 50;
    EXPECT_DOUBLE_EQ(GaugeFraction(face), 0.0);
    face.MaxValue = 50; // empty range: nothing filled, no division by zero
    EXPECT_DOUBLE_EQ(GaugeFraction(face), 0.0);

    TGauge gauge;
    gauge.SetRange(0, 100);
    gauge.SetProgress(150);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetProgress(-5);
    EXPECT_EQ(gauge.Progress(), 0);
}

TEST(Gauge, BarWithoutBorderFillsFromTheLeft) {
    // The intro's bar: white on black, no border, no text.
    TGaugeFace face;
    face.Border = false;
    face.ShowText = false;
    face.BackColor = Qt::black;
    face.ForeColor = Qt::white;
    face.Progress = 25;
    QImage image = probe::Canvas(200, 4, qRgb(255, 0, 0));
    probe::SaveOnFailure keep(image, "gauge_bar");
    {
        QPainter p(&image);
        PaintGauge(p, image.size(), face);
    }
    const QRect white =
        probe::BoundingBox(image, [](QRgb c) { return probe::SameColour(c, qRgb(255, 255, 255)); });
    EXPECT_EQ(white, QRect(0, 0, 50, 4));
    EXPECT_EQ(probe::Count(image, [](QRgb c) { return probe::SameColour(c, qRgb(255, 0, 0)); }), 0);
}

TEST(Gauge, PieFillsClockwiseFromTwelve) {
    TGaugeFace face;
    face.Kind = gkPie;
    face.ShowText = false;
    face.ForeColor = Qt::black;
    face.BackColor = Qt::white;
    face.Progress = 25;
    QImage image = probe::Canvas(101, 101, qRgb(0, 0, 255));
    probe::SaveOnFailure keep(image, "gauge_pie");
    {
        QPainter p(&image);
        PaintGauge(p, image.size(), face);
    }
    // The upper right quarter is filled, the upper left is not.
    EXPECT_TRUE(probe::SameColour(image.pixel(70, 30), qRgb(0, 0, 0)));
    EXPECT_TRUE(probe::SameColour(image.pixel(30, 30), qRgb(255, 255, 255)));
    EXPECT_TRUE(probe::SameColour(image.pixel(70, 70), qRgb(255, 255, 255)));
}

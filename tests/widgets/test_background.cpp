#include "platform/screen.h"
#include "tests/common/paint_probe.h"
#include "widgets/background.h"
#include "widgets/background_paint.h"
#include "widgets/bk_control.h"
#include "widgets/palette.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

using probe::SameColour;

namespace {

constexpr QRgb kUnder = 0xff00ff00; // what lies under the control
const QSize kArea(40, 30);

// Every pixel has its own colour, so any misplacement shows.
QImage Numbered(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, 200));
    return image;
}

void MakeClear(TBackground& background) {
    background.SetBrush(Qt::NoBrush);
    background.SetPen(Qt::NoPen);
}

QImage Paint(const TBackground& background, int dX = 0, int dY = 0) {
    QImage canvas = probe::Canvas(kArea.width(), kArea.height(), kUnder);
    QPainter painter(&canvas);
    PaintBackground(painter, kArea, background, dX, dY);
    return canvas;
}

} // namespace

TEST(Background, ImageDrawStyleRaisesOnChangeOnlyForADifferentValue) {
    TBackground background;
    QSignalSpy onChange(&background, &TBackground::OnChange);
    QSignalSpy changed(&background, &TBackground::Changed);
    background.SetImageDrawStyle(idsAlongside);
    EXPECT_EQ(onChange.count(), 0);
    background.SetImageDrawStyle(idsStretch);
    background.SetImageDrawStyle(idsStretch);
    EXPECT_EQ(onChange.count(), 1);
    // Brush, pen and picture only tell the owner to repaint.
    background.SetBrush(Qt::red);
    background.SetPen(QPen(Qt::blue));
    background.SetImage(Numbered(3, 3));
    EXPECT_EQ(onChange.count(), 1);
    EXPECT_EQ(changed.count(), 4);
}

TEST(Background, AssignCopiesPenBrushPictureAndStyleInThatOrder) {
    TBackground source;
    source.SetPen(QPen(Qt::blue));
    source.SetBrush(Qt::red);
    source.SetImage(Numbered(5, 4));
    source.SetImageDrawStyle(idsCenter);
    TBackground target;
    QStringList order;
    QObject::connect(&target, &TBackground::Changed, [&] {
        order << QStringLiteral("%1%2%3%4")
                     .arg(target.Pen() == source.Pen())
                     .arg(target.Brush() == source.Brush())
                     .arg(target.Image() == source.Image())
                     .arg(target.ImageDrawStyle() == source.ImageDrawStyle());
    });
    QSignalSpy onChange(&target, &TBackground::OnChange);
    target.Assign(source);
    EXPECT_EQ(order, QStringList({"1000", "1100", "1110", "1111"}));
    EXPECT_EQ(onChange.count(), 1);
}

TEST(BackgroundPaint, DefaultsFrameInBlackOnWhiteAndClearPaintsNothing) {
    TBackground background;
    QImage image = Paint(background);
    probe::SaveOnFailure save(image, "defaults");
    EXPECT_TRUE(SameColour(image.pixel(0, 0), qRgb(0, 0, 0)));
    EXPECT_TRUE(SameColour(image.pixel(39, 29), qRgb(0, 0, 0)));
    EXPECT_TRUE(SameColour(image.pixel(38, 28), qRgb(255, 255, 255)));
    MakeClear(background);
    image = Paint(background);
    EXPECT_EQ(probe::Count(image, [](QRgb c) { return !SameColour(c, kUnder); }), 0);
}

TEST(BackgroundPaint, SolidBrushCoversThePictureInEveryStyle) {
    TBackground background;
    background.SetImage(Numbered(16, 8));
    background.SetBrush(QColor(250, 10, 10));
    background.SetPen(Qt::NoPen);
    for (const TImageDrawStyle style : {idsAlongside, idsCenter, idsHide, idsStretch, idsTopLeft}) {
        background.SetImageDrawStyle(style);
        const QImage image = Paint(background);
        probe::SaveOnFailure save(image, QString::number(style));
        EXPECT_EQ(probe::Count(image, [](QRgb c) { return !SameColour(c, qRgb(250, 10, 10)); }), 0)
            << "style " << style;
    }
}

TEST(BackgroundPaint, AlongsideTilesFromTheOffset) {
    TBackground background;
    MakeClear(background);
    const QImage picture = Numbered(16, 8);
    background.SetImage(picture);
    const QImage image = Paint(background, 3, 2);
    probe::SaveOnFailure save(image, "tiles");
    for (int y = 0; y < kArea.height(); ++y)
        for (int x = 0; x < kArea.width(); ++x) {
            const QRgb expected =
                x < 3 || y < 2 ? kUnder : picture.pixel((x - 3) % 16, (y - 2) % 8);
            ASSERT_TRUE(SameColour(image.pixel(x, y), expected)) << x << "," << y;
        }
}

TEST(BackgroundPaint, CenterCropsALargerPictureOnBothSides) {
    TBackground background;
    MakeClear(background);
    // 61 - 40 = 21 columns too many: the left edge goes to -10 (toward zero).
    const QImage picture = Numbered(61, 50);
    background.SetImage(picture);
    background.SetImageDrawStyle(idsCenter);
    const QImage image = Paint(background);
    probe::SaveOnFailure save(image, "centre");
    EXPECT_TRUE(SameColour(image.pixel(0, 0), picture.pixel(10, 10)));
    EXPECT_TRUE(SameColour(image.pixel(39, 29), picture.pixel(49, 39)));
}

TEST(BackgroundPaint, TopLeftAndHide) {
    TBackground background;
    MakeClear(background);
    const QImage picture = Numbered(10, 10);
    background.SetImage(picture);
    background.SetImageDrawStyle(idsTopLeft);
    QImage image = Paint(background, 5, 4);
    probe::SaveOnFailure save(image, "topleft");
    EXPECT_TRUE(SameColour(image.pixel(5, 4), picture.pixel(0, 0)));
    EXPECT_TRUE(SameColour(image.pixel(14, 13), picture.pixel(9, 9)));
    EXPECT_EQ(probe::BoundingBox(image, [](QRgb c) { return !SameColour(c, kUnder); }),
              QRect(5, 4, 10, 10));
    background.SetImageDrawStyle(idsHide);
    image = Paint(background, 5, 4);
    EXPECT_EQ(probe::Count(image, [](QRgb c) { return !SameColour(c, kUnder); }), 0);
}

TEST(BackgroundPaint, StretchCoversTheControlAndDropsRowsAndColumns) {
    TBackground background;
    MakeClear(background);
    // A one-pixel checkerboard twice the control's size: blending would give grey.
    QImage checker(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    background.SetImage(checker);
    background.SetImageDrawStyle(idsStretch);
    const QImage image = Paint(background);
    probe::SaveOnFailure save(image, "stretch");
    EXPECT_EQ(probe::Count(image,
                           [](QRgb c) {
                               return !SameColour(c, qRgb(0, 0, 0)) &&
                                      !SameColour(c, qRgb(255, 255, 255));
                           }),
              0);
}

TEST(BkControl, RepaintsOnEveryBackgroundChangeButNotOnTheSameValue) {
    TBkControl control;
    EXPECT_EQ(control.size(), QSize(100, 100));
    const int before = control.RepaintRequests();
    control.Background().SetImageDrawStyle(idsCenter);
    control.Background().SetBrush(Qt::NoBrush);
    control.Background().SetPen(Qt::NoPen);
    control.Background().SetImage(Numbered(4, 4));
    EXPECT_EQ(control.RepaintRequests(), before + 4);
    control.Background().SetImageDrawStyle(idsCenter);
    control.Background().SetPen(Qt::NoPen);
    EXPECT_EQ(control.RepaintRequests(), before + 4);
}

TEST(BkControl, PaintsThroughThePaletteOnAnEightBitScreen) {
    plat::SetScreenOverride({640, 480, 8});
    TBkControl control;
    control.resize(20, 10);
    control.Background().SetBrush(QColor(10, 20, 30));
    control.Background().SetPen(Qt::NoPen);
    QImage image = probe::Canvas(20, 10, kUnder);
    control.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    plat::ClearScreenOverride();
    probe::SaveOnFailure save(image, "palette");
    const QRgb shown = image.pixel(5, 5);
    EXPECT_TRUE(Pal256().contains(shown)) << std::hex << shown;
    EXPECT_TRUE(SameColour(shown, NearestPaletteColor(qRgb(10, 20, 30), Pal256())));
}

#include "tests/common/paint_probe.h"
#include "widgets/background.h"
#include "widgets/proportional_image.h"

#include <QPainter>
#include <gtest/gtest.h>

using probe::SameColour;

namespace {

constexpr QRgb kGreen = 0xff20a040, kBlue = 0xff0000ff;

QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Render(TProportionalImage& control) {
    QImage image = probe::Canvas(control.width(), control.height(), 0xffff00ff);
    control.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

void GreenBackground(TBackground& background) {
    background.SetBrush(QColor(kGreen));
    background.SetPen(Qt::NoPen);
}

} // namespace

TEST(ProportionalImage, SizesThePictureByWidthThenLimitsItsHeight) {
    TProportionalSizing sizing;
    sizing.Sx = sizing.Sy = 100;
    // round(162.5) = 162, halves to even.
    EXPECT_EQ(ProportionalImageRect({325, 325}, {200, 100}, sizing), QRect(0, 81, 325, 162));
    sizing.Sy = 40;
    EXPECT_EQ(ProportionalImageRect({325, 325}, {200, 100}, sizing), QRect(32, 97, 260, 130));
    // A static width replaces only the width.
    sizing.Sy = 100;
    sizing.SxIsStatic = true;
    sizing.StaticSx = 50;
    sizing.StaticSy = 100;
    EXPECT_EQ(ProportionalImageRect({325, 325}, {200, 100}, sizing), QRect(81, 81, 162, 162));
    EXPECT_TRUE(ProportionalImageRect({325, 325}, {0, 100}, sizing).isEmpty());
}

TEST(ProportionalImage, ComposesBackgroundAndPicture) {
    TBackground background;
    GreenBackground(background);
    TProportionalContent content;
    content.Background = &background;
    content.Image = Solid(200, 100, kBlue);
    content.Sizing.Sx = content.Sizing.Sy = 100;
    const QImage image = ComposeProportionalImage({325, 325}, content, {});
    probe::SaveOnFailure save(image, "composed");
    EXPECT_EQ(probe::BoundingBox(image, [](QRgb c) { return SameColour(c, kBlue); }),
              QRect(0, 81, 325, 162));
    EXPECT_TRUE(SameColour(image.pixel(0, 80), kGreen));
    EXPECT_TRUE(SameColour(image.pixel(324, 243), kGreen));
}

TEST(ProportionalImage, LabelIsABlackFramedWhiteBoxWithBlackText) {
    TProportionalImage control;
    control.resize(200, 100);
    GreenBackground(control.Background());
    QPalette palette = control.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    control.setPalette(palette);
    QFont font = control.font();
    font.setPointSize(9); // 12 pixels high at 96 dots per inch
    control.setFont(font);
    control.SetText(QStringLiteral("Zernox"));
    const QImage image = Render(control);
    probe::SaveOnFailure save(image, "label");
    const QRect box = probe::BoundingBox(image, [](QRgb c) { return !SameColour(c, kGreen); });
    ASSERT_FALSE(box.isEmpty());
    EXPECT_EQ(box.bottom(), 99);
    EXPECT_EQ(box.left() + box.right(), 199); // centred
    const int lineHeight = qRound(control.logicalDpiY() * 9 / 72.0);
    EXPECT_EQ(box.top(), 100 - (lineHeight + 4));
    EXPECT_TRUE(SameColour(image.pixel(box.topLeft()), qRgb(0, 0, 0)));
    EXPECT_TRUE(SameColour(image.pixel(box.bottomRight()), qRgb(0, 0, 0)));
    EXPECT_TRUE(SameColour(image.pixel(box.left() + 1, box.top() + 1), qRgb(255, 255, 255)));
    const QImage inside = image.copy(box.adjusted(1, 1, -1, -1));
    // Text in black (or its grey edges), never in the font's colour.
    EXPECT_GT(probe::Count(inside, [](QRgb c) { return SameColour(c, qRgb(0, 0, 0)); }), 0);
    EXPECT_EQ(
        probe::Count(inside, [](QRgb c) { return qRed(c) != qGreen(c) || qGreen(c) != qBlue(c); }),
        0);
}

TEST(ProportionalImage, NotSrcCopyShowsTheInvertedPicture) {
    TProportionalImage control;
    control.resize(60, 40);
    GreenBackground(control.Background());
    control.SetImage(Solid(20, 10, kBlue));
    const QImage composed = control.ComposedImage();
    control.SetRasterOperation(roNOTSRCCOPY);
    const QImage image = Render(control);
    probe::SaveOnFailure save(image, "inverted");
    for (const QPoint p : {QPoint(0, 0), QPoint(30, 20), QPoint(59, 39)})
        EXPECT_TRUE(SameColour(image.pixel(p), ~composed.pixel(p))) << p.x() << "," << p.y();
}

TEST(ProportionalImage, EffectBuildsUpOnlyTheFirstPaintAfterANewPicture) {
    TProportionalImage control;
    control.resize(100, 50);
    GreenBackground(control.Background());
    control.SetEffects(true);
    control.SetEffect(esExplode);
    control.SetEffectSize(10);
    control.SetImage(Solid(20, 10, kBlue));
    EXPECT_TRUE(control.NewImage());
    QImage image = Render(control);
    probe::SaveOnFailure save(image, "effect");
    EXPECT_EQ(control.LastEffectBlockCount(), 50);
    EXPECT_FALSE(control.NewImage());
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), control.ComposedImage());
    image = Render(control);
    EXPECT_EQ(control.LastEffectBlockCount(), 0);
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), control.ComposedImage());
    // A new label is new content too; the same label is not.
    control.SetText(QStringLiteral("a"));
    Render(control);
    EXPECT_EQ(control.LastEffectBlockCount(), 50);
    control.SetText(QStringLiteral("a"));
    Render(control);
    EXPECT_EQ(control.LastEffectBlockCount(), 0);
    control.SetEffects(false);
    control.SetImage(Solid(20, 10, kBlue));
    Render(control);
    EXPECT_EQ(control.LastEffectBlockCount(), 0);
}

TEST(ProportionalImage, ChangesRepaintOnlyWhenTheValueDiffers) {
    TProportionalImage control;
    const int before = control.RepaintRequests();
    control.SetSx(90);
    control.SetText(QString());
    control.SetSx(50);
    control.Background().SetImageDrawStyle(idsStretch);
    control.SetImage(QImage()); // a picture always counts, even an empty one
    EXPECT_EQ(control.RepaintRequests(), before + 3);
}

#include "platform/screen.h"
#include "widgets/palette.h"

#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

TEST(Palette, ChosenByScreenDepth) {
    const std::pair<int, qsizetype> cases[] = {{1, 16}, {7, 16}, {8, 256}, {15, 0}, {24, 0}};
    for (const auto& [depth, entries] : cases) {
        plat::SetScreenOverride({800, 600, depth});
        EXPECT_EQ(GetPalette().size(), entries) << depth << " bits";
    }
    plat::ClearScreenOverride();
}

TEST(Palette, HoldsTheStandardColoursOnceEach) {
    EXPECT_EQ(Pal16()[7], qRgb(128, 128, 128));
    EXPECT_EQ(Pal16()[8], qRgb(192, 192, 192));
    const QList<QRgb>& pal = Pal256();
    // Every VGA colour sits among the system colours at either end.
    const QList<QRgb> ends = pal.mid(0, 10) + pal.mid(246, 10);
    for (const QRgb colour : Pal16())
        EXPECT_TRUE(ends.contains(colour)) << std::hex << colour;
    EXPECT_EQ(QSet<QRgb>(pal.begin(), pal.end()).size(), 256);
}

TEST(Palette, MappingKeepsTransparencyAndPicksTheNearestColour) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(250, 5, 5, 255));
    image.setPixel(1, 0, qRgba(130, 120, 125, 255));
    image.setPixel(2, 0, qRgba(0, 0, 0, 0));
    MapToPalette(image, Pal16());
    EXPECT_EQ(image.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgba(128, 128, 128, 255));
    EXPECT_EQ(qAlpha(image.pixel(2, 0)), 0);
}

#include "widgets/raster_operation.h"
#include "widgets/transition_effect.h"

#include <QRegion>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Each block inside the grid, listed once.
void ExpectEveryBlockOnce(EffectStyle style, QSize grid) {
    const QList<QPoint> blocks = EffectBlocks(style, grid, 1, 0);
    QSet<QPair<int, int>> seen;
    for (const QPoint& b : blocks) {
        ASSERT_TRUE(b.x() >= 1 && b.x() <= grid.width() && b.y() >= 1 && b.y() <= grid.height())
            << "style " << style << " grid " << grid.width() << "x" << grid.height();
        seen.insert({b.x(), b.y()});
    }
    EXPECT_EQ(blocks.size(), grid.width() * grid.height())
        << "style " << style << " grid " << grid.width() << "x" << grid.height();
    EXPECT_EQ(seen.size(), grid.width() * grid.height());
}

bool OnBorder(QPoint b, QSize grid) {
    return b.x() == 1 || b.y() == 1 || b.x() == grid.width() || b.y() == grid.height();
}

} // namespace

TEST(TransitionEffect, SpiralsReachEveryBlockExactlyOnce) {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            ExpectEveryBlockOnce(esExplode, QSize(c, r));
            ExpectEveryBlockOnce(esImplode, QSize(c, r));
        }
    ExpectEveryBlockOnce(esExplode, QSize(40, 3));
    ExpectEveryBlockOnce(esImplode, QSize(3, 40));
}

TEST(TransitionEffect, ExplodeGrowsFromTheMiddleAndImplodeShrinksToIt) {
    const QSize grid(7, 5);
    const QList<QPoint> explode = EffectBlocks(esExplode, grid, 1, 0);
    // round(3.5) = 4 and round(2.5) = 2, halves to even.
    EXPECT_EQ(explode.first(), QPoint(4, 2));
    EXPECT_TRUE(OnBorder(explode.last(), grid));
    const QList<QPoint> implode = EffectBlocks(esImplode, grid, 1, 0);
    EXPECT_TRUE(OnBorder(implode.first(), grid));
    EXPECT_FALSE(OnBorder(implode.last(), grid));
}

TEST(TransitionEffect, RandomStaysInsideAndCountsByItsSpeed) {
    const QSize grid(6, 4);
    const QList<QPoint> blocks = EffectBlocks(esRandom, grid, 1, 7);
    EXPECT_EQ(blocks.size(), 23); // counter 1 .. 23 while 24 > counter
    for (const QPoint& b : blocks)
        EXPECT_TRUE(QRect(1, 1, 6, 4).contains(b));
    EXPECT_EQ(EffectBlocks(esRandom, grid, 1, 7), blocks);
    EXPECT_EQ(EffectBlocks(esRandom, grid, 5, 7).size(), 5); // 1, 6, 11, 16, 21
    // A speed of 0 would never finish.
    EXPECT_EQ(EffectBlocks(esRandom, grid, 0, 7).size(), 23);
    EXPECT_TRUE(EffectBlocks(esRandom, QSize(1, 1), 1, 7).isEmpty());
}

TEST(TransitionEffect, BlocksCoverTheAreaUpToItsEdges) {
    const QSize area(23, 10);
    const QSize grid = EffectGrid(area, 5);
    EXPECT_EQ(grid, QSize(5, 2));
    EXPECT_EQ(EffectGrid(area, 0), area);
    EXPECT_EQ(EffectBlockRect(QPoint(5, 2), 5, area), QRect(20, 5, 3, 5));
    EXPECT_TRUE(EffectBlockRect(QPoint(6, 1), 5, area).isEmpty());
    EXPECT_TRUE(EffectBlockRect(QPoint(0, 1), 5, area).isEmpty());
    for (const EffectStyle style : {esExplode, esImplode}) {
        QRegion covered;
        for (const QPoint& block : EffectBlocks(style, grid, 1, 0))
            covered += EffectBlockRect(block, 5, area);
        EXPECT_EQ(covered, QRegion(QRect(QPoint(0, 0), area))) << "style " << style;
    }
}

// The classic operation codes are each operation's result for the pattern
// 0xF0, the source 0xCC and the destination 0xAA.
TEST(RasterOperation, MatchesTheClassicOperationCodes) {
    const struct {
        TRasterOperation operation;
        int code;
    } cases[] = {{roBLACKNESS, 0x00},  {roDSTINVERT, 0x55},  {roMERGECOPY, 0xC0},
                 {roMERGEPAINT, 0xBB}, {roNOTSRCCOPY, 0x33}, {roNOTSRCERASE, 0x11},
                 {roPATCOPY, 0xF0},    {roPATINVERT, 0x5A},  {roPATPAINT, 0xFB},
                 {roSRCAND, 0x88},     {roSRCCOPY, 0xCC},    {roSRCERASE, 0x44},
                 {roSRCINVERT, 0x66},  {roSRCPAINT, 0xEE},   {roWHITENESS, 0xFF}};
    for (const auto& c : cases) {
        const QRgb result = ApplyRasterOperation(c.operation, qRgb(0xCC, 0xCC, 0xCC),
                                                 qRgb(0xAA, 0xAA, 0xAA), qRgb(0xF0, 0xF0, 0xF0));
        EXPECT_EQ(result, qRgb(c.code, c.code, c.code)) << "operation " << c.operation;
    }
}

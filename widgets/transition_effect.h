#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

// Order in which the blocks of a new picture appear: at random, as a square
// spiral growing from the middle, or as one shrinking toward it.
enum EffectStyle { esRandom, esExplode, esImplode };

// Columns and rows of blocks of blockSize x blockSize pixels needed to cover
// `area` (partial blocks at the right and bottom count). A block size below 1
// counts as 1.
QSize EffectGrid(QSize area, int blockSize);

// The blocks to copy, in order, as (column, row) numbered from 1. Only blocks
// inside the grid are listed. `speed` is how far the random effect's counter
// advances per block (below 1 counts as 1); `seed` seeds its generator.
// The spirals reach every block exactly once; the random effect lists
// columns x rows - 1 blocks at speed 1 and may repeat or miss some.
QList<QPoint> EffectBlocks(EffectStyle style, QSize grid, int speed, uint32_t seed);

// The pixels of block (column, row) of `area`, cut off at the area's edge.
// Empty for a block outside the grid.
QRect EffectBlockRect(QPoint block, int blockSize, QSize area);

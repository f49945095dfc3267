#include "widgets/transition_effect.h"

#include "widgets/rounding.h"

#include <algorithm>
#include <random>
#include <vector>

using wid::RoundHalfEven;

namespace {

// Collects the blocks a walk reaches, skipping those off the grid.
class BlockWalk {
public:
    BlockWalk(QSize grid, int column, int row)
        : grid_(grid), column_(column), row_(row),
          seen_(size_t(grid.width()) * size_t(grid.height()), false),
          remaining_(qsizetype(grid.width()) * grid.height()) {}

    void Copy() {
        if (column_ < 1 || column_ > grid_.width() || row_ < 1 || row_ > grid_.height())
            return;
        blocks_.append(QPoint(column_, row_));
        const size_t index = size_t(row_ - 1) * size_t(grid_.width()) + size_t(column_ - 1);
        if (!seen_[index]) {
            seen_[index] = true;
            --remaining_;
        }
    }
    // Moves `steps` blocks by (dc, dr) per step, copying each block reached.
    void Move(int steps, int dc, int dr) {
        for (int i = 0; i < steps; ++i) {
            column_ += dc;
            row_ += dr;
            Copy();
        }
    }
    qsizetype Remaining() const { return remaining_; }
    QList<QPoint> Take() { return std::move(blocks_); }

private:
    QSize grid_;
    int column_;
    int row_;
    std::vector<bool> seen_;
    qsizetype remaining_;
    QList<QPoint> blocks_;
};

QList<QPoint> RandomBlocks(QSize grid, int speed, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> column(1, grid.width());
    std::uniform_int_distribution<int> row(1, grid.height());
    QList<QPoint> blocks;
    const qint64 count = qint64(grid.width()) * grid.height();
    for (qint64 counter = 1; count > counter; counter += speed) {
        const int c = column(generator);
        blocks.append(QPoint(c, row(generator)));
    }
    return blocks;
}

// A square spiral from the middle block: up k then left k for odd k, down k
// then right k for even k. It goes on until every block was reached; stopping
// as soon as the walk passes the top-left corner would leave the last column
// or row of an even grid out.
QList<QPoint> ExplodeBlocks(QSize grid) {
    BlockWalk walk(grid, RoundHalfEven(grid.width() * 0.5), RoundHalfEven(grid.height() * 0.5));
    walk.Copy();
    for (int k = 1; walk.Remaining() > 0; ++k) {
        if (k % 2 == 1) {
            walk.Move(k, 0, -1);
            walk.Move(k, -1, 0);
        } else {
            walk.Move(k, 0, 1);
            walk.Move(k, 1, 0);
        }
    }
    return walk.Take();
}

// A square spiral of side M (the larger of columns and rows, made even) that
// shrinks toward the middle: down k then right k for even k, up k then left k
// for odd k, for k = M down to 1. The walk starts one row above the first row
// it covers, so its first leg down covers the top row too.
QList<QPoint> ImplodeBlocks(QSize grid) {
    const int c = grid.width();
    const int r = grid.height();
    int m = std::max(c, r);
    if (m % 2 == 1)
        ++m;
    const int column = c > r ? 1 : 1 - RoundHalfEven((r - c) * 0.5);
    const int row = c > r ? -RoundHalfEven((c - r) * 0.5) : 0;
    BlockWalk walk(grid, column, row);
    for (int k = m; k >= 1; --k) {
        if (k % 2 == 0) {
            walk.Move(k, 0, 1);
            walk.Move(k, 1, 0);
        } else {
            walk.Move(k, 0, -1);
            walk.Move(k, -1, 0);
        }
    }
    return walk.Take();
}

} // namespace

QSize EffectGrid(QSize area, int blockSize) {
    const int size = std::max(1, blockSize);
    if (area.width() <= 0 || area.height() <= 0)
        return QSize(0, 0);
    const auto blocks = [size](int pixels) { return int((qint64(pixels) + size - 1) / size); };
    return QSize(blocks(area.width()), blocks(area.height()));
}

QList<QPoint> EffectBlocks(EffectStyle style, QSize grid, int speed, uint32_t seed) {
    if (grid.width() <= 0 || grid.height() <= 0)
        return {};
    switch (style) {
    case esRandom:
        return RandomBlocks(grid, std::max(1, speed), seed);
    case esExplode:
        return ExplodeBlocks(grid);
    case esImplode:
        return ImplodeBlocks(grid);
    }
    return {};
}

QRect EffectBlockRect(QPoint block, int blockSize, QSize area) {
    const int size = std::max(1, blockSize);
    const QSize grid = EffectGrid(area, size);
    if (block.x() < 1 || block.x() > grid.width() || block.y() < 1 || block.y() > grid.height())
        return {};
    const int left = size * (block.x() - 1);
    const int top = size * (block.y() - 1);
    const int right = int(std::min(qint64(size) * block.x(), qint64(area.width())));
    const int bottom = int(std::min(qint64(size) * block.y(), qint64(area.height())));
    return QRect(left, top, right - left, bottom - top);
}

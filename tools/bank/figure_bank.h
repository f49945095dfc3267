#pragma once

#include "tools/bank/bank_writer.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

// Figure series, 3 x 3 matrices, figure odd-one-out, mental rotation and
// cube folding, made from a fixed seed with their pictures.
struct TFigureBank {
    std::vector<TBankGroup> Groups;
    std::vector<std::pair<QString, QImage>> Pictures; // file name -> picture
};

TFigureBank MakeFigureBank(uint32_t seed);

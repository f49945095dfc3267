#pragma once

#include "tools/bank/figure_rules.h"

#include <QImage>
#include <vector>

// Pictures of the figure models: black line art on white, 2 px lines,
// antialiased, grey levels only. Sizes suit a question page about 470 px
// wide; no text is drawn, so the pictures do not depend on fonts.
namespace figure {

constexpr int kCellPx = 60;   // a cell of a series or matrix
constexpr int kGapPx = 6;     // between cells
constexpr int kChoicePx = 68; // a choice picture of a cell figure

// The figures in a row with an empty, marked place after them.
QImage SeriesPicture(const std::vector<TFig>& shown);
// A 3 x 3 matrix of the eight cells (row by row) with the bottom right empty.
QImage MatrixPicture(const std::vector<TFig>& cells);
QImage FigChoicePicture(const TFig& fig);

// A flat figure of `cellPx` squares, centred in a square picture.
QImage PolyPicture(const TPoly& poly, int cellPx, int side, bool framed);
// A solid with edges of `edgePx`, centred in a square picture.
QImage SolidPicture(const TSolid& solid, double edgePx, int side, bool framed);
// The largest edge at which every solid fits a picture of `side`.
double SolidEdgeToFit(const std::vector<TSolid>& solids, int side);
QImage NetPicture(const TNet& net, int cellPx);
QImage CubePicture(const TCubeView& view, int side);

} // namespace figure

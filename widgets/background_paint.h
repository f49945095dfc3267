#pragma once

#include <QSize>

class QPainter;
class TBackground;

// Paints `background` over an area of `size` at the painter's origin: the
// picture by its draw style, moved by (dX, dY), then the rectangle with the
// background's pen and brush on top (so a solid brush hides the picture).
// Background controls and the markup control share this.
void PaintBackground(QPainter& painter, QSize size, const TBackground& background, int dX, int dY);

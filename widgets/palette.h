#pragma once

#include <QList>
#include <QRgb>
#include <QSize>
#include <functional>

class QImage;
class QPainter;

// The shared screen palettes. They only matter on screens of 8 bits per pixel
// or less, where every control maps what it paints onto one of them so that
// all controls agree on the few colours the screen can show.

// The 16 VGA colours: black, maroon, green, olive, navy, purple, teal,
// grey (128), silver (192), red, lime, yellow, blue, fuchsia, aqua, white.
const QList<QRgb>& Pal16();
// The 20 static system colours in the first and last ten entries, and
// between them a 6 x 6 x 6 colour cube (less the corners the system colours
// hold) and 28 greys; no colour twice.
const QList<QRgb>& Pal256();

// Pal16 below 8 bits per pixel, Pal256 at exactly 8, an empty list above.
const QList<QRgb>& PaletteForDepth(int bitsPerPixel);
// PaletteForDepth for the screen's depth (plat::Screen()).
const QList<QRgb>& GetPalette();

// The palette entry nearest to `colour` (squared RGB distance, first entry on
// ties); `colour` itself for an empty palette.
QRgb NearestPaletteColor(QRgb colour, const QList<QRgb>& palette);

// Replaces the colour of every pixel by its nearest palette entry, keeping
// each pixel's alpha, so transparent parts stay transparent. The image ends up
// as Format_ARGB32 (or unchanged for an empty palette).
void MapToPalette(QImage& image, const QList<QRgb>& palette);

// Runs `paint` for an area of `size` at the painter's origin. With a palette
// it paints into an off-screen image first and maps that onto the palette,
// which is what selecting and realising a palette on the canvas amounts to.
void PaintInScreenColours(QPainter& target, QSize size, const QList<QRgb>& palette,
                          const std::function<void(QPainter&)>& paint);

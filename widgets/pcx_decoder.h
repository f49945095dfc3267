#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRgb>

// Decoder for ZSoft PCX pictures, which Qt cannot read. Supported layouts:
//   1 bit  x 1 plane   black and white
//   1 bit  x 2..4 planes  up to 16 colours from the header palette
//   2 bits x 1 plane   4 colours from the header palette
//   4 bits x 1 plane   16 colours from the header palette
//   8 bits x 1 plane   256 colours from the palette after the image data
//                      (grey levels when that palette is missing)
//   8 bits x 3 planes  true colour
//   8 bits x 4 planes  true colour with alpha
// Paletted pictures come back as Format_Indexed8 with a full colour table for
// every index the layout can hold, the others as Format_RGB32/ARGB32.
namespace pcx {

inline constexpr int kHeaderSize = 128;
// Largest accepted width or height, and largest accepted pixel count.
inline constexpr int kMaxSide = 16384;
inline constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

// True when the first bytes are a plausible PCX header (manufacturer byte,
// known version, encoding and bit depth). Says nothing about the data.
bool LooksLikePcx(QByteArrayView data);

// Decodes a whole PCX file. Returns a null image for anything unsupported,
// inconsistent or truncated.
QImage DecodePcx(QByteArrayView data);

// Palettes used for 16- and 4-colour files that carry none of their own.
const QList<QRgb>& DefaultEgaPalette();
// Black, light cyan, light magenta, white: the usual four-colour CGA set.
const QList<QRgb>& DefaultCgaPalette();

} // namespace pcx

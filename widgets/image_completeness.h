#pragma once

#include "widgets/image_loader.h"

#include <QByteArrayView>

// Whether a picture file holds all the data its own structure announces.
// Qt's readers paint whatever they got from a cut-off BMP, GIF, JPEG or PNG
// and report success, so the loader asks this first: a truncated file must
// give no picture rather than half of one.
namespace imgcheck {

// BMP: the pixel data the header describes lies inside the file.
bool BmpIsComplete(QByteArrayView data);
// GIF: every block is whole and the trailer byte ends the stream.
bool GifIsComplete(QByteArrayView data);
// JPEG: segments and entropy-coded scans run up to an end-of-image marker.
bool JpegIsComplete(QByteArrayView data);
// PNG: whole chunks up to and including IEND.
bool PngIsComplete(QByteArrayView data);

// Dispatches on the kind; kinds without a check of their own count as whole.
bool IsComplete(TImageKind kind, QByteArrayView data);

} // namespace imgcheck

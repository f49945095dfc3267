#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <functional>

class QImageWriter;

// Writers for the picture files Qt cannot write itself (PCX, GIF), so that
// tests build every input they read.
namespace testimg {

enum class PcxRuns {
    PerPlane,    // what most writers do
    PerScanLine, // runs may carry over from one plane into the next
    WholeImage,  // runs may even carry over into the next scan line
};

struct PcxOptions {
    int bitsPerPixel = 8;
    int planes = 1;
    bool rle = true;
    PcxRuns runs = PcxRuns::PerPlane;
    QList<QRgb> headerPalette = {};   // up to 16 colours
    QList<QRgb> trailingPalette = {}; // 256 colours after the data, or none
    int bytesPerLine = 0;             // 0: the bytes needed, rounded up to even
    int xMin = 0;
    int yMin = 0;
};

// `image` is Format_Indexed8 for paletted layouts (pixel indices are written)
// and 32-bit for 8-bit x 3 or 4 planes.
QByteArray EncodePcx(const QImage& image, const PcxOptions& options);

// A GIF89a of an Indexed8 image with its colour table (at most 256 colours).
QByteArray EncodeGif(const QImage& indexed);

// A file in a format Qt writes itself; `tune` sets the writer up (quality,
// progressive scan) before it writes. A failed write fails the test.
QByteArray EncodeWithQt(const QImage& image, const char* format,
                        const std::function<void(QImageWriter&)>& tune = {});

} // namespace testimg

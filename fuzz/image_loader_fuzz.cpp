// libFuzzer target for the image loader: any bytes, whatever format their
// first bytes claim (BMP, GIF, JPEG, PNG, TIFF or PCX), decode or are
// refused without crashing, and a decoded picture survives the reduction to
// every colour depth with its size kept and every pixel on the palette.
#include "fuzz/fuzz_support.h"
#include "widgets/image_loader.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using fuzz::Check;

// Conversions of big pictures take seconds under the sanitizers and find
// nothing a small one would not.
constexpr qint64 kMaxConvertedPixels = 512 * 512;

bool IndicesInTable(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (line[x] >= image.colorCount())
                return false;
    }
    return true;
}

void CheckIndexed(const QImage& image, const QImage& decoded, int maxColours, bool indices) {
    Check(image.format() == QImage::Format_Indexed8 && image.size() == decoded.size());
    Check(image.colorCount() > 0 && image.colorCount() <= maxColours);
    if (indices)
        Check(IndicesInTable(image));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage decoded = TImageLoader::Decode(bytes);
    if (decoded.isNull())
        return 0;
    Check(TImageLoader::SniffKind(bytes) != TImageKind::ikUnknown);
    Check(decoded.width() > 0 && decoded.height() > 0);
    if (qint64(decoded.width()) * decoded.height() > kMaxConvertedPixels)
        return 0;

    // The dithering choice comes from the input so both ways are reached.
    const bool dither = size % 2 == 1;
    CheckIndexed(TImageLoader::ConvertToDepth(decoded, TReadDepth::rdColor16, dither), decoded, 16,
                 true);
    CheckIndexed(TImageLoader::ConvertToDepth(decoded, TReadDepth::rdColor256, dither), decoded,
                 256, true);
    const QImage mono = TImageLoader::ConvertToDepth(decoded, TReadDepth::rdMonochrome, dither);
    Check(mono.format() == QImage::Format_Mono && mono.size() == decoded.size());
    const QImage trueColour =
        TImageLoader::ConvertToDepth(decoded, TReadDepth::rdTrueColor, dither);
    Check(trueColour.size() == decoded.size() && (trueColour.format() == QImage::Format_RGB32 ||
                                                  trueColour.format() == QImage::Format_ARGB32));
    return 0;
}

// libFuzzer target for the PCX decoder: any input must decode or be refused
// without crashing, and a decoded picture must respect the size limits.
#include "widgets/pcx_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = pcx::DecodePcx(bytes);
    if (image.isNull())
        return 0;
    if (!pcx::LooksLikePcx(bytes) || image.width() > pcx::kMaxSide ||
        image.height() > pcx::kMaxSide || qint64(image.width()) * image.height() > pcx::kMaxPixels)
        std::abort();
    // Every index in use needs a colour; reading all rows also lets the
    // sanitizers see a half-written picture.
    if (image.format() == QImage::Format_Indexed8) {
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x)
                if (line[x] >= image.colorCount())
                    std::abort();
        }
    }
    return 0;
}

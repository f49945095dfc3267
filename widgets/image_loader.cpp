#include "widgets/image_loader.h"

#include "platform/screen.h"
#include "widgets/image_completeness.h"
#include "widgets/palette.h"
#include "widgets/pcx_decoder.h"
#include "widgets/picture_log.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

const QString TImageLoader::kFileNotFoundText = QStringLiteral("file not found");
const QString TImageLoader::kNotAnImageText =
    QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image");

namespace {

bool StartsWith(QByteArrayView data, QByteArrayView magic) {
    return data.size() >= magic.size() && data.first(magic.size()) == magic;
}

const char* QtFormatName(TImageKind kind) {
    switch (kind) {
    case TImageKind::ikBmp:
        return "bmp";
    case TImageKind::ikGif:
        return "gif";
    case TImageKind::ikJpeg:
        return "jpeg";
    case TImageKind::ikPng:
        return "png";
    case TImageKind::ikTiff:
        return "tiff";
    default:
        return nullptr;
    }
}

// libpng and libjpeg write some of their complaints straight to standard
// error, past Qt's logging. The program logs a failing picture itself, so
// standard error points at /dev/null while a decoder runs. The program reads
// pictures on its one window thread only.
class QuietStandardError {
public:
    QuietStandardError() {
        std::fflush(stderr);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0)
            return;
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        if (saved_ >= 0 && ::dup2(null, STDERR_FILENO) < 0) {
            ::close(saved_);
            saved_ = -1;
        }
        ::close(null);
    }
    ~QuietStandardError() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

QImage ReadWithQt(const QByteArray& data, const char* format) {
    // GIF, JPEG and TIFF come from plug-ins that may be missing.
    if (!QImageReader::supportedImageFormats().contains(format))
        return {};
    QByteArray copy = data; // QBuffer wants a non-const array; this is a shallow copy.
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    // The picture keeps the file's pixel size whatever orientation tag it has.
    reader.setAutoTransform(false);
    QImage image;
    const QuietStandardError quiet;
    if (!reader.read(&image))
        return {};
    return image;
}

int ColourDistance(int r, int g, int b, QRgb c) {
    const int dr = r - qRed(c), dg = g - qGreen(c), db = b - qBlue(c);
    return dr * dr + dg * dg + db * db;
}

uchar NearestIndex(int r, int g, int b, const QList<QRgb>& palette) {
    int best = 0;
    int bestDistance = ColourDistance(r, g, b, palette[0]);
    for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
        const int d = ColourDistance(r, g, b, palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return uchar(best);
}

} // namespace

void TImageLoader::SetImageName(const QString& path) {
    picture_ = QImage();
    if (path.isEmpty()) {
        imageName_.clear();
        result_ = TLoadResult::lrNone;
        return;
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        imageName_ = kFileNotFoundText;
        result_ = TLoadResult::lrFileNotFound;
        return;
    }
    QImage image;
    if (file.size() <= kMaxFileSize)
        image = LoadFromData(file.readAll(), readDepth_, dither_);
    if (image.isNull()) {
        // The one line the program writes about a picture it cannot show;
        // the decoders' own messages are switched off.
        qCWarning(lcPicture).noquote() << "picture" << path << "cannot be decoded";
        imageName_ = kNotAnImageText;
        result_ = TLoadResult::lrNotAnImage;
        return;
    }
    picture_ = image;
    imageName_ = path;
    result_ = TLoadResult::lrLoaded;
}

TImageKind TImageLoader::SniffKind(QByteArrayView data) {
    if (StartsWith(data, "BM"))
        return TImageKind::ikBmp;
    if (StartsWith(data, "GIF87a") || StartsWith(data, "GIF89a"))
        return TImageKind::ikGif;
    if (StartsWith(data, "\xFF\xD8\xFF"))
        return TImageKind::ikJpeg;
    if (StartsWith(data, "\x89PNG\r\n\x1A\n"))
        return TImageKind::ikPng;
    if (StartsWith(data, QByteArrayView("II*\0", 4)) ||
        StartsWith(data, QByteArrayView("MM\0*", 4)))
        return TImageKind::ikTiff;
    if (pcx::LooksLikePcx(data))
        return TImageKind::ikPcx;
    return TImageKind::ikUnknown;
}

namespace {

// Qt's BMP reader keeps a colour table as short as the header declares even
// when pixels use higher indices; Qt paints those black. The table is filled
// up with black so every index names a colour, which the colour reductions
// and the palette code rely on.
QImage WithWholeColourTable(QImage image) {
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() >= 256)
        return image;
    int highest = -1;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            highest = std::max<int>(highest, line[x]);
    }
    if (highest >= image.colorCount()) {
        QList<QRgb> table = image.colorTable();
        table.resize(highest + 1, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    return image;
}

} // namespace

QImage TImageLoader::Decode(const QByteArray& data) {
    const TImageKind kind = SniffKind(data);
    if (kind == TImageKind::ikUnknown)
        return {};
    if (kind == TImageKind::ikPcx)
        return pcx::DecodePcx(data);
    // Qt draws what it got from a cut-off file and calls that a success.
    if (!imgcheck::IsComplete(kind, data))
        return {};
    return WithWholeColourTable(ReadWithQt(data, QtFormatName(kind)));
}

QImage TImageLoader::LoadFromData(const QByteArray& data, TReadDepth depth, bool dither) {
    const QImage image = Decode(data);
    return image.isNull() ? image : ConvertToDepth(image, depth, dither);
}

TReadDepth TImageLoader::ResolveDepth(TReadDepth depth, int screenDepth) {
    if (depth != TReadDepth::rdAutomatic)
        return depth;
    if (screenDepth <= 4)
        return TReadDepth::rdColor16;
    if (screenDepth <= 8)
        return TReadDepth::rdColor256;
    return TReadDepth::rdTrueColor;
}

QImage TImageLoader::ConvertToDepth(const QImage& image, TReadDepth depth, bool dither) {
    if (image.isNull())
        return image;
    if (depth == TReadDepth::rdAutomatic)
        depth = ResolveDepth(depth, plat::Screen().depth);
    const Qt::ImageConversionFlags ditherFlags =
        Qt::ColorOnly | (dither ? Qt::DiffuseDither : Qt::ThresholdDither);
    switch (depth) {
    case TReadDepth::rdVga:
    case TReadDepth::rdColor16:
        // Qt maps to a fixed colour table without any dithering, and leaves an
        // image that is already Indexed8 untouched, so this is done here.
        return QuantizeToPalette(image, VgaPalette(), dither);
    case TReadDepth::rdMonochrome:
        return image.convertToFormat(
            QImage::Format_Mono, Qt::MonoOnly | (dither ? Qt::DiffuseDither : Qt::ThresholdDither));
    case TReadDepth::rdColor256:
        // Exact when the picture has at most 256 colours, otherwise Qt's
        // colour cube, diffused or thresholded.
        return image.convertToFormat(QImage::Format_Indexed8, ditherFlags);
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
    }
}

const QList<QRgb>& TImageLoader::VgaPalette() {
    return Pal16();
}

QImage TImageLoader::QuantizeToPalette(const QImage& image, const QList<QRgb>& palette,
                                       bool dither) {
    if (image.isNull() || palette.isEmpty() || palette.size() > 256)
        return {};
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    QImage out(width, source.height(), QImage::Format_Indexed8);
    if (source.isNull() || out.isNull())
        return {};
    out.setColorTable(palette);

    // Errors are kept in sixteenths, one slot of margin on either side.
    const size_t rowSlots = size_t(width + 2) * 3;
    std::vector<int> current(rowSlots, 0), next(rowSlots, 0);
    for (int y = 0; y < source.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* dst = out.scanLine(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < width; ++x) {
            int* e = &current[size_t(x + 1) * 3];
            const std::array<int, 3> want = {std::clamp(qRed(src[x]) + e[0] / 16, 0, 255),
                                             std::clamp(qGreen(src[x]) + e[1] / 16, 0, 255),
                                             std::clamp(qBlue(src[x]) + e[2] / 16, 0, 255)};
            const uchar index = NearestIndex(want[0], want[1], want[2], palette);
            dst[x] = index;
            if (!dither)
                continue;
            const QRgb got = palette[index];
            const std::array<int, 3> error = {want[0] - qRed(got), want[1] - qGreen(got),
                                              want[2] - qBlue(got)};
            int* below = &next[size_t(x) * 3];
            for (int c = 0; c < 3; ++c) {
                e[3 + c] += error[c] * 7;
                below[c] += error[c] * 3;
                below[3 + c] += error[c] * 5;
                below[6 + c] += error[c];
            }
        }
        std::swap(current, next);
    }
    return out;
}

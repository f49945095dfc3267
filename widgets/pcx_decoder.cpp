#include "widgets/pcx_decoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pcx {
namespace {

constexpr quint8 kManufacturer = 0x0A;
constexpr quint8 kVgaPaletteMarker = 0x0C;
constexpr qsizetype kVgaPaletteSize = 1 + 256 * 3;
constexpr int kEgaPaletteOffset = 16;

struct Header {
    quint8 version = 0;
    quint8 encoding = 0;
    quint8 bitsPerPixel = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int planes = 0;
    int bytesPerLine = 0;
};

int Word(const uchar* p) {
    return p[0] | (p[1] << 8);
}

Header ReadHeader(const uchar* p) {
    Header h;
    h.version = p[1];
    h.encoding = p[2];
    h.bitsPerPixel = p[3];
    h.xMin = Word(p + 4);
    h.yMin = Word(p + 6);
    h.xMax = Word(p + 8);
    h.yMax = Word(p + 10);
    h.planes = p[65];
    h.bytesPerLine = Word(p + 66);
    return h;
}

enum class Layout { Unsupported, Planar1, Packed2, Packed4, Indexed8, Rgb, Rgba };

Layout LayoutOf(const Header& h) {
    if (h.bitsPerPixel == 1 && h.planes >= 1 && h.planes <= 4)
        return Layout::Planar1;
    if (h.bitsPerPixel == 2 && h.planes == 1)
        return Layout::Packed2;
    if (h.bitsPerPixel == 4 && h.planes == 1)
        return Layout::Packed4;
    if (h.bitsPerPixel == 8 && h.planes == 1)
        return Layout::Indexed8;
    if (h.bitsPerPixel == 8 && h.planes == 3)
        return Layout::Rgb;
    if (h.bitsPerPixel == 8 && h.planes == 4)
        return Layout::Rgba;
    return Layout::Unsupported;
}

// Reads the pixel byte stream, raw or run-length encoded. A run may carry on
// into the next plane or scan line; some writers do that.
class ByteSource {
public:
    ByteSource(const uchar* begin, const uchar* end, bool rle) : p_(begin), end_(end), rle_(rle) {}

    bool Fill(uchar* out, qsizetype n) {
        qsizetype i = 0;
        while (i < n) {
            if (pending_ > 0) {
                const qsizetype k = std::min<qsizetype>(pending_, n - i);
                std::memset(out + i, value_, size_t(k));
                i += k;
                pending_ -= int(k);
                continue;
            }
            if (p_ == end_)
                return false;
            const uchar b = *p_++;
            if (rle_ && (b & 0xC0) == 0xC0) {
                if (p_ == end_)
                    return false;
                pending_ = b & 0x3F;
                value_ = *p_++;
            } else {
                out[i++] = b;
            }
        }
        return true;
    }

    const uchar* Position() const { return p_; }

private:
    const uchar* p_;
    const uchar* end_;
    bool rle_;
    int pending_ = 0;
    uchar value_ = 0;
};

QList<QRgb> HeaderPalette(const uchar* header, int count) {
    const uchar* pal = header + kEgaPaletteOffset;
    const bool empty = std::all_of(pal, pal + 48, [](uchar c) { return c == 0; });
    // Version 3 means "no palette information"; an all-black palette is what
    // such writers leave behind as well.
    if (header[1] == 3 || empty)
        return count == 4 ? DefaultCgaPalette() : DefaultEgaPalette().mid(0, count);
    QList<QRgb> table;
    for (int i = 0; i < count; ++i)
        table.append(qRgb(pal[i * 3], pal[i * 3 + 1], pal[i * 3 + 2]));
    return table;
}

QList<QRgb> GreyPalette() {
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.append(qRgb(i, i, i));
    return table;
}

// The 256-colour palette is the last 769 bytes of the file, and only counts
// when it follows the image data; otherwise the marker is a pixel by chance.
QList<QRgb> TrailingPalette(QByteArrayView data, qsizetype dataEnd) {
    const qsizetype start = data.size() - kVgaPaletteSize;
    const auto* p = reinterpret_cast<const uchar*>(data.data());
    if (start < dataEnd || p[start] != kVgaPaletteMarker)
        return GreyPalette();
    QList<QRgb> table;
    const uchar* pal = p + start + 1;
    for (int i = 0; i < 256; ++i)
        table.append(qRgb(pal[i * 3], pal[i * 3 + 1], pal[i * 3 + 2]));
    return table;
}

void StoreIndexedLine(Layout layout, const Header& h, const uchar* line, uchar* dst, int width) {
    const int bpl = h.bytesPerLine;
    switch (layout) {
    case Layout::Planar1:
        for (int x = 0; x < width; ++x) {
            const int shift = 7 - (x & 7);
            uchar index = 0;
            for (int plane = 0; plane < h.planes; ++plane)
                index |= uchar(((line[plane * bpl + (x >> 3)] >> shift) & 1) << plane);
            dst[x] = index;
        }
        break;
    case Layout::Packed2:
        for (int x = 0; x < width; ++x)
            dst[x] = (line[x >> 2] >> (6 - 2 * (x & 3))) & 0x03;
        break;
    case Layout::Packed4:
        for (int x = 0; x < width; ++x)
            dst[x] = (x & 1) ? (line[x >> 1] & 0x0F) : (line[x >> 1] >> 4);
        break;
    default:
        std::memcpy(dst, line, size_t(width));
        break;
    }
}

void StoreRgbLine(Layout layout, const Header& h, const uchar* line, QRgb* dst, int width) {
    const int bpl = h.bytesPerLine;
    for (int x = 0; x < width; ++x) {
        const int alpha = layout == Layout::Rgba ? line[3 * bpl + x] : 255;
        dst[x] = qRgba(line[x], line[bpl + x], line[2 * bpl + x], alpha);
    }
}

int BytesNeededPerPlane(const Header& h, int width) {
    return (width * h.bitsPerPixel + 7) / 8;
}

} // namespace

const QList<QRgb>& DefaultEgaPalette() {
    static const QList<QRgb> table = {
        qRgb(0x00, 0x00, 0x00), qRgb(0x00, 0x00, 0xAA), qRgb(0x00, 0xAA, 0x00),
        qRgb(0x00, 0xAA, 0xAA), qRgb(0xAA, 0x00, 0x00), qRgb(0xAA, 0x00, 0xAA),
        qRgb(0xAA, 0x55, 0x00), qRgb(0xAA, 0xAA, 0xAA), qRgb(0x55, 0x55, 0x55),
        qRgb(0x55, 0x55, 0xFF), qRgb(0x55, 0xFF, 0x55), qRgb(0x55, 0xFF, 0xFF),
        qRgb(0xFF, 0x55, 0x55), qRgb(0xFF, 0x55, 0xFF), qRgb(0xFF, 0xFF, 0x55),
        qRgb(0xFF, 0xFF, 0xFF)};
    return table;
}

const QList<QRgb>& DefaultCgaPalette() {
    static const QList<QRgb> table = {qRgb(0x00, 0x00, 0x00), qRgb(0x55, 0xFF, 0xFF),
                                      qRgb(0xFF, 0x55, 0xFF), qRgb(0xFF, 0xFF, 0xFF)};
    return table;
}

bool LooksLikePcx(QByteArrayView data) {
    if (data.size() < kHeaderSize)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(data.data());
    const bool knownVersion = p[1] == 0 || (p[1] >= 2 && p[1] <= 5);
    const bool knownDepth = p[3] == 1 || p[3] == 2 || p[3] == 4 || p[3] == 8;
    return p[0] == kManufacturer && knownVersion && p[2] <= 1 && knownDepth;
}

QImage DecodePcx(QByteArrayView data) {
    if (!LooksLikePcx(data))
        return {};
    const auto* begin = reinterpret_cast<const uchar*>(data.data());
    const Header h = ReadHeader(begin);
    const Layout layout = LayoutOf(h);
    if (layout == Layout::Unsupported || h.xMax < h.xMin || h.yMax < h.yMin)
        return {};

    const int width = h.xMax - h.xMin + 1;
    const int height = h.yMax - h.yMin + 1;
    if (width > kMaxSide || height > kMaxSide || qint64(width) * height > kMaxPixels)
        return {};
    if (h.bytesPerLine < BytesNeededPerPlane(h, width))
        return {};

    // Refuse before allocating when the file cannot hold that many pixels:
    // a two-byte run yields at most 63 bytes.
    const qint64 lineBytes = qint64(h.planes) * h.bytesPerLine;
    const qint64 needed = lineBytes * height;
    const qint64 available = data.size() - kHeaderSize;
    const bool rle = h.encoding == 1;
    if (rle ? needed > (available / 2 + 1) * 63 : needed > available)
        return {};

    const bool indexed = layout != Layout::Rgb && layout != Layout::Rgba;
    QImage image(width, height,
                 indexed                  ? QImage::Format_Indexed8
                 : layout == Layout::Rgba ? QImage::Format_ARGB32
                                          : QImage::Format_RGB32);
    if (image.isNull())
        return {};

    ByteSource source(begin + kHeaderSize, begin + data.size(), rle);
    std::vector<uchar> line(size_t(lineBytes), 0);
    for (int y = 0; y < height; ++y) {
        if (!source.Fill(line.data(), lineBytes))
            return {};
        if (indexed)
            StoreIndexedLine(layout, h, line.data(), image.scanLine(y), width);
        else
            StoreRgbLine(layout, h, line.data(), reinterpret_cast<QRgb*>(image.scanLine(y)), width);
    }

    switch (layout) {
    case Layout::Planar1:
        image.setColorTable(h.planes == 1 ? QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}
                                          : HeaderPalette(begin, 1 << h.planes));
        break;
    case Layout::Packed2:
        image.setColorTable(HeaderPalette(begin, 4));
        break;
    case Layout::Packed4:
        image.setColorTable(HeaderPalette(begin, 16));
        break;
    case Layout::Indexed8:
        image.setColorTable(TrailingPalette(data, source.Position() - begin));
        break;
    default:
        break;
    }
    return image;
}

} // namespace pcx

#include "widgets/image_completeness.h"

#include <cstring>

namespace imgcheck {
namespace {

// Bounds-checked little- and big-endian reads; positions are 64-bit so that
// lengths read from the file cannot overflow them.
class Bytes {
public:
    explicit Bytes(QByteArrayView data)
        : p_(reinterpret_cast<const uchar*>(data.data())), size_(data.size()) {}

    qint64 Size() const { return size_; }
    bool Has(qint64 pos, qint64 n) const { return pos >= 0 && n >= 0 && pos + n <= size_; }
    uchar At(qint64 pos) const { return p_[pos]; }
    quint32 Le16(qint64 pos) const { return p_[pos] | (p_[pos + 1] << 8); }
    quint32 Le32(qint64 pos) const { return Le16(pos) | (Le16(pos + 2) << 16); }
    quint32 Be16(qint64 pos) const { return (p_[pos] << 8) | p_[pos + 1]; }
    quint32 Be32(qint64 pos) const { return (Be16(pos) << 16) | Be16(pos + 2); }
    // Position of the next 0xFF at or after `pos`, or Size().
    qint64 NextFF(qint64 pos) const {
        if (pos >= size_)
            return size_;
        const void* hit = std::memchr(p_ + pos, 0xFF, size_t(size_ - pos));
        return hit ? static_cast<const uchar*>(hit) - p_ : size_;
    }

private:
    const uchar* p_;
    qint64 size_;
};

// A run-length coded bitmap is whole once its end-of-bitmap code is reached.
bool BmpRleReachesEnd(const Bytes& b, qint64 pos, bool fourBit) {
    while (b.Has(pos, 2)) {
        const uchar count = b.At(pos), code = b.At(pos + 1);
        pos += 2;
        if (count != 0)
            continue; // an encoded run
        if (code == 1)
            return true;
        if (code == 0)
            continue; // end of line
        if (code == 2) {
            pos += 2; // delta
            continue;
        }
        // Absolute mode: `code` pixels, padded to a whole word.
        qint64 bytes = fourBit ? (code + 1) / 2 : code;
        bytes += bytes & 1;
        pos += bytes;
    }
    return false;
}

// Skips GIF data sub-blocks (a length byte, that many bytes, until a zero
// length). Returns the position after the terminator, or -1.
qint64 SkipSubBlocks(const Bytes& b, qint64 pos) {
    while (b.Has(pos, 1)) {
        const uchar n = b.At(pos);
        pos += 1;
        if (n == 0)
            return pos;
        pos += n;
    }
    return -1;
}

qint64 ColourTableBytes(uchar packed) {
    return (packed & 0x80) ? 3LL << ((packed & 7) + 1) : 0;
}

// Skips entropy-coded scan data up to the next real marker: 0xFF 0x00 is a
// stuffed byte, 0xFF 0xD0..0xD7 a restart marker, 0xFF 0xFF fill.
qint64 SkipScan(const Bytes& b, qint64 pos) {
    for (;;) {
        pos = b.NextFF(pos);
        if (!b.Has(pos, 2))
            return -1;
        const uchar next = b.At(pos + 1);
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
            pos += 2;
        else if (next == 0xFF)
            pos += 1;
        else
            return pos;
    }
}

} // namespace

bool BmpIsComplete(QByteArrayView data) {
    const Bytes b(data);
    if (!b.Has(0, 18))
        return false;
    const qint64 offBits = b.Le32(10);
    const quint32 headerSize = b.Le32(14);
    qint64 width = 0, height = 0, bpp = 0, compression = 0;
    if (headerSize == 12) { // OS/2 core header
        if (!b.Has(14, 12))
            return false;
        width = b.Le16(18);
        height = b.Le16(20);
        bpp = b.Le16(24);
    } else {
        if (headerSize < 40 || !b.Has(14, 40))
            return false;
        width = qint32(b.Le32(18));
        height = qint32(b.Le32(22));
        bpp = b.Le16(28);
        compression = b.Le32(30);
    }
    if (height < 0)
        height = -height; // top-down rows
    if (offBits > b.Size())
        return false;
    switch (compression) {
    case 0:   // uncompressed
    case 3:   // bit fields
    case 6: { // bit fields with alpha
        if (width <= 0 || bpp <= 0 || height == 0)
            return true; // nonsense the reader refuses by itself
        // Rows are padded to whole 32-bit words; divide rather than multiply
        // so that absurd sizes cannot overflow.
        const qint64 rowBytes = (width * bpp + 31) / 32 * 4;
        const qint64 available = b.Size() - offBits;
        return height <= available / rowBytes;
    }
    case 1:
        return BmpRleReachesEnd(b, offBits, false);
    case 2:
        return BmpRleReachesEnd(b, offBits, true);
    default:
        return true; // embedded JPEG or PNG: the reader refuses those anyway
    }
}

bool GifIsComplete(QByteArrayView data) {
    const Bytes b(data);
    if (!b.Has(0, 13))
        return false;
    qint64 pos = 13 + ColourTableBytes(b.At(10));
    while (b.Has(pos, 1)) {
        const uchar kind = b.At(pos);
        pos += 1;
        if (kind == 0x3B)
            return true;    // trailer
        if (kind == 0x21) { // extension: label, then sub-blocks
            pos = SkipSubBlocks(b, pos + 1);
        } else if (kind == 0x2C) { // image: descriptor, colour table, code size, data
            if (!b.Has(pos, 9))
                return false;
            pos += 9 + ColourTableBytes(b.At(pos + 8));
            pos = SkipSubBlocks(b, pos + 1);
        } else {
            return false;
        }
        if (pos < 0)
            return false;
    }
    return false;
}

bool JpegIsComplete(QByteArrayView data) {
    const Bytes b(data);
    if (!b.Has(0, 2) || b.At(0) != 0xFF || b.At(1) != 0xD8)
        return false;
    qint64 pos = 2;
    for (;;) {
        if (!b.Has(pos, 2) || b.At(pos) != 0xFF)
            return false;
        while (b.Has(pos + 1, 1) && b.At(pos + 1) == 0xFF)
            ++pos; // fill bytes before a marker
        if (!b.Has(pos, 2))
            return false;
        const uchar marker = b.At(pos + 1);
        pos += 2;
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        if (!b.Has(pos, 2))
            return false;
        const qint64 length = b.Be16(pos);
        if (length < 2 || !b.Has(pos, length))
            return false;
        pos += length;
        if (marker == 0xDA) { // start of scan: coded data follows the header
            pos = SkipScan(b, pos);
            if (pos < 0)
                return false;
        }
    }
}

bool PngIsComplete(QByteArrayView data) {
    const Bytes b(data);
    qint64 pos = 8; // signature
    while (b.Has(pos, 8)) {
        const qint64 length = b.Be32(pos);
        const bool end = b.Has(pos + 4, 4) && std::memcmp(data.data() + pos + 4, "IEND", 4) == 0;
        // Length, type, data and CRC.
        if (length > 0x7FFFFFFF || !b.Has(pos, 12 + length))
            return false;
        if (end)
            return true;
        pos += 12 + length;
    }
    return false;
}

bool IsComplete(TImageKind kind, QByteArrayView data) {
    switch (kind) {
    case TImageKind::ikBmp:
        return BmpIsComplete(data);
    case TImageKind::ikGif:
        return GifIsComplete(data);
    case TImageKind::ikJpeg:
        return JpegIsComplete(data);
    case TImageKind::ikPng:
        return PngIsComplete(data);
    default:
        return true;
    }
}

} // namespace imgcheck

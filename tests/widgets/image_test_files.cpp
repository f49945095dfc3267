#include "tests/widgets/image_test_files.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <gtest/gtest.h>

namespace testimg {
namespace {

void PutWord(QByteArray& out, int offset, int value) {
    out[offset] = char(value & 0xFF);
    out[offset + 1] = char((value >> 8) & 0xFF);
}

void AppendWord(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void AppendRle(QByteArray& out, const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char b = bytes[i];
        qsizetype n = 1;
        while (i + n < bytes.size() && n < 63 && bytes[i + n] == b)
            ++n;
        if (n > 1 || (uchar(b) & 0xC0) == 0xC0)
            out.append(char(0xC0 | n));
        out.append(b);
        i += n;
    }
}

QByteArray ScanLine(const QImage& image, int y, const PcxOptions& o, int bpl) {
    QByteArray line(qsizetype(o.planes) * bpl, '\0');
    auto* d = reinterpret_cast<uchar*>(line.data());
    for (int x = 0; x < image.width(); ++x) {
        if (o.bitsPerPixel == 1) {
            const int index = image.pixelIndex(x, y);
            for (int p = 0; p < o.planes; ++p)
                if ((index >> p) & 1)
                    d[p * bpl + x / 8] |= uchar(0x80 >> (x % 8));
        } else if (o.bitsPerPixel == 2) {
            const int index = image.pixelIndex(x, y);
            d[x / 4] |= uchar(index << (6 - 2 * (x % 4)));
        } else if (o.bitsPerPixel == 4) {
            const int index = image.pixelIndex(x, y);
            d[x / 2] |= uchar(x % 2 ? index : index << 4);
        } else if (o.planes == 1) {
            d[x] = uchar(image.pixelIndex(x, y));
        } else {
            const QRgb c = image.pixel(x, y);
            d[x] = uchar(qRed(c));
            d[bpl + x] = uchar(qGreen(c));
            d[2 * bpl + x] = uchar(qBlue(c));
            if (o.planes == 4)
                d[3 * bpl + x] = uchar(qAlpha(c));
        }
    }
    return line;
}

} // namespace

QByteArray EncodePcx(const QImage& image, const PcxOptions& o) {
    const int needed = (image.width() * o.bitsPerPixel + 7) / 8;
    const int bpl = needed + needed % 2; // writers keep scan lines even

    QByteArray out(128, '\0');
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = o.rle ? 1 : 0;
    out[3] = char(o.bitsPerPixel);
    PutWord(out, 8, image.width() - 1);
    PutWord(out, 10, image.height() - 1);
    PutWord(out, 12, 72);
    PutWord(out, 14, 72);
    for (int i = 0; i < std::min<int>(16, int(o.headerPalette.size())); ++i) {
        out[16 + i * 3] = char(qRed(o.headerPalette[i]));
        out[17 + i * 3] = char(qGreen(o.headerPalette[i]));
        out[18 + i * 3] = char(qBlue(o.headerPalette[i]));
    }
    out[65] = char(o.planes);
    PutWord(out, 66, bpl);
    PutWord(out, 68, 1);

    QByteArray whole;
    for (int y = 0; y < image.height(); ++y) {
        const QByteArray line = ScanLine(image, y, o, bpl);
        if (!o.rle) {
            out.append(line);
        } else if (o.runs == PcxRuns::PerPlane) {
            for (int p = 0; p < o.planes; ++p)
                AppendRle(out, line.mid(qsizetype(p) * bpl, bpl));
        } else if (o.runs == PcxRuns::PerScanLine) {
            AppendRle(out, line);
        } else {
            whole.append(line);
        }
    }
    if (o.rle && o.runs == PcxRuns::WholeImage)
        AppendRle(out, whole);

    if (!o.trailingPalette.isEmpty()) {
        out.append(char(0x0C));
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < o.trailingPalette.size() ? o.trailingPalette[i] : 0;
            out.append(char(qRed(c)));
            out.append(char(qGreen(c)));
            out.append(char(qBlue(c)));
        }
    }
    return out;
}

QByteArray EncodeGif(const QImage& indexed) {
    QList<QRgb> table = indexed.colorTable();
    int sizeCode = 0;
    while ((2 << sizeCode) < table.size())
        ++sizeCode;
    table.resize(2 << sizeCode, 0);

    QByteArray out("GIF89a");
    AppendWord(out, indexed.width());
    AppendWord(out, indexed.height());
    out.append(char(0xF0 | sizeCode)); // global table, 8-bit colour resolution
    out.append('\0');
    out.append('\0');
    for (QRgb c : table) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2C));
    AppendWord(out, 0);
    AppendWord(out, 0);
    AppendWord(out, indexed.width());
    AppendWord(out, indexed.height());
    out.append('\0');

    // LZW without compression: 9-bit literal codes, with a clear code often
    // enough that the code table never grows to 10 bits.
    constexpr int kClear = 256, kEnd = 257;
    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            codes.append(char(bits & 0xFF));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    int sinceClear = 0;
    put(kClear);
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear == 200) {
                put(kClear);
                sinceClear = 0;
            }
            put(indexed.pixelIndex(x, y));
            ++sinceClear;
        }
    }
    put(kEnd);
    if (bitCount > 0)
        codes.append(char(bits & 0xFF));

    out.append(char(8)); // minimum code size
    for (qsizetype i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(char(0x3B));
    return out;
}

QByteArray EncodeWithQt(const QImage& image, const char* format,
                        const std::function<void(QImageWriter&)>& tune) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (tune)
        tune(writer);
    EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
    return bytes;
}

} // namespace testimg

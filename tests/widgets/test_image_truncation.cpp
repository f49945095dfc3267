// Cut-off picture files: Qt's readers paint what they got and report
// success, the loader must give no picture instead.
#include "tests/widgets/image_test_files.h"
#include "widgets/image_completeness.h"
#include "widgets/image_loader.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

QImage Picture() {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    return image;
}

QImage IndexedPicture() {
    QImage image(40, 30, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, uint((x / 5 + y / 5) % 4));
    return image;
}

using testimg::EncodeWithQt;

// A graphic control extension before the image, as most GIF writers put one.
QByteArray GifWithExtension() {
    QByteArray gif = testimg::EncodeGif(IndexedPicture());
    const int tableBytes = 3 << ((uchar(gif[10]) & 7) + 1);
    gif.insert(13 + tableBytes, QByteArray("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8));
    return gif;
}

struct FileCase {
    const char* name;
    const char* qtFormat;
    TImageKind kind;
    std::function<QByteArray()> make;
};

class Truncated : public ::testing::TestWithParam<FileCase> {};

TEST_P(Truncated, EveryShorterFileIsIncompleteAndGivesNoPicture) {
    const FileCase& c = GetParam();
    if (!QImageReader::supportedImageFormats().contains(c.qtFormat))
        GTEST_SKIP() << "no Qt reader for " << c.qtFormat;
    const QByteArray file = c.make();
    ASSERT_EQ(TImageLoader::SniffKind(file), c.kind);
    ASSERT_TRUE(imgcheck::IsComplete(c.kind, file));
    ASSERT_FALSE(TImageLoader::Decode(file).isNull());
    // Bytes after the picture's end do not matter.
    EXPECT_TRUE(imgcheck::IsComplete(c.kind, file + QByteArray(7, '\xFF')));
    EXPECT_FALSE(TImageLoader::Decode(file + QByteArray("\0junk", 5)).isNull());

    for (qsizetype n = 0; n < file.size(); ++n)
        ASSERT_FALSE(imgcheck::IsComplete(c.kind, file.first(n))) << "length " << n;

    // Through the loader, as the window and the markup views read pictures:
    // cut in the pixel data and just before the end.
    QTemporaryDir dir;
    for (const qsizetype keep : {file.size() * 2 / 3, file.size() - 1}) {
        const QString path = dir.filePath(QStringLiteral("cut"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(file.first(keep));
        out.close();
        TImageLoader loader;
        loader.SetImageName(path);
        EXPECT_TRUE(loader.Picture().isNull()) << "kept " << keep << " of " << file.size();
        EXPECT_EQ(loader.ImageName(), TImageLoader::kNotAnImageText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Truncated,
    ::testing::Values(
        FileCase{"Bmp", "bmp", TImageKind::ikBmp, [] { return EncodeWithQt(Picture(), "bmp"); }},
        FileCase{"BmpPaletted", "bmp", TImageKind::ikBmp,
                 [] { return EncodeWithQt(IndexedPicture(), "bmp"); }},
        FileCase{"Gif", "gif", TImageKind::ikGif,
                 [] { return testimg::EncodeGif(IndexedPicture()); }},
        FileCase{"GifWithExtension", "gif", TImageKind::ikGif, GifWithExtension},
        FileCase{"Jpeg", "jpeg", TImageKind::ikJpeg,
                 [] { return EncodeWithQt(Picture(), "jpeg"); }},
        FileCase{"JpegProgressive", "jpeg", TImageKind::ikJpeg,
                 [] {
                     return EncodeWithQt(Picture(), "jpeg",
                                         [](QImageWriter& w) { w.setProgressiveScanWrite(true); });
                 }},
        FileCase{"Png", "png", TImageKind::ikPng, [] { return EncodeWithQt(Picture(), "png"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A 4 x 2 RLE8 bitmap; `stream` is the coded pixel data.
QByteArray Rle8Bmp(const QByteArray& stream) {
    QByteArray bmp(54 + 8, '\0');
    const auto put32 = [&bmp](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, quint32(bmp.size() + stream.size()));
    put32(10, 54 + 8); // two palette entries
    put32(14, 40);
    put32(18, 4);
    put32(22, 2);
    bmp[26] = 1;
    bmp[28] = 8;
    put32(30, 1); // RLE8
    put32(34, quint32(stream.size()));
    put32(46, 2);
    bmp[54 + 2] = char(0xFF); // entry 0 red, entry 1 blue
    bmp[58] = char(0xFF);
    return bmp + stream;
}

TEST(ImageCompleteness, RunLengthBitmapsEndWithTheirEndCode) {
    // Row 0: four of index 0; end of line; row 1 in absolute mode (three
    // pixels, padded to a word) and one more; end of bitmap.
    const QByteArray stream("\x04\x00\x00\x00\x00\x03\x01\x00\x01\x00\x01\x01\x00\x01", 14);
    EXPECT_TRUE(imgcheck::BmpIsComplete(Rle8Bmp(stream)));
    for (qsizetype n = 0; n < stream.size(); ++n)
        EXPECT_FALSE(imgcheck::BmpIsComplete(Rle8Bmp(stream.first(n)))) << "length " << n;
    // An absolute run whose bytes run past the end.
    EXPECT_FALSE(imgcheck::BmpIsComplete(Rle8Bmp(QByteArray("\x00\x20\x01\x00\x01", 5))));
}

TEST(ImageCompleteness, LengthsInTheHeadersAreNotTrusted) {
    // A BMP height far beyond the data, and one so large it would overflow.
    QByteArray bmp = EncodeWithQt(Picture(), "bmp");
    bmp[24] = 0x10;
    EXPECT_FALSE(imgcheck::BmpIsComplete(bmp));
    bmp[25] = 0x7F;
    EXPECT_FALSE(imgcheck::BmpIsComplete(bmp));
    // A JPEG segment running past the end; a PNG chunk length with the top
    // bit set.
    QByteArray jpeg = EncodeWithQt(Picture(), "jpeg");
    jpeg[4] = char(0xFF);
    EXPECT_FALSE(imgcheck::JpegIsComplete(jpeg));
    QByteArray png = EncodeWithQt(Picture(), "png");
    png[8] = char(0x80);
    EXPECT_FALSE(imgcheck::PngIsComplete(png));
}

} // namespace

#include "platform/screen.h"
#include "tests/widgets/image_test_files.h"
#include "widgets/image_loader.h"
#include "widgets/pcx_decoder.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSet>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr QSize kSize(48, 32);
const QPoint kProbes[] = {{12, 8}, {36, 8}, {12, 24}, {36, 24}}; // quadrant centres

const QRgb kRed = qRgb(255, 0, 0), kLime = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255),
           kYellow = qRgb(255, 255, 0), kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

// Four quadrants with the given palette indices (top left, top right, bottom
// left, bottom right).
QImage Quadrants(const QList<QRgb>& table, const std::array<int, 4>& indices) {
    QImage image(kSize, QImage::Format_Indexed8);
    image.setColorTable(table);
    for (int y = 0; y < kSize.height(); ++y)
        for (int x = 0; x < kSize.width(); ++x) {
            const int quadrant = (y >= kSize.height() / 2) * 2 + (x >= kSize.width() / 2);
            image.setPixel(x, y, uint(indices[size_t(quadrant)]));
        }
    return image;
}

QImage ColourQuadrants() {
    return Quadrants({kRed, kLime, kBlue, kYellow}, {0, 1, 2, 3});
}

using testimg::EncodeWithQt;

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class ImageFiles {
public:
    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

struct FormatCase {
    const char* name;
    const char* extension;
    const char* misleadingExtension;
    std::function<QByteArray()> make;
    QImage expected; // true-colour reference for the probes
    int tolerance = 0;
    const char* qtFormat = nullptr; // plug-in the case depends on
};

QImage Expected(const QImage& indexed) {
    return indexed.convertToFormat(QImage::Format_RGB32);
}

std::vector<FormatCase> FormatCases() {
    const QImage colour = ColourQuadrants();
    const QImage mono = Quadrants({kBlack, kWhite}, {1, 0, 0, 1});
    const QImage vga = Quadrants(TImageLoader::VgaPalette(), {9, 10, 12, 11});
    QList<QRgb> table256 = TImageLoader::VgaPalette();
    table256.resize(256, qRgb(1, 2, 3));
    const QImage paletted = Quadrants(table256, {9, 10, 12, 11});
    using testimg::EncodePcx;
    return {
        {"Bmp", "bmp", "png", [=] { return EncodeWithQt(Expected(colour), "bmp"); },
         Expected(colour)},
        {"Gif", "gif", "bmp", [=] { return testimg::EncodeGif(colour); }, Expected(colour), 0,
         "gif"},
        {"Jpeg", "jpg", "gif",
         [=] {
             return EncodeWithQt(Expected(colour), "jpeg",
                                 [](QImageWriter& w) { w.setQuality(95); });
         },
         Expected(colour), 40, "jpeg"},
        {"Png", "png", "jpg", [=] { return EncodeWithQt(Expected(colour), "png"); },
         Expected(colour)},
        {"Tiff", "tif", "pcx", [=] { return EncodeWithQt(Expected(colour), "tiff"); },
         Expected(colour), 0, "tiff"},
        {"PcxMono", "pcx", "tif", [=] { return EncodePcx(mono, {.bitsPerPixel = 1}); },
         Expected(mono)},
        {"Pcx16", "pcx", "png",
         [=] {
             return EncodePcx(
                 vga,
                 {.bitsPerPixel = 1, .planes = 4, .headerPalette = TImageLoader::VgaPalette()});
         },
         Expected(vga)},
        {"Pcx256", "pcx", "bmp",
         [=] { return EncodePcx(paletted, {.bitsPerPixel = 8, .trailingPalette = table256}); },
         Expected(paletted)},
        {"Pcx24", "pcx", "jpg",
         [=] { return EncodePcx(Expected(colour), {.bitsPerPixel = 8, .planes = 3}); },
         Expected(colour)},
    };
}

class ImageLoaderFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ImageLoaderFormat, RecognisedByContentWhateverTheName) {
    const FormatCase& c = GetParam();
    if (c.qtFormat && !QImageReader::supportedImageFormats().contains(c.qtFormat))
        GTEST_SKIP() << "no Qt reader for " << c.qtFormat;
    const QByteArray bytes = c.make();
    ImageFiles files;
    TImageLoader loader;
    loader.SetReadDepth(TReadDepth::rdTrueColor);
    const QString names[] = {QStringLiteral("pic.") + c.extension, QStringLiteral("pic"),
                             QStringLiteral("other.") + c.misleadingExtension};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = files.Write(name, bytes);
        loader.SetImageName(path);
        EXPECT_EQ(loader.ImageName(), path);
        EXPECT_EQ(loader.Result(), TLoadResult::lrLoaded);
        const QImage& picture = loader.Picture();
        ASSERT_EQ(picture.size(), kSize);
        EXPECT_EQ(picture.format(), QImage::Format_RGB32);
        for (QPoint p : kProbes)
            EXPECT_TRUE(Near(picture.pixel(p), c.expected.pixel(p), c.tolerance))
                << "probe " << p.x() << "," << p.y() << " got " << std::hex << picture.pixel(p)
                << " want " << c.expected.pixel(p);
    }
    // Pictures in memory decode the same way.
    EXPECT_TRUE(TImageLoader::LoadFromData(bytes, TReadDepth::rdTrueColor, false) ==
                loader.Picture());
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageLoaderFormat, ::testing::ValuesIn(FormatCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadFileCase {
    const char* name;
    std::function<QByteArray()> make;
};

class ImageLoaderBadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(ImageLoaderBadFile, ReportsNotAnImageAndRecovers) {
    ImageFiles files;
    const QString good = files.Write("good", EncodeWithQt(Expected(ColourQuadrants()), "png"));
    TImageLoader loader;
    loader.SetImageName(good);
    ASSERT_FALSE(loader.Picture().isNull());

    loader.SetImageName(files.Write("bad.png", GetParam().make()));
    EXPECT_EQ(loader.ImageName(), TImageLoader::kNotAnImageText);
    EXPECT_EQ(loader.Result(), TLoadResult::lrNotAnImage);
    EXPECT_TRUE(loader.Picture().isNull());

    loader.SetImageName(good);
    EXPECT_EQ(loader.ImageName(), good);
    EXPECT_EQ(loader.Picture().size(), kSize);
}

QByteArray TruePcx() {
    return testimg::EncodePcx(Expected(ColourQuadrants()), {.bitsPerPixel = 8, .planes = 3});
}

INSTANTIATE_TEST_SUITE_P(
    Damage, ImageLoaderBadFile,
    ::testing::Values(
        BadFileCase{"Empty", [] { return QByteArray(); }},
        BadFileCase{"Text", [] { return QByteArray("not a picture at all\n").repeated(20); }},
        BadFileCase{"BmpHeaderOnly",
                    [] { return EncodeWithQt(Expected(ColourQuadrants()), "bmp").first(20); }},
        BadFileCase{"TruncatedPcx", [] { return TruePcx().chopped(10); }},
        BadFileCase{"PcxAbsurdSize",
                    [] {
                        QByteArray f = TruePcx();
                        f[8] = f[9] = f[10] = f[11] = char(0xFF);
                        f[66] = f[67] = char(0xFF);
                        return f;
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageLoader, MissingFileAndEmptyName) {
    ImageFiles files;
    TImageLoader loader;
    loader.SetImageName(files.Path("absent"));
    EXPECT_EQ(loader.ImageName(), TImageLoader::kFileNotFoundText);
    EXPECT_EQ(loader.Result(), TLoadResult::lrFileNotFound);
    EXPECT_TRUE(loader.Picture().isNull());

    QDir(files.Path("")).mkdir("folder");
    loader.SetImageName(files.Path("folder"));
    EXPECT_EQ(loader.ImageName(), TImageLoader::kFileNotFoundText);

    const QString good = files.Write("good", EncodeWithQt(Expected(ColourQuadrants()), "png"));
    loader.SetImageName(good);
    EXPECT_EQ(loader.ImageName(), good);
    loader.SetImageName(QString());
    EXPECT_EQ(loader.ImageName(), QString());
    EXPECT_EQ(loader.Result(), TLoadResult::lrNone);
    EXPECT_TRUE(loader.Picture().isNull());
}

// Depth requests, applied to pictures written as PNG (or GIF for an indexed
// source) and read through a loader.
QImage LoadAt(const QByteArray& bytes, TReadDepth depth, bool dither) {
    ImageFiles files;
    TImageLoader loader;
    loader.SetReadDepth(depth);
    loader.SetDither(dither);
    loader.SetImageName(files.Write("pic", bytes));
    EXPECT_EQ(loader.Result(), TLoadResult::lrLoaded);
    return loader.Picture();
}

QImage Uniform(QRgb colour, QSize size = {32, 32}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QSet<QRgb> ColoursUsed(const QImage& image) {
    QSet<QRgb> used;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            used.insert(image.pixel(x, y));
    return used;
}

double MeanRed(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qRed(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

QImage Gradient() {
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    return image;
}

TEST(ImageLoaderDepth, SixteenColoursUseOnlyTheVgaPalette) {
    const QByteArray png = EncodeWithQt(Gradient(), "png");
    for (TReadDepth depth : {TReadDepth::rdColor16, TReadDepth::rdVga})
        for (bool dither : {false, true}) {
            const QImage picture = LoadAt(png, depth, dither);
            EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
            EXPECT_EQ(picture.colorTable(), TImageLoader::VgaPalette());
            EXPECT_EQ(picture.size(), QSize(64, 64));
        }
    // Colours of the palette survive exactly, also from an indexed source
    // with a palette of its own.
    const QImage own = Quadrants({qRgb(250, 10, 10), kLime, kBlue, kYellow}, {0, 1, 2, 3});
    const QImage picture = LoadAt(testimg::EncodeGif(own), TReadDepth::rdColor16, true);
    EXPECT_EQ(picture.colorTable(), TImageLoader::VgaPalette());
    EXPECT_EQ(picture.pixel(kProbes[0]), kRed);
    EXPECT_EQ(picture.pixel(kProbes[1]), kLime);
    EXPECT_EQ(picture.pixel(kProbes[2]), kBlue);
    EXPECT_EQ(picture.pixel(kProbes[3]), kYellow);
}

TEST(ImageLoaderDepth, DitherMixesColoursToKeepTheTone) {
    // (96,96,96) lies between black and grey 128 of the VGA palette.
    const QByteArray png = EncodeWithQt(Uniform(qRgb(96, 96, 96)), "png");
    const QImage plain = LoadAt(png, TReadDepth::rdColor16, false);
    EXPECT_EQ(ColoursUsed(plain), QSet<QRgb>{qRgb(128, 128, 128)});
    const QImage dithered = LoadAt(png, TReadDepth::rdColor16, true);
    EXPECT_GE(ColoursUsed(dithered).size(), 2);
    EXPECT_NEAR(MeanRed(dithered), 96, 4);

    const QByteArray darkGrey = EncodeWithQt(Uniform(qRgb(100, 100, 100)), "png");
    const QImage threshold = LoadAt(darkGrey, TReadDepth::rdMonochrome, false);
    EXPECT_EQ(threshold.format(), QImage::Format_Mono);
    EXPECT_EQ(ColoursUsed(threshold), QSet<QRgb>{kBlack});
    const QImage diffused = LoadAt(darkGrey, TReadDepth::rdMonochrome, true);
    EXPECT_EQ(ColoursUsed(diffused), (QSet<QRgb>{kBlack, kWhite}));
    EXPECT_NEAR(MeanRed(diffused), 100, 12);
}

TEST(ImageLoaderDepth, MonochromeKeepsBlackAndWhite) {
    const QImage mono = Quadrants({kBlack, kWhite}, {1, 0, 0, 1});
    const QImage picture =
        LoadAt(EncodeWithQt(Expected(mono), "png"), TReadDepth::rdMonochrome, true);
    ASSERT_EQ(picture.format(), QImage::Format_Mono);
    for (QPoint p : kProbes)
        EXPECT_EQ(picture.pixel(p), mono.pixel(p));
}

TEST(ImageLoaderDepth, TwoHundredFiftySixColours) {
    for (bool dither : {false, true}) {
        const QImage picture =
            LoadAt(EncodeWithQt(Gradient(), "png"), TReadDepth::rdColor256, dither);
        ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
        EXPECT_LE(picture.colorCount(), 256);
        EXPECT_NEAR(MeanRed(picture), MeanRed(Gradient()), 8);
    }
    // A picture with few colours keeps them exactly.
    const QImage picture =
        LoadAt(EncodeWithQt(Expected(ColourQuadrants()), "png"), TReadDepth::rdColor256, true);
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    for (QPoint p : kProbes)
        EXPECT_EQ(picture.pixel(p), ColourQuadrants().pixel(p));
}

TEST(ImageLoaderDepth, TrueColourKeepsAlpha) {
    QImage translucent(kSize, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 200, 30, 128));
    const QImage withAlpha =
        LoadAt(EncodeWithQt(translucent, "png"), TReadDepth::rdTrueColor, false);
    EXPECT_EQ(withAlpha.format(), QImage::Format_ARGB32);
    EXPECT_EQ(withAlpha.pixel(5, 5), qRgba(10, 200, 30, 128));
}

TEST(ImageLoaderDepth, AutomaticFollowsTheScreen) {
    struct Case {
        int screenDepth;
        TReadDepth resolved;
        QImage::Format format;
    };
    const Case cases[] = {{1, TReadDepth::rdColor16, QImage::Format_Indexed8},
                          {4, TReadDepth::rdColor16, QImage::Format_Indexed8},
                          {8, TReadDepth::rdColor256, QImage::Format_Indexed8},
                          {16, TReadDepth::rdTrueColor, QImage::Format_RGB32},
                          {32, TReadDepth::rdTrueColor, QImage::Format_RGB32}};
    const QByteArray png = EncodeWithQt(Gradient(), "png");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screenDepth);
        EXPECT_EQ(TImageLoader::ResolveDepth(TReadDepth::rdAutomatic, c.screenDepth), c.resolved);
        plat::SetScreenOverride({1024, 768, c.screenDepth});
        const QImage picture = LoadAt(png, TReadDepth::rdAutomatic, false);
        plat::ClearScreenOverride();
        EXPECT_EQ(picture.format(), c.format);
        if (c.resolved == TReadDepth::rdColor16) {
            EXPECT_EQ(picture.colorTable(), TImageLoader::VgaPalette());
        }
    }
    EXPECT_EQ(TImageLoader::ResolveDepth(TReadDepth::rdMonochrome, 32), TReadDepth::rdMonochrome);
}

} // namespace

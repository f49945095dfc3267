#include "tests/widgets/image_test_files.h"
#include "widgets/pcx_decoder.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using testimg::PcxOptions;
using testimg::PcxRuns;

constexpr int kWidth = 37; // not a multiple of 8: partial bytes and padding
constexpr int kHeight = 5;

QList<QRgb> DistinctColours(int count) {
    QList<QRgb> table;
    for (int i = 0; i < count; ++i)
        table.append(qRgb((i * 53) % 256, (i * 97 + 11) % 256, (i * 151 + 29) % 256));
    return table;
}

QImage IndexedPattern(int colours, const QList<QRgb>& table, QSize size = {kWidth, kHeight}) {
    QImage image(size, QImage::Format_Indexed8);
    image.setColorTable(table);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, uint((x * 7 + y * 3) % colours));
    return image;
}

QImage RgbPattern(bool alpha) {
    QImage image(kWidth, kHeight, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y,
                           qRgba(x * 5 % 256, y * 40 % 256, (x + y) * 3 % 256,
                                 alpha ? (x * 9 + y) % 256 : 255));
    return image;
}

// Every pixel must come back; `expected` is the image as it should decode.
void ExpectSamePixels(const QImage& decoded, const QImage& expected) {
    ASSERT_FALSE(decoded.isNull());
    ASSERT_EQ(decoded.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(decoded.pixel(x, y), expected.pixel(x, y)) << "at " << x << "," << y;
}

struct RoundTripCase {
    const char* name;
    int bitsPerPixel;
    int planes;
    bool rle;
    PcxRuns runs;
};

class PcxRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(PcxRoundTrip, DecodesEveryPixel) {
    const RoundTripCase& c = GetParam();
    PcxOptions o{.bitsPerPixel = c.bitsPerPixel, .planes = c.planes, .rle = c.rle, .runs = c.runs};
    QImage source;
    QImage expected;
    QImage::Format format = QImage::Format_Indexed8;
    if (c.bitsPerPixel == 8 && c.planes >= 3) {
        source = expected = RgbPattern(c.planes == 4);
        format = c.planes == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    } else if (c.bitsPerPixel == 1 && c.planes == 1) {
        source = IndexedPattern(2, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
        expected = source;
    } else if (c.bitsPerPixel == 8) {
        o.trailingPalette = DistinctColours(256);
        source = expected = IndexedPattern(256, o.trailingPalette);
    } else {
        const int colours = c.bitsPerPixel > 1 ? 1 << c.bitsPerPixel : 1 << c.planes;
        o.headerPalette = DistinctColours(colours);
        source = expected = IndexedPattern(colours, o.headerPalette);
    }
    const QImage decoded = pcx::DecodePcx(testimg::EncodePcx(source, o));
    ExpectSamePixels(decoded, expected);
    EXPECT_EQ(decoded.format(), format);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PcxRoundTrip,
    ::testing::Values(RoundTripCase{"Mono", 1, 1, true, PcxRuns::PerPlane},
                      RoundTripCase{"FourColourPlanes", 1, 2, true, PcxRuns::PerPlane},
                      RoundTripCase{"SixteenColourPlanes", 1, 4, true, PcxRuns::PerPlane},
                      RoundTripCase{"SixteenColourRunsAcrossPlanes", 1, 4, true,
                                    PcxRuns::PerScanLine},
                      RoundTripCase{"FourColourPacked", 2, 1, true, PcxRuns::PerPlane},
                      RoundTripCase{"FourColourPackedUncompressed", 2, 1, false, PcxRuns::PerPlane},
                      RoundTripCase{"SixteenColourPacked", 4, 1, true, PcxRuns::PerPlane},
                      RoundTripCase{"Paletted256", 8, 1, true, PcxRuns::PerPlane},
                      RoundTripCase{"Paletted256Uncompressed", 8, 1, false, PcxRuns::PerPlane},
                      RoundTripCase{"TrueColour", 8, 3, true, PcxRuns::PerPlane},
                      RoundTripCase{"TrueColourRunsAcrossPlanes", 8, 3, true, PcxRuns::PerScanLine},
                      RoundTripCase{"TrueColourRunsAcrossLines", 8, 3, true, PcxRuns::WholeImage},
                      RoundTripCase{"TrueColourUncompressed", 8, 3, false, PcxRuns::PerPlane},
                      RoundTripCase{"TrueColourAlpha", 8, 4, true, PcxRuns::PerPlane}),
    [](const auto& info) { return std::string(info.param.name); });

QByteArray Header(int bpp, int planes, int width, int height, int bytesPerLine) {
    QByteArray h(128, '\0');
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 1;
    h[3] = char(bpp);
    h[8] = char((width - 1) & 0xFF);
    h[9] = char((width - 1) >> 8);
    h[10] = char((height - 1) & 0xFF);
    h[11] = char((height - 1) >> 8);
    h[65] = char(planes);
    h[66] = char(bytesPerLine & 0xFF);
    h[67] = char(bytesPerLine >> 8);
    return h;
}

// Hand-assembled files pin down bit order, plane order and run escapes
// independently of the test-side writer.
TEST(PcxDecoder, ReadsBitsMostSignificantFirst) {
    // Row 0: F0 40 as literals; row 1: one run of two FF bytes (C2 FF).
    const QByteArray file = Header(1, 1, 10, 2, 2) + QByteArray("\xC1\xF0\x40\xC2\xFF", 5);
    const QImage image = pcx::DecodePcx(file);
    ASSERT_EQ(image.size(), QSize(10, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(4, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(8, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(9, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 1), qRgb(255, 255, 255));
}

TEST(PcxDecoder, FirstPlaneIsLowestIndexBit) {
    QByteArray file = Header(1, 4, 8, 1, 1);
    const char entry1[] = {10, 20, 30}, entry8[] = {40, 50, 60};
    file.replace(16 + 3, 3, entry1, 3);
    file.replace(16 + 24, 3, entry8, 3);
    file += QByteArray("\xC1\xF0\x00\x00\x0F", 5);
    const QImage image = pcx::DecodePcx(file);
    ASSERT_EQ(image.size(), QSize(8, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(7, 0), qRgb(40, 50, 60));
}

TEST(PcxDecoder, PackedNibblesHighFirstAndSizeFromTheWindow) {
    QByteArray file = Header(4, 1, 1, 1, 2);
    file[4] = 100; // xMin 100, xMax 103, yMin 7, yMax 8
    file[8] = 103;
    file[6] = 7;
    file[10] = 8;
    file += QByteArray("\x12\xC1\xF3\xC2\x00", 5); // empty header palette: EGA colours
    const QImage image = pcx::DecodePcx(file);
    ASSERT_EQ(image.size(), QSize(4, 2));
    const QRgb expected[] = {1, 2, 15, 3};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(image.pixel(x, 0), pcx::DefaultEgaPalette()[int(expected[x])]);
}

TEST(PcxDecoder, TwoBitPixelsHighFirstWithTheHeadersFourColours) {
    QByteArray file = Header(2, 1, 6, 1, 2);
    const char colours[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    file.replace(16, 12, colours, 12);
    file[16 + 12] = char(200); // a fifth entry that a 2-bit picture cannot use
    // 0x1B = 00 01 10 11, then 0xE0 = 11 10 and four bits of padding.
    file += QByteArray("\x1B\xC1\xE0", 3);
    const QImage image = pcx::DecodePcx(file);
    ASSERT_EQ(image.size(), QSize(6, 1));
    ASSERT_EQ(image.colorCount(), 4);
    const int indices[] = {0, 1, 2, 3, 3, 2};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(image.pixel(x, 0), qRgb(colours[indices[x] * 3], colours[indices[x] * 3 + 1],
                                          colours[indices[x] * 3 + 2]))
            << "x " << x;

    // Without palette information (version 3, or all zero) the CGA colours.
    file[1] = 3;
    const QImage cga = pcx::DecodePcx(file);
    ASSERT_FALSE(cga.isNull());
    EXPECT_EQ(cga.pixel(1, 0), pcx::DefaultCgaPalette()[1]);
    EXPECT_EQ(cga.pixel(3, 0), qRgb(255, 255, 255));

    // Too few bytes per line for six 2-bit pixels.
    file[66] = 1;
    EXPECT_TRUE(pcx::DecodePcx(file).isNull());
}

TEST(PcxDecoder, PaletteCountsOnlyAfterTheImageData) {
    // An uncompressed grey picture whose byte 769 from the end is 0x0C must
    // not be taken for one with a trailing palette.
    const int side = 40;
    QList<QRgb> greys;
    for (int i = 0; i < 256; ++i)
        greys.append(qRgb(i, i, i));
    QImage grey = IndexedPattern(256, greys, {side, side});
    const int markerPixel = side * side - 769;
    grey.setPixel(markerPixel % side, markerPixel / side, 0x0C);
    const QImage decoded =
        pcx::DecodePcx(testimg::EncodePcx(grey, {.bitsPerPixel = 8, .planes = 1, .rle = false}));
    ExpectSamePixels(decoded, grey);
}

TEST(PcxDecoder, EveryTruncationFails) {
    const QByteArray file = testimg::EncodePcx(RgbPattern(false), {.bitsPerPixel = 8, .planes = 3});
    ASSERT_FALSE(pcx::DecodePcx(file).isNull());
    for (qsizetype n = 0; n < file.size(); ++n)
        ASSERT_TRUE(pcx::DecodePcx(file.first(n)).isNull()) << "length " << n;
}

struct BadHeaderCase {
    const char* name;
    std::function<void(QByteArray&)> damage;
};

class PcxBadHeader : public ::testing::TestWithParam<BadHeaderCase> {};

TEST_P(PcxBadHeader, IsRefused) {
    QByteArray file = Header(8, 1, 16, 16, 16) + QByteArray(16 * 16, 'x');
    ASSERT_FALSE(pcx::DecodePcx(file).isNull());
    GetParam().damage(file);
    EXPECT_TRUE(pcx::DecodePcx(file).isNull());
}

void SetWord(QByteArray& f, int offset, int value) {
    f[offset] = char(value & 0xFF);
    f[offset + 1] = char(value >> 8);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, PcxBadHeader,
    ::testing::Values(BadHeaderCase{"Manufacturer", [](QByteArray& f) { f[0] = 0x0B; }},
                      BadHeaderCase{"Encoding", [](QByteArray& f) { f[2] = 2; }},
                      BadHeaderCase{"TwoBitsInFourPlanes",
                                    [](QByteArray& f) {
                                        f[3] = 2;
                                        f[65] = 4;
                                    }},
                      BadHeaderCase{"TwoPlanesOfEight", [](QByteArray& f) { f[65] = 2; }},
                      BadHeaderCase{"NoPlanes", [](QByteArray& f) { f[65] = 0; }},
                      BadHeaderCase{"LineTooShort", [](QByteArray& f) { SetWord(f, 66, 15); }},
                      BadHeaderCase{"RightOfLeftEdge", [](QByteArray& f) { SetWord(f, 4, 20); }},
                      BadHeaderCase{"WiderThanLimit",
                                    [](QByteArray& f) {
                                        SetWord(f, 8, pcx::kMaxSide);
                                        SetWord(f, 66, pcx::kMaxSide + 1);
                                        f += QByteArray(16 * (pcx::kMaxSide + 1), '\0');
                                    }},
                      BadHeaderCase{"TooManyPixels",
                                    [](QByteArray& f) {
                                        // Within the side limit and with enough runs to
                                        // fill it, but over the pixel cap.
                                        SetWord(f, 8, 8191);
                                        SetWord(f, 10, 8192);
                                        SetWord(f, 66, 8192);
                                        f.truncate(pcx::kHeaderSize);
                                        const qint64 runs = 8192LL * 8193 / 63 + 1;
                                        f += QByteArray("\xFF\x00", 2).repeated(runs);
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

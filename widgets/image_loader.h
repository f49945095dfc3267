#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

// Colour depth a picture is reduced to after decoding. rdVga is the 16-colour
// VGA palette like rdColor16; rdAutomatic follows the screen's depth.
enum class TReadDepth { rdVga, rdMonochrome, rdColor16, rdColor256, rdTrueColor, rdAutomatic };

// File formats told apart by their first bytes; extensions are never trusted
// because window pictures have none.
enum class TImageKind { ikUnknown, ikBmp, ikGif, ikJpeg, ikPng, ikTiff, ikPcx };

enum class TLoadResult { lrNone, lrLoaded, lrFileNotFound, lrNotAnImage };

// Decodes BMP, GIF, JPEG, PNG, TIFF and PCX pictures into a QImage of the
// requested colour depth. No widget: whoever shows the picture takes Picture().
class TImageLoader {
public:
    static const QString kFileNotFoundText;
    static const QString kNotAnImageText;
    // Files beyond this size are not read at all.
    static constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

    // Depth and dithering apply to the next SetImageName; a loaded picture
    // keeps the depth it was loaded with.
    void SetReadDepth(TReadDepth depth) { readDepth_ = depth; }
    TReadDepth ReadDepth() const { return readDepth_; }
    void SetDither(bool dither) { dither_ = dither; }
    bool Dither() const { return dither_; }

    // Loads the file at once. Afterwards ImageName() is the path on success,
    // kFileNotFoundText or kNotAnImageText on failure (with a null picture),
    // and empty after an empty name. A file that cannot be opened counts as
    // not found. A file that does not decode is logged (lcPicture).
    void SetImageName(const QString& path);
    QString ImageName() const { return imageName_; }
    TLoadResult Result() const { return result_; }
    const QImage& Picture() const { return picture_; }

    static TImageKind SniffKind(QByteArrayView data);
    // Decodes a picture in memory at its own format; null when undecodable
    // or when the data stops before the picture's own end.
    static QImage Decode(const QByteArray& data);
    // Decode followed by ConvertToDepth.
    static QImage LoadFromData(const QByteArray& data, TReadDepth depth, bool dither);

    // rdAutomatic becomes a concrete depth for a screen of `screenDepth` bits.
    static TReadDepth ResolveDepth(TReadDepth depth, int screenDepth);
    // Reduces a decoded picture; rdAutomatic asks plat::Screen() for the depth.
    static QImage ConvertToDepth(const QImage& image, TReadDepth depth, bool dither);

    // The screen's 16-colour palette (Pal16), which rdVga and rdColor16 use.
    static const QList<QRgb>& VgaPalette();
    // Maps every pixel to the nearest palette colour (alpha ignored), with
    // Floyd-Steinberg error diffusion when `dither` is set. Format_Indexed8
    // with exactly `palette` as colour table; null for an empty palette or
    // more than 256 colours.
    static QImage QuantizeToPalette(const QImage& image, const QList<QRgb>& palette, bool dither);

private:
    TReadDepth readDepth_ = TReadDepth::rdAutomatic;
    bool dither_ = false;
    QString imageName_;
    TLoadResult result_ = TLoadResult::lrNone;
    QImage picture_;
};

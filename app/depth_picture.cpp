#include "app/depth_picture.h"

#include "platform/paths.h"
#include "widgets/image_loader.h"
#include "widgets/palette.h"

#include <QFileInfo>
#include <QImage>

QImage PictureForDisplayDepth(const QImage& designed, int bitsPerPixel) {
    if (designed.isNull() || bitsPerPixel >= 24)
        return designed;
    const QImage reduced = bitsPerPixel == 8
                               ? TImageLoader::QuantizeToPalette(designed, Pal256(), true)
                               : TImageLoader::QuantizeToPalette(designed, Pal16(), true);
    return reduced.convertToFormat(QImage::Format_RGB32);
}

QImage LoadDesignedPicture(const char* relativePath) {
    const QString path = plat::ResolvePath(relativePath);
    if (!QFileInfo(path).isFile())
        return {};
    TImageLoader loader;
    loader.SetReadDepth(TReadDepth::rdTrueColor);
    loader.SetDither(false);
    loader.SetImageName(path);
    return loader.Picture();
}

#include "markup/picture_cache.h"

#include "picarchive/picture_archive.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "widgets/picture_log.h"

#include <QFile>
#include <QFileInfo>

QImage TPictureCache::Decode(const QString& path) {
    // Pictures are reduced to what the screen can show, as the window's own are.
    const int depth = plat::Screen().depth;
    if (depth < 8) {
        loader_.SetReadDepth(TReadDepth::rdColor16);
        loader_.SetDither(true);
    } else if (depth < 16) {
        loader_.SetReadDepth(TReadDepth::rdColor256);
        loader_.SetDither(true);
    } else {
        loader_.SetReadDepth(TReadDepth::rdTrueColor);
        loader_.SetDither(false);
    }
    ++decodeCount_;
    loader_.SetImageName(path);
    QImage picture = loader_.Picture();
    loader_.SetImageName(QString());
    return picture;
}

void TPictureCache::Store(std::string name, const QImage& picture) {
    cache_.insert(cache_.begin(), {std::move(name), picture});
}

QImage TPictureCache::LoadPicture(std::string_view name) {
    std::string key = plat::AnsiLower(name);
    for (const auto& [cachedName, picture] : cache_)
        if (cachedName == key)
            return picture;

    // From here on the outcome is kept, failures too: every repaint runs
    // the layout again, and a damaged member or file would otherwise be
    // extracted and decoded on each of them. Only a name that names nothing
    // at all is looked for again.
    if (pictureIndex_ && PictureIndexHolds(*pictureIndex_, key)) {
        const QString temp = PictureTempPath(key);
        if (!temp.isEmpty() && !QFileInfo::exists(temp)) {
            const TPictureEntry entry = FindPicture(*pictureIndex_, key);
            if (!ExtractPicture(plat::ResolvePath(kPictureArchiveFile), entry, temp) ||
                !QFileInfo::exists(temp)) {
                qCWarning(lcPicture).noquote() << "picture" << QString::fromStdString(key)
                                               << "cannot be extracted from the picture archive";
                Store(std::move(key), QImage());
                return {};
            }
        }
        const QImage picture = temp.isEmpty() ? QImage() : Decode(temp);
        if (!temp.isEmpty())
            QFile::remove(temp);
        Store(std::move(key), picture);
        return picture;
    }

    const QString path = plat::ResolvePath(key);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return {};
    const QImage picture = Decode(path);
    Store(std::move(key), picture);
    return picture;
}

#include "transfer/local_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <fcntl.h>

namespace vdx {

QString NativePath(const char* path) {
    QString result = QFile::decodeName(path);
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

QString DirectoryOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

bool ForceDirectoryPath(const QString& path) {
    QString dir = path;
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    if (dir.isEmpty())
        return false;
    if (QFileInfo(dir).isDir())
        return true;
    // Each prefix that ends before a further separator, then the whole path.
    for (qsizetype sep = dir.indexOf(QLatin1Char('/'), 1); sep > 0;
         sep = dir.indexOf(QLatin1Char('/'), sep + 1)) {
        const QString prefix = dir.left(sep);
        if (QFileInfo(prefix).isDir())
            continue;
        if (!QDir().mkdir(prefix))
            return false;
    }
    if (!QFileInfo(dir).isDir())
        QDir().mkdir(dir);
    return QFileInfo(dir).isDir();
}

bool ReplaceFileContents(const QString& path, std::string_view data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const char* p = data.data();
    qint64 left = qint64(data.size());
    while (left > 0) {
        const qint64 n = file.write(p, left);
        if (n <= 0) {
            file.cancelWriting();
            return false;
        }
        p += n;
        left -= n;
    }
    return file.commit();
}

void StartWriteback(QFileDevice& file, int64_t& started) {
    constexpr int64_t kStep = int64_t(4) << 20;
    const int64_t written = file.pos();
    if (written - started < kStep || !file.flush() || file.handle() < 0)
        return;
    ::sync_file_range(file.handle(), started, written - started, SYNC_FILE_RANGE_WRITE);
    started = written;
}

} // namespace vdx

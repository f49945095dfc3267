#include "app/temp_dir.h"

#include <QDir>

void CleanTempDir(const QString& dir) {
    QDir d(dir);
    if (!d.exists())
        return;
    const QStringList files =
        d.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& f : files)
        d.remove(f);
    QDir().rmdir(dir); // fails quietly while anything is left inside
}

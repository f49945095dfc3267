#include "platform/paths.h"

#include "platform/ansi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace plat {
namespace {

QString& ProgramDirOverride() {
    static QString dir;
    return dir;
}

QString WithSlash(QString dir) {
    if (!dir.endsWith('/'))
        dir += '/';
    return dir;
}

QString ExecutableDir() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Without an application object Qt cannot tell; the kernel can.
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.canonicalFilePath();
    return target.isEmpty() ? QDir::currentPath() : QFileInfo(target).path();
}

// Appends `name` to `dir` ("/" stays a single slash).
QString Join(const QString& dir, const QString& name) {
    return dir.endsWith('/') ? dir + name : dir + '/' + name;
}

// Drops the last component of an absolute path; the root stays the root.
QString Parent(const QString& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// The entry of `dir` that `name` means. An entry spelled exactly as asked
// wins; otherwise a case-insensitive match, preferring a directory when the
// path goes on below it. Empty when nothing matches.
QString MatchEntry(const QString& dir, const QString& name, bool wantDir) {
    const QFileInfo exact(Join(dir, name));
    if (exact.exists() && (!wantDir || exact.isDir()))
        return name;
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QString fallback;
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!wantDir || QFileInfo(Join(dir, entry)).isDir())
            return entry;
        if (fallback.isEmpty())
            fallback = entry;
    }
    if (exact.exists())
        return name;
    return fallback;
}

} // namespace

QString ProgramDir() {
    const QString& forced = ProgramDirOverride();
    return WithSlash(forced.isEmpty() ? ExecutableDir() : forced);
}

void SetProgramDir(const QString& dir) {
    ProgramDirOverride() = dir.isEmpty() ? QString() : WithSlash(dir);
}

QString ResolvePath(std::string_view relative) {
    return ResolvePath(relative, ProgramDir());
}

QString ResolvePath(std::string_view relative, const QString& baseDir) {
    QString text = FromAnsi(relative);
    text.replace('\\', '/');
    if (text.isEmpty())
        return WithSlash(baseDir.isEmpty() ? ProgramDir() : baseDir);
    const bool trailing = text.endsWith('/');

    QString current;
    if (text.startsWith('/'))
        current = QStringLiteral("/");
    else {
        current = baseDir.isEmpty() ? ProgramDir() : baseDir;
        if (current.size() > 1 && current.endsWith('/'))
            current.chop(1);
    }

    // Once one component is missing nothing below it can exist, so the rest
    // is appended as written without listing directories.
    bool exists = QFileInfo(current).isDir();
    const QStringList parts = text.split('/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            current = Parent(current);
            exists = QFileInfo(current).isDir();
            continue;
        }
        const bool wantDir = trailing || i + 1 < parts.size();
        QString actual;
        if (exists)
            actual = MatchEntry(current, part, wantDir);
        if (actual.isEmpty()) {
            exists = false;
            actual = part;
        } else {
            exists = QFileInfo(Join(current, actual)).isDir();
        }
        current = Join(current, actual);
    }
    if (trailing && !current.endsWith('/'))
        current += '/';
    return current;
}

QString ForceDirectories(std::string_view relative) {
    const QString resolved = ResolvePath(relative);
    const QString dir = resolved.endsWith('/') ? resolved : Parent(resolved);
    return ForceDirectoriesAbs(dir) ? resolved : QString();
}

bool ForceDirectoriesAbs(const QString& dir) {
    if (dir.isEmpty())
        return false;
    if (QFileInfo(dir).isDir())
        return true;
    QDir().mkpath(dir);
    return QFileInfo(dir).isDir();
}

} // namespace plat

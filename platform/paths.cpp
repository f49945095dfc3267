#include "platform/paths.h"

#include "platform/ansi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {
namespace {

QString& ProgramDirOverride() {
    static QString dir;
    return dir;
}

// The server resolves paths from worker threads; the location is shared.
std::mutex& LocationMutex() {
    static std::mutex m;
    return m;
}

DataLocation& LocationInForce() {
    static DataLocation location;
    return location;
}

QString WithoutSlash(QString dir) {
    while (dir.size() > 1 && dir.endsWith('/'))
        dir.chop(1);
    return dir;
}

// <prefix>/share/zenx when `dir` is <prefix>/lib/zenx (or lib64, ...) and the
// content was installed beside it; empty otherwise.
QString InstalledContentDir(const QString& dir) {
    const QFileInfo program(dir);
    if (program.fileName() != QLatin1String("zenx"))
        return QString();
    const QFileInfo lib(program.path());
    if (!lib.fileName().startsWith(QLatin1String("lib")))
        return QString();
    const QString share = QDir::cleanPath(lib.path() + QStringLiteral("/share/zenx"));
    return QFileInfo(share).isDir() ? share : QString();
}

QString AbsoluteEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    return value.startsWith('/') ? WithoutSlash(value) : QString();
}

// $XDG_DATA_HOME, or ~/.local/share. A relative value is to be ignored.
QString UserDataHome() {
    if (const QString xdg = AbsoluteEnv("XDG_DATA_HOME"); !xdg.isEmpty())
        return xdg;
    QString home = AbsoluteEnv("HOME");
    if (home.isEmpty()) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw && pw->pw_dir ? QFile::decodeName(pw->pw_dir) : QDir::homePath();
    }
    return WithoutSlash(home) + QStringLiteral("/.local/share");
}

// Creates the missing folders of an absolute path for their owner only, the
// way the base-directory rules ask; folders that exist keep their mode.
bool MakePrivateDirs(const QString& dir) {
    const QStringList parts = dir.split('/', Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path += '/' + part;
        const QByteArray native = QFile::encodeName(path);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(dir).isDir();
}

// A fresh folder that only this user can enter, in $XDG_RUNTIME_DIR when the
// session has one, else in the system's temporary folder. Empty on failure.
QString MakePrivateTemp() {
    QString root = AbsoluteEnv("XDG_RUNTIME_DIR");
    if (root.isEmpty() || !QFileInfo(root).isDir() || !QFileInfo(root).isWritable())
        root = WithoutSlash(QDir::tempPath());
    QByteArray pattern = QFile::encodeName(root + QStringLiteral("/zenx-XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return QString();
    return QFile::decodeName(pattern);
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
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
    SetDataLocation({});
}

DataLocation DecideDataLocation(const QString& programDir, bool programDirWritable) {
    DataLocation location;
    const QString dir = WithoutSlash(QDir::cleanPath(programDir));
    const QString share = InstalledContentDir(dir);
    if (share.isEmpty() && programDirWritable)
        return location; // a program directory of its own, as always
    location.Installed = true;
    location.Content = share.isEmpty() ? dir : share;
    location.User = UserDataHome() + QStringLiteral("/zenx/User");
    return location;
}

DataLocation ChooseDataLocation() {
    const QString dir = ProgramDir();
    const QByteArray native = QFile::encodeName(dir);
    DataLocation location = DecideDataLocation(dir, ::access(native.constData(), W_OK) == 0);
    if (location.Installed) {
        // User\ itself is made by the user store, which gives it 0700 too.
        const QString zenxData = QFileInfo(location.User).path();
        MakePrivateDirs(zenxData);
        location.Temp = MakePrivateTemp();
        // Without a usable temporary folder the pictures go beside the
        // user's data, which is still private.
        if (location.Temp.isEmpty())
            location.Temp = zenxData + QStringLiteral("/T");
    }
    SetDataLocation(location);
    return location;
}

DataLocation CurrentDataLocation() {
    std::lock_guard lock(LocationMutex());
    return LocationInForce();
}

void SetDataLocation(const DataLocation& location) {
    std::lock_guard lock(LocationMutex());
    LocationInForce() = location;
}

QString ResolvePath(std::string_view relative) {
    const DataLocation location = CurrentDataLocation();
    if (!location.Installed || relative.empty() || IsSeparator(relative.front()))
        return ResolvePath(relative, ProgramDir());
    const std::size_t end = std::min(relative.find_first_of("\\/"), relative.size());
    const std::string_view first = relative.substr(0, end);
    QString base;
    if (AnsiSameText(first, "User"))
        base = location.User;
    else if (AnsiSameText(first, "T"))
        base = location.Temp;
    if (base.isEmpty())
        return ResolvePath(relative, location.Content.isEmpty() ? ProgramDir() : location.Content);

    // The folder itself is named exactly; what lies below is matched as usual.
    std::string_view rest = relative.substr(end);
    const bool trailing = !rest.empty();
    while (!rest.empty() && IsSeparator(rest.front()))
        rest.remove_prefix(1);
    if (rest.empty())
        return trailing ? base + '/' : base;
    return ResolvePath(rest, base);
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

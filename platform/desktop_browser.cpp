#include "platform/desktop_browser.h"

#include "platform/ansi.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>
#include <array>
#include <vector>

namespace plat {
namespace {

// Desktop and mimeapps files are small; anything larger is not one.
constexpr qint64 kMaxKeyFileSize = 1 << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

using KeyGroup = QHash<QString, QString>;
using KeyFile = QHash<QString, KeyGroup>;

KeyFile ReadKeyFile(const QString& path) {
    KeyFile groups;
    QFile file(path);
    if (file.size() > kMaxKeyFileSize || !file.open(QIODevice::ReadOnly))
        return groups;
    KeyGroup* group = nullptr;
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = &groups[line.mid(1, line.size() - 2).toString()];
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!group || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        if (!group->contains(key)) // the first of duplicate keys counts
            group->insert(key, line.mid(eq + 1).trimmed().toString());
    }
    return groups;
}

// The escapes of key-file string values: \s \n \t \r \\.
QString UnescapeValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            out += u'\\';
            out += value[i];
            break;
        }
    }
    return out;
}

QString EnvDir(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QStringList EnvDirs(const char* name, const QString& fallback) {
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable(name).split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    return dirs.isEmpty() ? fallback.split(u':') : dirs;
}

QString ConfigHome() {
    return EnvDir("XDG_CONFIG_HOME", QDir::homePath() + "/.config");
}
QString DataHome() {
    return EnvDir("XDG_DATA_HOME", QDir::homePath() + "/.local/share");
}
QStringList ConfigDirs() {
    return EnvDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}
QStringList DataDirs() {
    return EnvDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

// The applications folders in order of precedence.
QStringList ApplicationDirs() {
    QStringList dirs{DataHome() + "/applications"};
    for (const QString& dir : DataDirs())
        dirs << dir + "/applications";
    return dirs;
}

QStringList MimeAppsLists() {
    QStringList files{ConfigHome() + "/mimeapps.list"};
    for (const QString& dir : ConfigDirs())
        files << dir + "/mimeapps.list";
    for (const QString& dir : ApplicationDirs())
        files << dir + "/mimeapps.list";
    return files;
}

// A desktop-file id names a file below an applications folder with '/'
// written as '-', so "kde-foo.desktop" may also be "kde/foo.desktop".
QString FindInAppDir(const QString& dir, const QString& id, int depth) {
    const QString direct = dir + '/' + id;
    if (QFileInfo(direct).isFile())
        return direct;
    if (depth > 4)
        return {};
    for (qsizetype dash = id.indexOf(u'-'); dash > 0; dash = id.indexOf(u'-', dash + 1)) {
        const QString sub = dir + '/' + id.left(dash);
        if (!QFileInfo(sub).isDir())
            continue;
        const QString found = FindInAppDir(sub, id.mid(dash + 1), depth + 1);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// The open command (Windows-1252) of the desktop entry `id`, if it names a usable one.
std::optional<std::string> DesktopEntryCommand(const QString& id) {
    if (!id.endsWith(QLatin1String(".desktop")) || id.contains(u'/') || id.startsWith(u'.'))
        return std::nullopt;
    for (const QString& dir : ApplicationDirs()) {
        const QString path = FindInAppDir(dir, id, 0);
        if (path.isEmpty())
            continue;
        // The first file found for an id is the entry, even when it is
        // hidden: that is how a user removes a system-wide one.
        const KeyGroup entry = ReadKeyFile(path).value(QStringLiteral("Desktop Entry"));
        const QString type = entry.value(QStringLiteral("Type"), QStringLiteral("Application"));
        if (type != QLatin1String("Application") ||
            entry.value(QStringLiteral("Hidden")) == QLatin1String("true"))
            return std::nullopt;
        const std::string command =
            ExecLineToCommand(ToAnsi(UnescapeValue(entry.value(QStringLiteral("Exec")))));
        if (command.empty())
            return std::nullopt;
        return command;
    }
    return std::nullopt;
}

} // namespace

std::optional<DesktopBrowser> FindDesktopBrowser() {
    std::vector<KeyFile> lists;
    for (const QString& file : MimeAppsLists())
        lists.push_back(ReadKeyFile(file));
    const std::array mimeTypes{QStringLiteral("text/html"),
                               QStringLiteral("x-scheme-handler/http")};
    const std::array groups{QStringLiteral("Default Applications"),
                            QStringLiteral("Added Associations")};
    for (const QString& mime : mimeTypes) {
        for (const QString& group : groups) {
            for (const KeyFile& list : lists) {
                const QString ids = list.value(group).value(mime);
                for (const QString& id : ids.split(u';', Qt::SkipEmptyParts)) {
                    if (auto command = DesktopEntryCommand(id.trimmed()))
                        return DesktopBrowser{ToAnsi(id.trimmed()), std::move(*command)};
                }
            }
        }
    }
    for (const char* name : {"x-www-browser", "xdg-open"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return DesktopBrowser{name, ToAnsi(path) + " %1"};
    }
    return std::nullopt;
}

std::string ExecLineToCommand(std::string_view exec) {
    std::string out;
    bool placed = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c != '%') {
            out.push_back(c);
            continue;
        }
        if (i + 1 == exec.size())
            break; // a lone '%' at the end stands for nothing
        const char code = exec[++i];
        if (code == '%') {
            out.push_back('%');
            continue;
        }
        const bool isTarget = code == 'u' || code == 'U' || code == 'f' || code == 'F';
        if (isTarget && !placed) {
            out += "%1";
            placed = true;
            continue;
        }
        // A dropped code that was a word of its own takes its blank along.
        const bool wordStart = out.empty() || IsBlank(out.back());
        if (wordStart && i + 1 < exec.size() && IsBlank(exec[i + 1]))
            ++i;
    }
    const size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    out.erase(0, first);
    while (IsBlank(out.back()))
        out.pop_back();
    if (!placed)
        out += " %1";
    return out;
}

} // namespace plat

#include "exchange/statistics_download.h"

#include "exchange/exchange_messages.h"
#include "platform/profile_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

// The library refuses bodies beyond 64 MB; a file larger than that was not
// written by it.
constexpr qint64 kMaxStatisticsSize = qint64(64) << 20;

std::string_view TrimBlanks(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r\v\f");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\v\f") - first + 1);
}

bool IsIniLine(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';')
        return true;
    if (line.front() == '[')
        return line.find(']') != std::string_view::npos;
    const size_t eq = line.find('=');
    return eq != std::string_view::npos && !TrimBlanks(line.substr(0, eq)).empty();
}

} // namespace

bool IsStatisticsText(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (!IsIniLine(text.substr(pos, end - pos)))
            return false;
        pos = end + 1;
    }
    return !plat::TProfileText(text).Sections().empty();
}

TStatisticsDownload::TStatisticsDownload(QString target) : target_(std::move(target)) {}

bool TStatisticsDownload::Prepare() {
    const QFileInfo info(target_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    // Named like the profile writers' temporary files (".<name>.~<pid>-"),
    // so that the next start removes one that a killed program left.
    download_.setFileTemplate(
        info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".~") +
        QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX"));
    if (!download_.open())
        return false;
    // The library replaces the file by name; only the name is kept here.
    download_.close();
    return true;
}

QString TStatisticsDownload::DownloadPath() const {
    return download_.fileName();
}

int32_t TStatisticsDownload::Finish(int32_t code) {
    if (code != tcSucceeded)
        return code;
    QFile file(download_.fileName());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxStatisticsSize)
        return tcFailed;
    const QByteArray text = file.readAll();
    file.close();
    if (!IsStatisticsText(std::string_view(text.constData(), size_t(text.size()))))
        return tcFailed;
    // rename() replaces the old file in one step, so no reader sees half.
    const QByteArray from = QFile::encodeName(download_.fileName());
    const QByteArray to = QFile::encodeName(target_);
    if (std::rename(from.constData(), to.constData()) != 0)
        return tcFailed;
    download_.setAutoRemove(false);
    return tcSucceeded;
}

#include "exchange/statistics_download.h"

#include "exchange/exchange_messages.h"
#include "platform/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

bool IsStatisticsText(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return false;
    const plat::TProfileText parsed(text);
    return parsed.HasOnlyProfileLines() && !parsed.Sections().empty();
}

TStatisticsDownload::TStatisticsDownload(QString target) : target_(std::move(target)) {}

bool TStatisticsDownload::Prepare() {
    const QFileInfo info(target_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    // Named like the profile writers' temporary files, so that the next
    // start removes one that a killed program left.
    download_.setFileTemplate(plat::OwnProfileTempPrefix(info.absoluteFilePath()) +
                              QStringLiteral("XXXXXX"));
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
    if (!file.open(QIODevice::ReadOnly) || file.size() > qint64(plat::kMaxProfileBytes))
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

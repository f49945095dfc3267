#include "app/program_log.h"

#include <QLoggingCategory>
#include <cstdio>
#include <cstring>

namespace {

std::function<void(const QString&)>& Sink() {
    static std::function<void(const QString&)> sink;
    return sink;
}

bool FromImageDecoder(const char* category) {
    return category && (std::strncmp(category, "qt.gui.imageio", 14) == 0 ||
                        std::strncmp(category, "qt.imageformats", 15) == 0);
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QString line = ProgramLogLine(type, context.category, message);
    if (line.isEmpty())
        return;
    if (Sink()) {
        Sink()(line);
        return;
    }
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

QString ProgramLogLine(QtMsgType, const char* category, const QString& message) {
    if (FromImageDecoder(category))
        return {};
    QString line = QStringLiteral("zenx: ");
    if (category && std::strcmp(category, "default") != 0)
        line += QString::fromLatin1(category) + QStringLiteral(": ");
    // One message, one line, whatever the text holds.
    QString text = message;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line + text;
}

void SetProgramLogSink(std::function<void(const QString& line)> sink) {
    Sink() = std::move(sink);
}

void InstallProgramLog() {
    // Switched off at the source as well, so the messages are not even
    // formatted; the handler drops whatever still comes through.
    QLoggingCategory::setFilterRules(
        QStringLiteral("qt.gui.imageio*=false\nqt.imageformats*=false"));
    qInstallMessageHandler(Handle);
}

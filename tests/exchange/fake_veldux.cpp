// A stand-in for libveldux.so with the same four exports, steered by
// environment variables so that tests can script what the library does:
//   FAKE_VELDUX_LOG      file that receives one line per call
//   FAKE_VELDUX_RESULT   result code of GetFile and PostFile (default 103)
//   FAKE_VELDUX_OPEN     "0": OpenVdxDlg fails
//   FAKE_VELDUX_KEEP     file that receives a copy of what PostFile was given
//   FAKE_VELDUX_BUSY_MS  the transfer lets events run this long first
//   FAKE_VELDUX_BODY     what a successful GetFile writes to its destination
//                        (default: a small statistics text)
// Built once with every export and once without CloseVdxDlg.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void Log(const std::string& line) {
    const QByteArray name = qgetenv("FAKE_VELDUX_LOG");
    if (name.isEmpty())
        return;
    QFile log(QString::fromLocal8Bit(name));
    if (log.open(QIODevice::Append))
        log.write(QByteArray::fromStdString(line + "\n"));
}

int32_t Transfer() {
    const int busyMs = qEnvironmentVariableIntValue("FAKE_VELDUX_BUSY_MS");
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < busyMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const QByteArray result = qgetenv("FAKE_VELDUX_RESULT");
    return result.isEmpty() ? 103 : int32_t(std::atoi(result.constData()));
}

} // namespace

FAKE_EXPORT bool OpenVdxDlg(void) {
    Log("OpenVdxDlg");
    return qgetenv("FAKE_VELDUX_OPEN") != "0";
}

#ifndef FAKE_WITHOUT_CLOSE
FAKE_EXPORT bool CloseVdxDlg(void) {
    Log("CloseVdxDlg");
    return true;
}
#endif

FAKE_EXPORT int32_t GetFile(const char* baseUrl, const char* fileName, const char* destPath) {
    Log(std::string("GetFile ") + baseUrl + " " + fileName + " " + destPath);
    const int32_t result = Transfer();
    if (result == 103) {
        // Like the real library, success means the destination was written.
        const QByteArray body = qEnvironmentVariableIsSet("FAKE_VELDUX_BODY")
                                    ? qgetenv("FAKE_VELDUX_BODY")
                                    : QByteArray("[Women.Answers]\r\nABC0010001=50\r\n");
        QFile dest(QFile::decodeName(destPath));
        if (dest.open(QIODevice::WriteOnly | QIODevice::Truncate))
            dest.write(body);
    }
    return result;
}

FAKE_EXPORT int32_t PostFile(const char* url, const char* fileName) {
    Log(std::string("PostFile ") + url + " " + fileName);
    const QByteArray keep = qgetenv("FAKE_VELDUX_KEEP");
    if (!keep.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(keep));
        QFile::copy(QFile::decodeName(fileName), QString::fromLocal8Bit(keep));
    }
    return Transfer();
}

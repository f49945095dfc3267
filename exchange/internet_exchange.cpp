#include "exchange/internet_exchange.h"

#include "exchange/statistics_download.h"
#include "exchange/upload_copy.h"
#include "platform/dynlib.h"
#include "platform/numbers.h"
#include "platform/paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#ifndef ZENX_EXCHANGE_HOST
#define ZENX_EXCHANGE_HOST "localhost:8080"
#endif

namespace {

constexpr const char* kLibraryName = "VELDUX.DLL";

// The library's exports, bound by name.
using OpenVdxDlgFn = bool (*)();
using CloseVdxDlgFn = bool (*)();
using GetFileFn = int32_t (*)(const char* baseUrl, const char* fileName, const char* destPath);
using PostFileFn = int32_t (*)(const char* url, const char* fileName);

void ShowInformation(QWidget* parent, const QString& text) {
    // The page's window owns the box, so that it opens in front of it.
    QMessageBox::information(parent ? parent->window() : nullptr, QStringLiteral("Informatie"),
                             text);
}

bool IsAsciiAlnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Clears the running flag however a click ends.
struct RunningScope {
    bool& flag;
    explicit RunningScope(bool& f) : flag(f) { flag = true; }
    ~RunningScope() { flag = false; }
};

} // namespace

bool IsValidExchangeHost(std::string_view host) {
    const size_t colon = host.find(':');
    const std::string_view name = host.substr(0, colon);
    if (name.empty())
        return false;
    for (const char c : name)
        if (!IsAsciiAlnum(c) && c != '.' && c != '-')
            return false;
    if (colon == std::string_view::npos)
        return true;
    const std::string_view port = host.substr(colon + 1);
    // Five digits at most, leading zeros included; the parser refuses an
    // empty port and one above 65535.
    if (port.size() > 5)
        return false;
    const std::optional<uint64_t> value = plat::ParseUnsignedDecimal(port, 65535);
    return value && *value >= 1;
}

std::string ExchangeServerHost() {
    // Lets tests and a locally started server use another port without a
    // rebuild; a value the build would have refused is ignored.
    const QByteArray fromEnv = qgetenv("ZENX_EXCHANGE_HOST");
    if (IsValidExchangeHost(std::string_view(fromEnv.constData(), size_t(fromEnv.size()))))
        return fromEnv.toStdString();
    return ZENX_EXCHANGE_HOST;
}

std::string UploadUrl(const std::string& host) {
    return host + "/zenx/zenxws.dll?action=zenxdata";
}

std::string DownloadBaseUrl(const std::string& host) {
    return host + "/zenx";
}

TInternetExchange::TInternetExchange(QWidget* parent, TMessageShower shower)
    : QObject(parent), parentWidget_(parent), shower_(std::move(shower)),
      host_(ExchangeServerHost()) {
    setObjectName(QStringLiteral("InternetExchange"));
    if (!shower_)
        shower_ = ShowInformation;
}

TExchangeResult TInternetExchange::InternetUpLoadBtnClick() {
    return Run(TTransferKind::Upload);
}

TExchangeResult TInternetExchange::InternetDownloadBtnClick() {
    return Run(TTransferKind::Download);
}

TExchangeResult TInternetExchange::Run(TTransferKind kind) {
    TExchangeResult result;
    // The library has one dialog and one transfer at a time; a second click
    // while this one runs would otherwise close that dialog and cancel it.
    if (running_)
        return result;
    RunningScope running(running_);

    QDir::setCurrent(plat::ProgramDir());
    result.step = TExchangeStep::NoLibrary;
    if (!QFileInfo::exists(plat::LibraryFileFor(kLibraryName)))
        return result;
    plat::DynLib library;
    result.step = TExchangeStep::LoadFailed;
    if (!library.Load(kLibraryName))
        return result;

    const bool upload = kind == TTransferKind::Upload;
    void* transfer = library.Symbol(upload ? "PostFile" : "GetFile");
    auto open = reinterpret_cast<OpenVdxDlgFn>(library.Symbol("OpenVdxDlg"));
    auto close = reinterpret_cast<CloseVdxDlgFn>(library.Symbol("CloseVdxDlg"));
    result.step = TExchangeStep::ExportMissing;
    if (!transfer || !open || !close)
        return result; // the library unloads with `library`
    result.step = TExchangeStep::DialogNotShown;
    if (!open())
        return result;

    result.step = TExchangeStep::Finished;
    if (upload) {
        // The copy lives until the transfer has ended and is removed after.
        TUploadCopy copy;
        if (copy.Make(plat::ResolvePath("User\\users.dat"))) {
            const std::string url = UploadUrl(host_);
            const QByteArray fileName = QFile::encodeName(copy.FileName());
            result.code = reinterpret_cast<PostFileFn>(transfer)(url.c_str(), fileName.constData());
        } else {
            // What the library answers for a file it cannot send.
            result.code = tcInvalidRequest;
        }
    } else {
        // The statistics go to a file beside iusers.dat first; the old file
        // is replaced only when the new one is whole and reads as statistics.
        TStatisticsDownload download(plat::ResolvePath("User\\iusers.dat"));
        if (download.Prepare()) {
            const std::string baseUrl = DownloadBaseUrl(host_);
            const QByteArray destPath = QFile::encodeName(download.DownloadPath());
            result.code = download.Finish(reinterpret_cast<GetFileFn>(transfer)(
                baseUrl.c_str(), "iusers.dat", destPath.constData()));
        } else {
            // What the library answers for a target it cannot make.
            result.code = tcInvalidRequest;
        }
    }

    close();
    result.message = TransferMessage(kind, result.code);
    if (!result.message.isEmpty())
        shower_(parentWidget_, result.message);
    return result;
}

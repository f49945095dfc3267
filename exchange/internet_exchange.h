#pragma once

#include "exchange/exchange_messages.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QWidget;

// Shows one information message with an OK button. The default is the
// standard message box; tests put in one that records the text.
using TMessageShower = std::function<void(QWidget* parent, const QString& text)>;

// How far a click got.
enum class TExchangeStep {
    Ignored,        // another transfer of this page was still running
    NoLibrary,      // no library file in the program directory
    LoadFailed,     // the file could not be loaded
    ExportMissing,  // one of the three exports is missing; unloaded again
    DialogNotShown, // OpenVdxDlg returned false; unloaded again
    Finished,       // the transfer ran (or could not be prepared) and ended with `code`
};

struct TExchangeResult {
    TExchangeStep step = TExchangeStep::Ignored;
    int32_t code = 0;
    QString message; // shown to the user; empty when none was shown
};

// True for "host" or "host:port" as the build accepts it: letters, digits,
// dots and hyphens, then optionally a port 1..65535.
bool IsValidExchangeHost(std::string_view host);
// The exchange server: the environment variable ZENX_EXCHANGE_HOST when it
// holds a valid host, otherwise the one fixed when the program was built.
std::string ExchangeServerHost();
// Where the upload goes and under which the download is found: the host,
// then the path, no scheme.
std::string UploadUrl(const std::string& host);
std::string DownloadBaseUrl(const std::string& host);

// The upload and download of the Internet page. Each click loads the
// transfer library "VELDUX.DLL" from the program directory, binds its
// exports, runs one transfer with the library's progress dialog, reports the
// result code in Dutch and unloads the library. A click returns when the
// transfer has ended; events keep running meanwhile, so a second click can
// arrive and is ignored.
class TInternetExchange : public QObject {
    Q_OBJECT
public:
    // parent: the widget that owns this object and parents the messages.
    explicit TInternetExchange(QWidget* parent, TMessageShower shower = {});

    void SetServerHost(std::string host) { host_ = std::move(host); }
    const std::string& ServerHost() const { return host_; }
    bool Running() const { return running_; }

    // Sends User\users.dat, without its passwords, to the exchange server.
    TExchangeResult InternetUpLoadBtnClick();
    // Fetches iusers.dat from the exchange server into User\iusers.dat,
    // which a failed or unusable download leaves as it was.
    TExchangeResult InternetDownloadBtnClick();

private:
    TExchangeResult Run(TTransferKind kind);

    QWidget* parentWidget_;
    TMessageShower shower_;
    std::string host_;
    bool running_ = false;
};

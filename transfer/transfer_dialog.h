#pragma once

#include "transfer/http_client.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

class QFileDevice;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vdx {

// Result codes handed to the caller of the exported functions.
enum TransferResult : int32_t {
    kNoConnection = 101,
    kRequestFailed = 102,
    kTransferSucceeded = 103,
    kInvalidRequest = 106,
    kTransferCanceled = 107,
};

// The library's progress dialog "Veldux": status lines, a progress bar and
// Cancel, and the HTTP client whose events feed them. Its transfer functions
// block while letting events run, so Cancel works during the call.
class TMainForm : public QWidget {
public:
    TMainForm();
    ~TMainForm() override;

    // GET of baseUrl + "/" + fileName; a whole, non-empty body of a 200 (or
    // header-less) reply replaces destPath, anything else leaves it.
    int32_t GetFile(const std::string& baseUrl, const std::string& fileName,
                    const QString& destPath);
    // POST of the file's bytes to url; the reply header goes to a private
    // temporary file that is removed afterwards.
    int32_t PostFile(const std::string& url, const QString& fileName);

    void CancelBtnClick();
    // A transfer function is running (it may already have been ended by a
    // handler and be unwinding).
    bool Running() const { return running_; }

    THttpClient HttpClient;
    bool Busy = false;      // a transfer runs and no handler has ended it
    bool Succeeded = false; // the HTTP client reported success
    int32_t LastResult = 0; // the result recorded by the handler that ended it

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void WireEvents();
    void BeginTransfer(bool outputFileMode);
    void AddStatus(const QString& text);
    void ShowProgress(int64_t done);
    void EndTransfer(int32_t result);

    QLabel* StatusLbl = nullptr;
    QPlainTextEdit* StatusLst = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* CancelBtn = nullptr;
    bool running_ = false;
    QFileDevice* bodyTarget_ = nullptr; // the file a download streams into
    int64_t writebackStart_ = 0;
};

} // namespace vdx

#include "transfer/transfer_dialog.h"

#include "transfer/local_files.h"
#include "transfer/reply_limits.h"
#include "transfer/transfer_errors.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryFile>
#include <cmath>
#include <memory>

namespace vdx {

namespace {

constexpr const char* kCmdTitles[] = {"Get",    "Options", "Head",   "Post",   "Put",
                                      "Patch",  "Copy",    "Move",   "Delete", "Link",
                                      "UnLink", "Trace",   "Wrapped"};

QString CmdTitle(CmdType cmd) {
    return QString::fromLatin1(kCmdTitles[int(cmd)]);
}

int Percent(int64_t done, int64_t total) {
    if (total <= 0)
        return 0;
    const double percent = std::round(double(done) / double(total) * 100.0);
    return percent < 0 ? 0 : percent > 100 ? 100 : int(percent);
}

// The time-out of every transfer; tests shorten it through the environment.
int TransferTimeOut() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZENX_TRANSFER_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : kTransferTimeOutMs;
}

// A download is only worth keeping when the reply carried the file: a
// status of 0 (a reply without a header) or 200/203, and some bytes. A 204,
// a partial reply or an empty body would replace the old file with nothing.
bool CarriesFile(const THttpClient& http) {
    const int status = http.Status();
    return (status == 0 || status == 200 || status == 203) && http.BodyLength() > 0;
}

// Clears the running flag however a transfer function ends.
struct RunningScope {
    bool& flag;
    explicit RunningScope(bool& f) : flag(f) { flag = true; }
    ~RunningScope() { flag = false; }
};

} // namespace

TMainForm::TMainForm()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Veldux"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(350, 150);

    StatusLbl = new QLabel(QStringLiteral("Status"), this);
    StatusLbl->setObjectName(QStringLiteral("StatusLbl"));
    StatusLbl->move(10, 6);

    StatusLst = new QPlainTextEdit(this);
    StatusLst->setObjectName(QStringLiteral("StatusLst"));
    StatusLst->setGeometry(10, 22, 330, 64);
    StatusLst->setReadOnly(true);
    StatusLst->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(10, 92, 330, 8);
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(265, 115, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    HttpClient.Port = 0;
    HttpClient.ReportLevel = 0;
    WireEvents();
    Busy = false;
    Succeeded = false;
    LastResult = 0;
    ProgressBar->setValue(0);
}

TMainForm::~TMainForm() = default;

void TMainForm::WireEvents() {
    THttpClient& http = HttpClient;
    http.OnConnect = [this] { AddStatus(QStringLiteral("Connected")); };
    http.OnDisconnect = [this] { AddStatus(QStringLiteral("Disconnected")); };
    http.OnHostResolved = [this] { AddStatus(QStringLiteral("Host Resolved")); };
    http.OnConnectionFailed = [this] {
        // A cancel that stopped the connect keeps its own result.
        if (Busy)
            EndTransfer(kNoConnection);
        AddStatus(QStringLiteral("No Connection"));
    };
    http.OnInvalidHost = [this](bool& handled) {
        if (Busy)
            EndTransfer(kInvalidRequest);
        AddStatus(QStringLiteral("Bad Request"));
        HttpClient.Abort();
        handled = true;
    };
    http.OnSuccess = [this](CmdType cmd) {
        if (cmd == CmdType::Get || cmd == CmdType::Post)
            Succeeded = true;
        AddStatus(CmdTitle(cmd) + QStringLiteral(" Succeeded"));
    };
    http.OnFailure = [this](CmdType cmd) {
        if (cmd == CmdType::Get || cmd == CmdType::Post)
            Succeeded = false;
        AddStatus(CmdTitle(cmd) + QStringLiteral(" Failed"));
        EndTransfer(kRequestFailed);
        AddStatus(QStringLiteral("No Succes"));
    };
    http.OnPacketRecvd = [this] {
        ShowProgress(HttpClient.BytesRecvd());
        if (bodyTarget_)
            StartWriteback(*bodyTarget_, writebackStart_);
    };
    http.OnPacketSent = [this] { ShowProgress(HttpClient.BytesSent()); };
}

void TMainForm::EndTransfer(int32_t result) {
    Busy = false;
    LastResult = result;
}

void TMainForm::AddStatus(const QString& text) {
    StatusLst->appendPlainText(text);
}

void TMainForm::ShowProgress(int64_t done) {
    ProgressBar->setValue(Percent(done, HttpClient.ContentLength()));
}

void TMainForm::CancelBtnClick() {
    EndTransfer(kTransferCanceled);
    AddStatus(QStringLiteral("Request Cancel"));
    HttpClient.Abort();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    CancelBtnClick();
    event->accept();
}

void TMainForm::BeginTransfer(bool outputFileMode) {
    Busy = true;
    StatusLst->clear();
    ProgressBar->setValue(0);
    HttpClient.InputFileMode = false;
    HttpClient.OutputFileMode = outputFileMode;
    HttpClient.ReportLevel = 2;
    // Each URL names its own port; none carries over from an earlier call.
    HttpClient.Port = 0;
    HttpClient.TimeOut = TransferTimeOut();
    Succeeded = false;
}

int32_t TMainForm::GetFile(const std::string& baseUrl, const std::string& fileName,
                           const QString& destPath) {
    if (running_)
        return kInvalidRequest;
    RunningScope running(running_);
    int32_t result = kInvalidRequest;
    BeginTransfer(false);
    HttpClient.Header.clear();
    HttpClient.Body.clear();
    // When the target's directory is there already, the body is written
    // straight into a temporary file beside the target as it arrives, and
    // that file replaces the target only after a complete, successful reply.
    // Otherwise the body waits in memory until the directory has been made.
    const QString targetDir = DirectoryOf(destPath);
    std::unique_ptr<QSaveFile> target;
    if (QFileInfo(targetDir).isDir()) {
        target = std::make_unique<QSaveFile>(destPath);
        if (!target->open(QIODevice::WriteOnly))
            target.reset();
    }
    HttpClient.BodyDevice = target.get();
    bodyTarget_ = target.get();
    writebackStart_ = 0;
    bool committed = false;
    try {
        HttpClient.Get(baseUrl + "/" + fileName);
        if (!Busy) {
            result = LastResult;
        } else if (!Succeeded) {
            result = kRequestFailed;
        } else if (!CarriesFile(HttpClient)) {
            AddStatus(QStringLiteral("No Content"));
            result = kRequestFailed;
        } else if (target) {
            result = (committed = target->commit()) ? kTransferSucceeded : kRequestFailed;
        } else if (ForceDirectoryPath(targetDir)) {
            result = ReplaceFileContents(destPath, HttpClient.Body) ? kTransferSucceeded
                                                                    : kRequestFailed;
        }
    } catch (const EFileError&) {
        // The received data could not be written.
        result = Busy ? kRequestFailed : LastResult;
    } catch (...) {
        result = Busy ? kInvalidRequest : LastResult;
    }
    HttpClient.BodyDevice = nullptr;
    bodyTarget_ = nullptr;
    if (target && !committed)
        target->cancelWriting();
    Busy = false;
    // A large download is not kept in memory once it is on disk.
    std::string().swap(HttpClient.Body);
    return result;
}

int32_t TMainForm::PostFile(const std::string& url, const QString& fileName) {
    if (running_)
        return kInvalidRequest;
    RunningScope running(running_);
    BeginTransfer(true);
    int32_t result = kInvalidRequest;
    try {
        // The reply header only needs a place to go; a private file that is
        // removed when this call ends.
        QTemporaryFile headerFile(QDir::tempPath() + QStringLiteral("/veldux-head-XXXXXX.txt"));
        if (!headerFile.open()) {
            Busy = false;
            return kInvalidRequest;
        }
        HttpClient.Header = QFile::encodeName(headerFile.fileName()).toStdString();
        HttpClient.Post(url, QFile::encodeName(fileName).toStdString());
        result = Busy ? (Succeeded ? kTransferSucceeded : kRequestFailed) : LastResult;
    } catch (...) {
        result = Busy ? kInvalidRequest : LastResult;
    }
    Busy = false;
    HttpClient.Header.clear();
    return result;
}

} // namespace vdx

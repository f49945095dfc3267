#include "platform/single_instance.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace plat {

QString InstanceServerName(const QString& className) {
    QString name = className + QStringLiteral("-%1").arg(getuid());
    const QString suffix = qEnvironmentVariable("ZENX_INSTANCE_SUFFIX");
    if (!suffix.isEmpty())
        name += '-' + suffix;
    return name;
}

QString InstanceLockPath(const QString& className) {
    // QLocalServer puts a relative name into the temporary directory.
    return QDir::tempPath() + '/' + InstanceServerName(className) + QStringLiteral(".lock");
}

bool PostToInstance(const QString& className, uint32_t message, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(InstanceServerName(className));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray data;
    QDataStream(&data, QIODevice::WriteOnly) << quint32(message);
    socket.write(data);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The receiver answers with one byte once it has taken the message, so
    // that a close request has been seen before the caller goes on.
    socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

InstanceListener::InstanceListener(QObject* parent) : QObject(parent) {}

InstanceListener::~InstanceListener() {
    Release();
}

void InstanceListener::Release() {
    // The socket goes before the lock, so that whoever takes the lock next
    // finds no socket of ours.
    delete server_;
    server_ = nullptr;
    if (lockFd_ >= 0)
        ::close(lockFd_); // releases the lock
    lockFd_ = -1;
}

InstanceClaim InstanceListener::Claim(const QString& className) {
    Release();
    // Close-on-exec: a browser or uninstaller started from here must not
    // inherit the lock and keep it after we are gone.
    const QByteArray lockPath = QFile::encodeName(InstanceLockPath(className));
    int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        int rc;
        do
            rc = ::flock(fd, LOCK_EX | LOCK_NB);
        while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            if (held)
                return InstanceClaim::HeldByOther;
            fd = -1; // no locking here: go on without
        }
    }
    lockFd_ = fd;

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceListener::OnNewConnection);
    const QString name = InstanceServerName(className);
    // Holding the lock, any socket file there is left over from an instance
    // that died; nobody answers on it. Without the lock it is not ours to
    // remove.
    if (lockFd_ >= 0)
        QLocalServer::removeServer(name);
    if (server_->listen(name))
        return InstanceClaim::Claimed;
    Release();
    return InstanceClaim::Failed;
}

void InstanceListener::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < 4)
                return;
            quint32 message = 0;
            QDataStream(socket) >> message;
            socket->write("k");
            socket->flush();
            socket->disconnectFromServer();
            emit MessageReceived(message);
        });
    }
}

} // namespace plat

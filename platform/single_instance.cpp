#include "platform/single_instance.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <unistd.h>

namespace plat {

QString InstanceServerName(const QString& className) {
    QString name = className + QStringLiteral("-%1").arg(getuid());
    const QString suffix = qEnvironmentVariable("ZENX_INSTANCE_SUFFIX");
    if (!suffix.isEmpty())
        name += '-' + suffix;
    return name;
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

InstanceListener::~InstanceListener() = default;

bool InstanceListener::Listen(const QString& className) {
    delete server_;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceListener::OnNewConnection);
    const QString name = InstanceServerName(className);
    if (server_->listen(name))
        return true;
    // A crashed instance leaves its socket file behind; nobody answers on it.
    QLocalServer::removeServer(name);
    return server_->listen(name);
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

#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class QLocalServer;

// Finding a running instance by its window class name and posting it a
// message. The running instance listens on a local socket named after the
// class name and the user; ZENX_INSTANCE_SUFFIX, when set, is appended so that
// tests running side by side do not see each other.
//
// Who is the running instance is decided by an exclusive lock on a file
// beside the socket, held for the whole life of the listener: the socket
// file alone cannot tell a live instance that is still starting from one
// that crashed, so only the holder of the lock may replace it.
namespace plat {

constexpr uint32_t msgActivateInstance = 0x1400; // first user message + 0x1000
constexpr uint32_t msgCloseWindow = 0x0010;

QString InstanceServerName(const QString& className);
// The lock file beside the socket (in the same temporary directory).
QString InstanceLockPath(const QString& className);

enum class InstanceClaim {
    Claimed,     // this process is the instance and listens
    HeldByOther, // another live process holds the lock
    Failed,      // no socket could be opened (without a lock: one may be in use)
};

// True when an instance was found and the message was delivered.
bool PostToInstance(const QString& className, uint32_t message, int timeoutMs = 1000);

class InstanceListener : public QObject {
    Q_OBJECT
public:
    explicit InstanceListener(QObject* parent = nullptr);
    ~InstanceListener() override;
    // Takes the instance lock and starts listening; a socket file left by a
    // crashed instance is replaced. Nothing is touched while another process
    // holds the lock.
    InstanceClaim Claim(const QString& className);
    bool Listen(const QString& className) { return Claim(className) == InstanceClaim::Claimed; }

signals:
    void MessageReceived(uint32_t message);

private:
    void OnNewConnection();
    void Release();
    QLocalServer* server_ = nullptr;
    int lockFd_ = -1;
};

} // namespace plat

#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class QLocalServer;

// Finding a running instance by its window class name and posting it a
// message. The running instance listens on a local socket named after the
// class name and the user; ZENX_INSTANCE_SUFFIX, when set, is appended so that
// tests running side by side do not see each other.
namespace plat {

constexpr uint32_t msgActivateInstance = 0x1400; // first user message + 0x1000
constexpr uint32_t msgCloseWindow = 0x0010;

QString InstanceServerName(const QString& className);

// True when an instance was found and the message was delivered.
bool PostToInstance(const QString& className, uint32_t message, int timeoutMs = 1000);

class InstanceListener : public QObject {
    Q_OBJECT
public:
    explicit InstanceListener(QObject* parent = nullptr);
    ~InstanceListener() override;
    // Starts listening; a stale socket of a crashed instance is replaced.
    bool Listen(const QString& className);

signals:
    void MessageReceived(uint32_t message);

private:
    void OnNewConnection();
    QLocalServer* server_ = nullptr;
};

} // namespace plat

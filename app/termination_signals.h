#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (log-out of the session, `kill`, Ctrl+C) turned
// into a Qt signal on the window thread. The handler itself only writes one
// byte into a socket pair, which is all that is safe inside a signal
// handler; a QSocketNotifier on the other end emits Received. One object at
// a time; the previous handlers come back when it goes.
class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

    // False when the socket pair or a handler could not be set up; the
    // signals then keep their previous effect.
    bool Installed() const { return installed_; }

signals:
    void Received(int signalNumber);

private:
    void Drain();

    int fds_[2] = {-1, -1}; // [0] read by the notifier, [1] written by the handler
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

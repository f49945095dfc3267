#pragma once

#include <functional>
#include <memory>

class QTimer;

namespace vdx {

// The socket layer's time-out timer. It fires on the thread's event loop,
// which every network wait runs, so a time-out ends a wait like a cancel.
// Any change of a property re-arms it.
class TThreadTimer {
public:
    TThreadTimer();
    ~TThreadTimer();
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    void SetOnTimer(std::function<void()> handler);

private:
    void Rearm();
    void Fire();

    bool enabled_ = true;
    int interval_ = 1000;
    std::function<void()> onTimer_;
    std::unique_ptr<QTimer> timer_;
};

} // namespace vdx

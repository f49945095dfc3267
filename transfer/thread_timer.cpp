#include "transfer/thread_timer.h"

#include <QTimer>

namespace vdx {

TThreadTimer::TThreadTimer() : timer_(std::make_unique<QTimer>()) {
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { Fire(); });
}

TThreadTimer::~TThreadTimer() = default;

void TThreadTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Rearm();
}

void TThreadTimer::SetInterval(int ms) {
    interval_ = ms;
    Rearm();
}

void TThreadTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    Rearm();
}

void TThreadTimer::Rearm() {
    timer_->stop();
    if (interval_ > 0 && enabled_ && onTimer_)
        timer_->start(interval_);
}

void TThreadTimer::Fire() {
    if (!onTimer_)
        return;
    // A handler's failure must not unwind through the event loop.
    try {
        onTimer_();
    } catch (...) {
    }
}

} // namespace vdx

#include "app/window_requests.h"

#include "platform/single_instance.h"

void TWindowRequests::Receive(uint32_t message) {
    if (message == plat::msgActivateInstance)
        activatePending_ = true;
    else if (message == plat::msgCloseWindow)
        closePending_ = true;
    else
        return;
    if (ready_)
        Carry();
}

void TWindowRequests::SetReady(Target target) {
    target_ = std::move(target);
    ready_ = true;
    Carry();
}

void TWindowRequests::Carry() {
    // Flags are cleared before acting: closing lets window messages run, and
    // a request arriving meanwhile must not run the same step twice.
    if (closePending_) {
        closePending_ = false;
        activatePending_ = false;
        if (target_.close)
            target_.close();
        return;
    }
    if (activatePending_) {
        activatePending_ = false;
        if (target_.activate)
            target_.activate();
    }
}

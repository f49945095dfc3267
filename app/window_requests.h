#pragma once

#include <cstdint>
#include <functional>

// Requests to the main window that can come before it exists: another
// start's "activate" or "close" (the instance is claimed before anything is
// loaded) and the system's termination signals. They wait until the window
// is shown and are then carried out; a close outranks an activation.
class TWindowRequests {
public:
    struct Target {
        std::function<void()> activate; // restore and bring to the front
        std::function<void()> close;    // the orderly shutdown of the window
    };

    // A message of plat:: (msgActivateInstance or msgCloseWindow); others are
    // ignored.
    void Receive(uint32_t message);
    // The window is shown: whatever waited is carried out now, later
    // requests at once.
    void SetReady(Target target);

    bool Ready() const { return ready_; }
    bool ActivatePending() const { return activatePending_; }
    bool ClosePending() const { return closePending_; }

private:
    void Carry();

    Target target_;
    bool ready_ = false;
    bool activatePending_ = false;
    bool closePending_ = false;
};

#pragma once

#include <cstdint>
#include <string>

namespace vdx {

struct LookupRequest;

// One asynchronous IPv4 look-up of a host name through the C library's
// getaddrinfo_a, polled by its owner so that the program stays on one thread
// of its own. A look-up given up while the C library still works on it is
// kept aside and freed once finished, because the C library writes into it.
class THostLookup {
public:
    enum class State { Idle, Running, Resolved, Failed };

    THostLookup() = default;
    ~THostLookup();
    THostLookup(const THostLookup&) = delete;
    THostLookup& operator=(const THostLookup&) = delete;

    // Starts a look-up; a request already running is abandoned first.
    // Returns false (State Failed) when the C library refuses to start it.
    bool Start(const std::string& name);
    // Advances and returns the state without waiting.
    State Poll();
    // The first address found, in network order, once Resolved.
    uint32_t Address() const { return address_; }
    // The failure in the classic numbering, once Failed.
    int Error() const { return error_; }
    // Gives up a running look-up.
    void Abandon();

    // Frees abandoned requests the C library has finished with; returns how
    // many are still running.
    static int SweepAbandoned();

private:
    LookupRequest* request_ = nullptr;
    State state_ = State::Idle;
    uint32_t address_ = 0;
    int error_ = 0;
};

// A dotted numeric IPv4 address in network order, or false for anything else.
bool ParseDottedAddress(const std::string& text, uint32_t& address);

} // namespace vdx

#include "transfer/host_lookup.h"

#include "transfer/sock_errors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <vector>

namespace vdx {

struct LookupRequest {
    std::string name;
    addrinfo hints{};
    gaicb block{};
};

namespace {

void FreeFinished(LookupRequest* req) {
    if (gai_error(&req->block) == 0 && req->block.ar_result)
        freeaddrinfo(req->block.ar_result);
    delete req;
}

int Sweep(std::vector<LookupRequest*>& items) {
    int running = 0;
    for (auto it = items.begin(); it != items.end();) {
        if (gai_error(&(*it)->block) == EAI_INPROGRESS) {
            ++running;
            ++it;
        } else {
            FreeFinished(*it);
            it = items.erase(it);
        }
    }
    return running;
}

// Requests given up while running. The program is single-threaded, so the
// list needs no lock; the C library's worker never touches it.
struct AbandonedList {
    std::vector<LookupRequest*> items;
    ~AbandonedList() {
        // At unload only finished requests may go; running ones are left to
        // the C library, which still writes into them.
        Sweep(items);
    }
};

AbandonedList& Abandoned() {
    static AbandonedList list;
    return list;
}

} // namespace

int THostLookup::SweepAbandoned() {
    return Sweep(Abandoned().items);
}

THostLookup::~THostLookup() {
    Abandon();
}

bool THostLookup::Start(const std::string& name) {
    Abandon();
    SweepAbandoned();
    address_ = 0;
    error_ = 0;
    auto* req = new LookupRequest;
    req->name = name;
    req->hints.ai_family = AF_INET;
    req->hints.ai_socktype = SOCK_STREAM;
    req->block.ar_name = req->name.c_str();
    req->block.ar_request = &req->hints;
    gaicb* list[1] = {&req->block};
    errno = 0;
    const int rc = getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr);
    if (rc != 0) {
        error_ = SockErrorFromGai(rc, errno);
        delete req;
        state_ = State::Failed;
        return false;
    }
    request_ = req;
    state_ = State::Running;
    return true;
}

THostLookup::State THostLookup::Poll() {
    if (state_ != State::Running)
        return state_;
    errno = 0;
    const int rc = gai_error(&request_->block);
    if (rc == EAI_INPROGRESS)
        return state_;
    const addrinfo* result = rc == 0 ? request_->block.ar_result : nullptr;
    if (result && result->ai_family == AF_INET && result->ai_addr) {
        address_ = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr.s_addr;
        state_ = State::Resolved;
    } else {
        error_ = rc == 0 ? WSANO_DATA : SockErrorFromGai(rc, errno);
        state_ = State::Failed;
    }
    FreeFinished(request_);
    request_ = nullptr;
    return state_;
}

void THostLookup::Abandon() {
    if (!request_)
        return;
    const int rc = gai_cancel(&request_->block);
    if (rc == EAI_CANCELED || rc == EAI_ALLDONE)
        FreeFinished(request_);
    else
        Abandoned().items.push_back(request_);
    request_ = nullptr;
    if (state_ == State::Running)
        state_ = State::Idle;
}

bool ParseDottedAddress(const std::string& text, uint32_t& address) {
    in_addr addr{};
    if (inet_pton(AF_INET, text.c_str(), &addr) != 1)
        return false;
    address = addr.s_addr;
    return true;
}

} // namespace vdx

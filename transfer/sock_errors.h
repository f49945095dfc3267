#pragma once

#include <string>

// Error numbers of the socket layer, in the classic socket library's
// numbering, so that status texts and callers see the codes they know.
namespace vdx {

enum SockErrorCode : int {
    WSAEINTR = 10004,
    WSAEBADF = 10009,
    WSAEACCES = 10013,
    WSAEFAULT = 10014,
    WSAEINVAL = 10022,
    WSAEMFILE = 10024,
    WSAEWOULDBLOCK = 10035,
    WSAEINPROGRESS = 10036,
    WSAEALREADY = 10037,
    WSAENOTSOCK = 10038,
    WSAEMSGSIZE = 10040,
    WSAEADDRINUSE = 10048,
    WSAENETDOWN = 10050,
    WSAENETUNREACH = 10051,
    WSAECONNABORTED = 10053,
    WSAECONNRESET = 10054,
    WSAENOBUFS = 10055,
    WSAEISCONN = 10056,
    WSAENOTCONN = 10057,
    WSAESHUTDOWN = 10058,
    WSAETIMEDOUT = 10060,
    WSAECONNREFUSED = 10061,
    WSAEHOSTUNREACH = 10065,
    WSAHOST_NOT_FOUND = 11001,
    WSATRY_AGAIN = 11002,
    WSANO_RECOVERY = 11003,
    WSANO_DATA = 11004,
};

// errno values without a classic counterpart are reported as this base plus
// the errno, a range the table does not use, so they never pass for one of
// its codes (10035 "would block" in particular).
constexpr int kUnmappedErrnoBase = 20000;

// "<code>:<text>" for a code of the table, "Unknown Error No. <code>"
// otherwise, and an empty text for 0.
std::string SockErrorText(int code);

// Translates a C library errno value into the classic numbering (0 stays 0).
int SockErrorFromErrno(int err);

// Translates a getaddrinfo result (EAI_...) into the classic numbering.
int SockErrorFromGai(int gaiError, int savedErrno);

} // namespace vdx

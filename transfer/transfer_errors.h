#pragma once

#include <stdexcept>
#include <string>

// Failures inside the transfer library are exceptions; the exported functions
// catch them all and turn them into result codes.
namespace vdx {

// A socket or host look-up failure.
class ESockError : public std::runtime_error {
public:
    explicit ESockError(const std::string& text) : std::runtime_error(text) {}
};

// An operation stopped by a cancel or a time-out.
class EAbortError : public std::runtime_error {
public:
    explicit EAbortError(const std::string& text) : std::runtime_error(text) {}
};

// A request that cannot be made: an empty or malformed URL, an unsupported
// scheme.
class EHttpError : public std::runtime_error {
public:
    explicit EHttpError(const std::string& text) : std::runtime_error(text) {}
};

// A local file that cannot be opened, read or written.
class EFileError : public std::runtime_error {
public:
    explicit EFileError(const std::string& text) : std::runtime_error(text) {}
};

// A reply that breaks HTTP (a header cut short, a malformed chunk) or one of
// the bounds of reply_limits.h.
class EReplyError : public std::runtime_error {
public:
    explicit EReplyError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace vdx

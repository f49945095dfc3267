#pragma once

#include <cstddef>
#include <cstdint>

// Bounds on what a server may make the client hold or wait for. A reply
// that breaks one of them ends the request as a failure, and the file a
// download would have replaced stays as it was.
namespace vdx {

// One line of a reply header (status line and fields alike), terminator
// included. Longer lines are refused after this many bytes, so an endless
// line costs no more memory than this.
constexpr size_t kMaxHeaderLine = 8 * 1024;

// The whole reply header, status line and blank line included. Also bounds
// the trailer fields after the last chunk of a chunked body.
constexpr size_t kMaxHeaderSize = 64 * 1024;

// The body of a reply after any chunk framing is removed. A declared length
// beyond it is refused before a byte of the body is read.
constexpr int64_t kMaxBodySize = int64_t(64) << 20;

// What is kept of the body of a redirect or error reply. Nothing reads it,
// so the client stops receiving there.
constexpr size_t kMaxUnusedBody = 64 * 1024;

// The transfer dialog's time-out in milliseconds: a request ends as a
// failure when the lookup, the connect, or any send or receive makes no
// progress for this long. The environment variable
// ZENX_TRANSFER_TIMEOUT_MS (a positive number of milliseconds) replaces it,
// so that tests need not wait a minute.
constexpr int kTransferTimeOutMs = 60 * 1000;

} // namespace vdx

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vdx {

// Removes the framing of a body sent with "Transfer-Encoding: chunked": a
// hexadecimal size line (extensions after ';' ignored), that many bytes,
// CR LF, and so on until a size of 0, then trailer fields up to a blank
// line. Fed the raw bytes as they arrive; knows nothing of sockets. Raises
// EReplyError for anything malformed, and for size and trailer lines beyond
// the header bounds of reply_limits.h.
class TChunkDecoder {
public:
    using Sink = std::function<void(const char* data, size_t size)>;

    // Passes the body bytes in data to sink and returns how many of the n
    // bytes belonged to the chunked body; fewer than n only once Finished.
    size_t Feed(const char* data, size_t n, const Sink& sink);
    // The last chunk and the trailer have been read.
    bool Finished() const { return state_ == State::Done; }

private:
    enum class State { SizeLine, Data, DataEnd, Trailer, Done };

    void EndSizeLine();
    void EndTrailerLine();

    State state_ = State::SizeLine;
    std::string line_;  // the size or trailer line being gathered, without LF
    uint64_t left_ = 0; // bytes of the current chunk still to come
    size_t trailerBytes_ = 0;
    bool sawCr_ = false;
};

} // namespace vdx

#include "transfer/chunk_decoder.h"

#include "transfer/reply_limits.h"
#include "transfer/transfer_errors.h"

#include <algorithm>
#include <charconv>

namespace vdx {

namespace {

// No chunk may exceed the body bound; larger sizes are refused.
constexpr uint64_t kMaxChunkSize = uint64_t(kMaxBodySize);

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

size_t TChunkDecoder::Feed(const char* data, size_t n, const Sink& sink) {
    size_t i = 0;
    while (i < n && state_ != State::Done) {
        switch (state_) {
        case State::Data: {
            const size_t take = size_t(std::min<uint64_t>(left_, n - i));
            sink(data + i, take);
            i += take;
            left_ -= take;
            if (left_ == 0)
                state_ = State::DataEnd;
            break;
        }
        case State::DataEnd: {
            // The CR LF (or a bare LF) that closes each chunk's data.
            const char c = data[i++];
            if (c == '\n') {
                state_ = State::SizeLine;
                sawCr_ = false;
            } else if (c == '\r' && !sawCr_) {
                sawCr_ = true;
            } else {
                throw EReplyError("Malformed chunk: data longer than its size");
            }
            break;
        }
        case State::SizeLine:
        case State::Trailer: {
            const char c = data[i++];
            if (c != '\n') {
                line_ += c;
                if (line_.size() >= kMaxHeaderLine)
                    throw EReplyError("Chunk line too long");
                break;
            }
            if (state_ == State::SizeLine)
                EndSizeLine();
            else
                EndTrailerLine();
            line_.clear();
            break;
        }
        case State::Done:
            break;
        }
    }
    return i;
}

void TChunkDecoder::EndSizeLine() {
    std::string_view text(line_);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    text = text.substr(0, text.find(';'));
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    if (text.empty())
        throw EReplyError("Malformed chunk size");
    // Hex digits only: from_chars takes no sign, prefix or blanks, and says
    // when the digits overflow.
    uint64_t size = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, size, 16);
    if (error == std::errc::result_out_of_range || (error == std::errc() && size > kMaxChunkSize))
        throw EReplyError("Chunk too large");
    if (error != std::errc() || stop != end)
        throw EReplyError("Malformed chunk size");
    left_ = size;
    state_ = size == 0 ? State::Trailer : State::Data;
}

void TChunkDecoder::EndTrailerLine() {
    trailerBytes_ += line_.size() + 1;
    if (trailerBytes_ > kMaxHeaderSize)
        throw EReplyError("Chunk trailer too large");
    if (line_.empty() || line_ == "\r")
        state_ = State::Done;
}

} // namespace vdx

// libFuzzer target for the chunked-body decoder. The input is fed in pieces
// whose sizes come from its first byte, the way packets arrive. Any input
// must be decoded or refused with EReplyError, never crash, and the decoded
// body can never be longer than what was fed.
#include "transfer/chunk_decoder.h"
#include "transfer/transfer_errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t step = size_t(data[0] % 17) + 1;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const size_t n = size - 1;
    vdx::TChunkDecoder decoder;
    size_t decoded = 0;
    size_t taken = 0;
    try {
        for (size_t at = 0; at < n && !decoder.Finished(); at += step) {
            const size_t piece = step < n - at ? step : n - at;
            taken += decoder.Feed(text + at, piece, [&](const char*, size_t k) { decoded += k; });
        }
    } catch (const vdx::EReplyError&) {
        return 0;
    }
    if (decoded > taken || taken > n)
        std::abort();
    return 0;
}

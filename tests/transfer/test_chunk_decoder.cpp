// Removing chunk framing, fed in pieces as a socket delivers them.
#include "transfer/chunk_decoder.h"
#include "transfer/transfer_errors.h"

#include <gtest/gtest.h>

using namespace vdx;

namespace {

// Feeds text in pieces of `step` bytes; returns the body and how many bytes
// were taken as the chunked body.
std::string Decode(const std::string& text, size_t step, size_t* used = nullptr,
                   bool* finished = nullptr) {
    TChunkDecoder decoder;
    std::string body;
    size_t taken = 0;
    for (size_t at = 0; at < text.size() && !decoder.Finished(); at += step) {
        const size_t n = std::min(step, text.size() - at);
        taken +=
            decoder.Feed(text.data() + at, n, [&](const char* p, size_t k) { body.append(p, k); });
    }
    if (used)
        *used = taken;
    if (finished)
        *finished = decoder.Finished();
    return body;
}

} // namespace

TEST(ChunkDecoder, DecodesInAnySplitAndStopsAfterTheTrailer) {
    const std::string text = "4;ext=\"a;b\"\r\nWiki\r\n"
                             "A \r\npedia in\r\n\r\n" // size with a blank; the data ends in CR LF
                             "1\nx\n"                 // bare line feeds
                             "0\r\nExpires: never\r\nX: y\r\n\r\n"
                             "after the end";
    const size_t framing = text.size() - std::string("after the end").size();
    for (const size_t step : {size_t(1), size_t(2), size_t(7), text.size()}) {
        size_t used = 0;
        bool finished = false;
        EXPECT_EQ(Decode(text, step, &used, &finished), "Wikipedia in\r\nx") << step;
        EXPECT_TRUE(finished) << step;
        EXPECT_EQ(used, framing) << "nothing after the last chunk is taken; step " << step;
    }
}

TEST(ChunkDecoder, UnfinishedBodiesAreNotFinished) {
    for (const std::string cut : {"", "5\r\nab", "5\r\nabcde\r\n", "0\r\n", "0\r\nX: 1\r\n"}) {
        bool finished = true;
        Decode(cut, 3, nullptr, &finished);
        EXPECT_FALSE(finished) << cut;
    }
}

TEST(ChunkDecoder, MalformedFramingIsRefused) {
    const std::string bad[] = {
        "\r\nabc\r\n0\r\n\r\n",           // no size at all
        "zz\r\nabc\r\n0\r\n\r\n",         // not hexadecimal
        "-3\r\nabc\r\n0\r\n\r\n",         // signed
        "0x3\r\nabc\r\n0\r\n\r\n",        // C notation
        "3 4\r\nabc\r\n0\r\n\r\n",        // two numbers
        "3\r\nabcd\r\n0\r\n\r\n",         // data longer than its size
        "3\r\nabc\r\r\n0\r\n\r\n",        // two CRs after the data
        "fffffffffffffffff\r\n",          // beyond 64 bits
        "4000001\r\n",                    // beyond the body bound
        std::string(9000, '1') + "\r\n",  // endless size line
        "0\r\n" + std::string(9000, 'X'), // endless trailer line
    };
    for (const std::string& text : bad)
        EXPECT_THROW(Decode(text, 5), EReplyError) << text.substr(0, 40);

    std::string trailers = "0\r\n";
    while (trailers.size() < 70 * 1024)
        trailers += "X-Trailer: some value\r\n";
    EXPECT_THROW(Decode(trailers + "\r\n", 4096), EReplyError) << "trailer beyond the header bound";
}

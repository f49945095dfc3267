#include "picarchive/inflate_stream.h"
#include "tests/picarchive/archive_bytes.h"

#include <QObject>
#include <gtest/gtest.h>

namespace {

QByteArray Sample(int n) {
    QByteArray data;
    for (int i = 0; i < n; ++i)
        data.append(char(i % 7 == 0 ? i : 'x'));
    return data;
}

} // namespace

TEST(InflateStream, YieldsExactlyTheAskedSizeAndReportsProgress) {
    const QByteArray original = Sample(300000);
    const QByteArray packed = archivetest::Deflate(original);
    QByteArray out("old");
    int calls = 0;
    ASSERT_TRUE(InflateStream(&packed, &out, original.size(), [&] { ++calls; }));
    EXPECT_EQ(out, original);
    EXPECT_GT(calls, 1); // once per block of output, not once in all
    // Asking for less cuts the output; asking for more fails and leaves nothing.
    ASSERT_TRUE(InflateStream(&packed, &out, 1000));
    EXPECT_EQ(out, original.left(1000));
    EXPECT_FALSE(InflateStream(&packed, &out, original.size() + 1));
    EXPECT_TRUE(out.isEmpty());
}

TEST(InflateStream, RefusesMissingEmptyAndCorruptInput) {
    const QByteArray packed = archivetest::Deflate(Sample(5000));
    QByteArray out;
    const QByteArray empty;
    EXPECT_FALSE(InflateStream(nullptr, &out, 10));
    EXPECT_FALSE(InflateStream(&empty, &out, 10));
    EXPECT_FALSE(InflateStream(&packed, nullptr, 10));
    EXPECT_FALSE(InflateStream(&packed, &out, 0));
    EXPECT_FALSE(InflateStream(&packed, &out, -5));

    QByteArray corrupt = packed;
    corrupt[corrupt.size() / 2] = char(corrupt[corrupt.size() / 2] ^ 0x5A);
    corrupt[3] = char(0xFF);
    EXPECT_FALSE(InflateStream(&corrupt, &out, 5000));
    const QByteArray truncated = packed.left(packed.size() / 2);
    EXPECT_FALSE(InflateStream(&truncated, &out, 5000));
    const QByteArray raw("not a zlib stream at all");
    EXPECT_FALSE(InflateStream(&raw, &out, 5000));
    EXPECT_TRUE(out.isEmpty());
}

TEST(InflateStream, HugeDeclaredSizeOfASmallStreamFailsWithoutReserving) {
    const QByteArray packed = archivetest::Deflate(Sample(100));
    QByteArray out;
    EXPECT_FALSE(InflateStream(&packed, &out, int64_t(1) << 40));
}

TEST(InflateStream, DefaultProgressLetsPendingEventsRun) {
    const QByteArray original = Sample(100000);
    const QByteArray packed = archivetest::Deflate(original);
    QObject receiver;
    bool ran = false;
    QMetaObject::invokeMethod(
        &receiver, [&] { ran = true; }, Qt::QueuedConnection);
    QByteArray out;
    ASSERT_TRUE(InflateStream(&packed, &out, original.size()));
    EXPECT_TRUE(ran); // only an event loop pass runs a queued call
    EXPECT_EQ(out, original);
}

#include "picarchive/inflate_stream.h"

#include <QCoreApplication>
#include <algorithm>
#include <zlib.h>

TInflateProgress DefaultInflateProgress() {
    return [] {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    };
}

bool InflateStream(const QByteArray* source, QByteArray* target, int64_t size,
                   const TInflateProgress& progress) {
    if (target)
        target->clear();
    if (!source || source->isEmpty() || !target || size <= 0)
        return false;
    // The copy keeps the input alive and unchanged should a handler run by
    // the progress callback touch the caller's buffer.
    const QByteArray input = *source;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    zs.avail_in = uInt(std::min<qsizetype>(input.size(), qsizetype(UINT32_MAX)));

    // The target grows with what the stream really yields; the declared size
    // is never reserved up front, so a false size costs nothing. Blocks are
    // small enough that a picture of some size already reports progress.
    constexpr int64_t kBlock = 16 * 1024;
    QByteArray out;
    bool ok = false;
    while (true) {
        const int64_t have = out.size();
        if (have == size) {
            ok = true;
            break;
        }
        const int64_t want = std::min(kBlock, size - have);
        out.resize(qsizetype(have + want));
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + have);
        zs.avail_out = uInt(want);
        const int ret = inflate(&zs, Z_NO_FLUSH);
        out.resize(qsizetype(have + want - zs.avail_out));
        if (ret == Z_STREAM_END) {
            ok = out.size() == size;
            break;
        }
        if (ret != Z_OK) // corrupt data, or input ended before the stream did
            break;
        if (progress)
            progress();
    }
    inflateEnd(&zs);
    if (ok)
        *target = std::move(out);
    return ok;
}

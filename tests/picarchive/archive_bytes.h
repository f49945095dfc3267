#pragma once

#include <QByteArray>
#include <QtEndian>
#include <string>
#include <zlib.h>

// Archives built by hand: member data at chosen offsets, then an index text
// and its length, written here without the content tool's writer.
namespace archivetest {

inline QByteArray Deflate(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), 9);
    out.resize(qsizetype(size));
    return out;
}

inline QByteArray WithIndex(QByteArray data, const std::string& index) {
    data.append(index.data(), qsizetype(index.size()));
    char len[4];
    qToLittleEndian<qint32>(qint32(index.size()), len);
    data.append(len, 4);
    return data;
}

} // namespace archivetest

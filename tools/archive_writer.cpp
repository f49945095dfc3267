#include "tools/archive_writer.h"

#include <QtEndian>
#include <limits>
#include <zlib.h>

namespace {

QByteArray Deflate(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(qsizetype(size));
    return out;
}

} // namespace

bool WriteArchive(const std::vector<TArchiveMember>& members, QByteArray& out, std::string* error) {
    out.clear();
    std::string index;
    for (const TArchiveMember& m : members) {
        const bool badName = m.Name.empty() || m.Name.find_first_of("=\r\n") != std::string::npos;
        if (badName || m.Data.isEmpty() || m.Data.size() > std::numeric_limits<int32_t>::max() ||
            out.size() > std::numeric_limits<int32_t>::max()) {
            if (error)
                *error = "cannot store member '" + m.Name + "'";
            out.clear();
            return false;
        }
        const QByteArray packed = Deflate(m.Data);
        const bool deflate = !packed.isEmpty() && packed.size() < m.Data.size();
        const QByteArray& stored = deflate ? packed : m.Data;
        index += m.Name + "=" + std::to_string(m.DosDate) + ";" + std::to_string(m.Data.size()) +
                 ";" + std::to_string(stored.size()) + ";" + std::to_string(out.size()) + ";\r\n";
        out.append(stored);
    }
    out.append(index.data(), qsizetype(index.size()));
    char length[4];
    qToLittleEndian<qint32>(qint32(index.size()), length);
    out.append(length, 4);
    return true;
}

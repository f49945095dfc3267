#pragma once

// Shared by the benchmarks that generate a record database in memory.

#include "recdb/scramble.h"

#include <QByteArray>
#include <QtEndian>
#include <chrono>
#include <cstdint>
#include <string>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Appends one record as the database file holds it: number, key and body
// lengths, then key and body scrambled.
inline void PutRecord(QByteArray& out, const std::string& key, const std::string& body,
                      uint32_t number) {
    char header[8];
    qToLittleEndian<quint32>(number, header);
    qToLittleEndian<quint16>(quint16(key.size()), header + 4);
    qToLittleEndian<quint16>(quint16(body.size()), header + 6);
    out.append(header, 8);
    const qsizetype at = out.size();
    out.resize(at + qsizetype(key.size() + body.size()));
    recdb::UnscrambleCopy(out.data() + at, key.data(), key.size());
    recdb::UnscrambleCopy(out.data() + at + qsizetype(key.size()), body.data(), body.size());
}

} // namespace bench

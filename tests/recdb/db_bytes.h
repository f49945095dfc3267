#pragma once

#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Builds record database files byte by byte, independent of the content
// tool's writer, so the loader is checked against the format itself.
namespace dbtest {

inline char Scramble(unsigned char b) {
    if (b == 0 || b == 255)
        return char(b);
    return char(b < 128 ? b + 127 : b - 127);
}

inline void PutU32(QByteArray& out, uint32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

inline void PutU16(QByteArray& out, uint16_t v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

inline void PutRecord(QByteArray& out, int32_t recNo, const std::string& key,
                      const std::string& body) {
    PutU32(out, uint32_t(recNo));
    PutU16(out, uint16_t(key.size()));
    PutU16(out, uint16_t(body.size()));
    for (unsigned char c : key)
        out.append(Scramble(c));
    for (unsigned char c : body)
        out.append(Scramble(c));
}

// A whole file: the count followed by the records numbered from 1.
inline QByteArray File(const std::vector<std::pair<std::string, std::string>>& records,
                       int32_t count = -1) {
    QByteArray out;
    PutU32(out, uint32_t(count < 0 ? int32_t(records.size()) : count));
    int32_t n = 0;
    for (const auto& [key, body] : records)
        PutRecord(out, ++n, key, body);
    return out;
}

} // namespace dbtest

#include "tools/db_writer.h"

#include "recdb/scramble.h"

#include <QtEndian>

namespace {

void PutU32(QByteArray& out, uint32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void PutU16(QByteArray& out, uint16_t v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void PutScrambled(QByteArray& out, const std::string& text) {
    const qsizetype at = out.size();
    out.resize(at + qsizetype(text.size()));
    recdb::UnscrambleCopy(out.data() + at, text.data(), text.size()); // its own inverse
}

} // namespace

bool WriteDatabase(const std::vector<TSourceRecord>& records, QByteArray& out, std::string* error) {
    out.clear();
    PutU32(out, uint32_t(records.size()));
    uint32_t number = 0;
    for (const TSourceRecord& rec : records) {
        if (rec.Key.size() > 0xFFFF || rec.Body.size() > 0xFFFF) {
            if (error)
                *error =
                    rec.File + ":" + std::to_string(rec.Line) + ": text longer than 65535 bytes";
            out.clear();
            return false;
        }
        PutU32(out, ++number);
        PutU16(out, uint16_t(rec.Key.size()));
        PutU16(out, uint16_t(rec.Body.size()));
        PutScrambled(out, rec.Key);
        PutScrambled(out, rec.Body);
    }
    return true;
}

bool ReadDatabase(const QByteArray& file, std::vector<TSourceRecord>& records) {
    records.clear();
    if (file.size() < 4)
        return false;
    const char* data = file.constData();
    const size_t size = size_t(file.size());
    const int32_t count = qFromLittleEndian<qint32>(data);
    size_t in = 4;
    for (int32_t i = 1; i <= count; ++i) {
        if (size - in < 8)
            return false;
        const uint16_t keyLen = qFromLittleEndian<quint16>(data + in + 4);
        const uint16_t bodyLen = qFromLittleEndian<quint16>(data + in + 6);
        in += 8;
        if (size - in < size_t(keyLen) + bodyLen)
            return false;
        TSourceRecord rec;
        rec.Key.resize(keyLen);
        recdb::UnscrambleCopy(rec.Key.data(), data + in, keyLen);
        rec.Body.resize(bodyLen);
        recdb::UnscrambleCopy(rec.Body.data(), data + in + keyLen, bodyLen);
        rec.Line = i;
        rec.StoredNumber = qFromLittleEndian<qint32>(data + in - 8);
        in += size_t(keyLen) + bodyLen;
        records.push_back(std::move(rec));
    }
    return in == size;
}

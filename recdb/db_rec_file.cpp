#include "recdb/db_rec_file.h"

#include "recdb/scramble.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <cstring>

namespace {

uint32_t ReadU32(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}

uint16_t ReadU16(const char* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return qFromLittleEndian(v);
}

} // namespace

bool TiDbRecFile::LoadFromFile(const QString& path, const TLoadProgress& gauge) {
    // The gauge lets events run, so a handler may ask for a reload while one
    // is under way; the records in use must not be freed beneath it.
    if (loading_)
        return false;
    records_.clear();
    data_.clear();
    lastN_ = lastPos_ = activeCount_ = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    file.close();
    return LoadFromBytes(std::move(bytes), gauge);
}

bool TiDbRecFile::LoadFromBytes(QByteArray bytes, const TLoadProgress& gauge) {
    if (loading_)
        return false;
    records_.clear();
    lastN_ = lastPos_ = activeCount_ = 0;
    data_ = std::move(bytes);
    if (data_.size() < 4) {
        data_.clear();
        return false;
    }
    loading_ = true;
    const bool complete = ReadRecords(gauge);
    loading_ = false;
    return complete;
}

bool TiDbRecFile::ReadRecords(const TLoadProgress& gauge) {
    char* const data = data_.data();
    const size_t size = size_t(data_.size());
    const int32_t count = int32_t(ReadU32(data));
    if (gauge) {
        gauge(0);
        QCoreApplication::processEvents();
    }
    if (count <= 0)
        return true;
    // Each record takes at least its 8 header bytes, so a count beyond what
    // the file can hold never turns into a large reservation.
    records_.reserve(std::min<size_t>(size_t(count), (size - 4) / 8));

    // Texts are unscrambled into the same buffer, each followed by a zero
    // byte. A record of 8 + L1 + L2 bytes needs at most L1 + L2 + 2, so the
    // write position never passes the read position.
    size_t in = 4;
    size_t out = 0;
    int lastPercent = 0;
    for (int32_t i = 1; i <= count; ++i) {
        if (size - in < 8)
            return false;
        TDbRec rec;
        rec.RecNo = int32_t(ReadU32(data + in));
        rec.KeyLen = ReadU16(data + in + 4);
        rec.BodyLen = ReadU16(data + in + 6);
        in += 8;
        if (size - in < size_t(rec.KeyLen) + rec.BodyLen)
            return false;
        if (rec.KeyLen) {
            recdb::UnscrambleCopy(data + out, data + in, rec.KeyLen);
            rec.Key = data + out;
            out += rec.KeyLen;
            data[out++] = '\0';
            in += rec.KeyLen;
        }
        if (rec.BodyLen) {
            recdb::UnscrambleCopy(data + out, data + in, rec.BodyLen);
            rec.Body = data + out;
            out += rec.BodyLen;
            data[out++] = '\0';
            in += rec.BodyLen;
        }
        records_.push_back(rec);
        if (gauge) {
            // Pending events run after every record; the bar is only told
            // when its value changes, which is all that setting it again does.
            const int percent = int(int64_t(i) * 100 / count);
            if (percent != lastPercent)
                gauge(percent);
            lastPercent = percent;
            QCoreApplication::processEvents();
        }
    }
    return true;
}

void TiDbRecFile::ActivateAll() {
    for (TDbRec& rec : records_)
        rec.Active = 1;
    const int32_t count = Count();
    activeCount_ = count;
    if (count == 0) {
        lastN_ = lastPos_ = 0;
    } else if (lastPos_ >= 1 && lastPos_ <= count) {
        lastN_ = lastPos_;
    } else {
        lastN_ = lastPos_ = 1;
    }
}

int32_t TiDbRecFile::LocateActive(int32_t n) {
    const int32_t count = Count();
    if (count == 0 || n > count)
        return 0;
    const bool remembered = lastPos_ >= 1 && lastPos_ <= count && lastN_ >= 1;
    if (remembered && n == lastN_)
        return lastPos_;
    if (n < 1)
        return 0;
    // Only ActivateAll sets the flag, so either no record is active or every
    // one is, and then the n-th active record is the one at position n.
    if (activeCount_ != count)
        return 0;
    lastN_ = lastPos_ = n;
    return n;
}

TDbRec TiDbRecFile::RecordAt(int32_t n) {
    const int32_t pos = LocateActive(n);
    return pos ? records_[size_t(pos) - 1] : TDbRec{};
}

void TiDbRecFile::BuildInfoIndex(std::vector<std::string>& list) const {
    list.clear();
    for (size_t i = 0; i < records_.size(); ++i) {
        const TKeyParts parts = SplitKey(records_[i].KeyText());
        if (parts.Kind == "BkInfo" && !parts.Part2.empty() && parts.Part3.empty() &&
            parts.Part4.empty()) {
            std::string entry = std::to_string(i + 1);
            entry += '|';
            entry += parts.Part2;
            entry.resize(std::min<size_t>(entry.size(), 255));
            list.push_back(std::move(entry));
        }
    }
}

std::string TiDbRecFile::TitleOf(const std::string& entry) const {
    const int32_t recno = EntryRecNo(entry);
    if (recno < 1 || recno > Count())
        return {};
    std::string_view body = records_[size_t(recno) - 1].BodyText();
    body = body.substr(0, body.find("\r\n"));
    return std::string(body.substr(0, 255));
}

std::string TiDbRecFile::GroupTitle(const TRecordIndex& index, std::string_view groupCode) const {
    std::string header(groupCode);
    header += "00000000000";
    return TitleOf(index.FindHeader(header));
}

std::string TiDbRecFile::TestTitle(const TRecordIndex& index, std::string_view testKey) const {
    std::string header(testKey);
    header += "00000000";
    return TitleOf(index.FindHeader(header));
}

#pragma once

#include "recdb/db_rec.h"
#include "recdb/record_index.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Called while loading with the progress in percent (0..100). The caller
// shows it; the loader lets pending events run after calling it.
using TLoadProgress = std::function<void(int percent)>;

// The record database D\IDbRecs.dat: a record count followed by records of
// (number, key length, body length, scrambled key, scrambled body). The
// whole file is read into memory once; nothing ever writes it.
class TiDbRecFile {
public:
    TiDbRecFile() = default;
    TiDbRecFile(const TiDbRecFile&) = delete;
    TiDbRecFile& operator=(const TiDbRecFile&) = delete;
    TiDbRecFile(TiDbRecFile&&) = default; // the texts stay where they are
    TiDbRecFile& operator=(TiDbRecFile&&) = default;

    // Replaces what was loaded. False when the file cannot be opened, holds
    // fewer than 4 bytes or is cut short; records read before a cut stay.
    bool LoadFromFile(const QString& path, const TLoadProgress& gauge = {});
    // The same for a file's bytes already in memory.
    bool LoadFromBytes(QByteArray bytes, const TLoadProgress& gauge = {});

    void ActivateAll();
    // Chain position (1-based) of the n-th active record, 0 when none.
    int32_t LocateActive(int32_t n);
    // The n-th active record's fields; all zero when there is none.
    TDbRec RecordAt(int32_t n);

    int32_t Count() const { return int32_t(records_.size()); }
    int32_t ActiveCount() const { return activeCount_; }
    // The number last asked of LocateActive / RecordAt that was found.
    int32_t RememberedN() const { return lastN_; }

    // Reference entries "recno|title" of the "BkInfo" records.
    void BuildInfoIndex(std::vector<std::string>& list) const;
    // Test entries grouped by group code, then in file order.
    void BuildTestIndex(TRecordIndex& index) const;

    // First line of the header record's body (at most 255 characters).
    std::string GroupTitle(const TRecordIndex& index, std::string_view groupCode) const;
    std::string TestTitle(const TRecordIndex& index, std::string_view testKey) const;

private:
    bool ReadRecords(const TLoadProgress& gauge);
    std::string TitleOf(const std::string& entry) const;

    QByteArray data_; // the file, texts unscrambled and compacted in place
    std::vector<TDbRec> records_;
    int32_t lastN_ = 0;
    int32_t lastPos_ = 0;
    int32_t activeCount_ = 0;
    bool loading_ = false;
};

#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

// One record as the content sources give it: key and body in Windows-1252.
struct TSourceRecord {
    std::string Key;
    std::string Body;
    std::string File;         // where it was written, for messages
    int Line = 0;             // of the directive
    int BodyLine = 0;         // of the first body line
    int32_t StoredNumber = 0; // as read from a database file; writing numbers by place
};

// The record database file for the records in order: the count, then each
// record numbered by its place, texts scrambled. Texts longer than a 16-bit
// length can hold are refused (false) rather than cut.
bool WriteDatabase(const std::vector<TSourceRecord>& records, QByteArray& out,
                   std::string* error = nullptr);

// Records of a database file as stored (texts unscrambled, whole L bytes,
// zero bytes included). False when the file is damaged; what could be read
// is still returned.
bool ReadDatabase(const QByteArray& file, std::vector<TSourceRecord>& records);

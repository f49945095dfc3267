#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The picture archive zernox2.dat: member data, then an index text of lines
// "name=date;size;stored size;offset;", then the index length as a 32-bit
// little-endian number. Every failure here is quiet: a picture that cannot be
// had is simply not shown.

struct TPictureEntry {
    std::string Name;       // at most 255 characters; empty when not found
    double DateTime = 0;    // from the MS-DOS date-time; 0 when absent
    int32_t Size = 0;       // size when extracted
    int32_t StoredSize = 0; // bytes in the archive; < Size means zlib stream
    int32_t Offset = -1;    // from the start of the file; -1 when absent
};

// The archive's name in the program directory.
inline constexpr const char* kPictureArchiveFile = "zernox2.dat";

// The archive's index lines, or nothing when the file does not exist. A
// damaged archive gives an empty list.
std::optional<std::vector<std::string>> ReadPictureIndex(const QString& archivePath);
// The same for the archive's bytes in memory (an existing file).
std::vector<std::string> ParsePictureIndex(const QByteArray& archive);

// One index line parsed; a field without its closing ";" counts as absent.
TPictureEntry ParsePictureEntry(std::string_view line);
// Parsed entry of the first line whose name equals `name` without regard to
// case; an empty entry when there is none.
TPictureEntry FindPicture(const std::vector<std::string>& index, std::string_view name);
// Whether `name` is the name part of one of the index's lines (any case).
bool PictureIndexHolds(const std::vector<std::string>& index, std::string_view name);

// Copies the member out to targetPath (a native path; its directory is
// created) and gives it the member's date. False, with nothing left behind,
// for an entry without offset or sizes, a damaged member or a failed write.
bool ExtractPicture(const QString& archivePath, const TPictureEntry& entry,
                    const QString& targetPath);

// Where an extracted member goes: the program directory's T\ folder plus the
// file-name part of the name, so a name with folders or ".." cannot point
// outside it. Empty when no usable file name is left.
QString PictureTempPath(std::string_view name);

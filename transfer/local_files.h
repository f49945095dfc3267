#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

class QFileDevice;

namespace vdx {

// A path handed over by the caller as bytes of the file system's encoding;
// backslashes, the classic separator, become '/'.
QString NativePath(const char* path);

// The directory part of a path ("." for a bare file name).
QString DirectoryOf(const QString& path);

// Creates every missing directory of path, stopping at the first that cannot
// be made; true when the whole path exists as a directory afterwards.
bool ForceDirectoryPath(const QString& path);

// Replaces the file at path with data. The bytes go to a temporary file
// beside it that is renamed over the old file only when all are written, so
// a failure leaves the old file as it was.
bool ReplaceFileContents(const QString& path, std::string_view data);

// Asks the system to start writing what has been written to file since
// `started` onto the disk, once a few megabytes have gathered, and advances
// `started`. A large download then reaches the disk while it arrives instead
// of all at once when it is made durable at the end. Only a hint: failures
// are left for the final flush to report.
void StartWriteback(QFileDevice& file, int64_t& started);

} // namespace vdx

#pragma once

#include <QString>
#include <string_view>

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

} // namespace vdx

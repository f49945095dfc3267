#pragma once

#include <QString>
#include <string>
#include <string_view>

// Data paths are written the classic way ("User\users.dat", "d\iq.dat") and
// matched against the file system without regard to letter case, relative to
// the program directory.
namespace plat {

// Directory of the running executable with a trailing '/'. Tests may point it
// elsewhere with SetProgramDir.
QString ProgramDir();
void SetProgramDir(const QString& dir);

// Resolves a relative path with '\' or '/' separators (Windows-1252 text)
// against the program directory. Each component that exists in some letter
// case is replaced by its actual name; missing components stay as written.
// A trailing separator is kept. Absolute paths are resolved from the root.
QString ResolvePath(std::string_view relative);
QString ResolvePath(std::string_view relative, const QString& baseDir);

// Resolves like ResolvePath and creates every missing directory of the
// result (for a path ending in a separator, the whole path; otherwise up to
// the last component). Returns the resolved path, or an empty string when a
// directory could not be created.
QString ForceDirectories(std::string_view relative);

// Creates `dir` and any missing parent. True when it exists afterwards.
bool ForceDirectoriesAbs(const QString& dir);

} // namespace plat

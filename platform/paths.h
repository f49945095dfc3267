#pragma once

#include <QString>
#include <string>
#include <string_view>

// Data paths are written the classic way ("User\users.dat", "d\iq.dat") and
// matched against the file system without regard to letter case, relative to
// the program directory.
namespace plat {

// Directory of the running executable with a trailing '/'. Tests may point it
// elsewhere with SetProgramDir, which also puts every kind of data back into
// that directory.
QString ProgramDir();
void SetProgramDir(const QString& dir);

// Where the data that relative paths name lives. A program directory of its
// own (empty members) keeps everything together: the content, "User\" and
// "T\". An installed copy reads the content from the installation, keeps
// "User\" in the user's data directory and "T\" in a private temporary
// directory. Folders are absolute, without trailing '/'.
struct DataLocation {
    bool Installed = false;
    QString Content; // D\, I\B\, a\, zernox2.dat and anything else read-only
    QString User;    // what "User\" names
    QString Temp;    // what "T\" names
};

// What start-up decides for a program in `programDir`. The copy counts as
// installed when it lies in <prefix>/lib*/zenx beside <prefix>/share/zenx (the
// content is read from there) or when its directory is not writable (the
// content stays beside the program). User data then goes to
// $XDG_DATA_HOME/zenx/User (default ~/.local/share/zenx/User); Temp is left
// empty for ChooseDataLocation to make.
DataLocation DecideDataLocation(const QString& programDir, bool programDirWritable);

// Decides for the running program, makes the user's data folder (0700) and a
// private temporary folder when installed, and makes the result current.
// Called once at start-up; nothing else needs to know which case applies.
DataLocation ChooseDataLocation();

// The location in force, and a way for tests to set one.
DataLocation CurrentDataLocation();
void SetDataLocation(const DataLocation& location);

// Resolves a relative path with '\' or '/' separators (Windows-1252 text)
// against the program directory, or for an installed copy against the
// folder of the current DataLocation that its first component names ("User",
// "T", anything else: the content). Each component that exists in some
// letter case is replaced by its actual name; missing components stay as
// written. A trailing separator is kept. Absolute paths are resolved from
// the root.
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

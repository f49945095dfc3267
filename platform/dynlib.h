#pragma once

#include <QLibrary>
#include <QString>
#include <string_view>

// Run-time loading of a shared library of the program directory by its
// classic name: "VELDUX.DLL" (any case) is libveldux.so beside the program.
namespace plat {

// "VELDUX.DLL" -> <program dir>/libveldux.so: lower case, ".dll" dropped,
// "lib" and ".so" added. A name already ending in ".so" is only lowered; a
// name holding '/' is a path and is used as given.
QString LibraryFileFor(std::string_view name);

class DynLib {
public:
    DynLib() = default;
    ~DynLib();
    DynLib(const DynLib&) = delete;
    DynLib& operator=(const DynLib&) = delete;

    // Loads LibraryFileFor(name), unloading what was loaded before.
    bool Load(std::string_view name);
    // Address of an export, or nullptr when the library is not loaded or lacks it.
    void* Symbol(const char* exportName);
    void Unload();
    bool IsLoaded() const;
    QString ErrorString() const;

private:
    QLibrary lib_;
};

} // namespace plat

#include "platform/dynlib.h"

#include "platform/ansi.h"
#include "platform/paths.h"

namespace plat {

QString LibraryFileFor(std::string_view name) {
    const QString given = FromAnsi(name);
    if (given.contains('/'))
        return given;
    QString base = given.toLower();
    // A platform name ("libveldux.so") is already the file's name.
    if (base.endsWith(QLatin1String(".so")) || base.contains(QLatin1String(".so.")))
        return ProgramDir() + base;
    if (base.endsWith(QLatin1String(".dll")))
        base.chop(4);
    return ProgramDir() + QStringLiteral("lib") + base + QStringLiteral(".so");
}

DynLib::~DynLib() {
    Unload();
}

bool DynLib::Load(std::string_view name) {
    Unload();
    if (name.empty())
        return false;
    lib_.setFileName(LibraryFileFor(name));
    return lib_.load();
}

void* DynLib::Symbol(const char* exportName) {
    if (!exportName || !lib_.isLoaded())
        return nullptr;
    return reinterpret_cast<void*>(lib_.resolve(exportName));
}

void DynLib::Unload() {
    if (lib_.isLoaded())
        lib_.unload();
}

bool DynLib::IsLoaded() const {
    return lib_.isLoaded();
}

QString DynLib::ErrorString() const {
    return lib_.errorString();
}

} // namespace plat

#include "tests/common/temp_program_dir.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempProgramDir::TempProgramDir() : previous_(plat::ProgramDir()) {
    plat::SetProgramDir(dir_.path());
}

TempProgramDir::~TempProgramDir() {
    plat::SetProgramDir(previous_);
}

QString TempProgramDir::Path() const {
    return dir_.path() + '/';
}

QString TempProgramDir::Write(const QString& relative, const QByteArray& content) const {
    const QString path = Path() + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

QByteArray TempProgramDir::Read(const QString& relative) const {
    QFile f(Path() + relative);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempProgramDir::Exists(const QString& relative) const {
    return QFileInfo::exists(Path() + relative);
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A program directory of the test's own, made current for plat::ProgramDir()
// and restored when the object goes.
class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();

    QString Path() const; // with trailing '/'
    // Writes a file (creating parent folders) given with '/' separators.
    QString Write(const QString& relative, const QByteArray& content) const;
    QByteArray Read(const QString& relative) const;
    bool Exists(const QString& relative) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

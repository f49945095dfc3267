#pragma once

#include "exchange/internet_page.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/base_btn.h"

#include <QByteArray>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>

// An Internet page with its two skinned buttons in a program directory of
// its own, wired by AttachInternetPage with a message shower that records.
class InternetPageFixture {
public:
    InternetPageFixture();
    ~InternetPageFixture();

    // Puts a library file into the program directory as the platform's
    // name for "VELDUX.DLL".
    void InstallLibrary(const char* builtFile);
    QString LibraryPath() const;
    // Whether the library of the program directory is loaded in the process.
    bool LibraryLoaded() const;

    void ClickUpload();
    void ClickDownload();

    TempProgramDir program;
    std::unique_ptr<QWidget> page;
    TBaseBtn* upload = nullptr;
    TBaseBtn* download = nullptr;
    TInternetExchange* exchange = nullptr;
    QStringList messages;

    // Called with each message as it is shown.
    std::function<void(const QString&)> onMessage;
};

// Sets an environment variable for the object's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

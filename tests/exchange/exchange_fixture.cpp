#include "tests/exchange/exchange_fixture.h"

#include <QFile>
#include <QTest>
#include <dlfcn.h>

InternetPageFixture::InternetPageFixture() : page(std::make_unique<QWidget>()) {
    page->setObjectName(QStringLiteral("Internet"));
    page->resize(489, 435);
    upload = new TBaseBtn(page.get());
    upload->setObjectName(QStringLiteral("InternetUpLoadBtn"));
    upload->setGeometry(40, 300, 150, 40);
    download = new TBaseBtn(page.get());
    download->setObjectName(QStringLiteral("InternetDownloadBtn"));
    download->setGeometry(240, 300, 150, 40);
    page->show();
    exchange = AttachInternetPage(page.get(), [this](QWidget*, const QString& text) {
        messages << text;
        if (onMessage)
            onMessage(text);
    });
}

InternetPageFixture::~InternetPageFixture() = default;

void InternetPageFixture::InstallLibrary(const char* builtFile) {
    QFile::remove(LibraryPath());
    QFile::copy(QString::fromLocal8Bit(builtFile), LibraryPath());
}

QString InternetPageFixture::LibraryPath() const {
    return program.Path() + "libveldux.so";
}

bool InternetPageFixture::LibraryLoaded() const {
    void* handle = dlopen(QFile::encodeName(LibraryPath()).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

void InternetPageFixture::ClickUpload() {
    QTest::mouseClick(upload, Qt::LeftButton);
}

void InternetPageFixture::ClickDownload() {
    QTest::mouseClick(download, Qt::LeftButton);
}

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (had_)
        qputenv(name_, old_);
    else
        qunsetenv(name_);
}

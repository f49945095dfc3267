#pragma once

#include "tests/common/loopback_server.h"
#include "transfer/veldux.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>

// The real libveldux.so, loaded as the program loads it, and a program
// directory whose User/iusers.dat holds an old file that downloads replace.
class VelduxTest : public ::testing::Test {
protected:
    void* handle = nullptr;
    OpenVdxDlgFunc open = nullptr;
    CloseVdxDlgFunc close = nullptr;
    GetFileFunc getFile = nullptr;
    PostFileFunc postFile = nullptr;
    QTemporaryDir dir;
    QByteArray dest;

    void Load(const QByteArray& oldFile) {
        handle = dlopen(VELDUX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        open = reinterpret_cast<OpenVdxDlgFunc>(dlsym(handle, "OpenVdxDlg"));
        close = reinterpret_cast<CloseVdxDlgFunc>(dlsym(handle, "CloseVdxDlg"));
        getFile = reinterpret_cast<GetFileFunc>(dlsym(handle, "GetFile"));
        postFile = reinterpret_cast<PostFileFunc>(dlsym(handle, "PostFile"));
        ASSERT_TRUE(open && close && getFile && postFile);
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("User")));
        dest = QFile::encodeName(dir.filePath(QStringLiteral("User/iusers.dat")));
        Write(dest, oldFile);
    }

    static void Write(const QByteArray& name, const QByteArray& data) {
        QFile f(QFile::decodeName(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    static QByteArray Read(const QByteArray& name) {
        QFile f(QFile::decodeName(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static std::string Base(const LoopbackServer& server) {
        return "127.0.0.1:" + std::to_string(server.Port()) + "/zenx";
    }
};

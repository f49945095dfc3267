// The real program, started as a process from a program directory of the
// test's own: exit codes, the single-instance messages and clean-up at exit.
#include "platform/single_instance.h"
#include "tests/common/temp_program_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class ProgramProcess : public ::testing::Test {
protected:
    TempProgramDir dir;
    QString suffix = QUuid::createUuid().toString(QUuid::Id128);
    QString exe;
    QByteArray oldSuffix = qgetenv("ZENX_INSTANCE_SUFFIX");

    void SetUp() override {
        exe = dir.Path() + "zenx";
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZENX_EXE), exe));
        qputenv("ZENX_INSTANCE_SUFFIX", suffix.toLatin1());
    }
    void TearDown() override { qputenv("ZENX_INSTANCE_SUFFIX", oldSuffix); }

    void Start(QProcess& p, const QStringList& args, const QString& screen = "800x600") {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZENX_SCREEN", screen);
        env.insert("ZENX_INSTANCE_SUFFIX", suffix);
        p.setProcessEnvironment(env);
        p.setProgram(exe);
        p.setArguments(args);
        p.start();
        ASSERT_TRUE(p.waitForStarted(5000));
    }
    static bool Finished(QProcess& p) { return p.state() == QProcess::NotRunning; }
};

} // namespace

TEST_F(ProgramProcess, ScreenNarrowerThan640ExitsWithCode1) {
    QProcess p;
    Start(p, {}, "630x480");
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
}

TEST_F(ProgramProcess, SecondStartActivatesTheRunningInstanceAndLeaves) {
    plat::InstanceListener running;
    std::vector<uint32_t> got;
    QObject::connect(&running, &plat::InstanceListener::MessageReceived,
                     [&](uint32_t m) { got.push_back(m); });
    ASSERT_TRUE(running.Listen("Zernox 2"));

    QProcess second;
    Start(second, {"whatever"});
    ASSERT_TRUE(WaitFor([&] { return Finished(second); }, 30000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(WaitFor([&] { return !got.empty(); }, 5000));
    EXPECT_EQ(got, std::vector<uint32_t>{plat::msgActivateInstance});
    EXPECT_FALSE(dir.Exists("User")); // it never made a window
}

TEST_F(ProgramProcess, UninstallClosesTheRunningInstanceAndStartsTheUninstaller) {
    plat::InstanceListener running;
    std::vector<uint32_t> got;
    QObject::connect(&running, &plat::InstanceListener::MessageReceived,
                     [&](uint32_t m) { got.push_back(m); });
    ASSERT_TRUE(running.Listen("Zernox 2"));

    const QString script = dir.Write("uninst.sh", "#!/bin/sh\ntouch \"$1\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString marker = dir.Path() + "uninstalled";
    dir.Write("uninstall.ini",
              "[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zernox 2]\r\n"
              "UninstallString=\"\"" + script.toUtf8() + "\" \"" + marker.toUtf8() + "\"\"\r\n");

    QProcess second;
    Start(second, {"UNINSTALL"});
    ASSERT_TRUE(WaitFor([&] { return Finished(second); }, 30000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(WaitFor([&] { return !got.empty(); }, 5000));
    EXPECT_EQ(got, std::vector<uint32_t>{plat::msgCloseWindow});
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(marker); }, 10000));
}

TEST_F(ProgramProcess, CloseMessageEndsTheProgramAndItsTempDirectoryGoes) {
    dir.Write("T/extracted.gif", "GIF89a");
    QProcess first;
    Start(first, {});
    // It is up once it answers; until then nobody listens.
    ASSERT_TRUE(WaitFor([&] { return plat::PostToInstance("Zernox 2", plat::msgActivateInstance, 200); },
                        30000));
    EXPECT_TRUE(dir.Exists("User"));
    ASSERT_TRUE(plat::PostToInstance("Zernox 2", plat::msgCloseWindow));
    ASSERT_TRUE(WaitFor([&] { return Finished(first); }, 30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(dir.Exists("T"));
}

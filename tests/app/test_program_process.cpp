// The real program, started as a process from a program directory of the
// test's own: exit codes, the single-instance messages and clean-up at exit.
#include "platform/profile_file.h"
#include "platform/single_instance.h"
#include "tests/common/process_waits.h"
#include "tests/common/temp_program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QUuid>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

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

    void Start(QProcess& p, const QStringList& args, const QString& screen = "800x600",
               const QStringList& extraEnv = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZENX_SCREEN", screen);
        env.insert("ZENX_INSTANCE_SUFFIX", suffix);
        for (const QString& entry : extraEnv)
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        p.setProcessEnvironment(env);
        p.setProgram(exe);
        p.setArguments(args);
        p.start();
        ASSERT_TRUE(p.waitForStarted(5000));
    }
    static bool Finished(QProcess& p) { return p.state() == QProcess::NotRunning; }

    QString SocketPath() const {
        return QDir::tempPath() + '/' + plat::InstanceServerName("Zernox 2");
    }
    // True when some process holds the instance lock.
    static bool LockHeld() { return InstanceLockHeld(QStringLiteral("Zernox 2")); }
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
              "UninstallString=\"\"" +
                  script.toUtf8() + "\" \"" + marker.toUtf8() + "\"\"\r\n");

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
    // It answers from the start; the window's creation makes User.
    ASSERT_TRUE(WaitFor(
        [&] { return plat::PostToInstance("Zernox 2", plat::msgActivateInstance, 200); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return dir.Exists("User"); }, 30000));
    ASSERT_TRUE(plat::PostToInstance("Zernox 2", plat::msgCloseWindow));
    ASSERT_TRUE(WaitFor([&] { return Finished(first); }, 30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(dir.Exists("T"));
}

TEST_F(ProgramProcess, SecondStartWhileTheFirstLoadsHandsOverAndLeavesItsSocketAlone) {
    QProcess first;
    Start(first, {}, "800x600", {"ZENX_TEST_LOAD_DELAY_MS=8000"});
    // The instance is claimed before anything loads: the window's creation
    // (which makes User) is still to come.
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(SocketPath()) && LockHeld(); }, 30000));
    EXPECT_FALSE(dir.Exists("User"));

    QProcess second;
    Start(second, {});
    ASSERT_TRUE(WaitFor([&] { return Finished(second); }, 15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // It left without a window of its own while the first was loading, and
    // the first one's socket and lock are where they were.
    EXPECT_FALSE(dir.Exists("User"));
    EXPECT_FALSE(Finished(first));
    EXPECT_TRUE(QFile::exists(SocketPath()));
    EXPECT_TRUE(LockHeld());

    // The first comes up and still answers on its socket.
    ASSERT_TRUE(WaitFor([&] { return dir.Exists("User"); }, 30000));
    ASSERT_TRUE(plat::PostToInstance("Zernox 2", plat::msgCloseWindow));
    ASSERT_TRUE(WaitFor([&] { return Finished(first); }, 30000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(LockHeld());
}

// The session driver: the program's own entry with a scripted log-on.
class ProgramSignal : public ProgramProcess, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ProgramProcess::SetUp();
        ASSERT_TRUE(QFile::remove(exe));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZENX_SESSION_DRIVER), exe));
    }
    std::string StoredAge() const {
        plat::ClearProfileCache();
        return plat::ReadProfileString(dir.Path() + "User/users.dat", "Anna.Data", "Age");
    }
};

TEST_P(ProgramSignal, EndsTheProgramLikeTheCloseButton) {
    dir.Write("User/users.dat",
              "[Users]\r\nCount=1\r\n1=Anna\r\n[Anna.Data]\r\nPw=geheim\r\nAge=30\r\n");
    dir.Write("T/extracted.gif", "GIF89a");
    QProcess program;
    Start(program, {}, "800x600",
          {"ZENX_DRIVER_USER=Anna", "ZENX_DRIVER_PASSWORD=geheim", "ZENX_DRIVER_AGE=42"});
    QByteArray out;
    ASSERT_TRUE(WaitFor(
        [&] {
            out += program.readAllStandardOutput();
            return out.contains("ready") || out.contains("failed") || Finished(program);
        },
        30000));
    ASSERT_TRUE(out.contains("ready")) << out.toStdString();
    EXPECT_EQ(StoredAge(), "30"); // typed, not saved yet

    ASSERT_EQ(::kill(pid_t(program.processId()), GetParam()), 0);
    ASSERT_TRUE(WaitFor([&] { return Finished(program); }, 30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // Logged off as by the close button: the settings are saved.
    EXPECT_EQ(StoredAge(), "42");
    EXPECT_FALSE(dir.Exists("T"));
    EXPECT_FALSE(LockHeld());
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM  ? "Term"
                                                : info.param == SIGHUP ? "Hangup"
                                                                       : "Interrupt");
                         });

#include "platform/single_instance.h"
#include "tests/common/process_waits.h"
#include "tests/platform/scoped_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QUuid>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

const QString kClass = QStringLiteral("Zernox 2");

class SingleInstance : public ::testing::Test {
protected:
    ScopedEnv suffix{"ZENX_INSTANCE_SUFFIX", QUuid::createUuid().toString(QUuid::Id128).toLatin1()};

    static QString SocketPath() {
        return QDir::tempPath() + '/' + plat::InstanceServerName(kClass);
    }
    // Whether anyone holds the lock, asked through a descriptor of our own.
    static bool LockHeld() { return InstanceLockHeld(kClass); }
    // Posts from another thread while this one runs the listener's events.
    static bool Post(uint32_t message, std::vector<uint32_t>& got) {
        bool delivered = false;
        std::unique_ptr<QThread> poster(
            QThread::create([&] { delivered = plat::PostToInstance(kClass, message, 2000); }));
        poster->start();
        QElapsedTimer t;
        t.start();
        while (!poster->isFinished() || (delivered && got.empty())) {
            if (t.elapsed() > 5000)
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        poster->wait();
        return delivered;
    }
};

} // namespace

TEST_F(SingleInstance, TheLockHolderAloneListensAndASecondClaimTouchesNothing) {
    std::vector<uint32_t> got;
    auto first = std::make_unique<plat::InstanceListener>();
    QObject::connect(first.get(), &plat::InstanceListener::MessageReceived,
                     [&got](uint32_t m) { got.push_back(m); });
    ASSERT_EQ(first->Claim(kClass), plat::InstanceClaim::Claimed);
    EXPECT_TRUE(LockHeld());
    EXPECT_TRUE(QFile::exists(SocketPath()));

    plat::InstanceListener second;
    EXPECT_EQ(second.Claim(kClass), plat::InstanceClaim::HeldByOther);
    EXPECT_FALSE(second.Listen(kClass));
    // The first one's socket is still there and still answers.
    EXPECT_TRUE(QFile::exists(SocketPath()));
    EXPECT_TRUE(Post(plat::msgActivateInstance, got));
    EXPECT_EQ(got, std::vector<uint32_t>{plat::msgActivateInstance});

    // Gone: socket removed, lock free, and the next one may claim.
    first.reset();
    EXPECT_FALSE(LockHeld());
    EXPECT_FALSE(QFile::exists(SocketPath()));
    EXPECT_EQ(second.Claim(kClass), plat::InstanceClaim::Claimed);
}

TEST_F(SingleInstance, ASocketFileNobodyHoldsIsReplaced) {
    QFile stale(SocketPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    std::vector<uint32_t> got;
    plat::InstanceListener listener;
    QObject::connect(&listener, &plat::InstanceListener::MessageReceived,
                     [&got](uint32_t m) { got.push_back(m); });
    ASSERT_EQ(listener.Claim(kClass), plat::InstanceClaim::Claimed);
    EXPECT_TRUE(Post(plat::msgCloseWindow, got));
    EXPECT_EQ(got, std::vector<uint32_t>{plat::msgCloseWindow});
}

TEST_F(SingleInstance, ProgramsStartedMeanwhileDoNotKeepTheLock) {
    auto listener = std::make_unique<plat::InstanceListener>();
    ASSERT_EQ(listener->Claim(kClass), plat::InstanceClaim::Claimed);
    // A browser or uninstaller started by the program outlives it.
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("5")});
    ASSERT_TRUE(child.waitForStarted(5000));
    listener.reset();
    EXPECT_FALSE(LockHeld());
    child.kill();
    child.waitForFinished(5000);
}

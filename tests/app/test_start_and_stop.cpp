// The pieces of start-up and shutdown that the program process tests cannot
// look into: requests that wait for the window, the termination signals and
// the program's log.
#include "app/program_log.h"
#include "app/termination_signals.h"
#include "app/window_requests.h"
#include "platform/single_instance.h"
#include "widgets/image_loader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::string> calls;
    TWindowRequests::Target Target() {
        return {[this] { calls.push_back("activate"); }, [this] { calls.push_back("close"); }};
    }
};

} // namespace

TEST(WindowRequests, WhatComesBeforeTheWindowWaitsForIt) {
    Recorder r;
    TWindowRequests requests;
    requests.Receive(plat::msgActivateInstance);
    requests.Receive(plat::msgActivateInstance);
    requests.Receive(0x1234); // not ours
    EXPECT_TRUE(r.calls.empty());
    EXPECT_TRUE(requests.ActivatePending());
    requests.SetReady(r.Target());
    EXPECT_EQ(r.calls, std::vector<std::string>{"activate"}); // once, however often asked
    EXPECT_FALSE(requests.ActivatePending());

    // Once the window is there, requests are carried out at once.
    requests.Receive(plat::msgActivateInstance);
    requests.Receive(plat::msgCloseWindow);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"activate", "activate", "close"}));
}

TEST(WindowRequests, ACloseOutranksAnActivationAndMayComeAgainWhileClosing) {
    TWindowRequests requests;
    std::vector<std::string> calls;
    // Closing lets window messages run: a second signal then reaches the
    // window again, once the first close has begun.
    requests.SetReady({[&] { calls.push_back("activate"); },
                       [&] {
                           calls.push_back("close");
                           if (calls.size() == 1)
                               requests.Receive(plat::msgCloseWindow);
                       }});
    TWindowRequests waiting;
    waiting.Receive(plat::msgActivateInstance);
    waiting.Receive(plat::msgCloseWindow);
    waiting.SetReady({[&] { calls.push_back("activate"); }, [&] { calls.push_back("close"); }});
    EXPECT_EQ(calls, std::vector<std::string>{"close"});
    EXPECT_FALSE(waiting.ActivatePending());

    calls.clear();
    requests.Receive(plat::msgCloseWindow);
    EXPECT_EQ(calls, (std::vector<std::string>{"close", "close"}));
    EXPECT_FALSE(requests.ClosePending());
}

namespace {

std::vector<int> WaitForSignals(TTerminationSignals& source, size_t count) {
    std::vector<int> got;
    QObject::connect(&source, &TTerminationSignals::Received,
                     [&got](int number) { got.push_back(number); });
    QElapsedTimer t;
    t.start();
    while (got.size() < count && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return got;
}

} // namespace

TEST(TerminationSignals, ArriveOnTheEventLoopAndThePreviousHandlersReturn) {
    struct sigaction before = {};
    ASSERT_EQ(sigaction(SIGHUP, nullptr, &before), 0);
    {
        TTerminationSignals first;
        ASSERT_TRUE(first.Installed());
        // Only one object holds them at a time.
        TTerminationSignals second;
        EXPECT_FALSE(second.Installed());

        ASSERT_EQ(raise(SIGTERM), 0); // handled: the test process lives on
        ASSERT_EQ(raise(SIGHUP), 0);
        ASSERT_EQ(raise(SIGINT), 0);
        EXPECT_EQ(WaitForSignals(first, 3), (std::vector<int>{SIGTERM, SIGHUP, SIGINT}));
    }
    struct sigaction after = {};
    ASSERT_EQ(sigaction(SIGHUP, nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    // Installed again after the first object went.
    TTerminationSignals again;
    EXPECT_TRUE(again.Installed());
    ASSERT_EQ(raise(SIGTERM), 0);
    EXPECT_EQ(WaitForSignals(again, 1), std::vector<int>{SIGTERM});
}

TEST(ProgramLog, OneLinePerMessageWithTheProgramsPrefix) {
    EXPECT_EQ(ProgramLogLine(QtWarningMsg, "zenx.picture", "two\nlines"),
              "zenx: zenx.picture: two lines");
    EXPECT_EQ(ProgramLogLine(QtWarningMsg, "default", "plain"), "zenx: plain");
    EXPECT_EQ(ProgramLogLine(QtWarningMsg, "qt.gui.imageio.jpeg", "Corrupt JPEG data"), "");
}

namespace {

QByteArray Encoded(const char* format) {
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 5, (x ^ y) * 3));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Restores Qt's own logging when a test that installed the program's ends.
struct ProgramLogInstalled {
    QStringList lines;
    ProgramLogInstalled() {
        InstallProgramLog();
        SetProgramLogSink([this](const QString& line) { lines << line; });
    }
    ~ProgramLogInstalled() {
        SetProgramLogSink({});
        qInstallMessageHandler(nullptr);
        QLoggingCategory::setFilterRules(QString());
    }
};

} // namespace

TEST(ProgramLog, DecodersAreQuietAndAFailingPictureIsOneLineOfOurs) {
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // A JPEG whose scan data is damaged but whole: it decodes, with warnings
    // from the decoder.
    QByteArray jpeg = Encoded("jpeg");
    const qsizetype scan = jpeg.indexOf("\xFF\xDA") + 20;
    for (qsizetype i = scan; i < scan + 40 && i < jpeg.size() - 2; ++i)
        if (uchar(jpeg[i]) != 0xFF)
            jpeg[i] = char(uchar(jpeg[i]) ^ 0x5A);
    // A PNG with a wrong checksum on its pixel data: libpng refuses it.
    QByteArray png = Encoded("png");
    const qsizetype idat = png.indexOf("IDAT");
    png[idat + 10] = char(png[idat + 10] ^ 0x21);
    QStringList lines;

    // Standard error goes to a file of the test's meanwhile: some decoder
    // messages bypass Qt's logging altogether.
    const QString errPath = dir.filePath(QStringLiteral("stderr"));
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    const int errFile = ::open(QFile::encodeName(errPath).constData(),
                               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(errFile, 0);
    ::dup2(errFile, STDERR_FILENO);
    ::close(errFile);
    {
        ProgramLogInstalled log;
        TImageLoader loader;
        loader.SetImageName(write("damaged.jpg", jpeg));
        loader.SetImageName(write("damaged.png", png));
        EXPECT_TRUE(loader.Picture().isNull());
        loader.SetImageName(write("cut.png", Encoded("png").chopped(20)));
        EXPECT_TRUE(loader.Picture().isNull());
        lines = log.lines;
    }
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    QFile err(errPath);
    ASSERT_TRUE(err.open(QIODevice::ReadOnly));
    EXPECT_EQ(err.readAll(), QByteArray());

    for (const QString& line : lines)
        EXPECT_TRUE(line.startsWith("zenx: zenx.picture: ")) << line.toStdString();
    EXPECT_EQ(lines.filter("damaged.png").size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter("cut.png").size(), 1);
}

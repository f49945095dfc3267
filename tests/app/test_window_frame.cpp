// The window as the desktop sees it: the title the window manager shows and
// the scaled panel without gaps between its parts.
#include "app/main_form.h"
#include "platform/screen.h"
#include "platform/single_instance.h"
#include "tests/app/form_controls.h"
#include "tests/common/paint_probe.h"
#include "tests/common/process_waits.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/bk_control.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QProcess>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

// The names of all windows on an X display whose name mentions the program.
QStringList ProgramWindowNames(const QString& display) {
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"), {"-display", display, "-root", "-tree"});
    if (!tree.waitForFinished(10000))
        return {};
    QStringList names;
    static const QRegularExpression quoted(QStringLiteral("0x[0-9a-f]+ \"([^\"]*)\""));
    for (const QString& line : QString::fromLocal8Bit(tree.readAllStandardOutput()).split('\n')) {
        const QRegularExpressionMatch m = quoted.match(line);
        if (m.hasMatch() && m.captured(1).contains(QStringLiteral("Zernox")))
            names << m.captured(1);
    }
    return names;
}

} // namespace

TEST(WindowFrame, TheWindowManagerSeesTheCaptionAlone) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        GTEST_SKIP() << "needs Xvfb and xwininfo (packages xvfb and x11-utils)";

    // A display of its own; Xvfb writes the number it took.
    QProcess server;
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray number;
    ASSERT_TRUE(WaitFor(
        [&] {
            number += server.readAllStandardOutput();
            return number.contains('\n');
        },
        15000));
    const QString display = ':' + QString::fromLatin1(number.trimmed());

    TempProgramDir dir;
    const QString exe = dir.Path() + "zenx";
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZENX_EXE), exe));
    const QString suffix = QUuid::createUuid().toString(QUuid::Id128);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", display);
    env.insert("ZENX_INSTANCE_SUFFIX", suffix);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(exe, {});
    ASSERT_TRUE(program.waitForStarted(10000));

    const QString caption = QString::fromLatin1(TMainForm::kCaption);
    QStringList names;
    const bool shown = WaitFor(
        [&] {
            names = ProgramWindowNames(display);
            return names.contains(caption) || program.state() == QProcess::NotRunning;
        },
        30000);
    EXPECT_TRUE(shown && names.contains(caption))
        << names.join(" | ").toStdString()
        << (program.state() == QProcess::NotRunning
                ? " program ended with " + std::to_string(program.exitCode()) + ": " +
                      program.readAllStandardError().toStdString()
                : std::string());
    // No window of the program carries more than the caption ("... — Zernox 2").
    for (const QString& name : names) {
        if (name.startsWith(caption)) {
            EXPECT_EQ(name, caption);
        }
    }

    const QByteArray oldSuffix = qgetenv("ZENX_INSTANCE_SUFFIX");
    qputenv("ZENX_INSTANCE_SUFFIX", suffix.toLatin1());
    plat::PostToInstance("Zernox 2", plat::msgCloseWindow);
    qputenv("ZENX_INSTANCE_SUFFIX", oldSuffix);
    EXPECT_TRUE(program.waitForFinished(30000));
    server.terminate();
    server.waitForFinished(10000);
}

namespace {

constexpr QRgb kWhite = 0xffffffff;

struct LayoutCase {
    plat::ScreenInfo screen;
    int layoutSize;
};

class ScaledPanel : public ::testing::TestWithParam<LayoutCase> {
protected:
    TempProgramDir dir;
    void SetUp() override {
        // The window pictures the build installs, so that the panel looks as
        // it does for the user.
        for (const char* base : {"hdbk", "lbk", "cbk", "ibk", "tbk", "bibk", "hbk", "sbo", "sbh",
                                 "sbd", "bo", "bh", "bd"}) {
            const QString name =
                QString::fromLatin1("I/B/") + base + (GetParam().layoutSize == 1 ? "8x6" : "10x7");
            QFile file(QStringLiteral(ZENX_CONTENT_DIR "/") + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            dir.Write(name, file.readAll());
        }
        plat::SetScreenOverride(GetParam().screen);
    }
    void TearDown() override { plat::ClearScreenOverride(); }
};

} // namespace

TEST_P(ScaledPanel, PartsMeetWithoutASeam) {
    TMainForm form;
    form.WaitMs = [](int) {};
    ASSERT_TRUE(form.FormCreate());
    ASSERT_EQ(form.LayoutSize, GetParam().layoutSize);
    const QRect panel = Control<QFrame>(form, "MainFormPanel")->geometry();
    const QRect header = Control<QFrame>(form, "HeaderPnl")->geometry();
    const QRect nav = Control<QFrame>(form, "NavPnl")->geometry();
    const QRect main = Control<QFrame>(form, "MainPnl")->geometry();
    EXPECT_EQ(header.bottom() + 1, nav.top());
    EXPECT_EQ(header.bottom() + 1, main.top());
    EXPECT_EQ(nav.right() + 1, main.left());
    EXPECT_EQ(nav.bottom() + 1, panel.height());
    EXPECT_EQ(main.bottom() + 1, panel.height());
    EXPECT_EQ(main.right() + 1, panel.width());
    EXPECT_EQ(header.right() + 1, panel.width());
    EXPECT_EQ(Control<QStackedWidget>(form, "MainPages")->size(), main.size());
    EXPECT_EQ(Control<TBkControl>(form, "LogOnOffBk")->size(), main.size());

    // The panel as drawn on the window's white: its last row and column, and
    // the column where the page buttons' panel meets the pages, show no white.
    form.show();
    QCoreApplication::processEvents();
    const QImage image = form.grab(panel).toImage().convertToFormat(QImage::Format_RGB32);
    probe::SaveOnFailure save(image, QStringLiteral("scaled_panel"));
    ASSERT_EQ(image.size(), panel.size());
    int seam = 0;
    for (int x = 0; x < image.width(); ++x)
        seam += image.pixel(x, image.height() - 1) == kWhite;
    for (int y = header.bottom() + 1; y < image.height(); ++y)
        seam += (image.pixel(image.width() - 1, y) == kWhite) +
                (image.pixel(nav.right(), y) == kWhite) + (image.pixel(main.left(), y) == kWhite);
    EXPECT_EQ(seam, 0);
    form.hide();
}

INSTANTIATE_TEST_SUITE_P(Layouts, ScaledPanel,
                         ::testing::Values(LayoutCase{{1024, 768, 24}, 1},
                                           LayoutCase{{1280, 1024, 24}, 2}),
                         [](const auto& info) {
                             return std::string(info.param.layoutSize == 1 ? "Layout800x600"
                                                                           : "Layout1024x768");
                         });

#include "platform/wave_player.h"
#include "tests/common/temp_program_dir.h"

#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A mono 16-bit PCM wave file of `samples` silent samples at 8000 Hz.
QByteArray TinyWave(int samples) {
    auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    const quint32 dataSize = quint32(samples) * 2;
    QByteArray w = "RIFF" + le32(36 + dataSize) + "WAVE";
    w += "fmt " + le32(16) + le16(1) + le16(1) + le32(8000) + le32(16000) + le16(2) + le16(16);
    w += "data" + le32(dataSize) + QByteArray(int(dataSize), '\0');
    return w;
}

class WavePlayerTest : public testing::Test {
protected:
    TempProgramDir dir_;
    plat::WavePlayer player_;
    std::vector<plat::WaveStatus> reports_;

    void SetUp() override {
        QObject::connect(&player_, &plat::WavePlayer::Notify,
                         [this](plat::WaveStatus s) { reports_.push_back(s); });
    }
};

TEST_F(WavePlayerTest, RefusesMissingAndForeignFiles) {
    EXPECT_FALSE(player_.Open(dir_.Path() + "a/0.wav"));
    EXPECT_FALSE(player_.IsOpen());
    EXPECT_FALSE(player_.Play());
    EXPECT_FALSE(player_.Open(dir_.Write("a/text.wav", "RIFF but nothing after")));
    EXPECT_FALSE(player_.Open(dir_.Path() + "a")); // a folder
    EXPECT_FALSE(player_.IsOpen());
    player_.Stop();
    player_.Close();
    EXPECT_TRUE(reports_.empty());
}

TEST_F(WavePlayerTest, PlaysWithoutBlockingAndReportsEachEndOnce) {
    const QString wave = dir_.Write("a/2.wav", TinyWave(800)); // a tenth of a second
    ASSERT_TRUE(player_.Open(wave));
    EXPECT_TRUE(player_.IsOpen());

    QElapsedTimer timer;
    timer.start();
    const bool started = player_.Play();
    EXPECT_LT(timer.elapsed(), 1000);

    // Without an audio device nothing starts and nothing is reported; with
    // one, the end arrives once.
    QTest::qWait(started ? 2000 : 300);
    if (started) {
        ASSERT_EQ(reports_.size(), 1u);
        EXPECT_NE(reports_[0], plat::WaveStatus::Aborted);
    } else {
        EXPECT_TRUE(reports_.empty());
    }

    // Playing again cuts the sound off, and the new one still ends.
    reports_.clear();
    const bool first = player_.Play();
    QTest::qWait(20);
    const bool second = player_.Play();
    EXPECT_EQ(first, second);
    QTest::qWait(second ? 2000 : 100);
    if (second) {
        ASSERT_EQ(reports_.size(), 2u);
        EXPECT_EQ(reports_[0], plat::WaveStatus::Aborted);
        EXPECT_NE(reports_[1], plat::WaveStatus::Aborted);
    } else {
        EXPECT_TRUE(reports_.empty());
    }

    reports_.clear();
    const bool again = player_.Play();
    player_.Stop();
    player_.Stop();
    QTest::qWait(100);
    if (again)
        EXPECT_EQ(reports_, std::vector{plat::WaveStatus::Aborted});
    else
        EXPECT_TRUE(reports_.empty());
    player_.Close();
    EXPECT_FALSE(player_.IsOpen());
}

TEST_F(WavePlayerTest, SurvivesReopeningAndClosingFromItsOwnReport) {
    const QString first = dir_.Write("a/0.wav", TinyWave(80));
    const QString second = dir_.Write("a/1.wav", TinyWave(80));
    QObject::connect(&player_, &plat::WavePlayer::Notify, [this] { player_.Close(); });
    ASSERT_TRUE(player_.Open(first));
    player_.Play();
    ASSERT_TRUE(player_.Open(second)); // closes the first, reporting at most once
    EXPECT_LE(reports_.size(), 1u);
    player_.Play();
    QTest::qWait(500);
    EXPECT_LE(reports_.size(), 2u);

    // A player destroyed while playing reports nothing and leaves nothing behind.
    auto* transient = new plat::WavePlayer;
    bool reported = false;
    QObject::connect(transient, &plat::WavePlayer::Notify, [&reported] { reported = true; });
    ASSERT_TRUE(transient->Open(first));
    transient->Play();
    delete transient;
    QTest::qWait(50);
    EXPECT_FALSE(reported);
}

} // namespace

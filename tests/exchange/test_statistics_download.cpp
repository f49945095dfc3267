// What counts as downloaded statistics, and the replacement of iusers.dat
// that only happens for them.
#include "exchange/exchange_messages.h"
#include "exchange/statistics_download.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StatisticsText, IniWithASectionPassesAnythingElseFails) {
    const std::string good[] = {
        "[Women.Answers]\r\nABC0010001=61\r\n",
        "; made by the exchange\n\n[Counts]\nABC0010001 = 12\n[Choices]\nABC0010001=a=1;b=2",
        "[Leeg]",
        "[Caf\xe9]\r\nVraag=\xe9\xff\r\n",
    };
    for (const std::string& text : good)
        EXPECT_TRUE(IsStatisticsText(text)) << text;

    const std::string bad[] = {
        "",
        "\r\n\r\n",
        "ABC0010001=61\r\n", // no section
        "<!DOCTYPE html>\n<html><body>[Error] Service unavailable</body></html>\n",
        "<html>\n[Women.Answers]\nA=1\n</html>\n",
        "[Women.Answers]\r\nA=1\r\njust a line\r\n",
        "[Women.Answers]\r\n=5\r\n", // a value without a key
        "[Unclosed\r\nA=1\r\n",
        std::string("[A]\r\nB=1\0\r\n", 11),
    };
    for (const std::string& text : bad)
        EXPECT_FALSE(IsStatisticsText(text)) << text;
}

namespace {

class StatisticsDownload : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString target = dir.filePath("User/iusers.dat");

    void SetUp() override {
        ASSERT_TRUE(QDir(dir.path()).mkpath("User"));
        Write(target, "[Old]\r\nA=1\r\n");
    }
    static void Write(const QString& name, const QByteArray& data) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    static QByteArray Read(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList UserFiles() const {
        return QDir(dir.filePath("User")).entryList(QDir::Files | QDir::Hidden);
    }
};

} // namespace

TEST_F(StatisticsDownload, OnlyASuccessfulDownloadOfStatisticsReplacesTheFile) {
    struct Case {
        int32_t code;
        QByteArray written; // what the library left in the download file
        int32_t reported;
        QByteArray after;
    };
    const Case cases[] = {
        {tcFailed, "[New]\r\nA=2\r\n", tcFailed, "[Old]\r\nA=1\r\n"},
        {tcCanceled, "", tcCanceled, "[Old]\r\nA=1\r\n"},
        {tcSucceeded, "<html>Oops</html>", tcFailed, "[Old]\r\nA=1\r\n"},
        {tcSucceeded, "", tcFailed, "[Old]\r\nA=1\r\n"},
        {tcSucceeded, "[New]\r\nA=2\r\n", tcSucceeded, "[New]\r\nA=2\r\n"},
    };
    for (const Case& c : cases) {
        {
            TStatisticsDownload download(target);
            ASSERT_TRUE(download.Prepare());
            EXPECT_NE(download.DownloadPath(), target);
            EXPECT_EQ(QFileInfo(download.DownloadPath()).absolutePath(),
                      QFileInfo(target).absolutePath())
                << "beside the target, so the rename stays on one file system";
            Write(download.DownloadPath(), c.written);
            EXPECT_EQ(download.Finish(c.code), c.reported) << c.code << " " << c.written.data();
        }
        EXPECT_EQ(Read(target), c.after) << c.code << " " << c.written.data();
        EXPECT_EQ(UserFiles(), QStringList{"iusers.dat"}) << "the download file is gone";
    }
}

TEST_F(StatisticsDownload, MakesAMissingDirectoryAndFailsWhereNoneCanBe) {
    const QString fresh = dir.filePath("New/Sub/iusers.dat");
    TStatisticsDownload download(fresh);
    ASSERT_TRUE(download.Prepare());
    Write(download.DownloadPath(), "[A]\r\nB=1\r\n");
    EXPECT_EQ(download.Finish(tcSucceeded), tcSucceeded);
    EXPECT_EQ(Read(fresh), "[A]\r\nB=1\r\n");

    Write(dir.filePath("blocker"), "x");
    TStatisticsDownload blocked(dir.filePath("blocker/iusers.dat"));
    EXPECT_FALSE(blocked.Prepare());
}

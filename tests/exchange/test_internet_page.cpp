// The Internet page with a stand-in library: how each click binds the
// library, in which order it calls it, what it passes and what it says.
#include "tests/exchange/exchange_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class InternetPage : public ::testing::Test {
protected:
    InternetPageFixture f;
    QString logName = f.program.Path() + "calls.log";
    ScopedEnv log{"FAKE_VELDUX_LOG", QFile::encodeName(logName)};

    QStringList Calls() const {
        QFile file(logName);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // The words of each call, the call's name first.
    QStringList CallNames() const {
        QStringList names;
        for (const QString& call : Calls())
            names << call.section(' ', 0, 0);
        return names;
    }
};

} // namespace

TEST_F(InternetPage, WithoutTheLibraryFileNothingHappens) {
    ASSERT_NE(f.exchange, nullptr);
    f.ClickUpload();
    f.ClickDownload();
    EXPECT_TRUE(f.messages.isEmpty());
    EXPECT_TRUE(Calls().isEmpty());
    EXPECT_EQ(f.exchange->InternetDownloadBtnClick().step, TExchangeStep::NoLibrary);
    EXPECT_EQ(QDir::currentPath() + "/", f.program.Path()) << "the program directory is current";
}

TEST_F(InternetPage, AFileThatIsNoLibraryStopsSilently) {
    f.program.Write("libveldux.so", "not a shared library");
    EXPECT_EQ(f.exchange->InternetUpLoadBtnClick().step, TExchangeStep::LoadFailed);
    EXPECT_TRUE(f.messages.isEmpty());
}

TEST_F(InternetPage, LibraryLackingAnExportIsUnloadedSilently) {
    f.InstallLibrary(FAKE_VELDUX_NO_CLOSE);
    f.ClickUpload();
    f.ClickDownload();
    EXPECT_TRUE(f.messages.isEmpty());
    EXPECT_TRUE(Calls().isEmpty()) << "the dialog is not even opened";
    EXPECT_FALSE(f.LibraryLoaded());
    EXPECT_EQ(f.exchange->InternetDownloadBtnClick().step, TExchangeStep::ExportMissing);
}

TEST_F(InternetPage, DialogThatDoesNotOpenEndsTheClickSilently) {
    f.InstallLibrary(FAKE_VELDUX);
    ScopedEnv open("FAKE_VELDUX_OPEN", "0");
    f.ClickDownload();
    EXPECT_EQ(Calls(), QStringList{"OpenVdxDlg"});
    EXPECT_TRUE(f.messages.isEmpty());
    EXPECT_FALSE(f.LibraryLoaded());
}

TEST_F(InternetPage, EachCodeShowsItsDutchMessageAfterTheDialogCloses) {
    f.InstallLibrary(FAKE_VELDUX);
    f.program.Write("User/users.dat", "[Users]\r\nCount=0\r\n");
    struct Row {
        int code;
        const char* upload;
        const char* download;
    };
    const Row rows[] = {
        {101, "Geen verbinding", "Geen verbinding"},
        {102, "Uploaden is niet gelukt", "Downloaden is niet gelukt"},
        {103, "Uploaden is succesvol afgerond", "Downloaden is succesvol afgerond"},
        {104, "", ""},
        {105, "", ""},
        {106, "Verzoek is niet valide", "Verzoek is niet valide"},
        {107, "Uploaden is geannuleerd", "Downloaden is geannuleerd"},
        {108, "Verzoek niet bekend", "Verzoek niet bekend"},
        {0, "", ""},
        {-1, "", ""},
    };
    QStringList callsAtMessage;
    f.onMessage = [&](const QString&) { callsAtMessage = CallNames(); };
    for (const Row& row : rows) {
        ScopedEnv result("FAKE_VELDUX_RESULT", QByteArray::number(row.code));
        for (const bool upload : {true, false}) {
            f.messages.clear();
            callsAtMessage.clear();
            QFile::remove(logName);
            upload ? f.ClickUpload() : f.ClickDownload();
            const QString expected = QString::fromUtf8(upload ? row.upload : row.download);
            const QStringList calls = {"OpenVdxDlg", upload ? "PostFile" : "GetFile",
                                       "CloseVdxDlg"};
            EXPECT_EQ(CallNames(), calls) << row.code;
            if (expected.isEmpty()) {
                EXPECT_TRUE(f.messages.isEmpty()) << row.code;
            } else {
                EXPECT_EQ(f.messages, QStringList{expected}) << row.code;
                EXPECT_EQ(callsAtMessage, calls) << "the dialog is closed first";
            }
            EXPECT_FALSE(f.LibraryLoaded()) << row.code;
        }
    }
}

TEST_F(InternetPage, UploadSendsAPrivateCopyWithoutPasswords) {
    f.InstallLibrary(FAKE_VELDUX);
    const QByteArray users = "[Users]\r\nCount=1\r\n1=Jan\r\n[Jan.Data]\r\nPw=geheim\r\nAge=40\r\n"
                             "[Jan.Answers]\r\nABC0010001=B;7\r\n";
    const QString usersPath = f.program.Write("User/users.dat", users);
    const QString kept = f.program.Path() + "sent.dat";
    ScopedEnv keep("FAKE_VELDUX_KEEP", QFile::encodeName(kept));
    f.ClickUpload();

    const QStringList calls = Calls();
    ASSERT_EQ(calls.size(), 3);
    const QStringList post = calls[1].split(' ');
    ASSERT_EQ(post.size(), 3);
    EXPECT_EQ(post[1],
              QString::fromStdString(ExchangeServerHost()) + "/zenx/zenxws.dll?action=zenxdata");
    EXPECT_NE(post[2], usersPath);
    EXPECT_FALSE(QFile::exists(post[2])) << "the copy is removed after the transfer";
    QFile sent(kept);
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    EXPECT_EQ(sent.readAll(), "[Users]\r\nCount=1\r\n1=Jan\r\n[Jan.Data]\r\nAge=40\r\n"
                              "[Jan.Answers]\r\nABC0010001=B;7\r\n");
    EXPECT_EQ(f.program.Read("User/users.dat"), users) << "the user store itself is untouched";
    EXPECT_EQ(f.messages, QStringList{"Uploaden is succesvol afgerond"});
}

TEST_F(InternetPage, UploadWithoutAUserStoreIsAnInvalidRequest) {
    f.InstallLibrary(FAKE_VELDUX);
    f.ClickUpload();
    EXPECT_EQ(CallNames(), (QStringList{"OpenVdxDlg", "CloseVdxDlg"}));
    EXPECT_EQ(f.messages, QStringList{"Verzoek is niet valide"});
}

TEST_F(InternetPage, DownloadNamesTheServerFileAndTheUserDirectory) {
    f.InstallLibrary(FAKE_VELDUX);
    // Names are matched without regard to case: the existing folder is used.
    ASSERT_TRUE(QDir(f.program.Path()).mkdir("user"));
    f.exchange->SetServerHost("exchange.example:81");
    f.ClickDownload();
    const QStringList calls = Calls();
    ASSERT_EQ(calls.size(), 3);
    // The library writes beside the target, which is replaced afterwards.
    const QString prefix = "GetFile exchange.example:81/zenx iusers.dat " + f.program.Path() +
                           "user/.iusers.dat.~" +
                           QString::number(QCoreApplication::applicationPid()) + "-";
    EXPECT_TRUE(calls[1].startsWith(prefix)) << calls[1].toStdString();
    EXPECT_GT(calls[1].size(), prefix.size());
    EXPECT_EQ(f.program.Read("user/iusers.dat"), "[Women.Answers]\r\nABC0010001=50\r\n");
    EXPECT_EQ(QDir(f.program.Path() + "user").entryList(QDir::Files | QDir::Hidden),
              QStringList{"iusers.dat"});
}

TEST_F(InternetPage, ClicksDuringATransferAreIgnored) {
    f.InstallLibrary(FAKE_VELDUX);
    f.program.Write("User/users.dat", "[Users]\r\n");
    ScopedEnv busy("FAKE_VELDUX_BUSY_MS", "300");
    bool clicked = false;
    QTimer::singleShot(50, [&] {
        f.ClickDownload();
        f.ClickUpload();
        clicked = true;
    });
    f.ClickUpload();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(CallNames(), (QStringList{"OpenVdxDlg", "PostFile", "CloseVdxDlg"}));
    EXPECT_EQ(f.messages.size(), 1);
}

TEST_F(InternetPage, AttachingTwiceWiresTheButtonsOnce) {
    f.InstallLibrary(FAKE_VELDUX);
    EXPECT_EQ(AttachInternetPage(f.page.get()), f.exchange);
    f.ClickDownload();
    EXPECT_EQ(CallNames().count("GetFile"), 1);
    EXPECT_EQ(f.messages.size(), 1);

    QWidget empty;
    EXPECT_EQ(AttachInternetPage(&empty), nullptr);
    EXPECT_EQ(AttachInternetPage(nullptr), nullptr);
}

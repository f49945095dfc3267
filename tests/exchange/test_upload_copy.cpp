// The copy of users.dat that is uploaded: every password key goes, every
// other byte stays.
#include "exchange/upload_copy.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(WithoutPasswords, RemovesEveryPwKeyLineAndKeepsAllElse) {
    const std::string in = "[Users]\r\nCount=2\r\n1=Jan\r\n2=Pw\r\n"
                           "[Jan.Data]\r\nPw=geheim\r\nUid=123\r\nAge=40\r\n"
                           "[Pw.Data]\r\n  pW  =  x y \r\nPwd=keep\r\nPassword=keep\r\n"
                           ";Pw=comment stays\r\nNote=Pw=value stays\r\n"
                           "[Jan.Answers]\r\nABC0010001=A;12\r\n"
                           "PW=\n\tPw\t=last";
    const std::string out = "[Users]\r\nCount=2\r\n1=Jan\r\n2=Pw\r\n"
                            "[Jan.Data]\r\nUid=123\r\nAge=40\r\n"
                            "[Pw.Data]\r\nPwd=keep\r\nPassword=keep\r\n"
                            ";Pw=comment stays\r\nNote=Pw=value stays\r\n"
                            "[Jan.Answers]\r\nABC0010001=A;12\r\n";
    EXPECT_EQ(WithoutPasswords(in), out);
}

// Whatever line ends the reader accepts, and a byte order mark before the
// first line, the password lines it would read are not sent.
TEST(WithoutPasswords, EveryLineEndTheReaderAcceptsSplitsLines) {
    EXPECT_EQ(WithoutPasswords("[Jan.Data]\rPw=geheim\rAge=40\r"), "[Jan.Data]\rAge=40\r");
    EXPECT_EQ(WithoutPasswords("[a]\nPw=1\r\nPw=2\rPw=3\nAge=1\rPw=4"), "[a]\nAge=1\r");
    EXPECT_EQ(WithoutPasswords("\xEF\xBB\xBFPw=geheim\r\n[a]\r\n"), "\xEF\xBB\xBF[a]\r\n");
}

TEST(WithoutPasswords, OddContentPassesUnchanged) {
    const std::string binary("\0\xff\r\n[\xe9t\xe9.Data]\r\nAge=3\r\r\n=Pw\nPw\n", 31);
    EXPECT_EQ(WithoutPasswords(binary), binary);
    EXPECT_EQ(WithoutPasswords(""), "");
    EXPECT_EQ(WithoutPasswords("Pw=1"), "");
    EXPECT_EQ(WithoutPasswords("[Pw=1]\nPw=2\n"), "[Pw=1]\n");
}

TEST(UploadCopy, IsPrivateAndGoesWithItsObject) {
    QTemporaryDir dir;
    const QString source = dir.filePath("users.dat");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[A.Data]\r\nPw=secret\r\nAge=12\r\n");
    file.close();

    QString copyName;
    {
        TUploadCopy copy;
        EXPECT_TRUE(copy.FileName().isEmpty());
        ASSERT_TRUE(copy.Make(source));
        copyName = copy.FileName();
        ASSERT_FALSE(copyName.isEmpty());
        EXPECT_NE(copyName, source);
        QFile made(copyName);
        ASSERT_TRUE(made.open(QIODevice::ReadOnly));
        EXPECT_EQ(made.readAll(), "[A.Data]\r\nAge=12\r\n");
        EXPECT_EQ(made.permissions() &
                      (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                  QFile::Permissions());
    }
    EXPECT_FALSE(QFile::exists(copyName));

    TUploadCopy missing;
    EXPECT_FALSE(missing.Make(dir.filePath("gone.dat")));
    EXPECT_TRUE(missing.FileName().isEmpty());
    QFile original(source);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), "[A.Data]\r\nPw=secret\r\nAge=12\r\n")
        << "the source is untouched";
}

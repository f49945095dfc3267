#include "platform/paths.h"
#include "tests/common/temp_program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Paths compared as std::string, so that failures print readable text.
std::string R(std::string_view relative) {
    return plat::ResolvePath(relative).toStdString();
}
std::string R(std::string_view relative, const QString& base) {
    return plat::ResolvePath(relative, base).toStdString();
}
std::string S(const QString& s) {
    return s.toStdString();
}

TEST(ProgramDirTest, IsTheExecutableDirUnlessSet) {
    const QString previous = plat::ProgramDir();
    plat::SetProgramDir({});
    EXPECT_EQ(S(plat::ProgramDir()), S(QCoreApplication::applicationDirPath() + '/'));
    plat::SetProgramDir("/opt/zenx");
    EXPECT_EQ(S(plat::ProgramDir()), "/opt/zenx/");
    plat::SetProgramDir("/opt/zenx/");
    EXPECT_EQ(S(plat::ProgramDir()), "/opt/zenx/");
    plat::SetProgramDir(previous);
}

TEST(ResolvePathTest, MatchesEveryComponentWithoutRegardToCase) {
    TempProgramDir dir;
    dir.Write("D/iq.dat", "x");
    dir.Write("I/B/sbo0", "x");
    EXPECT_EQ(R("d\\iq.dat"), S(dir.Path() + "D/iq.dat"));
    EXPECT_EQ(R("D\\IQ.DAT"), S(dir.Path() + "D/iq.dat"));
    EXPECT_EQ(R("i/b/SBO0"), S(dir.Path() + "I/B/sbo0"));
    EXPECT_EQ(R("d\\\\iq.dat"), S(dir.Path() + "D/iq.dat")); // doubled separator
}

TEST(ResolvePathTest, KeepsMissingComponentsAsWritten) {
    TempProgramDir dir;
    QDir(dir.Path()).mkdir("user");
    dir.Write("i/x", "x");
    EXPECT_EQ(R("User\\users.dat"), S(dir.Path() + "user/users.dat"));
    // A missing middle folder: it and everything after it stay as written.
    EXPECT_EQ(R("I\\B\\sbo0"), S(dir.Path() + "i/B/sbo0"));
    EXPECT_EQ(R("Nope\\Sub\\File.Txt"), S(dir.Path() + "Nope/Sub/File.Txt"));
}

TEST(ResolvePathTest, ExactCaseWinsAndFoldersWinInTheMiddle) {
    TempProgramDir dir;
    dir.Write("data/a", "lower");
    dir.Write("DATA/a", "upper");
    EXPECT_EQ(R("data\\a"), S(dir.Path() + "data/a"));
    EXPECT_EQ(R("DATA\\a"), S(dir.Path() + "DATA/a"));
    const QString either = plat::ResolvePath("Data\\a");
    EXPECT_TRUE(either == dir.Path() + "data/a" || either == dir.Path() + "DATA/a")
        << either.toStdString();

    // A file "user" beside a folder "USER": a path going on below takes the folder.
    dir.Write("user", "file");
    QDir(dir.Path()).mkdir("USER");
    EXPECT_EQ(R("User\\users.dat"), S(dir.Path() + "USER/users.dat"));
    EXPECT_EQ(R("User\\"), S(dir.Path() + "USER/"));
}

TEST(ResolvePathTest, KeepsTrailingSeparatorAndHandlesDots) {
    TempProgramDir dir;
    dir.Write("D/iq.dat", "x");
    EXPECT_EQ(R("T\\"), S(dir.Path() + "T/"));
    EXPECT_EQ(R("d\\"), S(dir.Path() + "D/"));
    EXPECT_EQ(R(""), S(dir.Path()));
    EXPECT_EQ(R("d\\.\\iq.dat"), S(dir.Path() + "D/iq.dat"));
    EXPECT_EQ(R(".\\d\\..\\d\\iq.dat"), S(dir.Path() + "D/iq.dat"));
    // ".." after a missing folder leaves it and finds what exists again.
    EXPECT_EQ(R("gone\\..\\d\\IQ.dat"), S(dir.Path() + "D/iq.dat"));
    EXPECT_EQ(R("/../.."), S("/"));
}

TEST(ResolvePathTest, ResolvesAbsolutePathsAndOtherBases) {
    TempProgramDir dir;
    dir.Write("D/iq.dat", "x");
    const QString absolute = dir.Path() + "d\\IQ.DAT";
    EXPECT_EQ(R(absolute.toStdString()), S(dir.Path() + "D/iq.dat"));

    TempProgramDir other;
    other.Write("Sub/File", "x");
    EXPECT_EQ(R("sub\\file", other.Path()), S(other.Path() + "Sub/File"));
    QString noSlash = other.Path();
    noSlash.chop(1);
    EXPECT_EQ(R("SUB/FILE", noSlash), S(other.Path() + "Sub/File"));
}

TEST(ResolvePathTest, ReadsWindows1252Names) {
    TempProgramDir dir;
    dir.Write(QString::fromUtf8("Caf\u00e9/x"), "x");
    EXPECT_EQ(R("caf\xE9\\x"), S(dir.Path() + QString::fromUtf8("Caf\u00e9/x")));
    EXPECT_EQ(R("CAF\xC9\\x"), S(dir.Path() + QString::fromUtf8("Caf\u00e9/x")));
}

TEST(ForceDirectoriesTest, CreatesWhatIsMissingAndReusesWhatExists) {
    TempProgramDir dir;
    EXPECT_EQ(S(plat::ForceDirectories("T\\")), S(dir.Path() + "T/"));
    EXPECT_TRUE(QFileInfo(dir.Path() + "T").isDir());

    // Without a trailing separator the last component is a file name.
    EXPECT_EQ(S(plat::ForceDirectories("a\\b\\c.txt")), S(dir.Path() + "a/b/c.txt"));
    EXPECT_TRUE(QFileInfo(dir.Path() + "a/b").isDir());
    EXPECT_FALSE(dir.Exists("a/b/c.txt"));

    // An existing "user" folder is used, not joined by a "User".
    QDir(dir.Path()).mkdir("user");
    EXPECT_EQ(S(plat::ForceDirectories("User\\")), S(dir.Path() + "user/"));
    EXPECT_FALSE(QDir(dir.Path()).entryList().contains("User"));
}

TEST(ForceDirectoriesTest, FailsWhereAFileIsInTheWayAndKeepsIt) {
    TempProgramDir dir;
    dir.Write("T", "keep me");
    EXPECT_EQ(S(plat::ForceDirectories("T\\sub\\")), S(QString()));
    EXPECT_EQ(dir.Read("T"), "keep me");

    EXPECT_TRUE(plat::ForceDirectoriesAbs(dir.Path() + "x/y/z"));
    EXPECT_TRUE(QFileInfo(dir.Path() + "x/y/z").isDir());
    EXPECT_FALSE(plat::ForceDirectoriesAbs(dir.Path() + "T/z"));
    EXPECT_FALSE(plat::ForceDirectoriesAbs(QString()));
}

} // namespace

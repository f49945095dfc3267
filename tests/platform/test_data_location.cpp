// Where an installed copy keeps its data, and how the classic relative paths
// reach it.
#include "platform/paths.h"
#include "tests/common/temp_program_dir.h"
#include "tests/platform/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::string S(const QString& s) {
    return s.toStdString();
}
std::string R(std::string_view relative) {
    return plat::ResolvePath(relative).toStdString();
}
unsigned Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class DataLocationTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString base = root.path();
    ScopedEnv xdg{"XDG_DATA_HOME", QFile::encodeName(base + "/xdg")};
    ScopedEnv home{"HOME", QFile::encodeName(base + "/home")};
    ScopedEnv tmp{"TMPDIR", QFile::encodeName(base + "/tmp")};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", QByteArray()};
    QString previous = plat::ProgramDir();

    void TearDown() override { plat::SetProgramDir(previous); }
    void Make(const QString& relative) { ASSERT_TRUE(QDir().mkpath(base + "/" + relative)); }
};

TEST_F(DataLocationTest, AWritableFolderOfItsOwnKeepsEverything) {
    Make("copy");
    EXPECT_FALSE(plat::DecideDataLocation(base + "/copy", true).Installed);
    // Named like the installed folder, yet nothing installed beside it.
    Make("usr/lib/zenx");
    EXPECT_FALSE(plat::DecideDataLocation(base + "/usr/lib/zenx/", true).Installed);
    // A build's zenx folder is not a library folder even with a share/ near.
    Make("build/zenx");
    Make("share/zenx");
    EXPECT_FALSE(plat::DecideDataLocation(base + "/build/zenx", true).Installed);
}

TEST_F(DataLocationTest, AnInstalledTreeReadsTheContentFromShare) {
    Make("usr/lib/zenx");
    Make("usr/share/zenx");
    // Root may write there, and it is still an installed copy.
    for (bool writable : {true, false}) {
        const plat::DataLocation location =
            plat::DecideDataLocation(base + "/usr/lib/zenx", writable);
        EXPECT_TRUE(location.Installed);
        EXPECT_EQ(S(location.Content), S(base + "/usr/share/zenx"));
        EXPECT_EQ(S(location.User), S(base + "/xdg/zenx/User"));
        EXPECT_TRUE(location.Temp.isEmpty());
    }
    Make("opt/lib64/zenx");
    Make("opt/share/zenx");
    EXPECT_EQ(S(plat::DecideDataLocation(base + "/opt/lib64/zenx", true).Content),
              S(base + "/opt/share/zenx"));
}

TEST_F(DataLocationTest, AReadOnlyFolderKeepsItsContentAndMovesTheUserData) {
    Make("ro");
    const plat::DataLocation location = plat::DecideDataLocation(base + "/ro", false);
    EXPECT_TRUE(location.Installed);
    EXPECT_EQ(S(location.Content), S(base + "/ro"));
    EXPECT_EQ(S(location.User), S(base + "/xdg/zenx/User"));

    // A relative XDG_DATA_HOME is to be ignored; so is a trailing slash.
    ScopedEnv relative("XDG_DATA_HOME", "data");
    EXPECT_EQ(S(plat::DecideDataLocation(base + "/ro", false).User),
              S(base + "/home/.local/share/zenx/User"));
    ScopedEnv slash("XDG_DATA_HOME", QFile::encodeName(base + "/x/"));
    EXPECT_EQ(S(plat::DecideDataLocation(base + "/ro", false).User), S(base + "/x/zenx/User"));
}

TEST_F(DataLocationTest, InstalledPathsGoToTheirFolders) {
    Make("share/D");
    Make("user/User");
    Make("temp");
    QFile(base + "/share/D/iq.dat").open(QIODevice::WriteOnly);
    QFile(base + "/user/User/users.dat").open(QIODevice::WriteOnly);
    plat::SetDataLocation({true, base + "/share", base + "/user/User", base + "/temp"});

    EXPECT_EQ(R("d\\iq.dat"), S(base + "/share/D/iq.dat"));
    EXPECT_EQ(R("zernox2.dat"), S(base + "/share/zernox2.dat"));
    EXPECT_EQ(R("User\\users.dat"), S(base + "/user/User/users.dat"));
    EXPECT_EQ(R("USER/USERS.DAT"), S(base + "/user/User/users.dat")); // case is still free
    EXPECT_EQ(R("user\\"), S(base + "/user/User/"));
    EXPECT_EQ(R("User"), S(base + "/user/User"));
    EXPECT_EQ(R("T\\\\pic1"), S(base + "/temp/pic1"));
    EXPECT_EQ(R("t\\"), S(base + "/temp/"));
    // Only the whole first component counts.
    EXPECT_EQ(R("Users\\x"), S(base + "/share/Users/x"));
    EXPECT_EQ(R("Tx"), S(base + "/share/Tx"));
    EXPECT_EQ(R("/etc/hostname"), "/etc/hostname");

    const QString made = plat::ForceDirectories("User\\sub\\file");
    EXPECT_EQ(S(made), S(base + "/user/User/sub/file"));
    EXPECT_TRUE(QFileInfo(base + "/user/User/sub").isDir());
    EXPECT_FALSE(QFileInfo::exists(plat::ProgramDir() + "User/sub"));

    // Setting a program directory, as every other test does, puts it all back.
    TempProgramDir dir;
    EXPECT_EQ(R("User\\users.dat"), S(dir.Path() + "User/users.dat"));
}

TEST_F(DataLocationTest, ChoosingMakesPrivateFoldersForAnInstalledCopy) {
    Make("usr/lib/zenx");
    Make("usr/share/zenx");
    Make("tmp");
    plat::SetProgramDir(base + "/usr/lib/zenx");
    const plat::DataLocation location = plat::ChooseDataLocation();
    ASSERT_TRUE(location.Installed);
    EXPECT_EQ(Mode(base + "/xdg"), 0700u);
    EXPECT_EQ(Mode(base + "/xdg/zenx"), 0700u);
    // The user store makes User\ itself.
    EXPECT_FALSE(QFileInfo::exists(location.User));

    EXPECT_EQ(S(QFileInfo(location.Temp).path()), S(base + "/tmp"));
    EXPECT_EQ(Mode(location.Temp), 0700u);
    EXPECT_EQ(S(plat::ResolvePath("T\\a")), S(location.Temp + "/a"));
    EXPECT_EQ(S(plat::ResolvePath("a\\0.wav")), S(base + "/usr/share/zenx/a/0.wav"));

    // A second copy gets a temporary folder of its own.
    EXPECT_NE(S(plat::ChooseDataLocation().Temp), S(location.Temp));

    // An existing data folder keeps its mode.
    ASSERT_EQ(::chmod(QFile::encodeName(base + "/xdg/zenx").constData(), 0750), 0);
    plat::ChooseDataLocation();
    EXPECT_EQ(Mode(base + "/xdg/zenx"), 0750u);
}

TEST_F(DataLocationTest, ChoosingForAFolderOfItsOwnChangesNothing) {
    TempProgramDir dir;
    const plat::DataLocation location = plat::ChooseDataLocation();
    EXPECT_FALSE(location.Installed);
    EXPECT_EQ(R("T\\a"), S(dir.Path() + "T/a"));
    EXPECT_EQ(R("User\\users.dat"), S(dir.Path() + "User/users.dat"));
    EXPECT_FALSE(QFileInfo::exists(base + "/xdg"));
}

} // namespace

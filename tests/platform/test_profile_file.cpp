#include "platform/profile_file.h"

#include "platform/ansi.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using plat::ReadProfileString;
using plat::WriteProfileString;
using plat::detail::ProfileWriteStage;

namespace {

class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        plat::ClearProfileCache();
    }
    void TearDown() override { plat::detail::SetProfileWriteHook({}); }

    QString Path(const QString& name = "test.ini") const { return dir_.filePath(name); }
    QString Put(const QByteArray& content, const QString& name = "test.ini") const {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return f.fileName();
    }
    QByteArray Get(const QString& name = "test.ini") const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Files of the folder apart from the writers' lock files.
    QStringList Files() const {
        QStringList files = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeIf([](const QString& name) { return name.endsWith(".lock"); });
        return files;
    }

    QTemporaryDir dir_;
};

TEST_F(ProfileFile, NamesMatchWithoutCaseAndChangedKeysKeepTheirSpelling) {
    const QString f = Put("[Users]\r\nLastName=Jan\r\n[\xC9t\xE9]\r\nK=1\r\n");
    EXPECT_EQ(ReadProfileString(f, "uSERS", "lastname"), "Jan");
    EXPECT_EQ(ReadProfileString(f, "\xE9T\xC9", "k"), "1"); // Windows-1252 accents fold too
    EXPECT_TRUE(WriteProfileString(f, "USERS", "LASTNAME", "Piet"));
    EXPECT_EQ(Get(), "[Users]\r\nLastName=Piet\r\n[\xC9t\xE9]\r\nK=1\r\n");
}

TEST_F(ProfileFile, ValuesAreTrimmedAndUnquotedOnce) {
    const QString f = Put("[s]\n"
                          "a = b c = d \n"
                          "  q =  \" spaced \" \n"
                          "qq=\"\"x\"\"\n"
                          "lone=\"\n"
                          "empty=\n"
                          ";c=comment\n"
                          "no equals here\n");
    EXPECT_EQ(ReadProfileString(f, "s", "a"), "b c = d");
    EXPECT_EQ(ReadProfileString(f, "s", " q "), " spaced ");
    EXPECT_EQ(ReadProfileString(f, "s", "qq"), "\"x\"");
    EXPECT_EQ(ReadProfileString(f, "s", "lone"), "\"");
    EXPECT_EQ(ReadProfileString(f, "s", "empty", "def"), "");
    EXPECT_EQ(ReadProfileString(f, "s", ";c", "def"), "def");
    EXPECT_EQ(ReadProfileString(f, "s", "no equals here", "def"), "def");
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"a", "b c = d"}, {"q", " spaced "}, {"qq", "\"x\""}, {"lone", "\""}, {"empty", ""}};
    EXPECT_EQ(plat::ReadProfileSection(f, "S"), pairs);

    // Whatever is written reads back as written, blanks and quotes included.
    for (const std::string v : {" Jan", "pw ", "\"q\"", "\"", "plain", "a \"b\""}) {
        ASSERT_TRUE(WriteProfileString(f, "w", "k", v)) << v;
        EXPECT_EQ(ReadProfileString(f, "w", "k"), v);
    }
}

TEST_F(ProfileFile, MissingFileSectionOrKeyGivesDefaultAndWriteCreatesTheFile) {
    EXPECT_EQ(ReadProfileString(Path(), "s", "k", "dflt"), "dflt");
    EXPECT_TRUE(plat::DeleteProfileKey(Path(), "s", "k"));
    EXPECT_TRUE(plat::EraseProfileSection(Path(), "s"));
    EXPECT_FALSE(QFile::exists(Path())); // removing nothing creates nothing
    EXPECT_TRUE(WriteProfileString(Path(), "s", "k", "v"));
    EXPECT_EQ(Get(), "[s]\r\nk=v\r\n");
    EXPECT_EQ(ReadProfileString(Path(), "t", "k", "d1"), "d1");
    EXPECT_EQ(ReadProfileString(Path(), "s", "x", "d2"), "d2");
}

TEST_F(ProfileFile, NewKeysFollowTheLastKeyAndNewSectionsGoAtTheEnd) {
    const QString f = Put("; head\r\n[a]\r\nx=1\r\n; about b\r\n\r\n[b]\r\n\r\n[c]\r\ny=2\r\n\r\n");
    EXPECT_TRUE(WriteProfileString(f, "a", "z", "3"));
    EXPECT_TRUE(WriteProfileString(f, "B", "first", "4"));
    EXPECT_TRUE(WriteProfileString(f, "new1", "k", "5"));
    EXPECT_TRUE(WriteProfileString(f, "new2", "k", "6"));
    EXPECT_TRUE(WriteProfileString(f, "new1", "k2", "7"));
    EXPECT_EQ(Get(), "; head\r\n[a]\r\nx=1\r\nz=3\r\n; about b\r\n\r\n[b]\r\nfirst=4\r\n\r\n"
                     "[c]\r\ny=2\r\n\r\n[new1]\r\nk=5\r\nk2=7\r\n[new2]\r\nk=6\r\n");
    EXPECT_EQ(plat::ReadProfileSections(f),
              (std::vector<std::string>{"a", "b", "c", "new1", "new2"}));
}

TEST_F(ProfileFile, LineEndingsAreKeptAndAMissingFinalNewlineIsHandled) {
    struct Case {
        QByteArray before;
        const char* section;
        const char* key;
        QByteArray after;
    };
    const Case cases[] = {
        {"[a]\nx=1\n", "a", "x", "[a]\nx=v\n"},
        {"[a]\nx=1", "a", "x", "[a]\nx=v"},
        {"[a]\nx=1", "a", "y", "[a]\nx=1\r\ny=v\r\n"},
        {"[a]\nx=1", "b", "y", "[a]\nx=1\r\n[b]\r\ny=v\r\n"},
        {"[a]", "a", "y", "[a]\r\ny=v\r\n"},
        {"[a]\r\nx=1\n\n", "A", "y", "[a]\r\nx=1\ny=v\r\n\n"},
        {"junk", "b", "y", "junk\r\n[b]\r\ny=v\r\n"},
    };
    for (const Case& c : cases) {
        const QString f = Put(c.before);
        plat::ClearProfileCache();
        EXPECT_TRUE(WriteProfileString(f, c.section, c.key, "v"));
        EXPECT_EQ(Get(), c.after) << c.before.toStdString();
        EXPECT_EQ(ReadProfileString(f, c.section, c.key), "v");
    }
}

TEST_F(ProfileFile, SectionNamesWithBracketsAndSignsReachOnlyTheirOwnSection) {
    const std::vector<std::string> names = {" Jan]=;x .Data", "Jan]=;x .Data", " Jan",   "Jan",
                                            "Jan]",           "[Jan",          "Jan ]=", ""};
    for (size_t i = 0; i < names.size(); ++i)
        ASSERT_TRUE(WriteProfileString(Path(), names[i], "Naam", std::to_string(i)));
    EXPECT_TRUE(Get().startsWith("[ Jan]=;x .Data]\r\nNaam=0\r\n[Jan]=;x .Data]\r\n"));
    EXPECT_EQ(plat::ReadProfileSections(Path()), names);
    plat::ClearProfileCache(); // the same from a fresh parse
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(ReadProfileString(Path(), plat::AnsiUpper(names[i]), "NAAM"), std::to_string(i));
    EXPECT_EQ(ReadProfileString(Path(), " jan]=;x .data ", "Naam", "none"), "none");
    EXPECT_TRUE(plat::EraseProfileSection(Path(), " JAN]=;X .DATA"));
    EXPECT_EQ(ReadProfileString(Path(), " Jan]=;x .Data", "Naam", "gone"), "gone");
    EXPECT_EQ(ReadProfileString(Path(), "Jan]=;x .Data", "Naam"), "1");
    EXPECT_EQ(plat::ReadProfileSections(Path()).size(), names.size() - 1);
}

TEST_F(ProfileFile, DeleteKeyAndEraseSectionKeepEverythingElse) {
    const QString f = Put("[a]\nk=1\n;note\nK = 2\nm=3\n[B]\nk=4\n[A]\nk=5\n[c]\r\nn=6\r\n");
    EXPECT_EQ(ReadProfileString(f, "a", "k"), "1"); // the first occurrence wins
    EXPECT_TRUE(plat::DeleteProfileKey(f, "A", "k"));
    EXPECT_EQ(Get(), "[a]\n;note\nm=3\n[B]\nk=4\n[A]\nk=5\n[c]\r\nn=6\r\n");
    EXPECT_EQ(ReadProfileString(f, "a", "k", "gone"), "gone");
    EXPECT_TRUE(plat::DeleteProfileKey(f, "a", "nothing"));
    EXPECT_TRUE(plat::EraseProfileSection(f, "a")); // every occurrence goes
    EXPECT_EQ(Get(), "[B]\nk=4\n[c]\r\nn=6\r\n");
    EXPECT_TRUE(plat::EraseProfileSection(f, "nothing"));
    EXPECT_EQ(Get(), "[B]\nk=4\n[c]\r\nn=6\r\n");
}

TEST_F(ProfileFile, TextThatCannotBeStoredIsRefusedAndDamagedFilesSurvive) {
    static const char raw[] = "\0[\r\r]=\xFF\n[x\n=v\n  [s] tail ] \nk=\"1\0\"\r";
    const QByteArray garbage(raw, sizeof raw - 1);
    const QString f = Put(garbage);
    EXPECT_EQ(ReadProfileString(f, "s] tail ", "k"), std::string("1\0", 2));
    for (const char* key : {"", "  ", "a=b", "[k", ";k", "a\nb", "k\r", "\nk"})
        EXPECT_FALSE(WriteProfileString(f, "s", key, "v")) << key;
    EXPECT_FALSE(WriteProfileString(f, "s\r\n[t]", "k", "v"));
    EXPECT_FALSE(WriteProfileString(f, "s", "k", "v\r\nx=y"));
    EXPECT_EQ(Get(), garbage);
    EXPECT_TRUE(WriteProfileString(f, "x", "k", "v"));
    // "[x" without ']' is no section x; the lone CR already ends the last line.
    EXPECT_EQ(Get(), garbage + "[x]\r\nk=v\r\n");
    EXPECT_TRUE(QDir(dir_.path()).mkdir("sub"));
    EXPECT_EQ(ReadProfileString(Path("sub"), "s", "k", "d"), "d");
    EXPECT_FALSE(WriteProfileString(Path("sub"), "s", "k", "v"));
}

TEST_F(ProfileFile, CacheIsReusedUntilTheFileChangesBehindOurBack) {
    const QString f = Put("[s]\nk=aaaa\n");
    const size_t parses = plat::detail::ProfileParseCount();
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "aaaa");
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "aaaa");
    EXPECT_TRUE(WriteProfileString(f, "s", "k", "bbbb"));
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "bbbb");
    EXPECT_EQ(plat::detail::ProfileParseCount(), parses + 1); // our own write needs no parse

    // Same inode and size, other content and time.
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write("[s]\nk=cccc\n");
    file.setFileTime(QDateTime::currentDateTime().addSecs(-100), QFileDevice::FileModificationTime);
    file.close();
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "cccc");

    Put("[s]\nk=dd\n", "other.ini"); // replaced by a rename: a new inode
    ASSERT_TRUE(QFile::remove(f) && QFile::rename(Path("other.ini"), f));
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "dd");
    EXPECT_EQ(plat::detail::ProfileParseCount(), parses + 3);
    ASSERT_TRUE(QFile::remove(f));
    EXPECT_EQ(ReadProfileString(f, "s", "k", "gone"), "gone");
}

TEST_F(ProfileFile, FailedWriteReturnsFalseAndLeavesFileAndCacheIntact) {
    const QByteArray old = "[s]\r\nk=old\r\n";
    const QString f = Put(old);
    EXPECT_FALSE(WriteProfileString(Path("missing/dir.ini"), "s", "k", "v"));
    EXPECT_FALSE(WriteProfileString(Path("test.ini/below.ini"), "s", "k", "v"));
    for (ProfileWriteStage failAt : {ProfileWriteStage::HalfWritten, ProfileWriteStage::Synced}) {
        EXPECT_EQ(ReadProfileString(f, "s", "k"), "old"); // cached before the failure
        plat::detail::SetProfileWriteHook([&](ProfileWriteStage s) { return s != failAt; });
        EXPECT_FALSE(WriteProfileString(f, "s", "k", "new"));
        EXPECT_FALSE(WriteProfileString(f, "t", "k", "new"));
        plat::detail::SetProfileWriteHook({});
        EXPECT_EQ(Get(), old);
        EXPECT_EQ(ReadProfileString(f, "s", "k"), "old");
        EXPECT_EQ(ReadProfileString(f, "t", "k", "none"), "none");
        EXPECT_EQ(Files(), QStringList{"test.ini"}); // no temporary file left
    }
}

TEST_F(ProfileFile, ReadOnlyFileOrDirectoryFailsTheWrite) {
    if (geteuid() == 0)
        GTEST_SKIP() << "read-only files and directories do not stop root";
    const QByteArray old = "[s]\r\nk=old\r\n";
    const QString f = Put(old);
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "old");
    ASSERT_EQ(chmod(QFile::encodeName(f), 0444), 0);
    EXPECT_FALSE(WriteProfileString(f, "s", "k", "new"));
    ASSERT_EQ(chmod(QFile::encodeName(f), 0644), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir_.path()), 0555), 0);
    EXPECT_FALSE(WriteProfileString(f, "s", "k", "new"));
    chmod(QFile::encodeName(dir_.path()), 0755);
    EXPECT_EQ(Get(), old);
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "old");
}

TEST_F(ProfileFile, CrashWhileWritingLeavesTheOldFileWhole) {
    QByteArray old;
    for (int i = 0; i < 20000; ++i)
        old += "[User" + QByteArray::number(i) + "]\r\nPassword=secret" + QByteArray::number(i) +
               "\r\n";
    const QString f = Put(old);
    EXPECT_EQ(ReadProfileString(f, "user5", "password"), "secret5");

    // The child dies half-way through the temporary file.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        plat::detail::SetProfileWriteHook([](ProfileWriteStage) -> bool { _exit(7); });
        WriteProfileString(f, "user5", "password", std::string(100, 'x'));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_EQ(Get(), old);
    ASSERT_EQ(Files().size(), 2); // the half-written temporary file
    EXPECT_LT(QFileInfo(dir_.filePath(Files().filter(".~").value(0))).size(), old.size());
    EXPECT_EQ(ReadProfileString(f, "user5", "password"), "secret5");
    plat::ClearProfileCache();
    EXPECT_EQ(ReadProfileString(f, "user5", "password"), "secret5");
    // The next start clears what the dead writer left; a live one's stays.
    Put("partial", ".test.ini.~" + QString::number(getpid()) + "-99");
    EXPECT_EQ(plat::RemoveStaleProfileTemps(f), 1);
    EXPECT_EQ(Files(),
              (QStringList{".test.ini.~" + QString::number(getpid()) + "-99", "test.ini"}));

    // A child that completes its write leaves the new content.
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(WriteProfileString(f, "user5", "password", "changed") ? 0 : 1);
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadProfileString(f, "user5", "password"), "changed");
    EXPECT_EQ(ReadProfileString(f, "user19999", "password"), "secret19999");
    EXPECT_EQ(Get().size(), old.size());
}

TEST_F(ProfileFile, ByteOrderMarkAndLoneCarriageReturnsAreReadAndKept) {
    const QString f = Put("\xEF\xBB\xBF[Users]\rCount=1\r1=Anna\r[Anna.Data]\rPw=geheim\r");
    EXPECT_EQ(plat::ReadProfileSections(f), (std::vector<std::string>{"Users", "Anna.Data"}));
    EXPECT_EQ(ReadProfileString(f, "users", "1"), "Anna");
    EXPECT_EQ(ReadProfileString(f, "Anna.Data", "Pw"), "geheim");
    // A save changes the key in place: no second "[Users]", the mark and the
    // line ends stay.
    EXPECT_TRUE(WriteProfileString(f, "Users", "Count", "2"));
    EXPECT_TRUE(WriteProfileString(f, "Users", "2", "Bob"));
    EXPECT_EQ(Get(), "\xEF\xBB\xBF[Users]\rCount=2\r1=Anna\r2=Bob\r\n[Anna.Data]\rPw=geheim\r");
    const plat::TProfileText text("\xEF\xBB\xBF[a]\rk=1\r\n[b]\nk=2");
    EXPECT_EQ(text.Read("a", "k"), "1");
    EXPECT_EQ(text.Read("b", "k"), "2");
}

TEST_F(ProfileFile, OversizedFilesReadAsMissingAndAreNeverWrittenOver) {
    const QString f = Put("[s]\r\nk=v\r\n");
    ASSERT_EQ(::truncate(QFile::encodeName(f), off_t(plat::kMaxProfileBytes) + 1), 0);
    EXPECT_EQ(ReadProfileString(f, "s", "k", "none"), "none");
    EXPECT_TRUE(plat::ReadProfileSections(f).empty());
    EXPECT_FALSE(WriteProfileString(f, "s", "k", "new"));
    EXPECT_EQ(QFileInfo(f).size(), qint64(plat::kMaxProfileBytes) + 1);
    // Exactly at the limit is still a profile file.
    ASSERT_EQ(::truncate(QFile::encodeName(f), off_t(plat::kMaxProfileBytes)), 0);
    EXPECT_EQ(ReadProfileString(f, "s", "k"), "v");
    // A write that would grow a file past the limit is refused.
    const QString g = Put("[s]\r\n", "g.ini");
    EXPECT_FALSE(WriteProfileString(g, "s", "k", std::string(plat::kMaxProfileBytes, 'x')));
    EXPECT_EQ(Get("g.ini"), "[s]\r\n");
}

TEST_F(ProfileFile, ParsedCopyTakesLittleMoreThanTheFile) {
    std::string content;
    for (int u = 0; content.size() < 4'000'000; ++u) {
        content += "[User " + std::to_string(u) + ".Answers]\r\n";
        for (int q = 0; q < 40; ++q)
            content += "IQ" + std::to_string(q) + "=b;1234;45678.5\r\n";
    }
    const plat::TProfileText text(content);
    EXPECT_EQ(text.Read("user 7.answers", "iq39"), "b;1234;45678.5");
    EXPECT_LT(text.Footprint(), content.size() * 2);
    EXPECT_GT(text.Footprint(), content.size());
}

TEST_F(ProfileFile, BatchIsOneReplaceAndAFailureLeavesNoneOfIt) {
    const QByteArray old = "[Users]\r\nCount=1\r\n1=Anna\r\n";
    const QString f = Put(old);
    int replaces = 0;
    plat::detail::SetProfileWriteHook([&](ProfileWriteStage s) {
        replaces += s == ProfileWriteStage::Synced;
        return true;
    });
    EXPECT_TRUE(plat::EditProfile(f, [](plat::TProfileEdit& e) {
        e.Write("Users", "Count", "2");
        e.Write("Users", "2", "Bob");
        e.Write("Bob.Data", "Age", "30");
        EXPECT_EQ(e.Read("users", "2"), "Bob"); // the batch sees its own changes
        e.DeleteKey("Users", "1");
        return true;
    }));
    EXPECT_EQ(replaces, 1);
    EXPECT_EQ(Get(), "[Users]\r\nCount=2\r\n2=Bob\r\n[Bob.Data]\r\nAge=30\r\n");

    // A refused key, a dropped batch or a failing disk leave the file and
    // what is read from it as they were.
    const QByteArray now = Get();
    EXPECT_FALSE(plat::EditProfile(f, [](plat::TProfileEdit& e) {
        e.Write("Users", "Count", "3");
        return e.Write("Users", "a=b", "x");
    }));
    EXPECT_FALSE(plat::EditProfile(f, [](plat::TProfileEdit& e) {
        e.EraseSection("Users");
        return false;
    }));
    plat::detail::SetProfileWriteHook(
        [](ProfileWriteStage s) { return s != ProfileWriteStage::Synced; });
    EXPECT_FALSE(plat::EditProfile(f, [](plat::TProfileEdit& e) {
        e.EraseSection("Bob.Data");
        return true;
    }));
    plat::detail::SetProfileWriteHook({});
    EXPECT_EQ(Get(), now);
    EXPECT_EQ(ReadProfileString(f, "Users", "Count"), "2");
    EXPECT_EQ(ReadProfileString(f, "Bob.Data", "Age"), "30");
}

TEST_F(ProfileFile, PrivateFilesAreMadeForTheOwnerOnlyAndKeepAStricterMode) {
    const QString f = Path("private.ini");
    const mode_t oldMask = ::umask(022);
    EXPECT_TRUE(plat::EditProfile(
        f, [](plat::TProfileEdit& e) { return e.Write("s", "k", "v"); },
        plat::TProfileFileMode::Private));
    EXPECT_TRUE(WriteProfileString(Path("shared.ini"), "s", "k", "v"));
    ::umask(oldMask);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(f), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(Path("shared.ini")), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    // A later write keeps whatever mode the file has.
    ASSERT_EQ(::chmod(QFile::encodeName(Path("shared.ini")), 0640), 0);
    EXPECT_TRUE(plat::EditProfile(
        Path("shared.ini"), [](plat::TProfileEdit& e) { return e.Write("s", "k", "w"); },
        plat::TProfileFileMode::Private));
    ASSERT_EQ(::stat(QFile::encodeName(Path("shared.ini")), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Every process adds its own keys to one section of one file at the same
// time; the lock must keep each one's read-change-write apart.
TEST_F(ProfileFile, WritersInSeveralProcessesKeepEachOthersKeys) {
    const QString f = Put("[Anna.Answers]\r\n");
    EXPECT_EQ(ReadProfileString(f, "Anna.Answers", "x", "-"), "-"); // cached here
    constexpr int kWriters = 2;
    constexpr int kKeys = 300;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int k = 0; k < kKeys; ++k)
                ok &= WriteProfileString(f, "Anna.Answers",
                                         "W" + std::to_string(w) + "Q" + std::to_string(k),
                                         std::to_string(k));
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto keys = plat::ReadProfileSection(f, "Anna.Answers");
    EXPECT_EQ(keys.size(), std::size_t(kWriters * kKeys));
    for (int w = 0; w < kWriters; ++w)
        for (int k = 0; k < kKeys; k += 37)
            EXPECT_EQ(ReadProfileString(f, "Anna.Answers",
                                        "W" + std::to_string(w) + "Q" + std::to_string(k)),
                      std::to_string(k));
    // This process's cached copy is out of date; its next write must not
    // bring the old section back.
    EXPECT_TRUE(WriteProfileString(f, "Anna.Answers", "Mine", "1"));
    EXPECT_EQ(plat::ReadProfileSection(f, "Anna.Answers").size(),
              std::size_t(kWriters * kKeys + 1));
}

} // namespace

#include "platform/registry.h"
#include "platform/shell.h"
#include "tests/common/temp_program_dir.h"
#include "tests/platform/scoped_env.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>

namespace {

using plat::RegRoot;

TEST(ExecLineTest, ConvertsFieldCodes) {
    struct Case {
        const char* exec;
        const char* command;
    };
    const Case cases[] = {
        {"/usr/lib/firefox-esr/firefox-esr %u", "/usr/lib/firefox-esr/firefox-esr %1"},
        {"chromium %U", "chromium %1"},
        {"browser --new-window %F %u", "browser --new-window %1"},
        {"browser %i %c %k --url=%u", "browser --url=%1"},
        {"browser \"%f\" -x", "browser \"%1\" -x"},
        {"show 100%% %u", "show 100% %1"},
        {"browser", "browser %1"},
        {"browser %i", "browser %1"},
        {"  browser   %u  ", "browser   %1"},
        {"trailing %", "trailing %1"},
        {"", ""},
        {"%i %c", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::ExecLineToCommand(c.exec), c.command) << c.exec;
}

// A desktop of our own: XDG folders and PATH point into a temporary folder.
class DesktopRegistryTest : public testing::Test {
protected:
    QTemporaryDir root_;
    ScopedEnv configHome_{"XDG_CONFIG_HOME", Dir("config")};
    ScopedEnv configDirs_{"XDG_CONFIG_DIRS", Dir("etc1") + ':' + Dir("etc2")};
    ScopedEnv dataHome_{"XDG_DATA_HOME", Dir("data")};
    ScopedEnv dataDirs_{"XDG_DATA_DIRS", Dir("share1") + ":relative:" + Dir("share2")};
    ScopedEnv path_{"PATH", Dir("bin")};
    plat::DesktopRegistry reg_;

    QByteArray Dir(const char* name) const { return QFile::encodeName(root_.filePath(name)); }

    void Write(const QString& relative, const QByteArray& text, bool executable = false) {
        const QString path = root_.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    void Entry(const QString& relative, const QByteArray& exec, const QByteArray& extra = {}) {
        Write(relative, "[Desktop Entry]\nType=Application\nName=B\nExec=" + exec + '\n' + extra);
    }
    std::optional<std::string> HtmlClass() {
        return reg_.ReadString(RegRoot::ClassesRoot, ".html", {});
    }
    std::optional<std::string> Command(const std::string& id) {
        return reg_.ReadString(RegRoot::ClassesRoot, id + "\\Shell\\Open\\Command", {});
    }
};

TEST_F(DesktopRegistryTest, DefaultApplicationGivesClassAndCommand) {
    Write("config/mimeapps.list", "[Default Applications]\ntext/html=firefox-esr.desktop\n");
    Entry("share2/applications/firefox-esr.desktop", "/usr/lib/firefox-esr/firefox-esr %u");
    for (const char* cls : {".html", ".HTM", ".Shtml", ".shtm", "\\.html\\"}) {
        EXPECT_TRUE(reg_.KeyExists(RegRoot::ClassesRoot, cls)) << cls;
        EXPECT_EQ(reg_.ReadString(RegRoot::ClassesRoot, cls, {}), "firefox-esr.desktop") << cls;
    }
    EXPECT_FALSE(reg_.KeyExists(RegRoot::ClassesRoot, ".txt"));
    EXPECT_TRUE(reg_.KeyExists(RegRoot::ClassesRoot, "FIREFOX-ESR.DESKTOP\\shell\\open"));
    EXPECT_EQ(
        reg_.ReadString(RegRoot::ClassesRoot, "Firefox-ESR.desktop\\shell\\open\\command", {}),
        "/usr/lib/firefox-esr/firefox-esr %1");
    EXPECT_EQ(reg_.ReadString(RegRoot::ClassesRoot, ".html", "Content Type"), std::nullopt);
    EXPECT_FALSE(reg_.KeyExists(RegRoot::CurrentUser, ".html"));
}

TEST_F(DesktopRegistryTest, FollowsTheLookupOrder) {
    Entry("data/applications/added.desktop", "added %u");
    Entry("share1/applications/system.desktop", "system %u");
    Entry("share1/applications/http.desktop", "http %u");
    // Added associations of the user count after defaults anywhere; http
    // handlers count only when text/html gives nothing.
    Write("config/mimeapps.list", "[Added Associations]\ntext/html=added.desktop;\n"
                                  "[Default Applications]\nx-scheme-handler/http=http.desktop\n");
    Write("share2/applications/mimeapps.list",
          "[Default Applications]\ntext/html=missing.desktop;system.desktop;\n");
    EXPECT_EQ(HtmlClass(), "system.desktop");
    EXPECT_EQ(Command("system.desktop"), "system %1");

    Write("share2/applications/mimeapps.list", "");
    EXPECT_EQ(HtmlClass(), "added.desktop");
    Write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=http.desktop\n");
    EXPECT_EQ(HtmlClass(), "http.desktop");
    // The user's folders come before the system's for the same id.
    Entry("data/applications/http.desktop", "mine --x %U");
    EXPECT_EQ(Command("http.desktop"), "mine --x %1");
}

TEST_F(DesktopRegistryTest, SkipsUnusableEntries) {
    Write("etc2/mimeapps.list",
          "[Default Applications]\ntext/html=hidden.desktop;link.desktop;noexec.desktop;"
          "../x.desktop;kde-web.desktop\n");
    Entry("data/applications/hidden.desktop", "hidden %u", "Hidden=true\n");
    Entry("share1/applications/hidden.desktop", "shadowed %u");
    Write("share1/applications/link.desktop", "[Desktop Entry]\nType=Link\nURL=http://x\n");
    Write("share1/applications/noexec.desktop", "[Desktop Entry]\nType=Application\n");
    // Ids with '-' may name a file in a sub-folder.
    Entry("share2/applications/kde/web.desktop", "web\\sbrowser %u");
    EXPECT_EQ(HtmlClass(), "kde-web.desktop");
    EXPECT_EQ(Command("kde-web.desktop"), "web browser %1");
}

TEST_F(DesktopRegistryTest, FallsBackToBrowsersOnThePath) {
    Write("bin/xdg-open", "#!/bin/sh\n", true);
    EXPECT_EQ(HtmlClass(), "xdg-open");
    EXPECT_EQ(Command("xdg-open"), root_.filePath("bin/xdg-open").toStdString() + " %1");
    Write("bin/x-www-browser", "#!/bin/sh\n", true);
    EXPECT_EQ(HtmlClass(), "x-www-browser");
    EXPECT_EQ(Command("X-WWW-Browser"), root_.filePath("bin/x-www-browser").toStdString() + " %1");
}

TEST_F(DesktopRegistryTest, WithoutAnyBrowserNoKeyExists) {
    Write("config/mimeapps.list", "[Default Applications]\ntext/html=missing.desktop\n");
    Write("bin/x-www-browser", "not executable");
    for (const char* cls : {".html", ".htm", ".shtml", ".shtm"}) {
        EXPECT_FALSE(reg_.KeyExists(RegRoot::ClassesRoot, cls));
        EXPECT_EQ(reg_.ReadString(RegRoot::ClassesRoot, cls, {}), std::nullopt);
    }
    EXPECT_EQ(Command("missing.desktop"), std::nullopt);
}

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zernox 2";

TEST(UninstallEntryTest, ReadsTheInstallersEntryIntact) {
    TempProgramDir dir;
    plat::DesktopRegistry reg;
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, kUninstallKey));
    EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine, kUninstallKey, "UninstallString"),
              std::nullopt);

    dir.Write("uninstall.ini",
              "[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zernox 2]\r\n"
              "UninstallString=\"\"/p q/zenx-uninstall\" \"/p q/uninstall-manifest.txt\"\"\r\n");
    EXPECT_TRUE(reg.KeyExists(RegRoot::LocalMachine, kUninstallKey));
    EXPECT_TRUE(reg.KeyExists(RegRoot::LocalMachine, "software\\MICROSOFT"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Micro"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, kUninstallKey));
    EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine,
                             "software\\microsoft\\windows\\currentversion\\uninstall\\zernox 2",
                             "uninstallstring"),
              "\"/p q/zenx-uninstall\" \"/p q/uninstall-manifest.txt\"");
    EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine, kUninstallKey, "DisplayName"), std::nullopt);
    EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine, kUninstallKey, {}), std::nullopt);
}

TEST(UninstallEntryTest, KeepsEveryFormOfTheCommand) {
    TempProgramDir dir;
    plat::DesktopRegistry reg;
    struct Case {
        const char* written;
        const char* read;
    };
    const Case cases[] = {
        {"\"\"/p/u\" \"/p/m\"\"", "\"/p/u\" \"/p/m\""}, // wrapped in one more pair
        {"/p/u \"/p/m\"", "/p/u \"/p/m\""},
        {"\"/p/u\"", "/p/u"}, // one quoted whole: the quotes are not needed
        {"/p/u", "/p/u"},
        {"", ""},
    };
    for (const Case& c : cases) {
        dir.Write("uninstall.ini", QByteArray("[K]\nUninstallString=") + c.written + '\n');
        EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine, "k", "UninstallString"), c.read)
            << c.written;
    }
}

class FakeRegistry : public plat::RegistryBackend {
public:
    bool KeyExists(RegRoot root, std::string_view key) override {
        return root == RegRoot::ClassesRoot && key == ".html";
    }
    std::optional<std::string> ReadString(RegRoot, std::string_view, std::string_view) override {
        return "fake";
    }
};

TEST(RegistryBackendTest, CanBeReplacedAndRestored) {
    TempProgramDir dir;
    plat::SetRegistryBackend(std::make_unique<FakeRegistry>());
    EXPECT_TRUE(plat::RegKeyExists(RegRoot::ClassesRoot, ".html"));
    EXPECT_EQ(plat::RegReadString(RegRoot::LocalMachine, "x"), "fake");
    plat::SetRegistryBackend(nullptr);
    EXPECT_EQ(plat::RegReadString(RegRoot::LocalMachine, "x", "y"), std::nullopt);
}

TEST(SplitCommandLineTest, SplitsAtUnquotedBlanks) {
    using V = std::vector<std::string>;
    EXPECT_EQ(plat::SplitCommandLine(""), V{});
    EXPECT_EQ(plat::SplitCommandLine("  \t "), V{});
    EXPECT_EQ(plat::SplitCommandLine("a  b\tc "), (V{"a", "b", "c"}));
    EXPECT_EQ(plat::SplitCommandLine("\"/p q/u\" \"/p q/m.txt\""), (V{"/p q/u", "/p q/m.txt"}));
    EXPECT_EQ(plat::SplitCommandLine("-x \"\" y"), (V{"-x", "", "y"}));
    EXPECT_EQ(plat::SplitCommandLine("\"\""), V{""});
    EXPECT_EQ(plat::SplitCommandLine("a\"b c\"d e"), (V{"ab cd", "e"}));
    EXPECT_EQ(plat::SplitCommandLine("\"open end"), V{"open end"});
}

class ShellTest : public testing::Test {
protected:
    std::vector<plat::ShellRequest> seen_;
    int result_ = 42;
    void SetUp() override {
        plat::SetShellLauncher([this](const plat::ShellRequest& r) {
            seen_.push_back(r);
            return result_;
        });
    }
    void TearDown() override { plat::SetShellLauncher({}); }
};

TEST_F(ShellTest, CommandLineInProgramTextIsSplit) {
    EXPECT_EQ(plat::ShellExecute({"firefox-esr ", "http://x/", ""}), 42);
    EXPECT_EQ(plat::ShellExecute({"/no/such -new-window  ", "http://x/", "/w"}), 42);
    EXPECT_EQ(plat::ShellExecute({"/no/such --a b", "", ""}), 42);
    EXPECT_EQ(plat::ShellExecute({"/bin/true", "a b", ""}), 42);
    ASSERT_EQ(seen_.size(), 4u);
    EXPECT_EQ(seen_[0].program, "firefox-esr");
    EXPECT_EQ(seen_[0].parameters, "http://x/");
    EXPECT_EQ(seen_[1].program, "/no/such");
    EXPECT_EQ(seen_[1].parameters, "-new-window http://x/");
    EXPECT_EQ(seen_[1].workDir, "/w");
    EXPECT_EQ(seen_[2].parameters, "--a b");
    EXPECT_EQ(seen_[3].program, "/bin/true");
    EXPECT_EQ(seen_[3].parameters, "a b");
}

TEST_F(ShellTest, ExistingFileWithBlanksIsTheProgram) {
    TempProgramDir dir;
    dir.Write("my prog", "#!/bin/sh\n");
    const std::string full = (dir.Path() + "my prog").toStdString();
    plat::ShellExecute({full, "x", ""});
    plat::ShellExecute({"my prog", "x", dir.Path().toStdString()});
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].program, full);
    EXPECT_EQ(seen_[1].program, "my prog");
    EXPECT_EQ(seen_[1].parameters, "x");
}

TEST_F(ShellTest, NothingToStartIsNotFound) {
    EXPECT_EQ(plat::ShellExecute({"", "x", ""}), 2);
    EXPECT_EQ(plat::ShellExecute({"   ", "x", ""}), 2);
    EXPECT_TRUE(seen_.empty());
    result_ = 2;
    EXPECT_EQ(plat::ShellExecute({"prog", "", ""}), 2);
}

QByteArray WaitForFile(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            return f.readAll();
        QThread::msleep(20);
    }
    return {};
}

TEST(ShellStartTest, StartsRealProgramsDetached) {
    EXPECT_GT(plat::ShellExecute({"/bin/true", "", ""}), 32);
    EXPECT_EQ(plat::ShellExecute({"/no/such/program", "", ""}), 2);
    EXPECT_EQ(plat::ShellExecute({"/bin/true", "", "/no/such/dir"}), 2);

    // Working folder and argument splitting reach the started program.
    TempProgramDir dir;
    const std::string script = "pwd >o.tmp; echo $# $1 >>o.tmp; mv o.tmp out.txt";
    ASSERT_GT(plat::ShellExecute(
                  {"/bin/sh", "-c \"" + script + "\" sh \"a b\" \"\"", dir.Path().toStdString()}),
              32);
    const QByteArray out = WaitForFile(dir.Path() + "out.txt");
    QString expectedDir = QFileInfo(dir.Path()).canonicalFilePath();
    EXPECT_EQ(out, (expectedDir + "\n2 a b\n").toUtf8());
}

} // namespace

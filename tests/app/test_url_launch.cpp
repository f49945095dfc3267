#include "app/url_launch.h"

#include "platform/ansi.h"
#include "platform/registry.h"
#include "platform/shell.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// Registry contents given by the test; keys compare without regard to case.
class MapRegistry : public plat::RegistryBackend {
public:
    std::map<std::string, std::string> values; // "ROOT|KEY|VALUE" upper-cased

    static std::string Id(plat::RegRoot root, std::string_view key, std::string_view value) {
        return std::to_string(int(root)) + "|" + plat::AnsiUpper(key) + "|" +
               plat::AnsiUpper(value);
    }
    void Set(plat::RegRoot root, std::string_view key, std::string_view value, std::string data) {
        values[Id(root, key, value)] = std::move(data);
    }
    bool KeyExists(plat::RegRoot root, std::string_view key) override {
        const std::string prefix = std::to_string(int(root)) + "|" + plat::AnsiUpper(key) + "|";
        for (const auto& [id, v] : values)
            if (id.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
    std::optional<std::string> ReadString(plat::RegRoot root, std::string_view key,
                                          std::string_view value) override {
        const auto it = values.find(Id(root, key, value));
        if (it == values.end())
            return std::nullopt;
        return it->second;
    }
};

class UrlLaunch : public ::testing::Test {
protected:
    MapRegistry* registry = nullptr;
    std::vector<plat::ShellRequest> started;
    int shellResult = 42;

    void SetUp() override {
        auto backend = std::make_unique<MapRegistry>();
        registry = backend.get();
        plat::SetRegistryBackend(std::move(backend));
        plat::SetShellLauncher([this](const plat::ShellRequest& r) {
            started.push_back(r);
            return shellResult;
        });
    }
    void TearDown() override {
        plat::SetRegistryBackend(nullptr);
        plat::SetShellLauncher({});
    }
    void SetBrowser(const char* ext, const char* type, const char* command) {
        registry->Set(plat::RegRoot::ClassesRoot, ext, "", type);
        registry->Set(plat::RegRoot::ClassesRoot, std::string(type) + "\\Shell\\Open\\Command", "",
                      command);
    }
};

} // namespace

TEST(BrowserCommand, QuotesAndPlaceholderGoAndTheProgramEndsAtItsExtension) {
    auto c = SplitBrowserCommand(R"("C:\Program Files\Browser\browser.exe" -nohome "%1")");
    EXPECT_EQ(c.program, R"(C:\Program Files\Browser\browser.exe)");
    EXPECT_EQ(c.extraArgs, "-nohome "); // the trailing space stays

    c = SplitBrowserCommand(R"(C:\bin\start.bat %1)");
    EXPECT_EQ(c.program, R"(C:\bin\start.bat)");
    EXPECT_EQ(c.extraArgs, "");

    c = SplitBrowserCommand("/usr/bin/firefox %1");
    EXPECT_EQ(c.program, "/usr/bin/firefox ");
    EXPECT_EQ(c.extraArgs, "");

    c = SplitBrowserCommand("browser.EXE"); // no space after the extension
    EXPECT_EQ(c.program, "browser.EXE");
    EXPECT_EQ(c.extraArgs, "");

    // .BAT is preferred to an earlier .EXE.
    c = SplitBrowserCommand("a.exe b.bat c");
    EXPECT_EQ(c.program, "a.exe b.bat");
    EXPECT_EQ(c.extraArgs, "c");

    c = SplitBrowserCommand("x.com%"); // '%' at the end deletes one character only
    EXPECT_EQ(c.program, "x.com");
}

TEST_F(UrlLaunch, QuotedExeWithOptionGivesTwoSpacesBeforeTheUrl) {
    SetBrowser(".htm", "htmlfile", R"("C:\Browser\browser.exe" -nohome "%1")");
    EXPECT_TRUE(OpenUrlInBrowser("http://example.invalid/help"));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, R"(C:\Browser\browser.exe)");
    EXPECT_EQ(started[0].parameters, "-nohome  http://example.invalid/help");
    EXPECT_EQ(started[0].workDir, "");
}

TEST_F(UrlLaunch, FirstExtensionKeyThatExistsDecides) {
    SetBrowser(".SHTML", "shtmlfile", "/opt/never %1");
    SetBrowser(".HTML", "htmlfile", "/usr/bin/browser %1");
    EXPECT_TRUE(OpenUrlInBrowser("u"));
    ASSERT_EQ(started.size(), 1u);
    // The trailing blank where "%1" was is dropped by the shell layer.
    EXPECT_EQ(started[0].program, "/usr/bin/browser");
    EXPECT_EQ(started[0].parameters, "u");
}

TEST_F(UrlLaunch, MissingEntriesOrAFailedStartGiveFalse) {
    EXPECT_FALSE(OpenUrlInBrowser("u"));
    registry->Set(plat::RegRoot::ClassesRoot, ".html", "", "orphan");
    EXPECT_FALSE(OpenUrlInBrowser("u")); // type without an open command
    EXPECT_TRUE(started.empty());

    SetBrowser(".html", "htmlfile", "browser %1");
    shellResult = 2;
    EXPECT_FALSE(OpenUrlInBrowser("u"));
    shellResult = 33;
    EXPECT_TRUE(OpenUrlInBrowser("u"));
}

TEST(UninstallString, QuotedAndUnquotedForms) {
    auto c = SplitUninstallString(R"("/opt/zenx/zenx-uninstall" "/opt/zenx/manifest.txt")");
    EXPECT_EQ(c.program, "/opt/zenx/zenx-uninstall");
    EXPECT_EQ(c.parameters, R"("/opt/zenx/manifest.txt")");

    c = SplitUninstallString(R"(C:\WINDOWS\uninst.exe -f"C:\Zernox\DeIsL1.isu")");
    EXPECT_EQ(c.program, "");
    c = SplitUninstallString(R"(C:\WINDOWS\uninst.exe -f "C:\Zernox\DeIsL1.isu")");
    EXPECT_EQ(c.program, R"(C:\WINDOWS\uninst.exe -f)");
    EXPECT_EQ(c.parameters, R"("C:\Zernox\DeIsL1.isu")");

    c = SplitUninstallString(R"(C:\uninst.exe /silent)"); // no quote: nothing to start
    EXPECT_EQ(c.program, "");

    c = SplitUninstallString(R"("unterminated)");
    EXPECT_EQ(c.program, "");
    c = SplitUninstallString(R"("prog")");
    EXPECT_EQ(c.program, "prog");
    EXPECT_EQ(c.parameters, "");
}

TEST_F(UrlLaunch, UninstallerStartsFromTheProgramDirectoryOrNotAtAll) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zernox 2";
    RunUninstaller();
    EXPECT_TRUE(started.empty());

    registry->Set(plat::RegRoot::LocalMachine, key, "UninstallString", R"(uninst.exe /s)");
    RunUninstaller();
    EXPECT_TRUE(started.empty());

    registry->Set(plat::RegRoot::LocalMachine, key, "UninstallString",
                  R"("/opt/zenx/zenx-uninstall" "/opt/zenx/m.txt")");
    RunUninstaller();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, "/opt/zenx/zenx-uninstall");
    EXPECT_EQ(started[0].parameters, R"("/opt/zenx/m.txt")");
    EXPECT_FALSE(started[0].workDir.empty());
}

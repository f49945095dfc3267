#include "platform/registry.h"

#include "platform/ansi.h"
#include "platform/desktop_browser.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace plat {
namespace {

std::string_view TrimKey(std::string_view key) {
    while (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    return key;
}

bool IsHtmlClass(std::string_view key) {
    for (const char* cls : {".html", ".htm", ".shtml", ".shtm"})
        if (AnsiSameText(key, cls))
            return true;
    return false;
}

// LocalMachine is the uninstall.ini that the installer writes.

QString UninstallIni() {
    return ResolvePath("uninstall.ini");
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AnsiSameText(text.substr(0, prefix.size()), prefix);
}

// Profile-file reads remove one pair of quotes that encloses a whole value,
// like the classic routine. The installer writes the uninstall command as
// "prog" "manifest", which starts and ends with a quote without being one
// quoted string, and so comes back as prog" "manifest. A command whose first
// quote follows a non-blank yet which does not start with a quote can only
// have come from such a value, so the pair is put back. Values that keep
// their form are left alone: "prog" args (the installer may write it wrapped
// in one more pair of quotes), prog "args" and commands without quotes.
std::unique_ptr<RegistryBackend>& Backend() {
    static std::unique_ptr<RegistryBackend> backend;
    return backend;
}

RegistryBackend& ActiveBackend() {
    auto& backend = Backend();
    if (!backend)
        backend = std::make_unique<DesktopRegistry>();
    return *backend;
}

} // namespace

bool DesktopRegistry::KeyExists(RegRoot root, std::string_view key) {
    key = TrimKey(key);
    if (key.empty())
        return false;
    if (root == RegRoot::ClassesRoot) {
        const auto browser = FindDesktopBrowser();
        if (!browser)
            return false;
        if (IsHtmlClass(key))
            return true;
        const std::string base = browser->id;
        for (const std::string& k :
             {base, base + "\\Shell", base + "\\Shell\\Open", base + "\\Shell\\Open\\Command"})
            if (AnsiSameText(key, k))
                return true;
        return false;
    }
    if (root == RegRoot::LocalMachine) {
        const std::string parent = std::string(key) + '\\';
        for (const std::string& section : ReadProfileSections(UninstallIni()))
            if (AnsiSameText(TrimKey(section), key) || StartsWithText(TrimKey(section), parent))
                return true;
    }
    return false;
}

std::optional<std::string> DesktopRegistry::ReadString(RegRoot root, std::string_view key,
                                                       std::string_view valueName) {
    key = TrimKey(key);
    if (key.empty())
        return std::nullopt;
    if (root == RegRoot::ClassesRoot) {
        if (!valueName.empty())
            return std::nullopt;
        const auto browser = FindDesktopBrowser();
        if (!browser)
            return std::nullopt;
        if (IsHtmlClass(key))
            return browser->id;
        if (AnsiSameText(key, browser->id + "\\Shell\\Open\\Command"))
            return browser->command;
        return std::nullopt;
    }
    if (root == RegRoot::LocalMachine && !valueName.empty()) {
        // A value cannot hold a line break, so "\n" marks a missing key.
        const std::string value = ReadProfileString(UninstallIni(), key, valueName, "\n");
        if (value != "\n")
            return value;
    }
    return std::nullopt;
}

bool RegKeyExists(RegRoot root, std::string_view key) {
    return ActiveBackend().KeyExists(root, key);
}

std::optional<std::string> RegReadString(RegRoot root, std::string_view key,
                                         std::string_view valueName) {
    return ActiveBackend().ReadString(root, key, valueName);
}

void SetRegistryBackend(std::unique_ptr<RegistryBackend> backend) {
    Backend() = std::move(backend);
}

} // namespace plat

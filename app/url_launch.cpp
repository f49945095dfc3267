#include "app/url_launch.h"

#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace {

constexpr size_t kShortString = 255;
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zernox 2";

std::string Short(std::string_view s) {
    return std::string(s.substr(0, kShortString));
}

} // namespace

TBrowserCommand SplitBrowserCommand(std::string_view command) {
    std::string cmd = Short(command);
    if (const size_t pct = cmd.find('%'); pct != std::string::npos)
        cmd.erase(pct, 2);
    std::erase(cmd, '"');

    const std::string upper = plat::AnsiUpper(cmd);
    for (const char* ext : {".BAT ", ".EXE ", ".COM "}) {
        const size_t at = upper.find(ext);
        if (at != std::string::npos)
            return {cmd.substr(0, at + 4), cmd.substr(at + 5)};
    }
    return {cmd, {}};
}

TUninstallCommand SplitUninstallString(std::string_view value) {
    const std::string v = Short(value);
    if (!v.empty() && v[0] == '"') {
        const size_t close = v.find('"', 1);
        if (close == std::string::npos)
            return {}; // an unterminated program name names nothing to start
        // The parameters start behind the closing quote and the one character after it.
        const size_t params = close + 2;
        return {v.substr(1, close - 1), params < v.size() ? v.substr(params) : std::string()};
    }
    const size_t spaceQuote = v.find(" \"");
    const size_t quote = v.find('"');
    // Without " followed by a quote the program name is empty and nothing starts.
    return {spaceQuote == std::string::npos ? std::string() : v.substr(0, spaceQuote),
            quote == std::string::npos ? std::string() : v.substr(quote)};
}

bool OpenUrlInBrowser(std::string_view url) {
    std::string typeName;
    for (const char* ext : {".HTML", ".HTM", ".SHTML", ".SHTM"}) {
        if (plat::RegKeyExists(plat::RegRoot::ClassesRoot, ext)) {
            typeName = Short(plat::RegReadString(plat::RegRoot::ClassesRoot, ext).value_or(""));
            break;
        }
    }
    if (typeName.empty())
        return false;
    const auto command =
        plat::RegReadString(plat::RegRoot::ClassesRoot, Short(typeName + "\\Shell\\Open\\Command"));
    if (!command || command->empty())
        return false;

    const TBrowserCommand split = SplitBrowserCommand(*command);
    const std::string params = Short(
        split.extraArgs.empty() ? std::string(url) : split.extraArgs + " " + std::string(url));
    return plat::ShellExecute({split.program, params, {}}) > 32;
}

void RunUninstaller() {
    const std::string value =
        plat::RegReadString(plat::RegRoot::LocalMachine, kUninstallKey, "UninstallString")
            .value_or("");
    if (value.empty())
        return;
    const TUninstallCommand cmd = SplitUninstallString(value);
    if (cmd.program.empty())
        return;
    plat::ShellExecute({cmd.program, cmd.parameters, plat::ToAnsi(plat::ProgramDir())});
}

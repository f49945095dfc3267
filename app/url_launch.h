#pragma once

#include <string>
#include <string_view>

// Starting the web browser on an address and starting the registered
// uninstaller, both through the registry and shell stand-ins.

struct TBrowserCommand {
    std::string program;
    std::string extraArgs; // empty when the command has none
};

// Turns a browser's open command into program and extra arguments: the two
// characters at the first '%' go, then every double quote; the program ends
// after the first ".BAT ", ".EXE " or ".COM " (in that order of preference).
TBrowserCommand SplitBrowserCommand(std::string_view command);

struct TUninstallCommand {
    std::string program;
    std::string parameters;
};

TUninstallCommand SplitUninstallString(std::string_view value);

// True when the browser was started.
bool OpenUrlInBrowser(std::string_view url);
void RunUninstaller();

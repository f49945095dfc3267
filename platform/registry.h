#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Stand-in for the registry look-ups the program makes: the open command of
// the HTML file class (the desktop's default web browser) and the uninstall
// entry. Key paths use '\' and match without regard to case; an empty value
// name means the key's default value. Strings are Windows-1252.
namespace plat {

enum class RegRoot { ClassesRoot, LocalMachine, CurrentUser };

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual bool KeyExists(RegRoot root, std::string_view key) = 0;
    virtual std::optional<std::string> ReadString(RegRoot root, std::string_view key,
                                                  std::string_view valueName) = 0;
};

// The desktop backend:
// - ClassesRoot ".html", ".htm", ".shtml", ".shtm" exist when a web browser is
//   known; their default value is the browser's desktop-entry id, and
//   "<id>\Shell\Open\Command" holds its command line with "%1" for the URL.
//   The browser is the default application for text/html (then
//   x-scheme-handler/http) in the XDG mimeapps.list files, else
//   x-www-browser, else xdg-open, found on PATH.
//   The browser is looked up anew on every call, so changes to the desktop
//   (and to the environment, in tests) show at once.
// - LocalMachine keys are sections of "uninstall.ini" in the program
//   directory, which `cmake --install` writes; value names are its key names
//   and a key exists also when it is the parent of a section. There are no
//   default values. A value of the form "prog" "args" is returned intact
//   even though profile reads strip enclosing quotes (see registry.cpp).
// - CurrentUser holds nothing.
class DesktopRegistry : public RegistryBackend {
public:
    bool KeyExists(RegRoot root, std::string_view key) override;
    std::optional<std::string> ReadString(RegRoot root, std::string_view key,
                                          std::string_view valueName) override;
};

// Converts a desktop entry's Exec line to a command with one "%1": the first
// of %u %U %f %F becomes "%1", other field codes are dropped (with their
// blank when they stand alone), "%%" is "%". Without a %u %U %f %F the "%1"
// is appended after a blank. A blank line gives "".
std::string ExecLineToCommand(std::string_view exec);

bool RegKeyExists(RegRoot root, std::string_view key);
std::optional<std::string> RegReadString(RegRoot root, std::string_view key,
                                         std::string_view valueName = {});

// Replaces the backend (tests); nullptr restores the desktop backend.
void SetRegistryBackend(std::unique_ptr<RegistryBackend> backend);

} // namespace plat

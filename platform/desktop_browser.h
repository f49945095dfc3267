#pragma once

#include <optional>
#include <string>

// The desktop's default web browser, found the way XDG desktops choose it:
// the default application, then an added association, for text/html and
// then x-scheme-handler/http in the mimeapps.list files in order of
// precedence, its desktop entry looked up in the applications folders; else
// x-www-browser, else xdg-open, on PATH. Looked up anew on every call.
namespace plat {

struct DesktopBrowser {
    std::string id;      // desktop-entry id ("firefox-esr.desktop") or program name
    std::string command; // command line with "%1" for the URL (Windows-1252)
};

std::optional<DesktopBrowser> FindDesktopBrowser();

} // namespace plat

#pragma once

// Addresses on the web that the program opens in the browser.
namespace web {

// The maker's online help; the query names language, program and version.
inline constexpr const char* kOnlineHelp =
    "https://www.korvane.example/help/index.php?lngid=31&programlabel=zernox2"
    "&programversionnumber=1011&show=onlinehelp";
// Behind the two logos of the about window.
inline constexpr const char* kPublisherSite = "https://www.ostrel.example/";
inline constexpr const char* kMakerSite = "https://www.korvane.example/";

} // namespace web

#pragma once

#include <QString>
#include <string>
#include <string_view>

// Stored data and the program's logic use single-byte Windows-1252 text in
// std::string; conversion to QString happens only where a widget shows it.
namespace plat {

QString FromAnsi(std::string_view text);
// Characters without a Windows-1252 code become '?'.
std::string ToAnsi(const QString& text);

char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpper(std::string_view text);
std::string AnsiLower(std::string_view text);
// Case-insensitive comparison in Windows-1252: <0, 0 or >0.
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

} // namespace plat
